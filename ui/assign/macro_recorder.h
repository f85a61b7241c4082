// What recording makes of the input it observes: key presses and releases
// (auto-repeats dropped), the Windows keys and the mouse buttons, each with
// the delay it hands to the action list. Ticks come from the caller, so a
// test decides how much time passes.
#pragma once

#include <cstdint>
#include <functional>
#include <set>

#include "model/macro.h"
#include "platform/key_translation.h"

namespace mvk {

inline constexpr uint32_t kVkLeftWindows = 0x5B;
inline constexpr uint32_t kVkRightWindows = 0x5C;
inline constexpr uint32_t kVkApplications = 0x5D;

class MacroRecorder {
 public:
  // Receives each recorded action; its delay is the wait before it.
  using Sink = std::function<void(const MacroEvent&)>;

  explicit MacroRecorder(Sink sink) : sink_(std::move(sink)) {}

  // recordDelaysFlag: 1 keeps measured waits, 0 gives fixed ones.
  void Start(uint32_t tick, uint32_t recordDelaysFlag);

  // A key message of our windows; true when it must be swallowed.
  bool OnKeyMessage(const WindowsKeyMessage& message, bool autoRepeat, uint32_t tick);
  // A key event seen by the Windows-key hook; true when it is swallowed.
  bool OnWindowsKeyEvent(uint32_t vk, bool down, bool autoRepeat, uint32_t tick);
  // A mouse button press or release (0x171 to 0x173).
  void OnMouseButton(KeyCode code, bool press, uint32_t tick);

 private:
  void Add(KeyCode code, uint16_t action, uint32_t tick);

  Sink sink_;
  uint32_t recordDelays_ = 0;
  uint32_t lastTick_ = 0;
  uint32_t lastWindowsKey_ = 0;
  // Release-only keys whose press was reported after all.
  std::set<KeyCode> pressedReleaseOnly_;
};

}  // namespace mvk
