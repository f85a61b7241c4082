#include "model/lighting.h"

#include <gtest/gtest.h>

#include "support/recording_channel.h"

namespace mvk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::CommandOf;
using test::CommandsOf;
using test::DataOf;
using test::OffsetOf;

constexpr uint8_t kBegin = 1, kEnd = 2, kReadSettings = 3, kReadMemory = 5, kWriteMemory = 6,
                  kWriteKeyColours = 17;

struct Write {
  uint8_t command;
  uint16_t offset;
  Bytes data;
  friend bool operator==(const Write&, const Write&) = default;
};

std::vector<Write> WritesOf(const std::vector<Packet>& requests) {
  std::vector<Write> writes;
  for (const Packet& p : requests) {
    writes.push_back({CommandOf(p), OffsetOf(p), DataOf(p)});
  }
  return writes;
}

class LightingTest : public ::testing::Test {
 protected:
  test::RecordingLink wire;
  LightingConfig config;
};

TEST_F(LightingTest, EffectSelectionWritesItsGroupsFields) {
  const struct {
    uint8_t effect;
    int profile;
    bool multiColour;
    std::vector<Write> writes;
  } rows[] = {
      {4, 1, true, {{kBegin, 0, {}}, {kWriteMemory, 42, {4}}, {kEnd, 0, {}}}},
      {5, 1, true, {{kBegin, 0, {}}, {kWriteMemory, 42, {5}}, {kWriteMemory, 46, {1}}, {kEnd, 0, {}}}},
      {13, 2, false, {{kBegin, 0, {}}, {kWriteMemory, 84, {13}}, {kWriteMemory, 88, {0}}, {kEnd, 0, {}}}},
      {20, 0, false, {{kBegin, 0, {}}, {kWriteMemory, 0, {20}}, {kEnd, 0, {}}}},
      {19, 0, false, {}},
      {21, 0, false, {}},
  };
  for (const auto& row : rows) {
    wire.channel.requests.clear();
    config.shownProfile = row.profile;
    config.decoded.multiColour = row.multiColour;
    config.decoded.effect = 9;
    EXPECT_EQ(WriteEffectSelection(wire.link, config, row.effect), kResultOk);
    EXPECT_EQ(WritesOf(wire.channel.requests), row.writes) << int(row.effect);
    EXPECT_EQ(config.decoded.effect, row.writes.empty() ? 9 : row.effect);
  }
}

TEST_F(LightingTest, FieldWritesGoToTheProfilesRecord) {
  const uint8_t colour[] = {0x11, 0x22, 0x33};
  const uint8_t speed[] = {SpeedByteOfSliderPosition(0)};
  EXPECT_EQ(WriteLightingField(wire.link, 2, lighting_field::kEffectColour, colour), kResultOk);
  EXPECT_EQ(WriteLightingField(wire.link, 1, lighting_field::kSpeed, speed), kResultOk);
  EXPECT_EQ(WritesOf(wire.channel.requests),
            (std::vector<Write>{{kBegin, 0, {}},
                                {kWriteMemory, 89, {0x11, 0x22, 0x33}},
                                {kEnd, 0, {}},
                                {kBegin, 0, {}},
                                {kWriteMemory, 44, {4}},
                                {kEnd, 0, {}}}));
  EXPECT_EQ(SpeedByteOfSliderPosition(4), 0);
  EXPECT_EQ(WriteLightingField(wire.link, 3, 0, colour), kResultBadBank);
  EXPECT_EQ(WriteLightingField(wire.link, 0, 40, colour), kResultBadBank);
  EXPECT_EQ(wire.channel.requests.size(), 6u);
}

TEST_F(LightingTest, ColourTableGoesInSevenChunksOf54Bytes) {
  for (std::size_t i = 0; i < kKeyColourTableSize; ++i) {
    config.keyColours[1][i] = static_cast<uint8_t>(i);
  }
  config.shownProfile = 0;  // the table's profile picks the bank, not the shown one
  ASSERT_EQ(WriteKeyColourTable(wire.link, config, 1), kResultOk);
  const auto& requests = wire.channel.requests;
  ASSERT_EQ(CommandsOf(requests), (Bytes{kBegin, 17, 17, 17, 17, 17, 17, 17, kEnd}));
  for (int chunk = 0; chunk < 7; ++chunk) {
    const Packet& p = requests[static_cast<std::size_t>(chunk) + 1];
    EXPECT_EQ(OffsetOf(p), 512 + 54 * chunk);
    const Bytes expected(config.keyColours[1].begin() + 54 * chunk,
                         config.keyColours[1].begin() + 54 * (chunk + 1));
    EXPECT_EQ(DataOf(p), expected);
  }
}

