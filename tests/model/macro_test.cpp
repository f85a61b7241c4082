#include "model/macro.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace mvk {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr KeyCode kKeyA = 0x01E;

MacroRecord Macro(std::u16string_view name, uint16_t id, std::vector<MacroEvent> events,
                  uint8_t cycles = 1) {
  MacroRecord record;
  record.SetName(name);
  record.id = id;
  record.cycles = cycles;
  record.eventCount = static_cast<uint16_t>(events.size());
  std::copy(events.begin(), events.end(), record.events.begin());
  return record;
}

MacroRecord MacroA1() {
  return Macro(u"A1", 1, {{100, kKeyA, kMacroPress}, {0, kKeyA, kMacroRelease}});
}

TEST(EncodeMacroArea, GivesTheDocumentedBytes) {
  const struct {
    const char* name;
    MacroList list;
    bool withNames;
    Bytes expected;
  } rows[] = {
      {"empty list", {}, true, {0xAA, 0x55, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"A1 with names",
       {MacroA1()},
       true,
       {0xAA, 0x55, 0x22, 0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x00,
        0x02, 0x00, 0x01, 0x02, 0x0A, 0xA0, 0x02, 0x04, 0x00, 0x20, 0x02, 0x04, 0x41, 0x00,
        0x31, 0x00}},
      {"A1 without names",
       {MacroA1()},
       false,
       {0xAA, 0x55, 0x1E, 0x00, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x00,
        0x02, 0x00, 0x01, 0x00, 0x0A, 0xA0, 0x02, 0x04, 0x00, 0x20, 0x02, 0x04}},
  };
  for (const auto& row : rows) {
    const auto area = EncodeMacroArea(row.list, row.withNames);
    ASSERT_TRUE(area.has_value()) << row.name;
    EXPECT_EQ(*area, row.expected) << row.name;
    const MacroAreaSize sizes = MacroAreaSizes(row.list);
    EXPECT_EQ(row.withNames ? sizes.withNames : sizes.withoutNames, row.expected.size()) << row.name;
  }
}

TEST(EncodeMacroArea, PlacesEntriesOneAfterAnother) {
  const MacroList list = {MacroA1(), Macro(u"Second", 4, {{10, 0x030, kMacroPress}}, 3)};
  const auto area = EncodeMacroArea(list, true);
  ASSERT_TRUE(area.has_value());
  const MacroAreaSize sizes = MacroAreaSizes(list);
  EXPECT_EQ(sizes.withNames, 16u + 4 + (4 + 8 + 4) + (4 + 4 + 12));
  EXPECT_EQ(sizes.withoutNames, 16u + 4 + (4 + 8) + (4 + 4));
  // Offsets 20 and 20 + 16; the second entry's head: one event, 3 cycles, 6 units.
  EXPECT_EQ((*area)[16], 20);
  EXPECT_EQ((*area)[18], 36);
  EXPECT_EQ(Bytes(area->begin() + 36, area->begin() + 40), (Bytes{0x01, 0x00, 0x03, 0x06}));
}

TEST(EncodeMacroArea, RefusesAnAreaBeyondSixteenBitOffsets) {
  MacroList list(20, Macro(u"long", 1, {}));
  for (MacroRecord& record : list) {
    record.eventCount = kMaxMacroEvents;
  }
  EXPECT_FALSE(EncodeMacroArea(list, false).has_value());
}

TEST(EncodeAreaEvent, RoundsDelaysDownToTensAndSaturates) {
  const struct {
    uint32_t delay;
    uint16_t units;
  } rows[] = {{15, 1}, {9, 0}, {40000, 4000}, {40959, 4095}, {50000, 4095}};
  for (const auto& row : rows) {
    const auto bytes = EncodeAreaEvent({row.delay, kKeyA, kMacroRelease});
    EXPECT_EQ((bytes[0] | bytes[1] << 8) & 0x0FFF, row.units) << row.delay;
  }
}

TEST(EncodeAreaEvent, EncodesEachKindOfKey) {
  const struct {
    KeyCode key;
    uint8_t type, d0, d1;
  } rows[] = {
      {0x01D, 2, 0x01, 0x01}, {0x02A, 2, 0x01, 0x02}, {0x038, 2, 0x01, 0x04},
      {0x15B, 2, 0x01, 0x08}, {0x11D, 2, 0x01, 0x10}, {0x036, 2, 0x01, 0x20},
      {0x138, 2, 0x01, 0x40}, {0x15C, 2, 0x01, 0x80},
      {0x136, 2, 0x02, 0xE5},  // the second Right Shift code has no modifier row
      {0x120, 2, 0x02, 0xCD},  // Mute: a consumer key travels as its device usage
      {kKeyA, 2, 0x02, 0x04},  {0x15E, 4, 0x81, 0x00},  // Power
      {0x171, 1, 0x01, 0x01},  {0x172, 1, 0x01, 0x02}, {0x173, 1, 0x01, 0x04},
      {0x161, 1, 0x05, 0x01},  {0x162, 1, 0x05, 0xFF},
      {0x176, 0, 0x00, 0x00},  // Copy has no device usage
      {0x201, 0, 0x00, 0x00},  // G keys are not sent as macro events
  };
  for (const auto& row : rows) {
    const auto bytes = EncodeAreaEvent({0, row.key, kMacroPress});
    EXPECT_EQ(bytes[1], 0x80 | row.type << 4) << std::hex << row.key;
    EXPECT_EQ(bytes[2], row.d0) << std::hex << row.key;
    EXPECT_EQ(bytes[3], row.d1) << std::hex << row.key;
  }
}

TEST(DecodeAreaEvent, DecodesEachType) {
  const struct {
    uint8_t control1, d0, d1;
    KeyCode key;
  } rows[] = {
      {0x60, 0xA2, 0x03, 0x202},  // G3
      {0x60, 0xA2, 0x00, 0},      // there is no G0
      {0x60, 0xA2, 0x13, 0},      // nor a G19
      {0x60, 0x01, 0x03, 0},
      {0x30, 0xE2, 0x00, 0x120},  // consumer usage 0x0E2: Mute
      {0x20, 0x02, 0x04, kKeyA},  {0x20, 0x01, 0x06, 0x02A},  // lowest modifier bit wins
      {0x20, 0x01, 0x00, 0},      {0x10, 0x01, 0x04, 0x173}, {0x10, 0x05, 0xFF, 0x162},
      {0x10, 0x01, 0x03, 0},      {0x40, 0x81, 0x00, 0x15E}, {0x50, 0x01, 0x01, 0},
      {0x00, 0x00, 0x00, 0},
  };
  for (const auto& row : rows) {
    const uint8_t bytes[] = {0x0A, static_cast<uint8_t>(0x80 | row.control1), row.d0, row.d1};
    const MacroEvent event = DecodeAreaEvent(bytes);
    EXPECT_EQ(event.key, row.key) << std::hex << int(row.control1) << " " << int(row.d0);
    EXPECT_EQ(event.delay, 100u);
    EXPECT_EQ(event.action, kMacroPress);
  }
  const uint8_t release[] = {0xA0, 0x2F, 0x02, 0x04};
  EXPECT_EQ(DecodeAreaEvent(release), (MacroEvent{40000, kKeyA, kMacroRelease}));
}

TEST(DecodeMacroArea, GivesBackWhatWasEncoded) {
  const MacroList list = {MacroA1(), Macro(u"Two", 9, {{20, 0x171, kMacroPress}}, 5)};
  for (const bool withNames : {true, false}) {
    const auto area = EncodeMacroArea(list, withNames);
    ASSERT_TRUE(area.has_value());
    MacroList decoded;
    ASSERT_EQ(DecodeMacroArea(*area, u"Macro ", decoded), 2u);
    EXPECT_EQ(decoded[0].Name(), withNames ? u"A1" : u"Macro 1");
    EXPECT_EQ(decoded[1].Name(), withNames ? u"Two" : u"Macro 2");
    // Ids come from positions; everything else comes back.
    EXPECT_EQ(decoded[1].id, 2);
    EXPECT_EQ(decoded[1].cycles, 5);
    EXPECT_EQ(decoded[0].UsedEvents().size(), 2u);
    EXPECT_EQ(decoded[0].events[0], list[0].events[0]);
    EXPECT_EQ(decoded[1].events[0], list[1].events[0]);
    EXPECT_EQ(decoded[1].events[1], MacroEvent{});
  }
}

Bytes AreaHeader(uint16_t total, uint16_t count) {
  return {0xAA, 0x55, static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8),
          static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8), 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

TEST(DecodeMacroArea, CutsBadDataShortInsideTheArea) {
  MacroList decoded = {MacroA1()};
  EXPECT_EQ(DecodeMacroArea(Bytes{0xAB, 0x55, 0x10, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                            u"M", decoded),
            0u);
  EXPECT_TRUE(decoded.empty());
  EXPECT_EQ(DecodeMacroArea(Bytes{0xAA, 0x55}, u"M", decoded), 0u);

  // Count 3, but the total size leaves room for the offset table of two.
  Bytes area = AreaHeader(20, 3);
  area.insert(area.end(), {20, 0, 0xFF, 0xFF, 0, 0});
  ASSERT_EQ(DecodeMacroArea(area, u"M", decoded), 2u);
  // Both entries lie outside the area: they keep their places, empty.
  EXPECT_EQ(decoded[0].eventCount, 0);
  EXPECT_EQ(decoded[1].Name(), u"M2");

  // An entry announcing 4001 events and a 200-unit name gets what the area holds.
  area = AreaHeader(0, 1);
  area.insert(area.end(), {18, 0, 0xA1, 0x0F, 2, 200, 0x0A, 0xA0, 0x02, 0x04, 0x41, 0x00});
  area[2] = static_cast<uint8_t>(area.size());
  ASSERT_EQ(DecodeMacroArea(area, u"M", decoded), 1u);
  EXPECT_EQ(decoded[0].eventCount, 1);
  EXPECT_EQ(decoded[0].events[0], (MacroEvent{100, kKeyA, kMacroPress}));
  EXPECT_EQ(decoded[0].Name(), u"A");
}

TEST(DecodeMacroArea, TakesAtMostOneHundredMacros) {
  MacroList list(kMaxMacros, Macro(u"", 1, {}));
  auto area = *EncodeMacroArea(list, false);
  area[4] = 150;  // the count now claims more than the list can hold
  MacroList decoded;
  EXPECT_EQ(DecodeMacroArea(area, u"M", decoded), kMaxMacros);
}

TEST(DecodeMacroArea, SurvivesRandomBytes) {
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(0, 600);
  MacroList decoded;
  for (int round = 0; round < 2000; ++round) {
    Bytes area(length(random));
    for (uint8_t& b : area) {
      b = static_cast<uint8_t>(byte(random));
    }
    if (area.size() >= 2 && round % 2 == 0) {
      area[0] = 0xAA;
      area[1] = 0x55;
    }
    const std::size_t count = DecodeMacroArea(area, u"M", decoded);
    ASSERT_EQ(count, decoded.size());
    ASSERT_LE(count, kMaxMacros);
    for (const MacroRecord& record : decoded) {
      ASSERT_LE(record.eventCount, kMaxMacroEvents);
      ASSERT_LE(record.Name().size(), kMaxMacroNameLength);
    }
  }
}

TEST(MacroRecordBytes, FollowTheFileLayout) {
  MacroRecord record = Macro(u"Hi", 7, {{40000, 0x11D, kMacroRelease}}, 3);
  record.isNew = 1;
  record.reserved504 = 0xBEEF;
  std::vector<uint8_t> bytes(kMacroRecordSize);
  EncodeMacroRecord(record, std::span<uint8_t, kMacroRecordSize>(bytes));
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{'H', 0, 'i', 0, 0, 0}));
  EXPECT_EQ(Bytes(bytes.begin() + 500, bytes.begin() + 520),
            (Bytes{3, 0, 1, 0, 0xEF, 0xBE, 7, 0, 1, 0, 0, 0, 0x40, 0x9C, 0, 0, 0x1D, 0x01, 1, 0}));

  MacroRecord decoded;
  ASSERT_TRUE(DecodeMacroRecord(std::span<const uint8_t, kMacroRecordSize>(bytes), decoded));
  EXPECT_EQ(decoded, record);

  bytes[508] = 0xA1;  // 4001 events
  bytes[509] = 0x0F;
  MacroRecord untouched = MacroA1();
  EXPECT_FALSE(DecodeMacroRecord(std::span<const uint8_t, kMacroRecordSize>(bytes), untouched));
  EXPECT_EQ(untouched, MacroA1());
}

