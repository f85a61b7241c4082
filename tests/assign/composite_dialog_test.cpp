// The assignment dialog driven through its controls with synthesised key
// and mouse events.
#include "assign/dialog_fixture.h"

#include "ui/assign/composite_logic.h"

#include <QRadioButton>

namespace mvk::test {
namespace {

constexpr KeyIndex kKeyA = 0x01E;
constexpr KeyIndex kKeyB = 0x030;

TEST_F(AssignDialogTest, ACapturedKeyIsStoredOnOk) {
  dialog.Begin(kKeyA, nullptr, false);
  EXPECT_EQ(dialog.Mode(), kAssignDefault);
  EXPECT_TRUE(Control<QRadioButton>("FUNC_KEY_RADIO_KB")->isChecked());
  EXPECT_TRUE(Control<QLineEdit>("FUNC_KEY_INPUT")->text().isEmpty());
  EXPECT_FALSE(Control<QAbstractButton>("CONTROL2_APPLY")->isEnabled());

  SendKey(QEvent::KeyPress, Qt::Key_B, 0, false);
  SendKey(QEvent::KeyPress, Qt::Key_C, 0, true);  // an auto-repeat captures nothing
  SendKey(QEvent::KeyRelease, Qt::Key_B, 0, false);
  EXPECT_EQ(dialog.CapturedCode(), kKeyB);
  EXPECT_EQ(Control<QLineEdit>("FUNC_KEY_INPUT")->text(), "B");
  EXPECT_TRUE(Control<QAbstractButton>("CONTROL2_APPLY")->isEnabled());

  Click("CONTROL_OK");
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(Slot(kKeyA)->type, kAssignKey);
  EXPECT_EQ(Slot(kKeyA)->value, kKeyB);
  EXPECT_TRUE(mainWindow.applyPending);
  EXPECT_EQ(mainWindow.keyButtonRefreshes, 1);
}

TEST_F(AssignDialogTest, CapturingTheKeysOwnCodeOrNothingStoresTheDefault) {
  WriteAssignment(config, profile, kKeyA, kAssignKey, kKeyB);
  dialog.Begin(kKeyA, nullptr, false);
  EXPECT_EQ(Control<QLineEdit>("FUNC_KEY_INPUT")->text(), "B");
  TypeKey(Qt::Key_A);
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignDefault);

  dialog.Begin(kKeyA, nullptr, false);
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignDefault);
}

TEST_F(AssignDialogTest, PrintScreenIsCapturedFromItsReleaseAlone) {
  dialog.Begin(kKeyA, nullptr, false);
  SendKey(QEvent::KeyRelease, Qt::Key_Print, kNativePrintScreen);
  EXPECT_EQ(dialog.CapturedCode(), 0x137);
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->value, 0x137u);
}

TEST_F(AssignDialogTest, TheWindowsKeyIsCapturedWhateverTheRadio) {
  dialog.Begin(kKeyA, nullptr, false);
  Click("FUNC_KEY_RADIO_MOU");
  TypeKey(Qt::Key_B);  // swallowed, not captured with the mouse radio
  EXPECT_EQ(dialog.CapturedCode(), 0);

  SendKey(QEvent::KeyPress, Qt::Key_Meta, kNativeLeftMeta);
  EXPECT_EQ(dialog.CapturedCode(), 0x15B);
  Click("FUNC_KEY_RADIO_KB");
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignKey);
  EXPECT_EQ(Slot(kKeyA)->value, 0x15Bu);
}

TEST_F(AssignDialogTest, TheMouseRadioStoresTheLeftButtonUntouched) {
  dialog.Begin(kKeyA, nullptr, false);
  Click("FUNC_KEY_RADIO_MOU");
  EXPECT_FALSE(Control<QLineEdit>("FUNC_KEY_INPUT")->isEnabled());
  EXPECT_TRUE(Control<QComboBox>("FUNC_KEY_COMBO_MOU")->isEnabled());
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignKey);
  EXPECT_EQ(Slot(kKeyA)->value, 0x171u);

  // Opening again shows the stored mouse action.
  WriteAssignment(config, profile, kKeyA, kAssignKey, 0x162);
  dialog.Begin(kKeyA, nullptr, false);
  EXPECT_TRUE(Control<QRadioButton>("FUNC_KEY_RADIO_MOU")->isChecked());
  EXPECT_EQ(Control<QComboBox>("FUNC_KEY_COMBO_MOU")->currentIndex(), 4);
  Click("CONTROL_CANCEL");
}

