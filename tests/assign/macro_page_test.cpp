// The macro page driven through its controls: adding and deleting macros,
// in-place delay edits, the record-delays flag and recording.
#include "assign/dialog_fixture.h"

#include <QCheckBox>
#include <QLabel>

namespace mvk::test {
namespace {

constexpr KeyIndex kKeyA = 0x01E;
constexpr KeyIndex kKeyB = 0x030;

class MacroPageTest : public AssignDialogTest {
 protected:
  void OpenMacroPage() {
    dialog.Begin(kKeyA, nullptr, false);
    Click("CONTROL_MACRO");
  }
  QStringList ComboTexts() {
    QStringList texts;
    auto* combo = Control<QComboBox>("FUNC_MACRO_LIST");
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
  }
  void ClickCell(int row, int column) {
    Actions().selectRow(row);
    const QRect cell = Actions().visualRect(Actions().model()->index(row, column));
    QTest::mouseClick(Actions().viewport(), Qt::LeftButton, {}, cell.center());
  }
  void TypeDelay(const char* digits) {
    auto* editor = Actions().viewport()->findChild<QLineEdit*>("ActionEditor");
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, digits);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(MacroPageTest, NewNamesCountUpAndStartAgainOnAnEmptyCombo) {
  config.working.macros = {TestMacro(u"macro #10", 1)};
  OpenMacroPage();
  Click("FUNC_MACRO_ADD");
  EXPECT_EQ(ComboTexts(), QStringList({"macro #10", "Macro #2"}));
  EXPECT_EQ(Page().CurrentMacroIndex(), 1);
  EXPECT_EQ(Page().Macros()[1].id, 2);
  EXPECT_EQ(Page().Macros()[1].isNew, 1);

  questions.answerYes = true;
  Click("FUNC_MACRO_DELETE");  // the new macro goes without a question
  EXPECT_TRUE(questions.shown.empty());
  Click("FUNC_MACRO_DELETE");
  EXPECT_EQ(Page().MacroCount(), 0);
  Click("FUNC_MACRO_ADD");
  EXPECT_EQ(ComboTexts(), QStringList({"Macro #1"}));
}

TEST_F(MacroPageTest, TypingInAnEmptyComboCreatesAMacroWithTheNameCut) {
  OpenMacroPage();
  QLineEdit* nameField = Control<QComboBox>("FUNC_MACRO_LIST")->lineEdit();
  QTest::keyClicks(nameField, QString(300, QChar(u'x')));
  ASSERT_EQ(Page().MacroCount(), 1);
  EXPECT_EQ(Page().Macros()[0].Name(), std::u16string(kMaxMacroNameLength, u'x'));
  EXPECT_EQ(Page().Macros()[0].id, 1);
  EXPECT_TRUE(Control<QAbstractButton>("FUNC_MACRO_RECORD")->isEnabled());

  nameField->selectAll();
  QTest::keyClicks(nameField, "Copy");
  Click("CONTROL_OK");
  ASSERT_EQ(config.working.macros.size(), 1u);
  EXPECT_EQ(config.working.macros[0].Name(), u"Copy");
  EXPECT_EQ(config.working.macros[0].isNew, 0);
}

TEST_F(MacroPageTest, ActionButtonsDeleteClearAndMoveTheSelectedRow) {
  config.working.macros = {TestMacro(
      u"One", 3, {{10, 0x01E, kMacroPress}, {20, 0x030, kMacroPress}, {30, 0x02E, kMacroPress}})};
  OpenMacroPage();
  Actions().selectRow(2);
  Click("FUNC_MACRO_UP_TOP");
  EXPECT_EQ(Page().Rows()[0], (MacroEvent{30, 0x02E, kMacroPress}));
  EXPECT_EQ(Actions().item(0, 2)->text(), "30");
  EXPECT_EQ(Actions().currentRow(), 0);

  Click("FUNC_MACRO_DELETE2");
  EXPECT_EQ(Page().Rows(), (std::vector<MacroEvent>{{10, 0x01E, kMacroPress}, {20, 0x030, kMacroPress}}));

  Click("FUNC_MACRO_CLEAR");
  EXPECT_EQ(questions.shown, std::vector<std::string>{"MACRO_ACTION_CLEAR_CONFIRM"});
  EXPECT_EQ(Actions().rowCount(), 2);
  questions.answerYes = true;
  Click("FUNC_MACRO_CLEAR");
  EXPECT_TRUE(Page().Rows().empty());
  EXPECT_EQ(Actions().rowCount(), 0);
  Click("CONTROL_CANCEL");
  EXPECT_EQ(config.working.macros[0].eventCount, 3);
}

TEST_F(MacroPageTest, TheHundredAndFirstMacroIsRefused) {
  for (uint16_t id = 1; id <= kMaxMacros; ++id) {
    config.working.macros.push_back(TestMacro(u"M", id));
  }
  OpenMacroPage();
  Click("FUNC_MACRO_ADD");
  EXPECT_EQ(prompts.messages,
            QStringList{"There can be at most 100 macros. Delete one before adding another."});
  EXPECT_EQ(Page().MacroCount(), 100);
}

TEST_F(MacroPageTest, DeletingAMacroThatKeysUseAsksFirst) {
  config.working.macros = {TestMacro(u"One", 3), TestMacro(u"Two", 5)};
  WriteAssignment(config, profile, kKeyB, kAssignMacro, 3, 1);
  OpenMacroPage();
  ASSERT_EQ(Page().CurrentMacroIndex(), 0);

  Click("FUNC_MACRO_DELETE");
  EXPECT_EQ(questions.shown, std::vector<std::string>{"MACRO_DELETE_CONFIRM_OF_KEYS"});
  EXPECT_EQ(Page().MacroCount(), 2);

  questions.answerYes = true;
  Click("FUNC_MACRO_DELETE");
  EXPECT_EQ(ComboTexts(), QStringList{"Two"});
  Click("CONTROL_OK");
  // The key that played the deleted macro falls back to its own function.
  EXPECT_EQ(Slot(kKeyB)->type, kAssignDefault);
  ASSERT_EQ(config.working.macros.size(), 1u);
  EXPECT_EQ(config.working.macros[0].id, 5);
}

TEST_F(MacroPageTest, TypedDelaysAreCutToTensAndToTheLimit) {
  config.working.macros = {
      TestMacro(u"One", 3, {{0, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}})};
  OpenMacroPage();
  ASSERT_EQ(Actions().rowCount(), 2);

  ClickCell(0, 2);
  TypeDelay("12345");
  EXPECT_EQ(Page().Rows()[0].delay, 12340u);
  EXPECT_EQ(Actions().item(0, 2)->text(), "12340");
  EXPECT_TRUE(prompts.messages.isEmpty());

  ClickCell(1, 2);
  TypeDelay("50000");
  EXPECT_EQ(Page().Rows()[1].delay, 40000u);
  EXPECT_EQ(prompts.messages,
            QStringList{"A delay can be at most 40000 ms; the longest delay was set instead."});

  Click("CONTROL_OK");
  EXPECT_EQ(config.working.macros[0].events[0].delay, 12340u);
  EXPECT_EQ(config.working.macros[0].events[1].delay, 40000u);
}

TEST_F(MacroPageTest, TheRecordDelaysFlagIsKeptInTheSettings) {
  settings.SetText("PROFILES", "RecordDelays", u"7");
  OpenMacroPage();
  EXPECT_EQ(settings.GetText("PROFILES", "RecordDelays"), u"0");
  auto* box = Control<QCheckBox>("FUNC_MACRO_RECORD_DELAY");
  EXPECT_FALSE(box->isChecked());
  Click("FUNC_MACRO_RECORD_DELAY");
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(settings.GetText("PROFILES", "RecordDelays"), u"1");
  Click("CONTROL_CANCEL");
}

TEST_F(MacroPageTest, RecordingKeepsPressesAndReleasesWithMeasuredOrFixedDelays) {
  const struct {
    const char16_t* flag;
    std::vector<uint32_t> delays;
  } cases[] = {{u"1", {300, 120, 0, 30, 10, 0}}, {u"0", {50, 50, 50, 50, 50, 0}}};
  for (const auto& c : cases) {
    settings.SetText("PROFILES", "RecordDelays", c.flag);
    config.working.macros = {TestMacro(u"One", 4)};
    OpenMacroPage();
    Click("FUNC_MACRO_RECORD");
    ASSERT_TRUE(Page().Recording());
    EXPECT_FALSE(Control<QComboBox>("FUNC_MACRO_LIST")->isEnabled());

    tick += 40;
    SendKey(QEvent::KeyPress, Qt::Key_A, 0);
    tick += 100;
    SendKey(QEvent::KeyRelease, Qt::Key_A, 0, true);  // auto-repeat pairs
    SendKey(QEvent::KeyPress, Qt::Key_A, 0, true);
    tick += 200;
    SendKey(QEvent::KeyRelease, Qt::Key_A, 0);
    tick += 120;
    QTest::mouseClick(Control<QLabel>("MARCO_NAME_SETTING"), Qt::RightButton);
    tick += 30;
    SendKey(QEvent::KeyPress, Qt::Key_Meta, kNativeLeftMeta);
    tick += 10;
    SendKey(QEvent::KeyRelease, Qt::Key_Meta, kNativeLeftMeta);
    tick += 10;
    Click("FUNC_MACRO_RECORD");  // the click that stops is not recorded
    EXPECT_FALSE(Page().Recording());

    const std::vector<MacroEvent> expected = {
        {c.delays[0], 0x01E, kMacroPress},   {c.delays[1], 0x01E, kMacroRelease},
        {c.delays[2], 0x172, kMacroPress},   {c.delays[3], 0x172, kMacroRelease},
        {c.delays[4], 0x15B, kMacroPress},   {c.delays[5], 0x15B, kMacroRelease}};
    EXPECT_EQ(Page().Rows(), expected);
    Click("CONTROL_OK");
    const std::span<const MacroEvent> stored = config.working.macros[0].UsedEvents();
    EXPECT_EQ(std::vector<MacroEvent>(stored.begin(), stored.end()), expected);
  }
}

}  // namespace
}  // namespace mvk::test
