#include "protocol/packet.h"

namespace mvk {

void ChecksumPacket(std::span<uint8_t, kPacketSize> packet) {
  uint16_t sum = 0;
  for (std::size_t i = packet::kCommand; i < kPacketSize; ++i) {
    sum = static_cast<uint16_t>(sum + packet[i]);
  }
  packet[packet::kChecksumLow] = static_cast<uint8_t>(sum & 0xFF);
  packet[packet::kChecksumHigh] = static_cast<uint8_t>(sum >> 8);
}

int CheckReplyStatus(std::span<const uint8_t, kPacketSize> reply) {
  switch (reply[packet::kStatus]) {
    case kStatusRefused:
      return kResultRefused;
    case kStatusFailed:
      return kResultFailed;
    default:
      return kResultOk;
  }
}

}  // namespace mvk
