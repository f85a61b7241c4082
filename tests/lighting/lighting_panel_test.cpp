#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "panel_fixture.h"
#include "storage/config_folder.h"
#include "ui/main/panel_picture.h"

namespace mvk::test {
namespace {

namespace id = lighting_control;

constexpr int kOneKeyLed = 22;

using LightingPanelTest = PanelFixture;

struct EffectCase {
  const char* name;
  int profile;
  uint8_t effect;
  std::vector<MemoryWrite> writes;
};

class EffectSelectionTest : public PanelFixture,
                            public ::testing::WithParamInterface<EffectCase> {};

TEST_P(EffectSelectionTest, WritesTheEffectsGroup) {
  const EffectCase& c = GetParam();
  lighting_.shownProfile = c.profile;
  ASSERT_TRUE(lighting_.decoded.multiColour) << "the factory record is multi-colour";
  panel_->SelectEffect(c.effect);
  EXPECT_EQ(MemoryWrites(), c.writes);
  if (c.writes.empty()) {
    EXPECT_TRUE(tap_.written.empty());
  } else {
    std::vector<uint8_t> bracket{kBeginUpdate};
    bracket.insert(bracket.end(), c.writes.size(), kWriteMemory);
    bracket.push_back(kEndUpdate);
    EXPECT_EQ(Commands(), bracket);
  }
  EXPECT_EQ(lighting_.decoded.effect, c.effect);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, EffectSelectionTest,
    ::testing::Values(EffectCase{"CodeAndColourMode", 0, 5, {{0, {5}}, {4, {1}}}},
                      EffectCase{"CodeAndColourModeProfile2", 2, 13, {{84, {13}}, {88, {1}}}},
                      EffectCase{"CodeOnly", 0, 4, {{0, {4}}}},
                      EffectCase{"CodeOnlyProfile1", 1, 20, {{42, {20}}}},
                      EffectCase{"Nothing", 0, 19, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LightingPanelTest, EffectListHoldsTheOfferedCodesInOrder) {
  lighting_.settings.lightingModes = {4, 0, 20};
  panel_->RefreshLightingPanel();
  EXPECT_EQ(panel_->EffectCodes(), (std::vector<uint8_t>{4, 20}));
  auto* list = static_cast<QComboBox*>(Control(id::kEffectList));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "Per-key colours");
}

TEST_F(LightingPanelTest, ControlsFollowTheEffectWhileTheLightViewIsOn) {
  panel_->SelectEffect(17);
  EXPECT_FALSE(Control(id::kEffectList)->isVisibleTo(&window_)) << "light view off";
  TurnLightViewOn();
  EXPECT_TRUE(Control(id::kEffectList)->isVisibleTo(&window_));
  EXPECT_TRUE(Control(id::kBrightnessSlider)->isVisibleTo(&window_));
  EXPECT_TRUE(Control(id::kFirstOption + 3)->isVisibleTo(&window_));
  EXPECT_FALSE(Control(id::kSpeedSlider)->isVisibleTo(&window_));
  EXPECT_FALSE(Control(id::kColourButtonB)->isVisibleTo(&window_));
  panel_->SelectEffect(19);
  EXPECT_FALSE(Control(id::kEffectList)->isVisibleTo(&window_));
  EXPECT_FALSE(Control(id::kFirstOption)->isVisibleTo(&window_));
  EXPECT_TRUE(Control(id::kLightSwitch)->isVisibleTo(&window_));
}

TEST_F(LightingPanelTest, SpeedDragWritesEachNewValueOnce) {
  auto* slider = static_cast<QSlider*>(Control(id::kSpeedSlider));
  slider->setValue(0);
  ASSERT_TRUE(WaitUntil([&] { return lighting_.decoded.speed == 4; }));
  tap_.written.clear();
  for (int position = 1; position <= 4; ++position) slider->setValue(position);
  ASSERT_TRUE(WaitUntil([&] { return MemoryWrites().size() >= 4; }));
  EXPECT_EQ(MemoryWrites(),
            (std::vector<MemoryWrite>{{2, {3}}, {2, {2}}, {2, {1}}, {2, {0}}}));
  EXPECT_EQ(LightingByte(0, lighting_field::kSpeed), 0);
  tap_.written.clear();
  panel_->OnSliderMessage(id::kSpeedSlider, 4);
  panel_->OnSliderMessage(id::kBrightnessSlider, lighting_.decoded.brightness);
  panel_->OnSliderMessage(id::kRed, 1);
  EXPECT_TRUE(tap_.written.empty()) << "unchanged values and other controls write nothing";
  panel_->OnSliderMessage(id::kBrightnessSlider, 2);
  EXPECT_EQ(MemoryWrites(), (std::vector<MemoryWrite>{{1, {2}}}));
}

TEST_F(LightingPanelTest, PresetWritesSingleColourModeAndItsColour) {
  static_cast<QAbstractButton*>(Control(id::kFirstPreset + 2))->click();
  EXPECT_EQ(MemoryWrites(), (std::vector<MemoryWrite>{{4, {0}}, {5, {0, 126, 255}}}));
  EXPECT_EQ(Commands(), (std::vector<uint8_t>{kBeginUpdate, kWriteMemory, kWriteMemory, kEndUpdate}));
  EXPECT_EQ(static_cast<QLineEdit*>(Control(id::kGreen))->text(), "126");
  EXPECT_EQ(static_cast<QLineEdit*>(Control(id::kBlue))->text(), "255");
  EXPECT_FALSE(lighting_.decoded.multiColour);
  EXPECT_FALSE(static_cast<CPanelPicture*>(Control(id::kMultiSwitchA))->Selected());
}

TEST_F(LightingPanelTest, RgbBoxesKeepValuesInRangeAndSendNothing) {
  auto* red = static_cast<QLineEdit*>(Control(id::kRed));
  const std::pair<QString, QString> typed[] = {
      {"300", "255"}, {"256", "255"}, {"255", "255"}, {"12", "12"}, {"99999999999999999999", "255"}};
  for (const auto& [text, kept] : typed) {
    red->setText(text);
    EXPECT_EQ(red->text(), kept) << text.toStdString();
  }
  EXPECT_EQ(RgbBoxValue("abc"), 0);
  EXPECT_TRUE(tap_.written.empty());
}

TEST_F(LightingPanelTest, ColourButtonWritesThePickedColourAndCancelWritesNothing) {
  colours_.answers = {ColourOf(10, 20, 30), std::nullopt};
  static_cast<QAbstractButton*>(Control(id::kColourButtonB))->click();
  EXPECT_EQ(MemoryWrites(), (std::vector<MemoryWrite>{{4, {0}}, {5, {10, 20, 30}}}));
  EXPECT_EQ(static_cast<CPanelPicture*>(Control(id::kColourButtonA))->Fill(), QColor(10, 20, 30));
  tap_.written.clear();
  static_cast<QAbstractButton*>(Control(id::kColourButtonA))->click();
  EXPECT_TRUE(tap_.written.empty());
  EXPECT_EQ(lighting_.decoded.effectColour, ColourOf(10, 20, 30));
}

TEST_F(LightingPanelTest, SwitchesDirectionAndOptionsWriteTheirByte) {
  static_cast<QAbstractButton*>(Control(id::kMultiSwitchB))->click();
  static_cast<QAbstractButton*>(Control(id::kMultiSwitchA))->click();
  static_cast<QAbstractButton*>(Control(id::kDirectionLeft))->click();
  static_cast<QAbstractButton*>(Control(id::kDirectionRight))->click();
  static_cast<QAbstractButton*>(Control(id::kFirstOption + 2))->click();
  EXPECT_EQ(MemoryWrites(),
            (std::vector<MemoryWrite>{{4, {0}}, {4, {1}}, {3, {255}}, {3, {0}}, {17, {2}}}));
  EXPECT_TRUE(static_cast<CPanelPicture*>(Control(id::kFirstOption + 2))->Selected());
  EXPECT_FALSE(static_cast<CPanelPicture*>(Control(id::kFirstOption))->Selected());
  EXPECT_EQ(LightingByte(0, lighting_field::kEffectOption), 2);
}

TEST_F(LightingPanelTest, DirectionControlsMoveAndChangePicturesWithTheEffect) {
  panel_->SelectEffect(12);
  auto* left = static_cast<CPanelPicture*>(Control(id::kDirectionLeft));
  EXPECT_EQ(left->PictureKind(), CPanelPicture::Kind::kArrowUp);
  panel_->SelectEffect(18);
  EXPECT_EQ(left->PictureKind(), CPanelPicture::Kind::kCircleIn);
  panel_->SelectEffect(2);
  EXPECT_EQ(left->PictureKind(), CPanelPicture::Kind::kArrowLeft);
}

TEST_F(LightingPanelTest, LightViewSwitchIsStoredAndAsksForTheActiveProfile) {
  window_.show();
  allowSelection_ = false;
  panel_->ToggleLightView();
  EXPECT_FALSE(panel_->LightViewOn()) << "a refused selection keeps it off";
  EXPECT_EQ(selections_, (std::vector<int>{0}));
  allowSelection_ = true;
  panel_->ToggleLightView();
  EXPECT_TRUE(panel_->LightViewOn());
  EXPECT_TRUE(store_.ReadLightView());
  EXPECT_TRUE(view_.colourLook);
  EXPECT_TRUE(panel_->PreviewRunning());
  panel_->ToggleLightView();
  EXPECT_FALSE(store_.ReadLightView());
  EXPECT_FALSE(view_.colourLook);
  EXPECT_FALSE(panel_->PreviewRunning());
  EXPECT_FALSE(Control(id::kEffectList)->isVisibleTo(&window_));
}

// The window lives hidden in the tray most of the time, often with the
// light view on: the preview must not animate buttons nobody sees.
TEST_F(LightingPanelTest, PreviewRunsOnlyWhileTheWindowIsShown) {
  TurnLightViewOn();
  EXPECT_FALSE(panel_->PreviewRunning()) << "the window is hidden";
  window_.show();
  EXPECT_TRUE(panel_->PreviewRunning());
  window_.hide();
  EXPECT_FALSE(panel_->PreviewRunning());
  panel_->RefreshLightingPanel();
  EXPECT_FALSE(panel_->PreviewRunning()) << "a refresh while hidden starts nothing";
  window_.show();
  EXPECT_TRUE(panel_->PreviewRunning());
  panel_->ToggleLightView();
  EXPECT_FALSE(panel_->PreviewRunning());
  window_.hide();
  window_.show();
  EXPECT_FALSE(panel_->PreviewRunning()) << "the light view is off";
}

class UserModePanelTest : public PanelFixture {
 protected:
  UserModePanelTest() {
    TurnLightViewOn();
    panel_->SelectEffect(kUserLightingMode);
    tap_.written.clear();
    view_.colours.clear();
  }
  void Paint(int tool, int led) {
    static_cast<QAbstractButton*>(Control(tool == kToolMark ? id::kToolMark : id::kToolColour))
        ->click();
    panel_->OnKeyClicked(led);
  }
};

TEST_F(UserModePanelTest, PaintingAKeyWritesItsColourAndStoresItsEntry) {
  colours_.answers = {ColourOf(0, 255, 0), ColourOf(0, 0, 9)};
  static_cast<QAbstractButton*>(Control(id::kUserJColourButton))->click();
  static_cast<QAbstractButton*>(Control(id::kUserColourButton))->click();
  tap_.written.clear();

  Paint(kToolMark, kOneKeyLed);
  EXPECT_EQ(KeyColourOnKeyboard(0, kOneKeyLed), (std::array<uint8_t, 3>{0, 255, 0}));
  EXPECT_EQ(store_.ReadKeyEntry(0, 0, kOneKeyLed), (KeyEntry{ColourOf(0, 255, 0), true}));
  EXPECT_EQ(view_.colours[kOneKeyLed], ColourOf(0, 255, 0));
  EXPECT_EQ(Commands(), (std::vector<uint8_t>{kBeginUpdate, kWriteKeyColours, kEndUpdate}));

  Paint(kToolColour, kGKeyLedIndex);
  EXPECT_EQ(KeyColourOnKeyboard(0, kGKeyLedIndex), (std::array<uint8_t, 3>{0, 0, 9}));
  EXPECT_EQ(store_.ReadKeyEntry(0, 0, kGKeyLedIndex), (KeyEntry{ColourOf(0, 0, 9), false}));
  EXPECT_FALSE(userModes_.marks[0][kGKeyLedIndex]);
  const auto settings = store_.ReadModeSettings(0, 0);
  EXPECT_EQ(settings, (ModeSettings{kToolColour, ColourOf(0, 255, 0), ColourOf(0, 0, 9)}));
}

TEST_F(UserModePanelTest, ClicksPaintNothingOutsideTheUserMode) {
  panel_->SelectEffect(6);
  tap_.written.clear();
  panel_->OnKeyClicked(kOneKeyLed);
  panel_->SelectEffect(kUserLightingMode);
  tap_.written.clear();
  panel_->OnKeyClicked(kLedCount);
  panel_->OnKeyClicked(-1);
  EXPECT_TRUE(tap_.written.empty());
  EXPECT_EQ(store_.ReadKeyEntry(0, 0, kOneKeyLed), KeyEntry{}) << "the store's default";
}

TEST_F(UserModePanelTest, NewGroupColourRecoloursTheMarkedKeys) {
  colours_.answers = {ColourOf(0, 0, 200)};
  Paint(kToolColour, kOneKeyLed);  // unmarks the key
  tap_.written.clear();
  static_cast<QAbstractButton*>(Control(id::kUserJColourButton))->click();
  EXPECT_EQ(KeyColourOnKeyboard(0, 0), (std::array<uint8_t, 3>{0, 0, 200})) << "Esc was marked";
  EXPECT_EQ(KeyColourOnKeyboard(0, kOneKeyLed), (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(store_.ReadKeyEntry(0, 0, 0), (KeyEntry{ColourOf(0, 0, 200), true}));
  EXPECT_EQ(view_.colours[0], ColourOf(0, 0, 200));
  const auto commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), kWriteKeyColours), 7);

  tap_.written.clear();
  colours_.answers = {ColourOf(0, 0, 200)};
  static_cast<QAbstractButton*>(Control(id::kUserJColourButton))->click();
  EXPECT_TRUE(tap_.written.empty()) << "the same colour writes nothing";
}

TEST_F(UserModePanelTest, ChoosingAUserModeLoadsAndWritesIt) {
  ASSERT_TRUE(store_.WriteKeyEntry(0, 4, kOneKeyLed, {ColourOf(1, 2, 3), false}));
  ASSERT_TRUE(store_.WriteModeName(0, 4, u"Four"));
  panel_->RefillUserModeList();
  auto* list = static_cast<QComboBox*>(Control(id::kUserModeList));
  EXPECT_EQ(list->itemText(4), "Four");
  list->activated(4);
  EXPECT_EQ(userModes_.mode, 4);
  EXPECT_EQ(store_.ReadPresentMode(0), 4);
  EXPECT_EQ(KeyColourOnKeyboard(0, kOneKeyLed), (std::array<uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(view_.colours[kOneKeyLed], ColourOf(1, 2, 3));

  list->lineEdit()->setText("Renamed");
  list->lineEdit()->textEdited("Renamed");
  EXPECT_EQ(store_.ReadModeName(0, 4), u"Renamed");
  EXPECT_EQ(list->itemText(4), "Renamed");
}

TEST(MarkKeys, ComparesWithEachProfilesReferenceColour) {
  LightingConfig lighting;
  UserModeState userModes;
  lighting.records[1][lighting_field::kReferenceColour] = 7;
  lighting.keyColours[1][kOneKeyLed * 3] = 7;
  lighting.keyColours[0][kOneKeyLed * 3] = 7;
  userModes.marks[2][kOneKeyLed] = false;
  MarkKeys(lighting, userModes);
  EXPECT_TRUE(userModes.marks[1][kOneKeyLed]);
  EXPECT_FALSE(userModes.marks[1][0]);
  EXPECT_FALSE(userModes.marks[0][kOneKeyLed]);
  EXPECT_TRUE(userModes.marks[0][0]) << "black on a black reference";
  EXPECT_TRUE(userModes.marks[2][kOneKeyLed]);
}

TEST_F(LightingPanelTest, PreviewAnimatesTheKeysAndRestartsOnANewEffect) {
  window_.show();
  TurnLightViewOn();
  panel_->SelectEffect(4);
  lighting_.decoded.direction = preview::kDirectionForward;
  panel_->PreviewTick();
  EXPECT_EQ(view_.colours[0], preview::Palette()[2]);
  panel_->PreviewTick();
  EXPECT_EQ(view_.colours[0], preview::Palette()[4]);
  panel_->SelectEffect(4);
  panel_->PreviewTick();
  EXPECT_EQ(view_.colours[0], preview::Palette()[2]) << "a selection starts the preview again";
  EXPECT_TRUE(WaitUntil([&] { return view_.colours[0] != preview::Palette()[2]; }))
      << "the timer runs it";
}

}  // namespace
}  // namespace mvk::test