TEST_F(LightingTest, KeyColourWritesOneLedAndKeepsTheTable) {
  config.shownProfile = 1;
  const int led = LedIndexOfKey(0x204);  // G5
  ASSERT_EQ(WriteKeyColour(wire.link, config, led, ColourOf(0x10, 0x20, 0x30)), kResultOk);
  EXPECT_EQ(WritesOf(wire.channel.requests),
            (std::vector<Write>{{kBegin, 0, {}},
                                {kWriteKeyColours, 512 + 125 * 3, {0x10, 0x20, 0x30}},
                                {kEnd, 0, {}}}));
  EXPECT_EQ(Bytes(config.keyColours[1].begin() + 375, config.keyColours[1].end()),
            (Bytes{0x10, 0x20, 0x30}));

  for (const int bad : {kNoLedIndex, kLedCount}) {
    EXPECT_EQ(WriteKeyColour(wire.link, config, bad, 0), kResultBadBank);
  }
  EXPECT_EQ(wire.channel.requests.size(), 3u);
}

TEST_F(LightingTest, DefaultRecordIs35BytesAtTheProfilesOffset) {
  ASSERT_EQ(WriteDefaultLighting(wire.link, 2), kResultOk);
  ASSERT_EQ(CommandsOf(wire.channel.requests), (Bytes{kBegin, kWriteMemory, kEnd}));
  Bytes expected = {1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  expected.resize(35, 0);
  EXPECT_EQ(OffsetOf(wire.channel.requests[1]), 84);
  EXPECT_EQ(DataOf(wire.channel.requests[1]), expected);
}

TEST(LedIndexOfKey, FollowsTheGrid) {
  const struct {
    KeyCode code;
    int led;
  } rows[] = {
      {0x001, 0},    {0x03B, 1},    {0x044, 10},   {0x057, 11},  {0x137, 14},  {0x045, 16},
      {0x029, 21},   {0x00B, 31},   {0x135, 39},   {0x04A, 41},  {0x010, 43},  {0x019, 52},
      {0x153, 56},   {0x04E, 62},   {0x026, 72},   {0x01C, 76},  {0x04D, 82},  {0x056, 85},
      {0x032, 92},   {0x036, 97},   {0x148, 99},   {0x11C, 104}, {0x15B, 106}, {0x15D, 111},
      {0x11D, 113},  {0x14D, 121},  {0x053, 124},  {0x200, 125}, {0x208, 125}, {0x073, kNoLedIndex},
      {0x136, kNoLedIndex}, {0x171, kNoLedIndex}, {0x1FF, kNoLedIndex},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(LedIndexOfKey(row.code), row.led) << std::hex << row.code;
  }
}

LightingRecord SampleRecord() {
  LightingRecord r{};
  r[0] = 7;
  r[1] = 3;
  r[2] = 1;
  r[3] = 0xFF;
  r[4] = 2;
  r[5] = 0x10, r[6] = 0x20, r[7] = 0x30;
  r[15] = 7;
  r[17] = 9;
  r[18] = 1;
  r[19] = 2;
  r[25] = 1, r[26] = 2, r[27] = 3;
  r[28] = 0;
  r[30] = 4, r[31] = 5, r[32] = 6;
  r[33] = 5;
  return r;
}

TEST(DecodeLightingRecord, ClampsAndKeepsOutOfRangeFields) {
  LightingState state;
  state.triggerKind = 1;
  state.effectOption = 2;
  DecodeLightingRecord(SampleRecord(), state);
  LightingState expected;
  expected.effect = 7;
  expected.brightness = 3;
  expected.speed = 1;
  expected.direction = 0xFF;
  expected.multiColour = true;
  expected.effectColour = 0x302010;
  expected.secondColour = 0x030201;
  expected.thirdColour = 0x060504;
  expected.thirdMultiColour = true;
  expected.reportRate = 3;    // byte 15 of 7 shows the fourth button
  expected.effectOption = 0;  // 9 is no option
  expected.effect7Flag = 1;
  expected.triggerKind = 1;   // 2 leaves it as it was
  EXPECT_EQ(state, expected);

  LightingRecord other = SampleRecord();
  other[0] = 8;
  other[18] = 0;
  DecodeLightingRecord(other, state);
  EXPECT_EQ(state.effect7Flag, 1);  // read only for effect 7
}

TEST_F(LightingTest, ReadTakesSettingsAndAllThreeRecords) {
  wire.channel.answer = [](const Packet& request, std::size_t, Packet& reply) {
    std::fill(reply.begin() + packet::kData, reply.end(), uint8_t{0});
    if (CommandOf(request) == kReadSettings) {
      reply[packet::kData + 10] = 1;
      reply[packet::kData + 12 + 4] = kUserLightingMode;
    }
    if (CommandOf(request) == kReadMemory) {
      reply[packet::kData] = static_cast<uint8_t>(OffsetOf(request) / 42 + 1);  // effect
      reply[packet::kData + 42] = 0xEE;  // past the record
    }
    return true;
  };
  config.shownProfile = 2;
  int userModeRefreshes = 0;
  LightingReadHooks hooks{[&] { ++userModeRefreshes; }, [] { return false; }};
  config.lightView = true;

  ASSERT_EQ(ReadLighting(wire.link, config, LightingReadVariant::Refresh, hooks), 0);
  EXPECT_EQ(WritesOf(wire.channel.requests),
            (std::vector<Write>{{kReadSettings, 0, Bytes(44, 0)},
                                {kBegin, 0, {}},
                                {kReadMemory, 0, Bytes(56, 0)},
                                {kReadMemory, 42, Bytes(56, 0)},
                                {kReadMemory, 84, Bytes(56, 0)},
                                {kEnd, 0, {}}}));
  EXPECT_EQ(config.records[1][0], 2);
  EXPECT_EQ(config.records[2][0], 3);
  EXPECT_EQ(config.decoded.effect, 3);
  EXPECT_EQ(config.settings.activeProfile, 1);
  EXPECT_TRUE(HasUserLightingMode(config.settings));
  EXPECT_EQ(userModeRefreshes, 0);
  EXPECT_TRUE(config.lightView);  // the refresh only ever turns it on

  ASSERT_EQ(ReadLighting(wire.link, config, LightingReadVariant::Reload, hooks), 0);
  EXPECT_EQ(userModeRefreshes, 1);
  EXPECT_FALSE(config.lightView);
}

TEST_F(LightingTest, FailedSettingsReadEmptiesTheModeListAndKeepsRecords) {
  config.settings.macroCapacity = 7;
  config.settings.lightingModes.fill(7);
  config.records[0][0] = 5;
  wire.channel.answer = [](const Packet&, std::size_t, Packet& reply) {
    reply[packet::kStatus] = kStatusRefused;
    return true;
  };
  EXPECT_EQ(ReadLighting(wire.link, config, LightingReadVariant::Reload, {}), -1);
  EXPECT_EQ(config.settings.macroCapacity, 7);
  EXPECT_EQ(LightingModeList(config.settings), std::vector<uint8_t>{});
  EXPECT_EQ(config.records[0][0], 5);
  EXPECT_EQ(CommandsOf(wire.channel.requests), Bytes{kReadSettings});
}

TEST_F(LightingTest, FailedRecordReadKeepsThePreviousCopy) {
  config.records[1].fill(0x42);
  wire.channel.answer = [](const Packet& request, std::size_t, Packet& reply) {
    std::fill(reply.begin() + packet::kData, reply.end(), uint8_t{1});
    if (CommandOf(request) == kReadMemory && OffsetOf(request) == 42) {
      reply[packet::kStatus] = kStatusFailed;
    }
    return true;
  };
  ASSERT_EQ(ReadLighting(wire.link, config, LightingReadVariant::Refresh, {}), 0);
  EXPECT_EQ(config.records[0][0], 1);
  EXPECT_EQ(config.records[1][0], 0x42);
}

}  // namespace
}  // namespace mvk
