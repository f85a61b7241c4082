// The keyboard failing under the real main window, with its panels and the
// real profile manager: pulled out during Apply, the reload or a colour
// table write; silent or refusing during Apply, a profile switch or a
// report-rate write; too little macro memory at Apply. In every case the
// window goes on working, Apply stays enabled after a failed apply, the
// buttons show what the keyboard holds, and the user's files stay whole.
#include <QComboBox>

#include <mutex>
#include <string>
#include <vector>

#include "model/settings_block.h"
#include "panels_fixture.h"
#include "storage/config_file.h"
#include "support/test_macros.h"
#include "ui/main/key_buttons.h"
#include "ui/main/window_messages.h"
#include "ui/profiles/profile_manager_dialog.h"
#include "ui/skin/png_button.h"

namespace mvk::test {
namespace {

constexpr int kKeyA = 1058;  // the A key's button
constexpr std::array<int, 3> kProfileButtons = profile_control::kProfileButtons;

MacroRecord LongMacro(uint16_t id, uint16_t events) {
  return test::PressReleaseMacro(id, events, u"Macro that does not fit");
}

class WindowFaultTest : public PanelsFixture {
 protected:
  WindowFaultTest() {
    profileManager_.SetAssignmentDialog(&assignment_);
    window().SetDialogs({&assignment_, &profileManager_, &update_});
    BuildPanels(profileManager_);
  }
  ~WindowFaultTest() override {
    window().Shutdown();
    window().SetDialogs({});
    panels_.reset();
  }

  // The keyboard comes back after it was pulled out, through the window's
  // detach and attach.
  void Replug() {
    ASSERT_FALSE(keyboard_->IsPlugged());
    DetachAndWait();
    services_.SimulatedBackend()->Plug(keyboard_);
    AttachAndWait();
  }

  // A key assignment edited in the window, not yet applied.
  void EditKeyAssignment(KeyCode code) {
    {
      std::lock_guard lock(services_.Config().ConfigLock);
      services_.Config().working.image.profiles[0][code] = {kAssignDisabled, 0, 0, 0, 0};
    }
    window().EnableApply(true);
  }
  std::unique_ptr<ConfigStore> WorkingStore() {
    std::lock_guard lock(services_.Config().ConfigLock);
    return std::make_unique<ConfigStore>(services_.Config().working);
  }
  void ClickApply() { window().Control(kControlApply)->click(); }

  void ExpectApplyStillPending() {
    EXPECT_TRUE(window().ApplyPending());
    EXPECT_TRUE(window().Control(kControlApply)->isEnabled());
  }

  // The working file validates and holds `expected`.
  void ExpectWorkingFileHolds(const ConfigStore& expected) {
    const auto file = WorkingFilePath(services_.Folder());
    ScriptedFilePrompts filePrompts;
    ASSERT_EQ(ValidateConfigFile(file, filePrompts), kConfigFileValid);
    EXPECT_TRUE(filePrompts.messages.empty());
    auto loaded = std::make_unique<ConfigStore>();
    ASSERT_TRUE(LoadConfigFile(file, *loaded));
    EXPECT_EQ(loaded->image, expected.image);
    EXPECT_EQ(loaded->macros, expected.macros);
  }

  void ExpectNothingShown() {
    EXPECT_TRUE(prompts_.messages.isEmpty()) << prompts_.messages.join(" | ").toStdString();
    EXPECT_TRUE(modelPrompts_.shown.empty());
  }

  // A lighting change still reaches the keyboard, and the window ends
  // cleanly with its threads joined.
  void ExpectWorkingThenShutDown() {
    const int profile = window().ShownProfile();
    const int position = services_.Lighting().decoded.brightness == 0 ? 1 : 0;
    EXPECT_TRUE(window().HandleMessage(kSliderMessage, lighting_control::kBrightnessSlider,
                                       position));
    EXPECT_EQ(LightingByte(profile, lighting_field::kBrightness), position);
    window().Shutdown();
    EXPECT_TRUE(monitor_.Joined());
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(window().OnCommand(kCommandOpen)) << "a shut window takes no commands";
  }

