// A packet channel that passes everything to another one and keeps a copy
// of every request written.
#pragma once

#include <algorithm>
#include <vector>

#include "protocol/keyboard_link.h"
#include "protocol/packet.h"

namespace mvk::test {

class PacketTap final : public PacketChannel {
 public:
  explicit PacketTap(PacketChannel& inner) : inner_(inner) {}

  bool Write(std::span<const uint8_t> data, std::size_t* transferred,
             uint32_t timeoutMs) override {
    Packet copy{};
    std::copy_n(data.begin(), std::min(data.size(), copy.size()), copy.begin());
    written.push_back(copy);
    return inner_.Write(data, transferred, timeoutMs);
  }
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) override {
    return inner_.Read(buffer, transferred, timeoutMs);
  }
  void DiscardInput() override { inner_.DiscardInput(); }

  std::vector<Packet> written;

 private:
  PacketChannel& inner_;
};

}  // namespace mvk::test
