// Key events of the window system in the form of a Windows keyboard
// message: a virtual-key code and the lParam flags (repeat count, scan code
// of set 1, extended-key flag, previous state, transition), so that key
// capture and macro recording read keys as the keyboard's tables know them.
#pragma once

#include <cstdint>

namespace mvk {

inline constexpr uint32_t kVkNone = 0xFF;  // a key Windows gives no VK

struct WindowsKeyMessage {
  uint32_t vk = 0;
  uint32_t keyFlags = 0;
};

// nativeScanCode is the X11/xkb keycode of the event (evdev code + 8), 0 when
// the platform gives none; qtKey is the event's Qt::Key. The scan code
// decides where it is known; the Qt key only supplies the VK of letters
// (which follow the layout, as on Windows) and of keys without a known scan
// code. A key neither names gives vk 0 and no scan code.
WindowsKeyMessage TranslateKeyEvent(uint32_t nativeScanCode, int qtKey, bool keyUp,
                                    bool autoRepeat);

}  // namespace mvk
