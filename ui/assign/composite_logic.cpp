#include "ui/assign/composite_logic.h"

#include "ui/assign/macro_editing.h"
#include "ui/assign/macro_recorder.h"

namespace mvk {
namespace {

constexpr uint32_t kPreviousStateBit = 1u << 30;
constexpr uint32_t kTransitionBit = 1u << 31;
constexpr KeyCode kPrintScreenCode = 0x137;

bool FitsRight(QSize dialog, QRect screen, QRect button) {
  return screen.right() + 1 - (button.right() + 1) >= dialog.width();
}
bool FitsBelow(QSize dialog, QRect screen, QRect button) {
  return screen.bottom() + 1 - (button.bottom() + 1) >= dialog.height();
}

}  // namespace

CaptureStep CaptureKeyMessage(const WindowsKeyMessage& message, bool autoRepeat,
                              bool keyboardRadio) {
  const KeyCode code = KeyCodeFromMessage(message.vk, message.keyFlags);
  if (code == 0 || IsMultimediaCode(code)) return {};
  CaptureStep step{true, 0};
  const bool freshPress = !autoRepeat && (message.keyFlags & (kTransitionBit | kPreviousStateBit)) == 0;
  if (keyboardRadio && (freshPress || code == kPrintScreenCode)) step.captured = code;
  return step;
}

std::optional<KeyCode> CaptureWindowsKey(uint32_t vk) {
  if (vk == kVkLeftWindows || vk == kVkRightWindows || vk == kVkApplications) {
    return static_cast<KeyCode>(0x100 + vk);
  }
  return std::nullopt;
}

QPoint CompositePlacement(QSize dialog, QRect screen, QRect button, bool macroOnly) {
  if (macroOnly) {
    return screen.topLeft() + QPoint((screen.width() - dialog.width()) / 2,
                                     (screen.height() - dialog.height()) / 2);
  }
  const int l = button.left();
  const int t = button.top();
  const int r = button.right() + 1;
  const int b = button.bottom() + 1;
  const int w = dialog.width();
  const int h = dialog.height();
  const bool roomAbove = t - screen.top() >= h;
  if (FitsRight(dialog, screen, button)) {
    if (FitsBelow(dialog, screen, button)) return {r, b};
    if (roomAbove) return {r, t - h};
  }
  if (l - screen.left() < w) return {r, b};
  if (FitsBelow(dialog, screen, button)) return {l - w, b};
  if (roomAbove) return {l - w, t - h};
  return {r, b};
}

std::optional<AssignmentOutput> BuildAssignment(const AssignmentInput& input) {
  AssignmentOutput out;
  out.type = input.mode;
  switch (input.mode) {
    case kModeSingleKey:
      if (!input.keyboardRadio) {
        out.value = MouseCodeOfItem(input.mouseItem);
      } else if (input.capturedCode == 0 || KeyIndexOf(input.capturedCode) == input.keyIndex) {
        out.type = kAssignDefault;
      } else {
        out.value = input.capturedCode;
      }
      return out;
    case kModeMacro:
      if (!input.haveMacros) {
        out.type = kAssignDefault;
        return out;
      }
      out.value = input.macroId;
      out.extra = static_cast<uint16_t>(input.loopCount);
      return out;
    case kModeMultimedia:
      out.value = static_cast<uint32_t>(input.multimediaItem);
      return out;
    case kModeFunction:
      out.value = static_cast<uint32_t>(input.functionItem);
      return out;
    case kAssignDefault:
      return out;
    default:
      return std::nullopt;
  }
}

}  // namespace mvk
