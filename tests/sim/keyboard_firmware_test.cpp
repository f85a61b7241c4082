#include "sim/keyboard_firmware.h"

#include <gtest/gtest.h>

namespace mvk::sim {
namespace {

Report Request(uint8_t command, uint8_t length, uint16_t offset,
               std::initializer_list<uint8_t> data = {}) {
  Report r{};
  r[0] = kCommandReportId;
  r[kAtCommand] = command;
  r[kAtLength] = length;
  r[kAtOffsetLow] = static_cast<uint8_t>(offset & 0xFF);
  r[kAtOffsetHigh] = static_cast<uint8_t>(offset >> 8);
  std::copy(data.begin(), data.end(), r.begin() + kAtData);
  uint16_t sum = 0;
  for (std::size_t i = kAtCommand; i < kReportSize; ++i) {
    sum = static_cast<uint16_t>(sum + r[i]);
  }
  r[kAtChecksumLow] = static_cast<uint8_t>(sum & 0xFF);
  r[kAtChecksumHigh] = static_cast<uint8_t>(sum >> 8);
  return r;
}

TEST(KeyboardFirmware, RefusesBadRequestsWithoutChangingAnything) {
  const struct {
    const char* name;
    Report request;
  } rows[] = {
      {"settings past 44", Request(4, 2, 43)},
      {"lighting past 140", Request(6, 56, 85)},
      {"key map bank 3", Request(8, 1, 3 * 512)},
      {"key map past bank 2", Request(7, 56, 3 * 512 - 55)},
      {"default matrix past 378", Request(15, 43, 336)},
      {"macros past capacity", Request(10, 1, 64 * 128)},
      {"colours bank 3", Request(17, 3, 3 * 512 + 3)},
      {"length 57", Request(6, 57, 0)},
      {"unknown command 18", Request(18, 1, 0)},
      {"unknown command 0", Request(0, 0, 0)},
      {"unknown command 0x80", Request(0x80, 0, 0)},
      {"profile 3", Request(4, 1, 10, {3})},
  };
  for (const auto& row : rows) {
    KeyboardMemory memory = FactoryMemory();
    const CommandOutcome outcome = RunCommand(memory, row.request);
    EXPECT_EQ(outcome.reply[kAtStatus], kStatusRefused) << row.name;
    EXPECT_FALSE(outcome.memoryChanged) << row.name;
    EXPECT_EQ(memory, FactoryMemory()) << row.name;
  }
}

TEST(KeyboardFirmware, AnswersEveryKnownCommand) {
  KeyboardMemory memory = FactoryMemory();
  for (uint8_t code = 1; code <= 17; ++code) {
    const CommandOutcome outcome = RunCommand(memory, Request(code, 0, 0));
    EXPECT_EQ(outcome.reply[kAtStatus], kStatusDone) << int(code);
    EXPECT_EQ(outcome.reply[kAtCommand], code);
  }
}

TEST(KeyboardFirmware, GarbledRequestFailsUnchanged) {
  KeyboardMemory memory = FactoryMemory();
  Report request = Request(6, 1, 0, {9});
  request[kAtChecksumLow] ^= 1;
  const CommandOutcome outcome = RunCommand(memory, request);
  EXPECT_EQ(outcome.reply[kAtStatus], kStatusFailed);
  EXPECT_EQ(memory, FactoryMemory());
}

TEST(KeyboardFirmware, WritesLandAtTheirOffsetAndReadsReturnThem) {
  KeyboardMemory memory = FactoryMemory();
  EXPECT_TRUE(RunCommand(memory, Request(17, 3, 512 + 300, {1, 2, 3})).memoryChanged);
  EXPECT_EQ(memory.keyColours[812], 1);
  EXPECT_EQ(memory.keyColours[814], 3);
  const CommandOutcome read = RunCommand(memory, Request(16, 3, 812));
  EXPECT_EQ(read.reply[kAtData], 1);
  EXPECT_EQ(read.reply[kAtData + 2], 3);
  EXPECT_EQ(read.reply[kAtData + 3], 0) << "only the asked length is returned";
  uint16_t sum = 0;
  for (std::size_t i = kAtCommand; i < kReportSize; ++i) {
    sum = static_cast<uint16_t>(sum + read.reply[i]);
  }
  EXPECT_EQ(read.reply[kAtChecksumLow], sum & 0xFF) << "replies carry their checksum";
}

TEST(KeyboardFirmware, SettingsWriteTakesOnlyReservedBytesAndActiveProfile) {
  KeyboardMemory memory = FactoryMemory();
  const Report request = Request(4, 44, 0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 2, 0x01, 0x63});
  const CommandOutcome outcome = RunCommand(memory, request);
  EXPECT_EQ(outcome.reply[kAtStatus], kStatusDone);
  EXPECT_EQ(memory.settings[0], 9);
  EXPECT_EQ(memory.settings[kSettingsActiveProfile], 2);
  EXPECT_EQ(memory.settings[kSettingsMacroCapacity], kFactoryMacroCapacity);
  EXPECT_EQ(memory.settings[kSettingsLightingModes], 1);
}

TEST(KeyboardFirmware, BootModeRequestGetsNoReply) {
  KeyboardMemory memory = FactoryMemory();
  Report request{};
  request[0] = 4;
  request[kAtCommand] = kBootModeCommand;
  request[kAtLength] = kBootModeCommand;
  EXPECT_TRUE(RunCommand(memory, request).enterBootMode);
}

}  // namespace
}  // namespace mvk::sim
