#include "ui/main/profile_controls.h"

#include <fstream>

#include "model/config_store.h"
#include "panel_fixture.h"
#include "storage/config_file.h"
#include "support/fake_windows.h"
#include "support/scripted_file_prompts.h"
#include "support/scripted_model_prompts.h"
#include "ui/main/busy_indicator.h"
#include "ui/skin/png_button.h"

namespace mvk::test {
namespace {

namespace id = profile_control;

constexpr uint8_t kWriteSettings = 4;
constexpr uint8_t kWriteKeyMap = 8;

class ProfileControlsTest : public PanelFixture {
 protected:
  ProfileControlsTest() {
    link_.MacroCapacityBytes = 64 * 128;
    EXPECT_TRUE(EnsureConfigFolder(folder_));
    EXPECT_TRUE(std::filesystem::exists(WorkingFilePath(folder_)) ||
                SaveConfigFile(config_, WorkingFilePath(folder_)));
    for (int control : {1135, 1136, 1137, 1147, 1168, 1169, 1170, 1006, 1138, 1139, 1009}) {
      buttons_[control] = new CPngButton(&window_);
    }
    controls_ = std::make_unique<CProfileControls>(window_, ProfileContext());
    tap_.written.clear();
  }

  ProfileControlsContext ProfileContext() {
    return {.window = mainWindow_,
            .button = [this](int control) { return buttons_.at(control); },
            .link = link_,
            .lighting = lighting_,
            .userModes = userModes_,
            .store = store_,
            .config = config_,
            .folder = folder_,
            .keyboard = view_,
            .panel = *panel_,
            .modelPrompts = modelPrompts_,
            .filePrompts = filePrompts_,
            .skinFile = BuildDir() / "Skins/Main.ini",
            .programFolder = BuildDir(),
            .text = PanelContext().text,
            .defaultMatrix = [] { return BuiltInDefaultMatrix(); },
            .selectProfile =
                [this](int profile) {
                  selections_.push_back(profile);
                  if (!allowSelection_) return false;
                  SetActiveProfile(link_, profile);
                  return true;
                },
            .rebuildProfileMenu = [](QMenu&) {}};
  }

  bool AnyCommand(uint8_t command) const {
    const auto commands = Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
  }

