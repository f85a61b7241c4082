#include "ui/profiles/profile_manager_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTableWidget>
#include <fstream>

#include "model/key_map.h"
#include "model/settings_block.h"
#include "platform/registry.h"
#include "storage/config_file.h"
#include "support/fake_windows.h"
#include "support/qt_application.h"
#include "support/scripted_file_prompts.h"
#include "support/scripted_prompts.h"
#include "support/simulated_program.h"

namespace mvk {
namespace {

class ProfileManagerTest : public ::testing::Test {
 protected:
  ProfileManagerTest() { dialog_.SetAssignmentDialog(&assignment_); }

  ProgramServices& Services() { return program_.Services(); }
  std::filesystem::path ConfigFolderPath() { return Services().Folder().folder; }
  std::filesystem::path WorkingFile() { return WorkingFilePath(Services().Folder()); }
  QString Text(std::string_view key) { return QString::fromStdU16String(Services().Text(key)); }
  int KeyboardProfile() { return program_.Keyboard().Memory().settings[settings::kActiveProfile]; }

  // Makes `profile` active on the keyboard, as another program could have.
  void ActivateOnKeyboard(int profile) {
    SetActiveProfile(Services().Link(), profile);
    ForgetActiveProfile(Services().Link());
  }

  void Click(const char* skinKey) {
    auto* button = dialog_.findChild<QAbstractButton*>(skinKey);
    ASSERT_NE(button, nullptr) << skinKey;
    button->click();
  }
  bool ApplyEnabled() { return dialog_.findChild<QAbstractButton*>("CONTROL2_APPLY")->isEnabled(); }

  // An edit of the working configuration that is not on the keyboard.
  void EditWorkingConfiguration() {
    std::lock_guard lock(Services().Config().ConfigLock);
    Services().Config().working.image.profiles[0][0x1E].type = kAssignDisabled;
  }
  ConfigImage WorkingImage() {
    std::lock_guard lock(Services().Config().ConfigLock);
    return Services().Config().working.image;
  }

