#include "model/config_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/host_strings.h"
#include "model/macro.h"

namespace mvk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Slice(const Bytes& bytes, std::size_t at, std::size_t count) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(at),
          bytes.begin() + static_cast<std::ptrdiff_t>(at + count)};
}

TEST(ConfigImage, DefaultImageHasTheFixedHeadersAndGWords) {
  const Bytes bytes = EncodeConfigImage(DefaultConfigImage());
  ASSERT_EQ(bytes.size(), 32832u);
  Bytes header = {0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00, 0x40, 0x80,
                  0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  header.resize(31, 0);
  header.push_back(0x76);
  EXPECT_EQ(Slice(bytes, 0, 32), header);
  EXPECT_EQ(Slice(bytes, 32, 32),
            (Bytes{0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00,
                   0x02, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x32, 0x5B, 0x50, 0x4F, 0x1C,
                   0x0E, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}));
  // G1 of profile 0 (slot 0x100) carries 0x0301, the second set 0x1301 up;
  // profile 1's G slots stay zero.
  EXPECT_EQ(Slice(bytes, 64 + 0x100 * 16, 4), (Bytes{0, 0, 0x01, 0x03}));
  EXPECT_EQ(Slice(bytes, 64 + 0x108 * 16, 4), (Bytes{0, 0, 0x09, 0x03}));
  EXPECT_EQ(Slice(bytes, 64 + 0x111 * 16, 4), (Bytes{0, 0, 0x09, 0x13}));
  EXPECT_EQ(Slice(bytes, 64 + 8192 + 0x100 * 16, 4), (Bytes{0, 0, 0, 0}));
}

TEST(ConfigImage, KeySlotsAreEncodedFieldByField) {
  ConfigImage image = DefaultConfigImage();
  image.profiles[2][0x1E] = {kAssignMacro, 0x0102, 0x03040506, 1, 0x0A0B0C0D};
  const Bytes bytes = EncodeConfigImage(image);
  EXPECT_EQ(Slice(bytes, 64 + 2 * 8192 + 0x1E * 16, 16),
            (Bytes{4, 0, 0x02, 0x01, 0x06, 0x05, 0x04, 0x03, 1, 0, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A}));

  ConfigImage decoded;
  ASSERT_TRUE(DecodeConfigImage(bytes, decoded));
  EXPECT_EQ(decoded, image);
}

TEST(ConfigImage, DecodeRefusesAShortBlockAndKeepsItsOutput) {
  const Bytes bytes = EncodeConfigImage(DefaultConfigImage());
  ConfigImage image;
  image.profiles[0][5].type = kAssignDisabled;
  const ConfigImage before = image;
  EXPECT_FALSE(DecodeConfigImage(std::span(bytes).first(bytes.size() - 1), image));
  EXPECT_EQ(image, before);
}

TEST(ConfigImage, RefreshedHeaderCountsMacrosAndStrings) {
  ConfigFileHeader header;
  header.flag = 1;
  header.reserved20 = 9;
  RefreshFileHeader(header, 1, 0);
  EXPECT_EQ(header.totalSize, 65344u);
  RefreshFileHeader(header, 2, 50);
  EXPECT_EQ(header.totalSize, 32832u + 2 * kMacroRecordSize + 50);
  EXPECT_EQ(header.flag, 0);
  EXPECT_EQ(header.reserved20, 0u);
  ConfigImage image;
  image.header = header;
  const Bytes bytes = EncodeConfigImage(image);
  EXPECT_EQ(bytes[31], HeaderChecksum(std::span(bytes).first<32>()));
}

TEST(PackHostStrings, PacksOnlyLaunchAndTextSlots) {
  ConfigImage image = DefaultConfigImage();
  HostStringTable table;
  image.profiles[0][3] = {kAssignText, 0, 77, 0, 0};
  image.profiles[0][4] = {kAssignKey, 0, 0x1E, 0, 0};
  table.Set(3, u"123456789");              // 20 bytes
  table.Set(4, u"abcdefghijklmn");         // 30 bytes
  ASSERT_EQ(table.Total(), 50u);
  const Bytes area = PackHostStrings(image, table);
  ASSERT_EQ(area.size(), 50u);
  EXPECT_EQ(Slice(area, 0, 4), (Bytes{'1', 0, '2', 0}));
  EXPECT_EQ(Slice(area, 18, 32), Bytes(32, 0));
  EXPECT_EQ(image.profiles[0][3].value, 0u);
  EXPECT_EQ(image.profiles[0][4].value, 0x1Eu);
}

TEST(HostStringTable, KeepsTheTotalOfItsEntries) {
  HostStringTable table;
  table.Set(HostStringTable::EntryOf(1, 5), u"ab");
  table.Set(HostStringTable::EntryOf(3, 511), u"xyz");
  EXPECT_EQ(table.Total(), 6u + 8u);
  table.Set(HostStringTable::EntryOf(1, 5), u"a");
  EXPECT_EQ(table.Total(), 4u + 8u);
  table.Free(HostStringTable::EntryOf(3, 511));
  table.Free(HostStringTable::EntryOf(3, 511));
  EXPECT_EQ(table.Total(), 4u);
  EXPECT_EQ(table.Size(HostStringTable::EntryOf(3, 511)), 0u);
}

}  // namespace
}  // namespace mvk
