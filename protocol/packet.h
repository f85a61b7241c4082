// The keyboard's 64-byte command packet and the result codes of every
// keyboard operation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mvk {

// Result codes shared by the transaction and every command function.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNoReply = 0;       // not connected, or no reply after all attempts
inline constexpr int kResultWriteFailed = -1;
inline constexpr int kResultRefused = -102;    // reply status 0xFF
inline constexpr int kResultFailed = -103;     // reply status 0xFE
inline constexpr int kResultBadBank = -201;    // profile bank above 2

inline constexpr std::size_t kPacketSize = 64;
inline constexpr std::size_t kPacketDataSize = 56;
inline constexpr uint8_t kPacketReportId = 4;

// Byte offsets within a packet.
namespace packet {
inline constexpr std::size_t kReportId = 0;
inline constexpr std::size_t kChecksumLow = 1;
inline constexpr std::size_t kChecksumHigh = 2;
inline constexpr std::size_t kCommand = 3;
inline constexpr std::size_t kLength = 4;
inline constexpr std::size_t kOffsetLow = 5;
inline constexpr std::size_t kOffsetHigh = 6;
inline constexpr std::size_t kStatus = 7;
inline constexpr std::size_t kData = 8;
}  // namespace packet

inline constexpr uint8_t kStatusRefused = 0xFF;
inline constexpr uint8_t kStatusFailed = 0xFE;

using Packet = std::array<uint8_t, kPacketSize>;

// Stores the 16-bit sum of bytes 3 to 63 in bytes 1 (low) and 2 (high).
void ChecksumPacket(std::span<uint8_t, kPacketSize> packet);

// Maps reply byte 7 to kResultOk, kResultRefused or kResultFailed.
int CheckReplyStatus(std::span<const uint8_t, kPacketSize> reply);

}  // namespace mvk
