// An assignment and a recorded macro made in the dialog, applied to the
// simulated keyboard and read back from its key matrix and macro memory.
#include "assign/dialog_fixture.h"

#include "model/apply.h"
#include "model/settings_block.h"
#include "sim/simulated_keyboard.h"
#include "support/emulator_channel.h"

namespace mvk::test {
namespace {

constexpr KeyIndex kKeyA = 0x01E;
constexpr KeyCode kKeyB = 0x030;
constexpr KeyCode kG1 = 0x200;

class AssignToKeyboard : public AssignDialogTest {
 protected:
  AssignToKeyboard() {
    link.DeviceConnected = 1;
    link.pause = [](std::chrono::milliseconds) {};
  }

  sim::SimulatedKeyboard keyboard;
  EmulatorChannel channel{keyboard};
  KeyboardLink link{channel};
  KeyMatrix defaults{};
};

TEST_F(AssignToKeyboard, TheDialogsAssignmentAndRecordedMacroReachTheKeyboard) {
  ASSERT_EQ(ReadMacroCapacity(link), kResultOk);
  ASSERT_EQ(KbReadDefaultMatrix(link, defaults.data()), kResultOk);
  settings.SetText("PROFILES", "RecordDelays", u"1");

  dialog.Begin(kKeyA, nullptr, false);
  TypeKey(Qt::Key_B);
  Click("CONTROL_OK");

  dialog.Begin(kG1, nullptr, false);
  Click("CONTROL_MACRO");
  Click("FUNC_MACRO_ADD");
  Click("FUNC_MACRO_RECORD");
  tick += 500;
  SendKey(QEvent::KeyPress, Qt::Key_B, 0);
  tick += 300;
  SendKey(QEvent::KeyRelease, Qt::Key_B, 0);
  Click("FUNC_MACRO_RECORD");
  LoopCountBox().selectAll();
  QTest::keyClicks(&LoopCountBox(), "3");
  Click("CONTROL_OK");

  ASSERT_EQ(ApplyKeyMaps(config, link, defaults, profile, false, questions), kResultOk);

  KeyMatrix matrix{};
  ASSERT_EQ(KbReadKeyMap(link, matrix.data(), profile), kResultOk);
  const ProfileKeyMap back = ProfileFromKeyMatrix(matrix, defaults, profile);
  EXPECT_EQ(back[kKeyA].type, kAssignKey);
  EXPECT_EQ(back[kKeyA].value, kKeyB);
  EXPECT_EQ(back[KeyIndexOf(kG1)].type, kAssignMacro);
  EXPECT_EQ(back[KeyIndexOf(kG1)].value, 1u);  // the first macro on the keyboard

  std::vector<uint8_t> area(16);
  ASSERT_EQ(KbReadMacroMemory(link, area.data(), area.size()), kResultOk);
  area.resize(static_cast<std::size_t>(area[2] | area[3] << 8));
  ASSERT_EQ(KbReadMacroMemory(link, area.data(), area.size()), kResultOk);
  MacroList macros;
  ASSERT_EQ(DecodeMacroArea(area, u"Macro ", macros), 1u);
  EXPECT_EQ(macros[0].Name(), u"Macro #1");
  EXPECT_EQ(macros[0].cycles, 3);
  const std::span<const MacroEvent> events = macros[0].UsedEvents();
  EXPECT_EQ(std::vector<MacroEvent>(events.begin(), events.end()),
            (std::vector<MacroEvent>{{300, kKeyB, kMacroPress}, {0, kKeyB, kMacroRelease}}));
}

}  // namespace
}  // namespace mvk::test
