#include "platform/hid_descriptor.h"

#include <gtest/gtest.h>

#include "support/hid_descriptors.h"

namespace mvk {
namespace {

using test::BootKeyboardDescriptor;
using test::ConsumerControlDescriptor;
using test::KeyboardCompositeDescriptor;
using test::VendorCommandDescriptor;

std::vector<HidCollection> Parse(const std::vector<uint8_t>& descriptor) {
  auto collections = ParseReportDescriptor(descriptor);
  EXPECT_TRUE(collections.has_value());
  return collections.value_or(std::vector<HidCollection>{});
}

void PutBits(std::vector<uint8_t>& report, uint32_t offset, uint32_t size, uint32_t value) {
  for (uint32_t i = 0; i < size; ++i) {
    const uint32_t bit = offset + i;
    if ((value >> i) & 1) {
      report[bit / 8] |= uint8_t(1u << (bit % 8));
    }
  }
}

const HidCapability* FindCap(const std::vector<HidCapability>& caps, HidReportKind kind,
                             uint16_t page, uint16_t usage) {
  for (const HidCapability& cap : caps) {
    if (cap.kind == kind && cap.usagePage == page && usage >= cap.usageMin &&
        usage <= cap.usageMax) {
      return &cap;
    }
  }
  return nullptr;
}

TEST(ParseReportDescriptor, BootKeyboard) {
  const auto collections = Parse(BootKeyboardDescriptor());
  ASSERT_EQ(collections.size(), 1u);
  const HidCollection& keyboard = collections[0];
  EXPECT_EQ(keyboard.usagePage, 0x01);
  EXPECT_EQ(keyboard.usage, 0x06);
  EXPECT_TRUE(keyboard.reportIds.empty());
  EXPECT_EQ(keyboard.ReportLength(HidReportKind::Input), 9u);
  EXPECT_EQ(keyboard.ReportLength(HidReportKind::Output), 2u);
  EXPECT_EQ(keyboard.ReportLength(HidReportKind::Feature), 0u);
  EXPECT_TRUE(keyboard.valueCaps.empty());
  ASSERT_EQ(keyboard.buttonCaps.size(), 3u);

  const HidCapability* modifiers = FindCap(keyboard.buttonCaps, HidReportKind::Input, 7, 0xE0);
  ASSERT_NE(modifiers, nullptr);
  EXPECT_TRUE(modifiers->isRange);
  EXPECT_FALSE(modifiers->isArray);
  EXPECT_EQ(modifiers->usageMax, 0xE7);
  EXPECT_EQ(modifiers->bitOffset, 8u);
  EXPECT_EQ(modifiers->bitSize, 1u);
  EXPECT_EQ(modifiers->count, 8u);

  const HidCapability* keys = FindCap(keyboard.buttonCaps, HidReportKind::Input, 7, 0x04);
  ASSERT_NE(keys, nullptr);
  EXPECT_TRUE(keys->isArray);
  EXPECT_EQ(keys->bitOffset, 24u);  // after the id byte, modifiers and reserved byte
  EXPECT_EQ(keys->count, 6u);
  EXPECT_EQ(keys->logicalMax, 0x65);

  const HidCapability* leds = FindCap(keyboard.buttonCaps, HidReportKind::Output, 8, 0x01);
  ASSERT_NE(leds, nullptr);
  EXPECT_EQ(leds->usageMax, 0x05);
  EXPECT_EQ(leds->count, 5u);

  // Left shift held with keys 'a' and 'b'.
  const std::vector<uint8_t> report = {0x00, 0x02, 0x00, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(ReportUsages(keyboard, HidReportKind::Input, 0x07, report),
            (std::vector<uint16_t>{0xE1, 0x04, 0x05}));
  EXPECT_EQ(MaxUsageListLength(keyboard, HidReportKind::Input, 0x07), 14u);
  EXPECT_EQ(MaxUsageListLength(keyboard, HidReportKind::Output, 0x08), 5u);
}

TEST(ParseReportDescriptor, ConsumerControlArrayOfSixteenBitUsages) {
  const auto collections = Parse(ConsumerControlDescriptor());
  ASSERT_EQ(collections.size(), 1u);
  const HidCollection& consumer = collections[0];
  EXPECT_EQ(consumer.usagePage, 0x0C);
  EXPECT_EQ(consumer.usage, 0x01);
  EXPECT_EQ(consumer.reportIds, std::vector<uint8_t>{3});
  EXPECT_EQ(consumer.ReportLength(HidReportKind::Input), 5u);
  EXPECT_EQ(consumer.ReportLength(HidReportKind::Output), 0u);
  ASSERT_EQ(consumer.buttonCaps.size(), 1u);
  const HidCapability& cap = consumer.buttonCaps[0];
  EXPECT_TRUE(cap.isArray);
  EXPECT_EQ(cap.reportId, 3);
  EXPECT_EQ(cap.bitSize, 16u);
  EXPECT_EQ(cap.usageMax, 0x1FFF);

  const struct {
    const char* name;
    std::vector<uint8_t> report;
    std::vector<uint16_t> usages;
  } rows[] = {
      {"one usage", {3, 0x01, 0x04, 0x00, 0x00}, {0x0401}},
      {"two usages", {3, 0x11, 0x18, 0x10, 0x18}, {0x1811, 0x1810}},
      {"nothing pressed", {3, 0, 0, 0, 0}, {}},
      {"other report id", {4, 0x01, 0x04, 0x00, 0x00}, {}},
      {"report cut short", {3, 0x02, 0x04}, {0x0402}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReportUsages(consumer, HidReportKind::Input, 0x0C, row.report), row.usages)
        << row.name;
  }
}

TEST(ParseReportDescriptor, VendorCommandCollection) {
  const auto collections = Parse(VendorCommandDescriptor());
  ASSERT_EQ(collections.size(), 1u);
  const HidCollection& vendor = collections[0];
  EXPECT_EQ(vendor.usagePage, 0xFF1C);
  EXPECT_EQ(vendor.usage, 0x92);
  EXPECT_EQ(vendor.reportIds, std::vector<uint8_t>{4});
  EXPECT_EQ(vendor.ReportLength(HidReportKind::Input), 64u);
  EXPECT_EQ(vendor.ReportLength(HidReportKind::Output), 64u);
  EXPECT_EQ(vendor.ReportLength(HidReportKind::Feature), 0u);
  EXPECT_TRUE(vendor.buttonCaps.empty());
  ASSERT_EQ(vendor.valueCaps.size(), 2u);
  for (const HidCapability& cap : vendor.valueCaps) {
    EXPECT_EQ(cap.usagePage, 0xFF1C);
    EXPECT_EQ(cap.usageMin, 0x01);
    EXPECT_EQ(cap.bitOffset, 8u);
    EXPECT_EQ(cap.bitSize, 8u);
    EXPECT_EQ(cap.count, 63u);
    EXPECT_EQ(cap.logicalMax, 255);
  }
}

TEST(ParseReportDescriptor, SeveralTopLevelCollectionsKeepTheirOwnReports) {
  const auto collections = Parse(KeyboardCompositeDescriptor());
  ASSERT_EQ(collections.size(), 2u);
  EXPECT_EQ(collections[0].usagePage, 0x0C);
  EXPECT_EQ(collections[0].ReportLength(HidReportKind::Input), 5u);
  EXPECT_EQ(collections[1].usagePage, 0xFF1C);
  EXPECT_EQ(collections[1].ReportLength(HidReportKind::Input), 64u);
  EXPECT_TRUE(collections[0].OwnsReportId(3));
  EXPECT_FALSE(collections[0].OwnsReportId(4));
  EXPECT_TRUE(collections[1].OwnsReportId(4));
  EXPECT_FALSE(collections[1].OwnsReportId(3));
  EXPECT_TRUE(Parse(BootKeyboardDescriptor())[0].OwnsReportId(0x42));
}

// A mouse that uses push and pop, a nested collection, a long item,
// delimiters, an extended usage, signed values and fields off byte
// boundaries.
TEST(ParseReportDescriptor, GlobalStackExtendedUsagesAndSignedValues) {
  const std::vector<uint8_t> descriptor = {
      0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,        // Generic Desktop, Mouse, Application
      0x85, 0x01,                                // Report ID (1)
      0x09, 0x01, 0xA1, 0x00,                    //   Pointer, Physical
      0x05, 0x09, 0x19, 0x01, 0x29, 0x03,        //   Buttons 1 to 3
      0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02,
      0xA4,                                      //   Push
      0x05, 0x01, 0x09, 0x30, 0x09, 0x31,        //   X, Y
      0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06,
      0xB4,                                      //   Pop: buttons page, 1 bit, 3 slots
      0xFE, 0x02, 0x10, 0xAA, 0xBB,              //   a long item
      0x19, 0x04, 0x29, 0x06, 0x81, 0x02,        //   Buttons 4 to 6
      0x75, 0x02, 0x95, 0x01, 0x81, 0x01,        //   padding
      0xA9, 0x01,                                //   Delimiter (open)
      0x0B, 0x38, 0x00, 0x01, 0x00,              //   Usage (Generic Desktop: Wheel)
      0xA9, 0x00,                                //   Delimiter (close)
      0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81, 0x06,
      0xC0, 0xC0,
  };
  const auto collections = Parse(descriptor);
  ASSERT_EQ(collections.size(), 1u);
  const HidCollection& mouse = collections[0];
  EXPECT_EQ(mouse.usage, 0x02);
  EXPECT_EQ(mouse.ReportLength(HidReportKind::Input), 5u);

  const HidCapability* x = FindCap(mouse.valueCaps, HidReportKind::Input, 0x01, 0x30);
  const HidCapability* y = FindCap(mouse.valueCaps, HidReportKind::Input, 0x01, 0x31);
  const HidCapability* wheel = FindCap(mouse.valueCaps, HidReportKind::Input, 0x01, 0x38);
  const HidCapability* upper = FindCap(mouse.buttonCaps, HidReportKind::Input, 0x09, 0x05);
  ASSERT_TRUE(x && y && wheel && upper);
  EXPECT_EQ(x->bitOffset, 11u);
  EXPECT_EQ(y->bitOffset, 19u);
  EXPECT_EQ(upper->bitOffset, 27u);
  EXPECT_EQ(upper->bitSize, 1u);
  EXPECT_EQ(upper->count, 3u);
  EXPECT_EQ(wheel->bitOffset, 32u);
  EXPECT_EQ(x->logicalMin, -127);

  std::vector<uint8_t> report(5, 0);
  report[0] = 1;
  PutBits(report, 8, 3, 0b101);  // buttons 1 and 3
  PutBits(report, 11, 8, 0xFF);  // X = -1
  PutBits(report, 19, 8, 16);    // Y = 16
  PutBits(report, 27, 3, 0b010);  // button 5
  PutBits(report, 32, 8, 0x81);  // wheel = -127
  EXPECT_EQ(ReportUsages(mouse, HidReportKind::Input, 0x09, report),
            (std::vector<uint16_t>{1, 3, 5}));
  EXPECT_EQ(SignExtend(ReportValue(*x, 0x30, report).value(), 8), -1);
  EXPECT_EQ(SignExtend(ReportValue(*y, 0x31, report).value(), 8), 16);
  EXPECT_EQ(SignExtend(ReportValue(*wheel, 0x38, report).value(), 8), -127);
  EXPECT_FALSE(ReportValue(*x, 0x31, report).has_value());
  report[0] = 2;
  EXPECT_FALSE(ReportValue(*x, 0x30, report).has_value());
}

TEST(ParseReportDescriptor, RefusesMalformedDescriptors) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } rows[] = {
      {"empty", {}},
      {"item data cut off", {0x06, 0x1C}},
      {"long item cut off", {0xA1, 0x01, 0xFE, 0x05, 0x10, 0x01, 0xC0}},
      {"long item header cut off", {0xA1, 0x01, 0xFE, 0x05}},
      {"end without collection", {0xC0}},
      {"collection left open", {0x09, 0x01, 0xA1, 0x01}},
      {"pop without push", {0xA1, 0x01, 0xB4, 0xC0}},
      {"reserved item type", {0xA1, 0x01, 0x0C, 0xC0}},
      {"unknown main item", {0xA1, 0x01, 0xD0, 0xC0}},
      {"input outside collections", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
      {"report id 0", {0xA1, 0x01, 0x85, 0x00, 0xC0}},
      {"report size too large", {0xA1, 0x01, 0x76, 0x01, 0x02, 0xC0}},
      {"report longer than any device's",
       {0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x40, 0x81, 0x02, 0xC0}},
      {"usage minimum above maximum",
       {0xA1, 0x01, 0x19, 0x05, 0x29, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0}},
      {"range across two pages",
       {0xA1, 0x01, 0x1B, 0x01, 0x00, 0x09, 0x00, 0x2B, 0x05, 0x00, 0x0C, 0x00, 0x75, 0x01,
        0x95, 0x01, 0x81, 0x02, 0xC0}},
      {"logical maximum below minimum",
       {0xA1, 0x01, 0x15, 0xFF, 0x25, 0xFE, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}},
      {"numbered and unnumbered reports",
       {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x02, 0x81, 0x02, 0xC0}},
      {"one report id in two collections",
       {0xA1, 0x01, 0x85, 0x02, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0, 0xA1, 0x01, 0x81,
        0x02, 0xC0}},
  };
  for (const auto& row : rows) {
    EXPECT_FALSE(ParseReportDescriptor(row.bytes).has_value()) << row.name;
  }
}

TEST(ParseReportDescriptor, RefusesEveryTruncationOfAValidDescriptor) {
  const std::vector<uint8_t> whole = VendorCommandDescriptor();
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const std::span<const uint8_t> part(whole.data(), length);
    EXPECT_FALSE(ParseReportDescriptor(part).has_value()) << length;
  }
}

TEST(ExtractReportBits, RefusesBitsPastTheEnd) {
  const std::vector<uint8_t> report = {0x00, 0xF0, 0x0F};
  EXPECT_EQ(ExtractReportBits(report, 12, 8).value(), 0xFFu);
  EXPECT_EQ(ExtractReportBits(report, 16, 8).value(), 0x0Fu);
  EXPECT_FALSE(ExtractReportBits(report, 17, 8).has_value());
  EXPECT_FALSE(ExtractReportBits(report, 0, 33).has_value());
}

}  // namespace
}  // namespace mvk