  std::recursive_mutex configLock_;
  std::recursive_mutex macroLock_;
  ConfigState config_{configLock_, macroLock_};
  ConfigFolder folder_{Dir() / "config", Dir() / "none.userd"};
  ScriptedModelPrompts modelPrompts_;
  ScriptedFilePrompts filePrompts_;
  FakeMainWindow mainWindow_;
  std::map<int, CPngButton*> buttons_;
  std::unique_ptr<CProfileControls> controls_;
};

TEST_F(ProfileControlsTest, ReportRateWritesOneByteOfTheShownProfile) {
  controls_->ShowProfile(2);
  tap_.written.clear();
  static_cast<QAbstractButton*>(controls_->Control(id::kReportButtons[2]))->click();
  EXPECT_EQ(MemoryWrites(), (std::vector<MemoryWrite>{{99, {2}}}));
  EXPECT_EQ(Commands(), (std::vector<uint8_t>{kBeginUpdate, kWriteMemory, kEndUpdate}));
  EXPECT_EQ(controls_->CheckedReportRate(), 2);
  EXPECT_EQ(LightingByte(2, lighting_field::kReportRate), 2);
}

TEST_F(ProfileControlsTest, ReportRateButtonsFollowEveryRefresh) {
  lighting_.decoded.reportRate = 3;
  panel_->RefreshLightingPanel();
  EXPECT_EQ(controls_->CheckedReportRate(), 3);
}

TEST_F(ProfileControlsTest, ShowingAnotherProfileSelectsItAndChecksItsButton) {
  lighting_.lightView = true;
  controls_->ShowProfile(1);
  EXPECT_EQ(lighting_.shownProfile, 1);
  EXPECT_EQ(selections_, (std::vector<int>{1}));
  EXPECT_EQ(controls_->CheckedProfile(), 1);
  EXPECT_EQ(mainWindow_.keyButtonRefreshes, 1);
  EXPECT_EQ(view_.switchModeClears, 1);
  EXPECT_FALSE(panel_->LightViewOn());
  EXPECT_EQ(keyboard_.Memory().settings[settings::kActiveProfile], 1);
}

TEST_F(ProfileControlsTest, TheActiveProfilesOwnButtonRereadsWithoutSelecting) {
  lighting_.decoded.brightness = 0;
  controls_->ShowProfile(0);
  EXPECT_TRUE(selections_.empty());
  EXPECT_FALSE(AnyCommand(kWriteSettings));
  EXPECT_EQ(lighting_.decoded.brightness, 5) << "the record was read again";
}

TEST_F(ProfileControlsTest, RefusedSelectionLeavesTheButtons) {
  controls_->ShowProfileButton(0);
  allowSelection_ = false;
  controls_->ShowProfile(2);
  EXPECT_EQ(controls_->CheckedProfile(), 0);
  EXPECT_EQ(lighting_.shownProfile, 2) << "the other profile's lighting is shown";
  EXPECT_EQ(mainWindow_.keyButtonRefreshes, 0);
}

TEST_F(ProfileControlsTest, ApplyWithNothingPendingOnlyTurnsTheBusyPicture) {
  controls_->ApplyChanges();
  EXPECT_TRUE(tap_.written.empty());
  EXPECT_EQ(controls_->Busy().TimesShown(), 1);
  EXPECT_TRUE(controls_->Busy().isVisibleTo(&window_));
  EXPECT_TRUE(WaitUntil([&] { return !controls_->Busy().isVisibleTo(&window_); }));
}

TEST_F(ProfileControlsTest, ApplyWritesThePendingKeyMapsAndClearsApply) {
  controls_->EnableApply(true);
  controls_->ApplyChanges();
  EXPECT_TRUE(AnyCommand(kWriteKeyMap));
  EXPECT_FALSE(controls_->ApplyPending());
}

TEST_F(ProfileControlsTest, RestoreDefaultsAnsweredNoChangesNothing) {
  controls_->SetReportRate(3);
  tap_.written.clear();
  const auto before = keyboard_.Memory();
  controls_->RestoreDefaults();
  EXPECT_EQ(modelPrompts_.shown, (std::vector<std::string>{"MAIN_PROMPT_DEFAULT"}));
  EXPECT_TRUE(tap_.written.empty());
  EXPECT_EQ(keyboard_.Memory(), before);
}

TEST_F(ProfileControlsTest, RestoreDefaultsAnsweredYesResetsAllThreeProfiles) {
  for (int profile = 0; profile < kProfileCount; ++profile) {
    lighting_.shownProfile = profile;
    panel_->SelectEffect(4);
    controls_->SetReportRate(3);
  }
  lighting_.shownProfile = 0;
  ASSERT_TRUE(store_.WriteModeName(1, 2, u"Painted"));
  modelPrompts_.answerYes = true;
  controls_->RestoreDefaults();
  for (int profile = 0; profile < kProfileCount; ++profile) {
    EXPECT_EQ(LightingByte(profile, lighting_field::kEffect), 1) << profile;
    EXPECT_EQ(LightingByte(profile, lighting_field::kReportRate), 0) << profile;
  }
  EXPECT_EQ(store_.ReadModeName(1, 2), u"0") << "user modes from the template";
  EXPECT_EQ(lighting_.decoded.effect, 1);
  EXPECT_EQ(lighting_.decoded.brightness, 5);
  EXPECT_EQ(controls_->CheckedReportRate(), 0);
  EXPECT_EQ(lighting_.shownProfile, 0);
  EXPECT_FALSE(controls_->ApplyPending()) << "the reset key maps were applied";
  EXPECT_FALSE(view_.colourLook) << "the light view stays off";
}

TEST_F(ProfileControlsTest, ImportingABadFileChangesNothing) {
  const auto path = Dir() / "bad.mvk";
  std::ofstream(path) << "not a configuration";
  filePrompts_.chosenFile = path;
  const auto before = keyboard_.Memory();
  const auto working = config_.working.image;
  controls_->RunCommand(kImportCommand);
  EXPECT_EQ(filePrompts_.messages, (std::vector<std::string>{"MAIN_PROMPT_INPORT"}));
  EXPECT_EQ(keyboard_.Memory(), before);
  EXPECT_TRUE(config_.working.image == working);
  EXPECT_TRUE(tap_.written.empty());
}

TEST_F(ProfileControlsTest, ExportSavesTheWorkingConfiguration) {
  filePrompts_.chosenFile = Dir() / "out.mvk";
  controls_->RunCommand(kExportCommand);
  EXPECT_TRUE(std::filesystem::exists(Dir() / "out.mvk"));
}

TEST_F(ProfileControlsTest, ProfileMenuCommandsSelectByIndex) {
  controls_->RunCommand(kNoProfileCommand);
  controls_->RunCommand(kFirstProfileCommand + 1);
  EXPECT_EQ(selections_, (std::vector<int>{1}));
}

TEST_F(ProfileControlsTest, SynchronisationShowsTheKeyboardsActiveProfile) {
  SetActiveProfile(link_, 2);
  lighting_.lightView = true;
  ASSERT_TRUE(store_.WriteModeName(0, 1, u"Old"));
  tap_.written.clear();
  controls_->SynchroniseShownProfile();
  EXPECT_EQ(lighting_.shownProfile, 2);
  EXPECT_EQ(controls_->CheckedProfile(), 2);
  EXPECT_FALSE(panel_->LightViewOn());
  EXPECT_EQ(store_.ReadModeName(0, 1), u"0");
  EXPECT_FALSE(AnyCommand(kWriteKeyColours)) << "the user modes are not sent";
}

}  // namespace
}  // namespace mvk::test
