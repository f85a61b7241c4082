#include "model/settings_block.h"

#include <gtest/gtest.h>

#include "sim/simulated_keyboard.h"
#include "support/emulator_channel.h"
#include "support/packet_tap.h"

namespace mvk {
namespace {

TEST(SettingsBlock, DecodesAndEncodesFieldByField) {
  std::array<uint8_t, kSettingsBlockSize> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>(0x40 + i);
  }
  bytes[11] = 0x20;
  const SettingsBlock block = DecodeSettingsBlock(bytes);
  EXPECT_EQ(block.reserved[9], 0x49);
  EXPECT_EQ(block.activeProfile, 0x4A);
  EXPECT_EQ(MacroCapacityBytes(block), 4096u);
  EXPECT_EQ(block.lightingModes[31], 0x40 + 43);
  std::array<uint8_t, kSettingsBlockSize> back{};
  EncodeSettingsBlock(block, back);
  EXPECT_EQ(back, bytes);
}

TEST(SettingsBlock, LightingModeListSkipsEmptySlots) {
  SettingsBlock block;
  block.lightingModes[3] = 9;
  block.lightingModes[7] = 20;
  EXPECT_EQ(LightingModeList(block), (std::vector<uint8_t>{9, 20}));
  EXPECT_TRUE(HasUserLightingMode(block));
  block.lightingModes[7] = 19;
  EXPECT_FALSE(HasUserLightingMode(block));
}

class ActiveProfileTest : public ::testing::Test {
 protected:
  ActiveProfileTest() { link.DeviceConnected = 1; }

  sim::SimulatedKeyboard keyboard;
  test::EmulatorChannel emulator{keyboard};
  test::PacketTap tap{emulator};
  KeyboardLink link{tap};
};

TEST_F(ActiveProfileTest, CachedProfileIsAnsweredWithoutAsking) {
  EXPECT_EQ(GetActiveProfile(link), 0);
  EXPECT_EQ(GetActiveProfile(link), 0);
  EXPECT_EQ(tap.written.size(), 1u);
  ForgetActiveProfile(link);
  EXPECT_EQ(GetActiveProfile(link), 0);
  EXPECT_EQ(tap.written.size(), 2u) << "asked again after the keyboard went";
}

TEST_F(ActiveProfileTest, SetActiveProfileSendsBackWhatWasReadWithTheNewProfile) {
  // Arbitrary reserved bytes on the keyboard side.
  std::array<uint8_t, kSettingsBlockSize> seeded{};
  ASSERT_EQ(KbReadSettings(link, seeded.data()), kResultOk);
  std::fill_n(seeded.begin(), 10, 0xC3);
  ASSERT_EQ(KbWriteSettings(link, seeded.data()), kResultOk);
  tap.written.clear();

  SetActiveProfile(link, 1);
  ASSERT_EQ(tap.written.size(), 2u);
  Packet expected{};
  expected[0] = 4;
  expected[packet::kCommand] = 4;
  expected[packet::kLength] = 44;
  std::copy(seeded.begin(), seeded.end(), expected.begin() + packet::kData);
  expected[packet::kData + 10] = 1;
  ChecksumPacket(expected);
  EXPECT_EQ(tap.written[1], expected);
  EXPECT_EQ(link.ActiveProfileCache.load(), 1);
  EXPECT_EQ(keyboard.Memory().settings[10], 1);
}

TEST_F(ActiveProfileTest, ProfilesOutsideZeroToTwoSendNothing) {
  SetActiveProfile(link, -1);
  SetActiveProfile(link, 3);
  EXPECT_TRUE(tap.written.empty());
}

TEST_F(ActiveProfileTest, FailuresLeaveTheProfileUnknown) {
  keyboard.InjectFault(sim::Fault::Refused);
  EXPECT_EQ(GetActiveProfile(link), -1);
  EXPECT_EQ(link.ActiveProfileCache.load(), -1);
  SetActiveProfile(link, 2);
  EXPECT_EQ(tap.written.size(), 2u) << "a failed read sends no write";

  keyboard.ClearFault();
  EXPECT_EQ(GetActiveProfile(link), 0);
  keyboard.InjectFault(sim::Fault::Failed, 1);  // the read passes, the write fails
  SetActiveProfile(link, 2);
  EXPECT_EQ(link.ActiveProfileCache.load(), -1);
}

TEST_F(ActiveProfileTest, MacroCapacityComesFromByteEleven) {
  keyboard.SetMacroCapacity(0x20);
  link.MacroCapacityBytes = 77;
  keyboard.InjectFault(sim::Fault::Refused);
  EXPECT_EQ(ReadMacroCapacity(link), kResultRefused);
  EXPECT_EQ(link.MacroCapacityBytes.load(), 77u) << "kept after a failed read";
  keyboard.ClearFault();
  EXPECT_EQ(ReadMacroCapacity(link), kResultOk);
  EXPECT_EQ(link.MacroCapacityBytes.load(), 4096u);
}

// A keyboard that claims an active profile the program does not have.
class ProfileSevenChannel : public PacketChannel {
 public:
  bool Write(std::span<const uint8_t>, std::size_t*, uint32_t) override { return true; }
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t) override {
    std::fill(buffer.begin(), buffer.end(), 0);
    buffer[packet::kStatus] = 1;
    buffer[packet::kData + 10] = 7;
    *transferred = buffer.size();
    return true;
  }
  void DiscardInput() override {}
};

TEST(GetActiveProfile, ProfileNumberOutOfRangeCountsAsUnknown) {
  ProfileSevenChannel channel;
  KeyboardLink link(channel);
  link.DeviceConnected = 1;
  EXPECT_EQ(GetActiveProfile(link), -1);
  EXPECT_EQ(link.ActiveProfileCache.load(), -1);
}

}  // namespace
}  // namespace mvk
