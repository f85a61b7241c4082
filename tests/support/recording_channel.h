// A packet channel that records every request and answers each one at once:
// by default with the request itself and status 0, or as a test's answer
// function says. Helpers read the fields of recorded requests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "protocol/keyboard_link.h"
#include "protocol/packet.h"

namespace mvk::test {

class RecordingChannel : public PacketChannel {
 public:
  // Fills the reply to request number `index` (counted from 0); returning
  // false sends no reply at all.
  using Answer = std::function<bool(const Packet& request, std::size_t index, Packet& reply)>;

  bool Write(std::span<const uint8_t> data, std::size_t* transferred, uint32_t timeoutMs) override;
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) override;
  void DiscardInput() override;

  Answer answer;
  std::vector<Packet> requests;

 private:
  std::optional<Packet> pending_;
};

// A link over a channel that counts as connected and does not wait its pauses.
struct RecordingLink {
  RecordingLink();
  RecordingChannel channel;
  KeyboardLink link{channel};
};

uint8_t CommandOf(const Packet& request);
uint8_t LengthOf(const Packet& request);
uint16_t OffsetOf(const Packet& request);
std::vector<uint8_t> DataOf(const Packet& request);
std::vector<uint8_t> CommandsOf(const std::vector<Packet>& requests);
// The bytes of a run of chunked writes of one command, placed at their
// offsets relative to `base` (for key maps, the bank × 512).
std::vector<uint8_t> Reassemble(const std::vector<Packet>& requests, uint8_t command,
                                uint16_t base, std::size_t size);

}  // namespace mvk::test