TEST_F(AssignDialogTest, ClearOnAMacroKeyStoresTheDefault) {
  config.working.macros = {TestMacro(u"One", 3)};
  WriteAssignment(config, profile, kKeyA, kAssignMacro, 3, 2);
  dialog.Begin(kKeyA, nullptr, false);
  EXPECT_TRUE(Control<QComboBox>("FUNC_MACRO_LIST")->isVisible());
  EXPECT_FALSE(Control<QLineEdit>("FUNC_KEY_INPUT")->isVisible());

  Click("CONTROL_CLEAR");
  EXPECT_EQ(dialog.Mode(), kAssignDefault);
  EXPECT_TRUE(Control<QLineEdit>("FUNC_KEY_INPUT")->isVisible());
  EXPECT_FALSE(Control<QComboBox>("FUNC_MACRO_LIST")->isVisible());
  EXPECT_TRUE(Control<QAbstractButton>("CONTROL2_APPLY")->isEnabled());
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignDefault);
  EXPECT_EQ(config.working.macros.size(), 1u);
}

TEST_F(AssignDialogTest, EnterAndEscapeAreCapturedOnTheKeyPageAndDroppedElsewhere) {
  dialog.Begin(kKeyA, nullptr, false);
  TypeKey(Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.CapturedCode(), 0x001);

  Click("CONTROL_MEDIA");
  TypeKey(Qt::Key_Return);
  TypeKey(Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.CapturedCode(), 0x001);
  Control<QComboBox>("FUNC_MEDIA_SELECT")->setCurrentIndex(6);
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignMultimedia);
  EXPECT_EQ(Slot(kKeyA)->value, 6u);
}

TEST_F(AssignDialogTest, UntouchedKeysOfOtherTypesKeepTheirSlot) {
  WriteAssignment(config, profile, kKeyA, kAssignLaunch, 0x55);
  dialog.Begin(kKeyA, nullptr, false);
  Click("CONTROL_OK");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignLaunch);
  EXPECT_EQ(Slot(kKeyA)->value, 0x55u);
}

TEST_F(AssignDialogTest, MacroOnlyModeStoresTheChosenMacroOnG9) {
  config.working.macros = {TestMacro(u"One", 4), TestMacro(u"Two", 9)};
  dialog.Begin(0x208, nullptr, true);
  for (const char* frame : {"CONTROL_KEY", "CONTROL_MEDIA", "CONTROL_FUNCTION", "CONTROL_CLEAR"}) {
    EXPECT_FALSE(Control<QAbstractButton>(frame)->isEnabled()) << frame;
  }
  EXPECT_TRUE(Control<QComboBox>("FUNC_MACRO_LIST")->isVisible());
  Control<QComboBox>("FUNC_MACRO_LIST")->setCurrentIndex(1);
  Click("CONTROL_OK");
  const std::optional<KeySlot> g9 = Slot(kG9KeyIndex);
  EXPECT_EQ(g9->type, kAssignMacro);
  EXPECT_EQ(g9->value, 9u);
  EXPECT_EQ(g9->extra, 1u);
}

TEST_F(AssignDialogTest, ALoopCountOf300Becomes255AndIsStored) {
  config.working.macros = {TestMacro(u"One", 4)};
  dialog.Begin(kKeyA, nullptr, false);
  Click("CONTROL_MACRO");
  LoopCountBox().selectAll();
  QTest::keyClicks(&LoopCountBox(), "300");
  EXPECT_EQ(LoopCountBox().text(), "255");
  LoopCountBox().clear();
  QTest::keyClick(&LoopCountBox(), Qt::Key_0);
  EXPECT_EQ(LoopCountBox().text(), "1");
  LoopCountBox().selectAll();
  QTest::keyClicks(&LoopCountBox(), "300");
  Click("CONTROL2_APPLY");
  EXPECT_EQ(Slot(kKeyA)->type, kAssignMacro);
  EXPECT_EQ(Slot(kKeyA)->extra, 255u);
  EXPECT_EQ(config.working.macros[0].cycles, 255u);
  EXPECT_TRUE(dialog.IsOpen());
  Click("CONTROL_CANCEL");
}

TEST_F(AssignDialogTest, CloseIfOpenStoresNothingAndDropsMacroEdits) {
  config.working.macros = {TestMacro(u"One", 4)};
  dialog.Begin(kKeyA, nullptr, false);
  TypeKey(Qt::Key_B);
  Click("CONTROL_MACRO");
  Click("FUNC_MACRO_ADD");
  dialog.CloseIfOpen();
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Slot(kKeyA)->type, kAssignDefault);
  EXPECT_EQ(config.working.macros.size(), 1u);
  EXPECT_FALSE(mainWindow.applyPending);

  // The next opening captures keys again.
  dialog.Begin(kKeyA, nullptr, false);
  TypeKey(Qt::Key_C);
  EXPECT_EQ(dialog.CapturedCode(), 0x02E);
  dialog.CloseIfOpen();
}

}  // namespace
}  // namespace mvk::test