  int ActiveProfileOnKeyboard() const { return Memory().settings[settings::kActiveProfile]; }

  CMorvakin_DlgProfile profileManager_{services_, window(), prompts_, filePrompts_, &window()};
};

TEST_F(WindowFaultTest, UnplugDuringApplyKeepsApplyEnabledAndTheWorkingFile) {
  AttachInitialised();
  // Pulled out at the opening command, in the macro area and in the key map.
  for (const int after : {0, 2, 6}) {
    SCOPED_TRACE(after);
    EditKeyAssignment(0x020);
    const auto edited = WorkingStore();
    keyboard_->InjectFault(sim::Fault::Unplug, after);
    ClickApply();
    EXPECT_FALSE(keyboard_->IsPlugged());
    ExpectApplyStillPending();
    ExpectWorkingFileHolds(*edited);
    Replug();
  }
  EditKeyAssignment(0x020);
  ClickApply();
  EXPECT_FALSE(window().ApplyPending());
  EXPECT_FALSE(window().Control(kControlApply)->isEnabled());
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, UnplugDuringTheReloadOnAttachKeepsTheWorkingFile) {
  AttachInitialised();
  EditKeyAssignment(0x020);
  ClickApply();
  ASSERT_FALSE(window().ApplyPending());
  const auto applied = WorkingStore();
  // Pulled out at the settings read, in the key maps and in the macros.
  for (const int after : {0, 9, 23}) {
    SCOPED_TRACE(after);
    DetachAndWait();
    keyboard_->InjectFault(sim::Fault::Unplug, after);
    AttachAndWait();
    EXPECT_FALSE(keyboard_->IsPlugged());
    EXPECT_EQ(WorkingStore()->image, DefaultConfigImage());
    EXPECT_FALSE(window().ApplyPending());
    ExpectWorkingFileHolds(*applied);
    Replug();
    EXPECT_EQ(WorkingStore()->image.profiles[0][0x020].type, kAssignDisabled)
        << "the reload after the replug reads the keyboard again";
  }
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, UnplugDuringAColourTableWriteKeepsTheModeStore) {
  AttachInitialised();
  Lighting().ToggleLightView();
  Lighting().SelectEffect(kUserLightingMode);
  const int led = LedIndexOfControl(kKeyA);
  const Colour chosen = ColourOf(12, 34, 56);
  ASSERT_TRUE(services_.ModeStore().WriteKeyEntry(0, 3, led, {chosen, false}));
  auto* modes = static_cast<QComboBox*>(Lighting().Control(lighting_control::kUserModeList));
  ASSERT_EQ(modes->count(), kUserModeCount);

  keyboard_->InjectFault(sim::Fault::Unplug, 2);
  emit modes->activated(3);
  EXPECT_FALSE(keyboard_->IsPlugged());
  EXPECT_EQ(services_.ModeStore().ReadPresentMode(0), 3);
  EXPECT_EQ(services_.ModeStore().ReadKeyEntry(0, 3, led), (KeyEntry{chosen, false}));
  EXPECT_EQ(window().Control(kKeyA)->ColourFrameColour(), QColourOf(chosen));

  Replug();
  EXPECT_EQ(KeyColourOnKeyboard(0, led), ColourBytes(chosen))
      << "the reload writes the chosen mode's table";
  EXPECT_TRUE(Lighting().LightViewOn());
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, RepliesThatNeverComeDuringApplyKeepApplyEnabled) {
  AttachInitialised();
  EditKeyAssignment(0x020);
  const int before = keyboard_->PacketCount();
  ClickApply();
  ASSERT_FALSE(window().ApplyPending());
  const int packets = keyboard_->PacketCount() - before;

  EditKeyAssignment(0x021);
  const auto edited = WorkingStore();
  keyboard_->InjectFault(sim::Fault::NoReply, packets / 2);
  ClickApply();
  ExpectApplyStillPending();
  ExpectWorkingFileHolds(*edited);

  keyboard_->ClearFault();
  ClickApply();
  EXPECT_FALSE(window().ApplyPending());
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, RepliesThatNeverComeDuringAProfileSwitchLeaveTheActiveProfileShown) {
  AttachInitialised();
  keyboard_->InjectFault(sim::Fault::NoReply);
  window().Control(kProfileButtons[1])->click();
  EXPECT_EQ(ActiveProfileOnKeyboard(), 0);
  EXPECT_EQ(panels_->Profiles().CheckedProfile(), 0)
      << "the button of a profile the keyboard never took";

  keyboard_->ClearFault();
  window().Control(kProfileButtons[1])->click();
  EXPECT_EQ(ActiveProfileOnKeyboard(), 1);
  EXPECT_EQ(panels_->Profiles().CheckedProfile(), 1);
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, RefusedProfileSwitchLeavesTheActiveProfilesButton) {
  AttachInitialised();
  const int before = keyboard_->PacketCount();
  window().Control(kProfileButtons[1])->click();
  ASSERT_EQ(ActiveProfileOnKeyboard(), 1);
  const int packets = keyboard_->PacketCount() - before;

  // Every command refused, and only the closing settings write refused.
  for (const int after : {0, packets - 1}) {
    SCOPED_TRACE(after);
    keyboard_->InjectFault(sim::Fault::Refused, after);
    window().Control(kProfileButtons[2])->click();
    keyboard_->ClearFault();
    EXPECT_EQ(ActiveProfileOnKeyboard(), 1);
    EXPECT_EQ(panels_->Profiles().CheckedProfile(), 1);
  }
  window().Control(kProfileButtons[2])->click();
  EXPECT_EQ(ActiveProfileOnKeyboard(), 2);
  EXPECT_EQ(panels_->Profiles().CheckedProfile(), 2);
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, RefusedReportRateWriteShowsTheKeyboardsRate) {
  AttachInitialised();
  const uint8_t onKeyboard = LightingByte(0, lighting_field::kReportRate);
  const int shown = panels_->Profiles().CheckedReportRate();
  const int code = shown == 1 ? 2 : 1;

  keyboard_->InjectFault(sim::Fault::Refused);
  window().Control(profile_control::kReportButtons[code])->click();
  EXPECT_EQ(LightingByte(0, lighting_field::kReportRate), onKeyboard);
  EXPECT_EQ(panels_->Profiles().CheckedReportRate(), shown);
  EXPECT_EQ(services_.Lighting().decoded.reportRate, shown);

  keyboard_->ClearFault();
  window().Control(profile_control::kReportButtons[code])->click();
  EXPECT_EQ(LightingByte(0, lighting_field::kReportRate), code);
  EXPECT_EQ(panels_->Profiles().CheckedReportRate(), code);
  ExpectNothingShown();
  ExpectWorkingThenShutDown();
}

TEST_F(WindowFaultTest, MacrosTooLongForTheMacroMemorySendNothingAndSaySo) {
  keyboard_->SetMacroCapacity(1);
  AttachInitialised();
  {
    std::lock_guard lock(services_.Config().ConfigLock);
    ConfigStore& working = services_.Config().working;
    working.macros = {LongMacro(1, 200)};
    working.image.profiles[0][0x01E] = {kAssignMacro, 1, 1, 0, 0};
  }
  window().EnableApply(true);
  const auto edited = WorkingStore();
  const int before = keyboard_->PacketCount();

  ClickApply();
  EXPECT_EQ(modelPrompts_.shown, std::vector<std::string>{std::string(kMacroTooLongText)});
  EXPECT_EQ(keyboard_->PacketCount(), before);
  ExpectApplyStillPending();
  // Saving counts the macros into the file header; the edits themselves stay.
  const auto working = WorkingStore();
  EXPECT_EQ(working->macros, edited->macros);
  EXPECT_EQ(working->image.profiles, edited->image.profiles);
  ExpectWorkingFileHolds(*working);
  ExpectWorkingThenShutDown();
}

}  // namespace
}  // namespace mvk::test
