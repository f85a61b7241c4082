#include "storage/user_modes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "sim/simulated_keyboard.h"
#include "support/emulator_channel.h"
#include "support/packet_tap.h"
#include "support/recording_channel.h"

namespace mvk {
namespace {

constexpr uint8_t kWriteKeyColours = 17;

std::array<uint8_t, 3> TableAt(const LightingConfig& lighting, int profile, int led) {
  const auto& table = lighting.keyColours[profile];
  return {table[led * 3], table[led * 3 + 1], table[led * 3 + 2]};
}

class UserModesTest : public ::testing::Test {
 protected:
  UserModesTest() {
    lighting_.keyColours[1].fill(0x11);
    EXPECT_TRUE(store_.WritePresentMode(1, 3));
    EXPECT_TRUE(store_.WriteModeSettings(1, 3, {kToolMark, ColourOf(0, 255, 0), ColourOf(0, 0, 7)}));
    EXPECT_TRUE(store_.WriteKeyEntry(1, 3, 22, {ColourOf(1, 2, 3), false}));
    EXPECT_TRUE(store_.WriteKeyEntry(1, 3, kFnLedIndex, {ColourOf(4, 5, 6), false}));
    EXPECT_TRUE(store_.WriteKeyEntry(1, 3, kGKeyLedIndex, {ColourOf(7, 8, 9), false}));
    EXPECT_TRUE(store_.WriteModeName(1, 3, u"Painted"));
  }

  std::filesystem::path Dir() const { return dir_.path().toStdString(); }

  QTemporaryDir dir_;
  LightingModeStore store_{ConfigFolder{Dir() / "config", Dir() / "none.userd"}};
  LightingConfig lighting_;
  UserModeState state_;
};

TEST_F(UserModesTest, LoadFillsTableAndMarksOfKeysWithLeds) {
  LoadUserMode(store_, 1, lighting_, state_);

  EXPECT_EQ(state_.mode, 3);
  EXPECT_EQ(state_.settings, (ModeSettings{kToolMark, ColourOf(0, 255, 0), ColourOf(0, 0, 7)}));
  EXPECT_EQ(TableAt(lighting_, 1, 22), (std::array<uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(TableAt(lighting_, 1, kFnLedIndex), (std::array<uint8_t, 3>{4, 5, 6}));
  EXPECT_EQ(TableAt(lighting_, 1, 0), (std::array<uint8_t, 3>{255, 0, 0})) << "Esc: missing entry";
  EXPECT_EQ(TableAt(lighting_, 1, kGKeyLedIndex), (std::array<uint8_t, 3>{0x11, 0x11, 0x11}));
  EXPECT_EQ(TableAt(lighting_, 1, 13), (std::array<uint8_t, 3>{0x11, 0x11, 0x11})) << "no key";
  EXPECT_FALSE(state_.marks[1][22]);
  EXPECT_FALSE(state_.marks[1][kFnLedIndex]);
  EXPECT_TRUE(state_.marks[1][0]);
  EXPECT_FALSE(state_.marks[0][0]) << "other profiles' marks untouched";
  EXPECT_EQ(lighting_.keyColours[0], KeyColourTable{});
}

TEST_F(UserModesTest, WritingFormSendsWholeTable) {
  test::RecordingLink wire;
  EXPECT_EQ(LoadUserMode(store_, 1, wire.link, lighting_, state_), kResultOk);
  const auto sent = test::Reassemble(wire.channel.requests, kWriteKeyColours, 512,
                                     kKeyColourTableSize);
  EXPECT_EQ(sent, std::vector<uint8_t>(lighting_.keyColours[1].begin(),
                                       lighting_.keyColours[1].end()));
}

TEST_F(UserModesTest, ResetLoadsTemplatesModeAndSendsIt) {
  std::ofstream(Dir() / "none.userd") << "[PRESENTMODE]\nmode=2\n[MODENAME]\n2=Fresh\n"
                                       << "[Mode2]\n22=0,0,200,0\n";
  test::RecordingLink wire;
  EXPECT_EQ(ResetUserModes(store_, 1, wire.link, lighting_, state_), kResultOk);
  EXPECT_EQ(state_.mode, 2);
  EXPECT_EQ(state_.names[2], u"Fresh");
  EXPECT_EQ(state_.names[3], u"0") << "the painted mode's name is gone";
  EXPECT_EQ(TableAt(lighting_, 1, 22), (std::array<uint8_t, 3>{0, 0, 200}));
  EXPECT_EQ(test::Reassemble(wire.channel.requests, kWriteKeyColours, 512, kKeyColourTableSize),
            std::vector<uint8_t>(lighting_.keyColours[1].begin(), lighting_.keyColours[1].end()));

  ResetUserModes(store_, 0, lighting_, state_);
  EXPECT_EQ(wire.channel.requests.size(), 9u) << "the second form sends nothing";
}

TEST_F(UserModesTest, PaintingUsesToolColourAndMark) {
  const ModeSettings settings{kToolMark, ColourOf(0, 255, 0), ColourOf(9, 9, 9)};
  EXPECT_EQ(PaintedEntry(settings), (KeyEntry{ColourOf(0, 255, 0), true}));
  EXPECT_EQ(PaintedEntry({kToolColour, settings.jcolor, settings.color}),
            (KeyEntry{ColourOf(9, 9, 9), false}));
}

TEST_F(UserModesTest, ReloadReadRefreshesShownProfilesUserMode) {
  sim::SimulatedKeyboard keyboard;
  test::EmulatorChannel emulator{keyboard};
  KeyboardLink link{emulator};
  link.DeviceConnected = 1;
  link.pause = [](std::chrono::milliseconds) {};
  ASSERT_TRUE(store_.WriteLightView(true));
  lighting_.shownProfile = 1;

  const auto hooks = UserModeReadHooks(store_, link, lighting_, state_);
  ASSERT_EQ(ReadLighting(link, lighting_, LightingReadVariant::Reload, hooks), 0);

  EXPECT_EQ(state_.names[3], u"Painted");
  EXPECT_EQ(state_.names[0], u"0");
  EXPECT_EQ(state_.mode, 3);
  EXPECT_TRUE(lighting_.lightView);
  const auto memory = keyboard.Memory();
  EXPECT_EQ(std::vector<uint8_t>(memory.keyColours.begin() + 512,
                                 memory.keyColours.begin() + 512 + kKeyColourTableSize),
            std::vector<uint8_t>(lighting_.keyColours[1].begin(), lighting_.keyColours[1].end()));
  EXPECT_EQ(memory.keyColours[512 + 22 * 3], 1);
}

}  // namespace
}  // namespace mvk
