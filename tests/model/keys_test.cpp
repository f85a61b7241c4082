#include <gtest/gtest.h>

#include <map>
#include <set>

#include "model/keys.h"

namespace mvk {
namespace {

// A language file in miniature: missing keys read "#Error" as they do from
// the real lookup.
KeyTextLookup Texts(std::map<std::string, std::u16string> texts) {
  return [texts = std::move(texts)](std::string_view key) {
    const auto it = texts.find(std::string(key));
    return it != texts.end() ? it->second : std::u16string(u"#Error");
  };
}

TEST(KeyIndex, ConvertsBothWays) {
  const struct {
    KeyCode code;
    KeyIndex index;
  } rows[] = {
      {0x000, 0x00},  {0x045, 0x45},  // Pause
      {0x145, 0xC5},                  // Num Lock
      {0x11D, 0x9D},  {0x17E, 0xFE},  {0x200, 0x100},  // G1
      {0x201, 0x101}, {0x211, 0x111},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyIndexOf(row.code), row.index) << std::hex << row.code;
    EXPECT_EQ(KeyCodeOf(row.index), row.code) << std::hex << row.index;
  }
}

TEST(KeyTable, ListPositionsCoverTheKeyListOnce) {
  std::map<uint16_t, std::vector<KeyIndex>> byPosition;
  for (KeyIndex index = 0; index < kKeyTableSize; ++index) {
    const uint16_t position = KeyRecordAt(index).listPosition;
    if (position != kNoListPosition) byPosition[position].push_back(index);
  }
  ASSERT_EQ(byPosition.size(), size_t(kKeyListSize));
  EXPECT_EQ(byPosition.begin()->first, 0);
  EXPECT_EQ(byPosition.rbegin()->first, kKeyListSize - 1);
  for (const auto& [position, indexes] : byPosition) {
    const size_t expected = position == 103 ? 2 : 1;  // Right Shift at 0x36 and 0xB6
    EXPECT_EQ(indexes.size(), expected) << position;
  }
}

TEST(KeyTable, RecordsOfListedKeysAreComplete) {
  for (KeyIndex index = 0; index < kKeyTableSize; ++index) {
    const KeyRecord& record = KeyRecordAt(index);
    if (record.listPosition == kNoListPosition) continue;
    EXPECT_NE(record.nameKey, nullptr) << index;
    EXPECT_NE(record.usage, 0) << index;
    EXPECT_NE(record.vk, 0) << index;
  }
  EXPECT_EQ(KeyRecordAt(0x64).nameKey, nullptr);  // F13
  EXPECT_EQ(KeyRecordAt(0x64).vk, 0x7C);
  EXPECT_EQ(KeyRecordAt(0x100).nameKey, nullptr);  // past the table: empty
}

TEST(KeyName, UsesLanguageTextElseUnknownFormatElseGName) {
  const auto texts = Texts({{"IDS_KEYBOARD_ESC", u"Esc"},
                            {"IDS_KEYBOARD_A", u""},
                            {"UNKNOWN_KEY", u"Key %03X"}});
  const struct {
    KeyCode code;
    std::u16string name;
  } rows[] = {
      {0x001, u"Esc"},
      {0x01E, u"Key 01E"},  // name text empty
      {0x064, u"Key 064"},  // F13 has no name key
      {0x055, u"Key 055"},  // no record at all
      {0x200, u"G1"},
      {0x208, u"G9"},
      {0x211, u"G18"},
      {0xFFFF, u"G65024"},  // never reads past the table
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyName(row.code, texts), row.name) << std::hex << row.code;
  }
}

TEST(KeyName, UnknownFormatIsNeverTrusted) {
  const struct {
    std::u16string format;
    std::u16string name;
  } rows[] = {
      {u"Key %d", u"Key 100"},
      {u"Key 0x%04x", u"Key 0x0064"},
      {u"%s %n %d", u"%s %n 100"},
      {u"%d and %d", u"100 and %d"},
      {u"100%% %X", u"100% 64"},
      {u"%999999d", u"%999999d"},
      {u"trailing %", u"trailing %"},
      {u"#Error", u"#Error"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyName(0x064, Texts({{"UNKNOWN_KEY", row.format}})), row.name);
  }
}

TEST(KeyName, CutsToCapacity) {
  const auto texts = Texts({{"IDS_KEYBOARD_ESC", std::u16string(300, u'x')}});
  EXPECT_EQ(KeyName(0x001, texts).size(), kKeyNameCapacity - 1);
  EXPECT_EQ(KeyName(0x001, texts, 4), u"xxx");
  EXPECT_EQ(KeyName(0x001, texts, 0), u"");
}

TEST(KeyList, ByPosition) {
  const auto texts = Texts({{"IDS_KEYBOARD_A", u"A"}, {"IDS_KEYBOARD_RSHIFT", u"Right Shift"}});
  const struct {
    int position;
    KeyCode code;
    std::u16string name;
  } rows[] = {
      {0, 0x01E, u"A"},
      {103, 0x036, u"Right Shift"},  // 0x036, not 0x136
      {110, 0x162, u"#Error"},       // no text: no unknown-key fallback here
      {111, 0, u""},
      {-1, 0, u""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyCodeOfListPosition(row.position), row.code) << row.position;
    EXPECT_EQ(KeyNameByListPosition(row.position, texts), row.name) << row.position;
  }
  EXPECT_EQ(ListPositionOfKey(0x136), 103);
  EXPECT_EQ(ListPositionOfKey(0x064), kNoListPosition);
  EXPECT_EQ(ListPositionOfKey(0x200), kNoListPosition);
}

