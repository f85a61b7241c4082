// The assignment dialog's rules that need no widget: key capture, where the
// dialog goes beside the clicked key, and the key slot that OK stores.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

#include "model/config_image.h"
#include "model/keys.h"
#include "platform/key_translation.h"

namespace mvk {

// The dialog's pages, numbered as the assignment types they edit.
inline constexpr uint16_t kModeSingleKey = kAssignKey;
inline constexpr uint16_t kModeMacro = kAssignMacro;
inline constexpr uint16_t kModeMultimedia = kAssignMultimedia;
inline constexpr uint16_t kModeFunction = kAssignFunction;

// The main-window control whose dialog edits macros only (G9 and the macro
// button).
inline constexpr int kMacroOnlyControlId = 1143;
inline constexpr KeyIndex kG9KeyIndex = 0x108;

// Key capture on the single-key page, for one key message of our windows.
struct CaptureStep {
  bool swallow = false;
  KeyCode captured = 0;  // 0: nothing captured
};
CaptureStep CaptureKeyMessage(const WindowsKeyMessage& message, bool autoRepeat,
                              bool keyboardRadio);
// The Windows keys and the application key, whatever the radio; nullopt
// for every other key (passed on).
std::optional<KeyCode> CaptureWindowsKey(uint32_t vk);

// Top-left corner of the dialog beside the clicked button (screen
// coordinates), or centred on the screen in macro-only mode.
QPoint CompositePlacement(QSize dialog, QRect screen, QRect button, bool macroOnly);

// What the dialog's controls say when OK or Apply stores the slot.
struct AssignmentInput {
  uint16_t mode = kAssignDefault;
  KeyIndex keyIndex = 0;
  bool keyboardRadio = true;
  KeyCode capturedCode = 0;
  int mouseItem = 0;
  bool haveMacros = false;
  uint16_t macroId = 0;
  int loopCount = 1;
  int multimediaItem = 0;
  int functionItem = 0;
};
struct AssignmentOutput {
  uint16_t type = kAssignDefault;
  uint32_t value = 0;
  std::optional<uint16_t> extra;  // nullopt: the key's own G word or 0
};
// nullopt when the slot is to be left as it is: a type the dialog cannot
// edit (disabled, launch program, stop macro, text block) that the user
// has not touched keeps its value and text.
std::optional<AssignmentOutput> BuildAssignment(const AssignmentInput& input);

}  // namespace mvk
