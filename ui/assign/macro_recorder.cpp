#include "ui/assign/macro_recorder.h"

#include "ui/assign/macro_editing.h"

namespace mvk {
namespace {

constexpr uint32_t kPreviousStateBit = 1u << 30;
constexpr uint32_t kTransitionBit = 1u << 31;
constexpr KeyCode kLeftWindowsCode = 0x15B;
constexpr KeyCode kRightWindowsCode = 0x15C;

}  // namespace

void MacroRecorder::Start(uint32_t tick, uint32_t recordDelaysFlag) {
  recordDelays_ = recordDelaysFlag;
  lastTick_ = tick;
  lastWindowsKey_ = 0;
  pressedReleaseOnly_.clear();
}

bool MacroRecorder::OnKeyMessage(const WindowsKeyMessage& message, bool autoRepeat,
                                 uint32_t tick) {
  const KeyCode code = KeyCodeFromMessage(message.vk, message.keyFlags);
  if (code == 0 || IsMultimediaCode(code)) return false;
  const bool release = (message.keyFlags & kTransitionBit) != 0;
  const bool repeatedPress = !release && (message.keyFlags & kPreviousStateBit) != 0;
  if (autoRepeat || repeatedPress) return true;
  if (!IsReleaseOnlyKey(code)) {
    Add(code, release ? kMacroRelease : kMacroPress, tick);
  } else if (!release) {
    pressedReleaseOnly_.insert(code);
    Add(code, kMacroPress, tick);
  } else if (pressedReleaseOnly_.erase(code) == 0) {
    // Only the release arrived: the press happened at the same moment, so
    // the wait goes before the press and the press gets a short one.
    Add(code, kMacroPress, tick);
    sink_(MacroEvent{RecordedDelay(recordDelays_, kReleaseOnlyPressDelayMs), code, kMacroRelease});
  } else {
    Add(code, kMacroRelease, tick);
  }
  return true;
}

bool MacroRecorder::OnWindowsKeyEvent(uint32_t vk, bool down, bool autoRepeat, uint32_t tick) {
  bool repeat = false;
  if (down) {
    repeat = vk == lastWindowsKey_;
  } else {
    lastWindowsKey_ = 0;
  }
  if (vk != kVkLeftWindows && vk != kVkRightWindows) return false;
  if (autoRepeat) return true;
  lastWindowsKey_ = down ? vk : 0;
  if (!repeat) {
    Add(vk == kVkLeftWindows ? kLeftWindowsCode : kRightWindowsCode,
        down ? kMacroPress : kMacroRelease, tick);
  }
  return true;
}

void MacroRecorder::OnMouseButton(KeyCode code, bool press, uint32_t tick) {
  Add(code, press ? kMacroPress : kMacroRelease, tick);
}

void MacroRecorder::Add(KeyCode code, uint16_t action, uint32_t tick) {
  const uint32_t measured = tick - lastTick_;
  lastTick_ = tick;
  sink_(MacroEvent{RecordedDelay(recordDelays_, measured), code, action});
}

}  // namespace mvk
