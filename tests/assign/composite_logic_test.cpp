// The assignment dialog's rules without widgets: capture, placement and the
// key slot that OK stores.
#include <gtest/gtest.h>

#include "ui/assign/composite_logic.h"

namespace mvk {
namespace {

constexpr uint32_t kKeyDown = 0x00000001;
constexpr uint32_t kKeyUp = 0xC0000001;
constexpr uint32_t kRepeat = 0x40000001;

TEST(KeyCapture, FreshPressesAreCapturedAndEveryKeyIsSwallowed) {
  const struct {
    const char* name;
    WindowsKeyMessage message;
    bool autoRepeat;
    bool keyboardRadio;
    CaptureStep step;
  } cases[] = {
      {"press", {0x42, kKeyDown}, false, true, {true, 0x030}},
      {"release", {0x42, kKeyUp}, false, true, {true, 0}},
      {"repeat", {0x42, kRepeat}, false, true, {true, 0}},
      {"auto-repeat", {0x42, kKeyDown}, true, true, {true, 0}},
      {"mouse radio", {0x42, kKeyDown}, false, false, {true, 0}},
      {"enter", {0x0D, kKeyDown | 0x001C0000}, false, true, {true, 0x01C}},
      {"print screen release", {0x2C, kKeyUp | 0x01370000}, false, true, {true, 0x137}},
      {"volume up", {0xAF, kKeyDown | 0x01300000}, false, true, {false, 0}},
      {"no key", {0, kKeyDown}, false, true, {false, 0}},
  };
  for (const auto& c : cases) {
    const CaptureStep step = CaptureKeyMessage(c.message, c.autoRepeat, c.keyboardRadio);
    EXPECT_EQ(step.swallow, c.step.swallow) << c.name;
    EXPECT_EQ(step.captured, c.step.captured) << c.name;
  }
  EXPECT_EQ(CaptureWindowsKey(0x5B), KeyCode{0x15B});
  EXPECT_EQ(CaptureWindowsKey(0x5C), KeyCode{0x15C});
  EXPECT_EQ(CaptureWindowsKey(0x5D), KeyCode{0x15D});
  EXPECT_EQ(CaptureWindowsKey(0x41), std::nullopt);
}

TEST(CompositePlacement, BesideTheButtonWhereTheDialogFits) {
  const QSize dialog(600, 500);
  const QRect screen(0, 0, 1920, 1080);
  const struct {
    const char* name;
    QRect button;  // left, top, width, height
    QPoint at;
  } cases[] = {
      {"right and below", {100, 100, 40, 40}, {140, 140}},
      {"right and above", {100, 900, 40, 40}, {140, 400}},
      {"left and below", {1500, 100, 40, 40}, {900, 140}},
      {"left and above", {1500, 900, 40, 40}, {900, 400}},
      {"no room on either side", {500, 100, 900, 40}, {1400, 140}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompositePlacement(dialog, screen, c.button, false), c.at) << c.name;
  }
  EXPECT_EQ(CompositePlacement(dialog, screen, {100, 100, 40, 40}, true), QPoint(660, 290));
}

TEST(BuildAssignment, EachPageGivesItsSlot) {
  const auto input = [](uint16_t mode) {
    AssignmentInput in;
    in.mode = mode;
    in.keyIndex = 0x01E;
    return in;
  };
  const struct {
    const char* name;
    AssignmentInput in;
    std::optional<AssignmentOutput> out;
  } cases[] = {
      {"captured key", [&] { auto in = input(kModeSingleKey); in.capturedCode = 0x030; return in; }(),
       AssignmentOutput{kAssignKey, 0x030, std::nullopt}},
      {"own key", [&] { auto in = input(kModeSingleKey); in.capturedCode = 0x01E; return in; }(),
       AssignmentOutput{kAssignDefault, 0, std::nullopt}},
      {"nothing captured", input(kModeSingleKey), AssignmentOutput{kAssignDefault, 0, std::nullopt}},
      {"mouse wheel down", [&] { auto in = input(kModeSingleKey); in.keyboardRadio = false; in.mouseItem = 4; return in; }(),
       AssignmentOutput{kAssignKey, 0x162, std::nullopt}},
      {"macro", [&] { auto in = input(kModeMacro); in.haveMacros = true; in.macroId = 7; in.loopCount = 255; return in; }(),
       AssignmentOutput{kAssignMacro, 7, uint16_t{255}}},
      {"macro page without macros", input(kModeMacro), AssignmentOutput{kAssignDefault, 0, std::nullopt}},
      {"multimedia", [&] { auto in = input(kModeMultimedia); in.multimediaItem = 5; return in; }(),
       AssignmentOutput{kAssignMultimedia, 5, std::nullopt}},
      {"function", [&] { auto in = input(kModeFunction); in.functionItem = 10; return in; }(),
       AssignmentOutput{kAssignFunction, 10, std::nullopt}},
      {"cleared", input(kAssignDefault), AssignmentOutput{kAssignDefault, 0, std::nullopt}},
      {"untouched text block", input(kAssignText), std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<AssignmentOutput> out = BuildAssignment(c.in);
    ASSERT_EQ(out.has_value(), c.out.has_value()) << c.name;
    if (!out) continue;
    EXPECT_EQ(out->type, c.out->type) << c.name;
    EXPECT_EQ(out->value, c.out->value) << c.name;
    EXPECT_EQ(out->extra, c.out->extra) << c.name;
  }
}

}  // namespace
}  // namespace mvk
