// One checked request and reply with the keyboard.
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/keyboard_link.h"
#include "protocol/packet.h"

namespace mvk {

inline constexpr uint32_t kWriteTimeoutMs = 1000;
inline constexpr uint32_t kReadTimeoutMs = 300;
inline constexpr int kExchangeAttempts = 4;

// Writes one request (cut or zero-padded to 64 bytes) and reads one reply of
// `replyLength` bytes, sending the request again up to four times in all
// while no reply comes. Returns kResultOk, kResultNoReply or
// kResultWriteFailed; `received` (when given) gets the reply's byte count.
int ExchangePacket(KeyboardLink& link, const uint8_t* request, std::size_t requestLength,
                   uint8_t* reply, std::size_t replyLength, std::size_t* received);

// Writes one request and reads nothing: 1 when the write succeeded, else 0.
int SendPacket(KeyboardLink& link, const uint8_t* request, std::size_t requestLength);

}  // namespace mvk