TEST(MacroIds, NewIdsFillGapsAndIndexesFallBackToZero) {
  MacroList list = {Macro(u"a", 1, {}), Macro(u"b", 3, {}), Macro(u"c", 2, {}), Macro(u"d", 5, {})};
  EXPECT_EQ(NewMacroId(list), 4);
  const auto fresh = MakeNewMacro(list, u"new");
  ASSERT_TRUE(fresh.has_value());
  EXPECT_EQ(fresh->id, 4);
  EXPECT_EQ(fresh->cycles, 1);
  EXPECT_EQ(fresh->isNew, 1);

  EXPECT_EQ(MacroIndexOfId(list, 2), 2);
  EXPECT_EQ(MacroIndexOfId(list, 1), 0);
  EXPECT_EQ(MacroIndexOfId(list, 42), 0);

  MacroList full;
  for (uint16_t id = 1; id <= kMaxMacros; ++id) {
    full.push_back(Macro(u"", id, {}));
  }
  EXPECT_EQ(NewMacroId(full), 0);
  EXPECT_FALSE(MakeNewMacro(full, u"x").has_value());
}

TEST(MacroRecordName, IsCutTo249Units) {
  MacroRecord record;
  record.SetName(std::u16string(300, u'x'));
  EXPECT_EQ(record.Name().size(), kMaxMacroNameLength);
  EXPECT_EQ(record.name.back(), u'\0');
}

}  // namespace
}  // namespace mvk
