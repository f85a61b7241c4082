// The lighting panel and the profile controls inside the real main window,
// over the simulated keyboard: clicks on the window's own buttons and keys
// reach the keyboard.
#include "ui/main/main_panels.h"

#include <QComboBox>
#include <QLabel>

#include "model/settings_block.h"
#include "panels_fixture.h"
#include "ui/main/key_buttons.h"
#include "ui/main/window_messages.h"
#include "ui/skin/png_button.h"

namespace mvk::test {
namespace {

constexpr int kKeyA = 1058;  // the A key's button

class MainPanelsTest : public PanelsFixture {
 protected:
  MainPanelsTest() {
    // What the profile manager does on a selection, minus its questions.
    profiles_.onSelect = [this](int profile) {
      SetActiveProfile(services_.Link(), profile);
      window().RefreshKeyButtons();
      return true;
    };
    BuildPanels(profiles_);
  }

  void PaintWithUserMode() {
    Lighting().ToggleLightView();
    ASSERT_TRUE(Lighting().LightViewOn());
    Lighting().SelectEffect(kUserLightingMode);
  }
};

TEST(LedIndexOfControl, KeysGKeysAndFnHaveTheirLedsOtherControlsNone) {
  EXPECT_EQ(LedIndexOfControl(kKeyA), LedIndexOfKey(0x01E));
  EXPECT_NE(LedIndexOfControl(kKeyA), kNoLedIndex);
  EXPECT_EQ(LedIndexOfControl(kGButtonControls[0]), kGKeyLedIndex);
  EXPECT_EQ(LedIndexOfControl(kMacroOnlyControl), kGKeyLedIndex);
  EXPECT_EQ(LedIndexOfControl(kFnButtonControl), kFnLedIndex);
  EXPECT_EQ(LedIndexOfControl(kMacroButtonControl), kNoLedIndex) << "the macro button paints nothing";
  EXPECT_EQ(LedIndexOfControl(kControlApply), kNoLedIndex);
}

TEST_F(MainPanelsTest, KeyClicksGoToTheAssignmentDialogUntilTheLightViewIsOn) {
  AttachInitialised();
  window().OnKeyButton(kKeyA);
  EXPECT_EQ(assignment_.opened.size(), 1u);
  PaintWithUserMode();
  const int led = LedIndexOfControl(kKeyA);
  const Colour painted = ColourOf(200, 40, 90);
  services_.UserModes().settings.color = painted;
  window().OnKeyButton(kKeyA);
  EXPECT_EQ(assignment_.opened.size(), 1u) << "the click painted instead";
  const auto rgb = ColourBytes(painted);
  EXPECT_EQ(KeyColourOnKeyboard(0, led), rgb);
  CPngButton* button = window().Control(kKeyA);
  EXPECT_TRUE(button->ColourFrameOn());
  EXPECT_EQ(button->ColourFrameColour(), QColourOf(painted));
}

TEST_F(MainPanelsTest, GKeysAndFnPaintTheirSharedLeds) {
  AttachInitialised();
  PaintWithUserMode();
  services_.UserModes().settings.tool = 1;  // the marking brush paints jcolor
  services_.UserModes().settings.jcolor = ColourOf(10, 20, 30);
  window().OnKeyButton(kGButtonControls[2]);
  window().Control(kFnButtonControl)->click();
  EXPECT_EQ(KeyColourOnKeyboard(0, kGKeyLedIndex), (std::array<uint8_t, 3>{10, 20, 30}));
  EXPECT_EQ(KeyColourOnKeyboard(0, kFnLedIndex), (std::array<uint8_t, 3>{10, 20, 30}));
  for (int control : kGButtonControls) {
    EXPECT_EQ(window().Control(control)->ColourFrameColour(), QColor(10, 20, 30)) << control;
  }
}

TEST_F(MainPanelsTest, LightViewOffGivesTheKeysTheirAssignedLookBack) {
  AttachInitialised();
  Lighting().ToggleLightView();
  EXPECT_TRUE(window().KeyView().ColourLook());
  EXPECT_TRUE(window().Control(kKeyA)->ColourFrameOn());
  Lighting().ToggleLightView();
  EXPECT_FALSE(window().KeyView().ColourLook());
  EXPECT_FALSE(window().Control(kKeyA)->ColourFrameOn());
  EXPECT_FALSE(Lighting().PreviewRunning());
}

TEST_F(MainPanelsTest, ProfileButtonsOfTheWindowSwitchTheKeyboardsProfile) {
  AttachInitialised();
  window().Control(1137)->click();
  EXPECT_EQ(Memory().settings[settings::kActiveProfile], 2);
  EXPECT_EQ(window().ShownProfile(), 2);
  EXPECT_TRUE(window().Control(1137)->IsAssigned());
  EXPECT_FALSE(window().Control(1135)->IsAssigned());
  profiles_.selected.clear();
  window().Control(1137)->click();
  EXPECT_TRUE(profiles_.selected.empty()) << "the active profile's own button selects nothing";
}

TEST_F(MainPanelsTest, ReportRateButtonWritesTheShownProfilesRecord) {
  AttachInitialised();
  window().Control(1137)->click();
  window().Control(1169)->click();
  EXPECT_EQ(LightingByte(2, lighting_field::kReportRate), 2);
  EXPECT_TRUE(window().Control(1169)->IsAssigned());
  EXPECT_FALSE(window().Control(1147)->IsAssigned());
}

TEST_F(MainPanelsTest, ApplyButtonWritesPendingKeyMapsAndClearsApply) {
  AttachInitialised();
  window().EnableApply(true);
  const int before = keyboard_->PacketCount();
  window().Control(kControlApply)->click();
  EXPECT_GT(keyboard_->PacketCount(), before);
  EXPECT_FALSE(window().ApplyPending());
  EXPECT_FALSE(window().Control(kControlApply)->isEnabled());
}

TEST_F(MainPanelsTest, ApplyWithNothingPendingSendsNothing) {
  AttachInitialised();
  const int before = keyboard_->PacketCount();
  window().ApplyChanges();
  EXPECT_EQ(keyboard_->PacketCount(), before);
}

TEST_F(MainPanelsTest, SliderMessageOfTheWindowWritesTheBrightness) {
  AttachInitialised();
  const uint8_t brightness = services_.Lighting().decoded.brightness;
  const int position = brightness == 0 ? 1 : 0;
  EXPECT_TRUE(window().HandleMessage(kSliderMessage, lighting_control::kBrightnessSlider,
                                     position));
  EXPECT_EQ(LightingByte(0, lighting_field::kBrightness), position);
}

TEST_F(MainPanelsTest, StoredLightViewComesBackOnAtTheReload) {
  ASSERT_TRUE(services_.ModeStore().WriteLightView(true));
  AttachInitialised();
  EXPECT_TRUE(Lighting().LightViewOn());
  EXPECT_TRUE(window().KeyView().ColourLook());
  EXPECT_TRUE(Lighting().PreviewRunning());
  EXPECT_TRUE(Lighting().Control(lighting_control::kEffectList)->isVisibleTo(&window()));
}

TEST_F(MainPanelsTest, LanguageMessageRelabelsThePanel) {
  AttachInitialised();
  auto* label = static_cast<QLabel*>(Lighting().Control(lighting_control::kBrightnessLabel));
  label->clear();
  window().HandleMessage(kLanguageMessage, kLanguageTag, services_.LanguageIndex());
  EXPECT_FALSE(label->text().isEmpty());
}

TEST_F(MainPanelsTest, KeyboardResetShowsTheFirstProfileWithTheLightViewOff) {
  AttachInitialised();
  window().Control(1136)->click();
  Lighting().ToggleLightView();
  SetActiveProfile(services_.Link(), 0);
  window().StartWindowTimer(kTimerKeyboardReset, 0);
  ASSERT_TRUE(WaitUntil([&] { return !window().TimerActive(kTimerKeyboardReset); }));
  EXPECT_EQ(window().ShownProfile(), 0);
  EXPECT_TRUE(window().Control(1135)->IsAssigned());
  EXPECT_FALSE(Lighting().LightViewOn());
  EXPECT_TRUE(window().ApplyPending());
}

TEST_F(MainPanelsTest, ScreenshotWithTheLightViewOn) {
  AttachInitialised();
  ASSERT_TRUE(WaitUntil([&] { return window().isVisible(); }));
  Lighting().ToggleLightView();
  Lighting().SelectEffect(1);
  for (int step = 0; step < 8; ++step) Lighting().PreviewTick();
  QApplication::processEvents();
  const auto file = std::filesystem::path(MORVAKIN_BUILD_DIR) / "main_window_lighting.png";
  ASSERT_TRUE(window().grab().save(QString::fromStdString(file.string())));
}

}  // namespace
}  // namespace mvk::test