TEST(KeyUsage, OfCode) {
  const struct {
    KeyCode code;
    KeyUsage usage;
  } rows[] = {
      {0x171, {kUsageMouse, 0xF1}},    {0x161, {kUsageMouse, 0xF4}},
      {0x15E, {kUsageSystem, 0x81}},   {0x176, {kUsageNone, 0}},
      {0x01E, {kUsageKeyboard, 0x04}}, {0x130, {kUsageKeyboard, 0xC0}},  // consumer keys too
      {0x000, {kUsageNone, 0}},        {0x200, {kUsageNone, 0}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyUsageOf(row.code), row.usage) << std::hex << row.code;
  }
}

TEST(KeyUsage, CodeOfUsage) {
  const struct {
    uint8_t kind;
    uint16_t value;
    KeyCode code;
  } rows[] = {
      {kUsageKeyboard, 0xE5, 0x036},   {kUsageKeyboard, 0x48, 0x045},  // Pause before Break
      {kUsageConsumer, 0x0CD, 0x122},  {kUsageConsumer, 0x000, 0x174},  // empty entry 18 is 0xD2
      {kUsageConsumer, 0x999, 0x000},  {kUsageSystem, 0x81, 0x15E},
      {kUsageSystem, 0x84, 0x000},     {kUsageMouse, 0xF1, 0x000},
      {kUsageKeyboard, 0x00, 0x000},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyCodeOfUsage(row.kind, row.value), row.code)
        << int(row.kind) << " " << std::hex << row.value;
  }
}

TEST(KeyUsage, MultimediaListAgreesWithTables) {
  const auto consumer = ConsumerTable();
  for (const MultimediaEntry& entry : MultimediaList()) {
    const KeyRecord& record = KeyRecordAt(KeyIndexOf(entry.code));
    EXPECT_STREQ(record.nameKey, entry.nameKey);
    ASSERT_GE(record.usage, 0xC0) << entry.nameKey;
    EXPECT_EQ(consumer[record.usage - 0xC0], entry.consumerUsage) << entry.nameKey;
    EXPECT_EQ(KeyCodeOfUsage(kUsageConsumer, entry.consumerUsage), entry.code);
  }
  for (const MouseEntry& entry : MouseList()) {
    EXPECT_STREQ(KeyRecordAt(KeyIndexOf(entry.code)).nameKey, entry.nameKey);
  }
}

TEST(GKeyWord, ByIndex) {
  const struct {
    KeyIndex index;
    uint16_t word;
  } rows[] = {{0x0FF, 0}, {0x100, 0x0301}, {0x108, 0x0309}, {0x109, 0x1301}, {0x111, 0x1309}, {0x112, 0}};
  for (const auto& row : rows) EXPECT_EQ(GKeyWord(row.index), row.word) << std::hex << row.index;
}

TEST(KeyCodeFromMessage, FromScanCodeOrVirtualKey) {
  const auto flags = [](uint32_t scan, bool extended = false) {
    return (scan << 16) | (extended ? 1u << 24 : 0u) | 1u;
  };
  const struct {
    const char* what;
    uint32_t vk;
    uint32_t keyFlags;
    KeyCode code;
  } rows[] = {
      {"A", 0x41, flags(0x1E), 0x01E},
      {"Right Ctrl", 0xA3, flags(0x1D, true), 0x11D},
      {"Alt+Print Screen", 0x2C, flags(0x54), 0x137},
      {"Ctrl+Pause", 0x13, flags(0x46, true), 0x045},
      {"Scroll Lock", 0x91, flags(0x46), 0x046},
      {"E0 Right Shift", 0xA1, flags(0x36, true), 0x036},
      {"Control without scan code", 0x11, 0, 0x01D},
      {"Return without scan code", 0x0D, 0, 0x01C},
      {"Right Shift without scan code", 0xA1, 0, 0x036},
      {"Snapshot without scan code", 0x2C, 0, 0x137},
      {"Left button without scan code", 0x01, 0, 0},
      {"Copy pseudo-key without scan code", 0x97, 0, 0},
      {"Unknown VK", 0x07, 0, 0},
      {"Out-of-range VK", 0x1234, 0, 0},
      {"No VK, Sys Req", 0xFF, flags(0x54), 0x137},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyCodeFromMessage(row.vk, row.keyFlags), row.code) << row.what;
  }
}

TEST(KeyLanguageKeys, ListsEveryNameKeyOnce) {
  const auto keys = KeyLanguageKeys();
  const std::set<std::string_view> unique(keys.begin(), keys.end());
  EXPECT_EQ(unique.size(), keys.size());
  EXPECT_TRUE(unique.contains("UNKNOWN_KEY"));
  EXPECT_TRUE(unique.contains("IDS_KEYBOARD_FUNC_CALENDAR"));
  EXPECT_TRUE(unique.contains("MEDIA_Next_TRACK_5"));
  for (KeyIndex index = 0; index < kKeyTableSize; ++index) {
    if (const char* key = KeyRecordAt(index).nameKey) {
      EXPECT_TRUE(unique.contains(key)) << key;
    }
  }
}

}  // namespace
}  // namespace mvk
