#include <gtest/gtest.h>

#include "protocol/packet.h"

namespace mvk {
namespace {

TEST(ChecksumPacket, SumsBytesThreeOnwardLowByteFirst) {
  Packet settingsRead{};
  settingsRead[packet::kReportId] = kPacketReportId;
  settingsRead[packet::kCommand] = 3;
  settingsRead[packet::kLength] = 0x2C;
  ChecksumPacket(settingsRead);
  EXPECT_EQ(settingsRead[1], 0x2F);
  EXPECT_EQ(settingsRead[2], 0x00);
}

TEST(ChecksumPacket, CoversTheWholeDataArea) {
  // Bytes past the length field count too; 61 bytes of 0xFF give the
  // largest sum a packet can have.
  Packet full{};
  full.fill(0xFF);
  ChecksumPacket(full);
  EXPECT_EQ(full[1], 0xC3);
  EXPECT_EQ(full[2], 0x3C);
}

TEST(CheckReplyStatus, MapsStatusByte) {
  const struct {
    uint8_t status;
    int result;
  } rows[] = {{0x00, kResultOk}, {0x01, kResultOk}, {0xFF, kResultRefused}, {0xFE, kResultFailed}};
  for (const auto& row : rows) {
    Packet reply{};
    reply[packet::kStatus] = row.status;
    EXPECT_EQ(CheckReplyStatus(reply), row.result) << int(row.status);
  }
}

}  // namespace
}  // namespace mvk
