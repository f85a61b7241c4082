#include "support/recording_channel.h"

#include <algorithm>

namespace mvk::test {

bool RecordingChannel::Write(std::span<const uint8_t> data, std::size_t* transferred, uint32_t) {
  Packet request{};
  std::copy_n(data.begin(), std::min(data.size(), request.size()), request.begin());
  requests.push_back(request);
  Packet reply = request;
  reply[packet::kStatus] = 0;
  const bool replies = !answer || answer(request, requests.size() - 1, reply);
  pending_.reset();
  if (replies) {
    pending_ = reply;
  }
  if (transferred != nullptr) {
    *transferred = data.size();
  }
  return true;
}

bool RecordingChannel::Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t) {
  if (!pending_) {
    return false;
  }
  const std::size_t count = std::min(buffer.size(), pending_->size());
  std::copy_n(pending_->begin(), count, buffer.begin());
  pending_.reset();
  if (transferred != nullptr) {
    *transferred = count;
  }
  return true;
}

void RecordingChannel::DiscardInput() {}

RecordingLink::RecordingLink() {
  link.DeviceConnected = 1;
  link.pause = [](std::chrono::milliseconds) {};
}

uint8_t CommandOf(const Packet& request) { return request[packet::kCommand]; }

uint8_t LengthOf(const Packet& request) { return request[packet::kLength]; }

uint16_t OffsetOf(const Packet& request) {
  return static_cast<uint16_t>(request[packet::kOffsetLow] | (request[packet::kOffsetHigh] << 8));
}

std::vector<uint8_t> DataOf(const Packet& request) {
  const auto begin = request.begin() + packet::kData;
  return {begin, begin + std::min<std::size_t>(LengthOf(request), kPacketDataSize)};
}

std::vector<uint8_t> CommandsOf(const std::vector<Packet>& requests) {
  std::vector<uint8_t> commands;
  for (const Packet& request : requests) {
    commands.push_back(CommandOf(request));
  }
  return commands;
}

std::vector<uint8_t> Reassemble(const std::vector<Packet>& requests, uint8_t command,
                                uint16_t base, std::size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  for (const Packet& request : requests) {
    if (CommandOf(request) != command || OffsetOf(request) < base) {
      continue;
    }
    const std::size_t at = OffsetOf(request) - base;
    const std::vector<uint8_t> data = DataOf(request);
    for (std::size_t i = 0; i < data.size() && at + i < size; ++i) {
      bytes[at + i] = data[i];
    }
  }
  return bytes;
}

}  // namespace mvk::test