  QApplication& application_ = test::Application();
  test::SimulatedProgram program_{MORVAKIN_BUILD_DIR};
  test::FakeMainWindow window_;
  test::FakeAssignmentDialog assignment_;
  test::ScriptedPrompts prompts_;
  test::ScriptedFilePrompts files_;
  CMorvakin_DlgProfile dialog_{Services(), window_, prompts_, files_};
};

TEST_F(ProfileManagerTest, EveryOpeningShowsThreeWorkingFileRowsWithTheActiveProfileChecked) {
  ActivateOnKeyboard(2);
  const ProfileRow working = ProfileRowOf(WorkingFile());
  for (int opening = 0; opening < 2; ++opening) {
    dialog_.show();
    EXPECT_TRUE(dialog_.IsOpen());
    EXPECT_EQ(dialog_.Rows(), std::vector<ProfileRow>(3, working));
    EXPECT_EQ(dialog_.CheckedRow(), 2);
    EXPECT_FALSE(dialog_.IsChanged());
    EXPECT_FALSE(ApplyEnabled());
    dialog_.CloseIfOpen();
    EXPECT_FALSE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.isVisible());
  }
  EXPECT_EQ(dialog_.List().horizontalHeaderItem(0)->text(), "激活");
  EXPECT_EQ(dialog_.List().horizontalHeaderItem(2)->text(), "路径");
}

TEST_F(ProfileManagerTest, AddWritesADefaultFileAndApplyRecordsFourRows) {
  dialog_.show();
  const auto added = ConfigFolderPath() / "Racing.mvk";
  files_.chosenFile = added;
  Click("FUNC_ADD");

  ASSERT_EQ(files_.dialogs.size(), 1u);
  EXPECT_EQ(files_.dialogs[0].defaultExtension, u"mvk");
  EXPECT_EQ(files_.dialogs[0].initialName, ConfigFolderPath().u16string() + u"/New profile");
  EXPECT_TRUE(files_.dialogs[0].overwritePrompt);
  EXPECT_EQ(ValidateConfigFile(added, files_), kConfigFileValid);
  EXPECT_EQ(dialog_.Rows().back(), ProfileRowOf(added));
  EXPECT_TRUE(ApplyEnabled());

  Click("CONTROL2_APPLY");
  RegistryStore& settings = program_.App().SettingsKey();
  EXPECT_EQ(settings.GetText("PROFILES", "PROFILE00"), u"4");
  EXPECT_EQ(settings.GetText("PROFILES", "PROFILE01"), WorkingFile().u16string() + u".mvk");
  EXPECT_EQ(settings.GetText("PROFILES", "PROFILE04"), added.u16string());
  EXPECT_FALSE(dialog_.IsChanged());
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_FALSE(window_.applyStates.back());
}

TEST_F(ProfileManagerTest, AddThatCannotWriteTheFileSaysSoAndAddsNoRow) {
  const auto blocker = program_.Folders().Root() / "plain-file";
  std::ofstream(blocker) << "not a folder";
  dialog_.show();
  files_.chosenFile = blocker / "Racing.mvk";
  Click("FUNC_ADD");

  EXPECT_EQ(files_.messages, std::vector<std::string>{"PROFILE_NEW_FAILED"});
  EXPECT_EQ(files_.arguments.back(), files_.chosenFile->u16string());
  EXPECT_EQ(dialog_.Rows().size(), 3u);
  EXPECT_FALSE(dialog_.IsChanged());
}

TEST_F(ProfileManagerTest, LoadListsTheChosenFileWithoutTouchingIt) {
  dialog_.show();
  const auto chosen = program_.Folders().Root() / "elsewhere" / "Shooter.mvk";
  files_.chosenFile = chosen;
  Click("FUNC_LOAD");

  EXPECT_EQ(files_.dialogs.at(0).initialName, (ConfigFolderPath() / "*.mvk").u16string());
  EXPECT_FALSE(std::filesystem::exists(chosen));
  EXPECT_EQ(dialog_.Rows().back(), ProfileRowOf(chosen));
  EXPECT_TRUE(dialog_.IsChanged());
}

TEST_F(ProfileManagerTest, CancelledFileDialogsAndDeleteWithoutSelectionChangeNothing) {
  dialog_.show();
  files_.chosenFile.reset();
  for (const char* button : {"FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE"}) {
    dialog_.List().clearSelection();
    Click(button);
    EXPECT_EQ(dialog_.Rows().size(), 3u) << button;
    EXPECT_FALSE(dialog_.IsChanged()) << button;
    EXPECT_FALSE(ApplyEnabled()) << button;
  }
}

TEST_F(ProfileManagerTest, DeleteRemovesTheSelectedRow) {
  dialog_.show();
  dialog_.List().selectRow(1);
  Click("FUNC_DELETE");
  EXPECT_EQ(dialog_.Rows().size(), 2u);
  EXPECT_TRUE(ApplyEnabled());
}

TEST_F(ProfileManagerTest, CheckingARowClearsTheOthersAndApplyMakesItsProfileActive) {
  dialog_.show();
  ASSERT_EQ(dialog_.CheckedRow(), 0);
  dialog_.List().item(1, 0)->setCheckState(Qt::Checked);
  EXPECT_EQ(dialog_.List().item(0, 0)->checkState(), Qt::Unchecked);
  EXPECT_TRUE(dialog_.IsChanged());

  EditWorkingConfiguration();
  const int refreshes = window_.keyButtonRefreshes;
  Click("CONTROL2_APPLY");

  EXPECT_EQ(KeyboardProfile(), 1);
  EXPECT_EQ(WorkingImage().profiles[0][0x1E], NewProfileKeyMap(0)[0x1E])
      << "read again from the keyboard";
  EXPECT_GT(window_.keyButtonRefreshes, refreshes);
  EXPECT_EQ(dialog_.CheckedRow(), 1);

  const auto actions = dialog_.ProfileMenu().actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_EQ(actions[0]->text(), Text("DEFAULT_PROFILE_NAME"));
  EXPECT_TRUE(actions[1]->isSeparator());
  for (int item = 2; item < 5; ++item) {
    EXPECT_EQ(actions[item]->text(), QString::fromStdU16String(WorkingFile().stem().u16string()));
    EXPECT_EQ(actions[item]->isChecked(), item == 3);
  }
  EXPECT_EQ(window_.caption, actions[3]->text());
  EXPECT_EQ(window_.tooltip, Text("PROFILE_TIP") + actions[3]->text());
}

TEST_F(ProfileManagerTest, CheckOnAnAddedFileLeavesTheKeyboardProfileAndGoesBackToIt) {
  ActivateOnKeyboard(2);
  dialog_.show();
  files_.chosenFile = program_.Folders().Root() / "Shooter.mvk";
  Click("FUNC_LOAD");
  dialog_.List().item(3, 0)->setCheckState(Qt::Checked);
  Click("CONTROL_OK");

  EXPECT_EQ(KeyboardProfile(), 2);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(program_.App().SettingsKey().GetText("PROFILES", "PROFILE00"), u"4");
}

TEST_F(ProfileManagerTest, SelectionIsRefusedWhileTheAssignmentDialogIsOpen) {
  assignment_.open = true;
  EXPECT_FALSE(dialog_.SelectProfile(1));
  EXPECT_EQ(prompts_.messages, QStringList{Text("PROFILE_SEELCT_PROMPT2")});
  EXPECT_EQ(KeyboardProfile(), 0);
  EXPECT_EQ(window_.keyButtonRefreshes, 0);
}

TEST_F(ProfileManagerTest, SelectionWithoutChangesSwitchesAndMarksTheRowOfAnOpenManager) {
  struct Case {
    int index;
    int keyboardProfile;
  };
  // 3 and above mean the first profile; a negative index selects none.
  const Case cases[] = {{1, 1}, {5, 0}, {-1, 0}, {2, 2}};
  dialog_.show();
  for (const Case& c : cases) {
    EXPECT_TRUE(dialog_.SelectProfile(c.index)) << c.index;
    EXPECT_EQ(KeyboardProfile(), c.keyboardProfile) << c.index;
    EXPECT_EQ(dialog_.CheckedRow(), c.keyboardProfile) << c.index;
    EXPECT_FALSE(dialog_.IsChanged()) << c.index;
    EXPECT_EQ(dialog_.ProfileMenu().actions().at(c.keyboardProfile + 2)->isChecked(), true);
  }
  EXPECT_TRUE(prompts_.questions.isEmpty());
  EXPECT_EQ(window_.keyButtonRefreshes, 4);
}

TEST_F(ProfileManagerTest, UnappliedEditsAnsweredNoAreDroppedBeforeTheSwitch) {
  ASSERT_TRUE(SaveConfigFile(Services().Config(), WorkingFile()));
  const ConfigImage applied = WorkingImage();
  EditWorkingConfiguration();
  window_.applyPending = true;
  int profileWhileAsking = -1;
  prompts_.whileAsking = [&] { profileWhileAsking = KeyboardProfile(); };
  prompts_.answers = {false};

  EXPECT_TRUE(dialog_.SelectProfile(1));

  EXPECT_EQ(prompts_.questions, QStringList{Text("PROFILE_SELECT_PROMPT")});
  EXPECT_EQ(profileWhileAsking, 0);
  EXPECT_EQ(WorkingImage(), applied);
  EXPECT_EQ(KeyboardProfile(), 1);
  EXPECT_FALSE(window_.ApplyPending());
  EXPECT_EQ(window_.applies, 0);
}

TEST_F(ProfileManagerTest, UnappliedEditsAnsweredYesAreAppliedBeforeTheSwitch) {
  EditWorkingConfiguration();
  const ConfigImage edited = WorkingImage();
  window_.applyPending = true;
  int profileWhileApplying = -1;
  window_.onApply = [&] { profileWhileApplying = KeyboardProfile(); };
  prompts_.answers = {true};

  EXPECT_TRUE(dialog_.SelectProfile(2));

  EXPECT_EQ(window_.applies, 1);
  EXPECT_EQ(profileWhileApplying, 0);
  EXPECT_EQ(WorkingImage(), edited);
  EXPECT_EQ(KeyboardProfile(), 2);
}

TEST_F(ProfileManagerTest, ASelectionDuringTheQuestionDoesNotAskAgain) {
  window_.applyPending = true;
  prompts_.whileAsking = [&] { EXPECT_TRUE(dialog_.SelectProfile(2)); };
  prompts_.answers = {true};
  EXPECT_TRUE(dialog_.SelectProfile(1));
  EXPECT_EQ(prompts_.questions.size(), 1);
  EXPECT_EQ(KeyboardProfile(), 1);
}

}  // namespace
}  // namespace mvk
