#include "protocol/exchange.h"

#include <algorithm>

#include "protocol/trace.h"

namespace mvk {
namespace {

Packet PaddedRequest(const uint8_t* request, std::size_t requestLength) {
  Packet packet{};
  std::copy_n(request, std::min(requestLength, kPacketSize), packet.begin());
  return packet;
}

bool WriteTraced(KeyboardLink& link, const Packet& packet) {
  if (link.trace != nullptr) {
    link.trace->LogRequest(packet);
  }
  return link.channel.Write(packet, nullptr, kWriteTimeoutMs);
}

}  // namespace

int ExchangePacket(KeyboardLink& link, const uint8_t* request, std::size_t requestLength,
                   uint8_t* reply, std::size_t replyLength, std::size_t* received) {
  if (received != nullptr) {
    *received = 0;
  }
  if (link.DeviceConnected.load() == 0) {
    return kResultNoReply;
  }
  const Packet packet = PaddedRequest(request, requestLength);

  // The lock spans the whole exchange so that two threads never take each
  // other's reply; a reply that came after an earlier exchange gave up is
  // dropped first, so it is never taken for this request's.
  std::lock_guard lock(link.DeviceIoLock);
  link.channel.DiscardInput();
  for (int attempt = 0; attempt < kExchangeAttempts; ++attempt) {
    if (!WriteTraced(link, packet)) {
      return kResultWriteFailed;
    }
    std::size_t got = 0;
    if (link.channel.Read({reply, replyLength}, &got, kReadTimeoutMs)) {
      if (link.trace != nullptr) {
        link.trace->LogReply({reply, got});
      }
      if (received != nullptr) {
        *received = got;
      }
      return kResultOk;
    }
  }
  return kResultNoReply;
}

int SendPacket(KeyboardLink& link, const uint8_t* request, std::size_t requestLength) {
  if (link.DeviceConnected.load() == 0) {
    return kResultNoReply;
  }
  const Packet packet = PaddedRequest(request, requestLength);
  std::lock_guard lock(link.DeviceIoLock);
  return WriteTraced(link, packet) ? kResultOk : kResultNoReply;
}

}  // namespace mvk
