#include "protocol/commands.h"

#include <algorithm>
#include <chrono>

#include "protocol/exchange.h"

namespace mvk {
namespace {

enum Command : uint8_t {
  kBeginUpdate = 1,
  kEndUpdate = 2,
  kReadSettings = 3,
  kWriteSettings = 4,
  kReadMemory = 5,
  kWriteMemory = 6,
  kReadKeyMap = 7,
  kWriteKeyMap = 8,
  kReadMacroMemory = 9,
  kWriteMacroMemory = 10,
  kCommand11 = 11,
  kCommand12 = 12,
  kTest = 13,
  kCommand14 = 14,
  kReadDefaultMatrix = 15,
  kReadKeyColours = 16,
  kWriteKeyColours = 17,
  kBootMode = 0xEE,
};

constexpr std::chrono::milliseconds kEndUpdatePause{10};
constexpr int kHighestBank = kProfileCount - 1;
constexpr uint16_t kBankStride = 512;
constexpr int kBytesPerLed = 3;
// Offsets are 16 bits wide, so a variable transfer cannot reach further.
constexpr std::size_t kMaxVariableTransfer = 0x10000;

Packet NewRequest(uint8_t code) {
  Packet request{};
  request[packet::kReportId] = kPacketReportId;
  request[packet::kCommand] = code;
  request[packet::kStatus] = 0;
  return request;
}

void SetLengthAndOffset(Packet& request, uint8_t length, uint16_t offset) {
  request[packet::kLength] = length;
  request[packet::kOffsetLow] = static_cast<uint8_t>(offset & 0xFF);
  request[packet::kOffsetHigh] = static_cast<uint8_t>(offset >> 8);
}

uint16_t BankOffset(int bank, std::size_t position) {
  return static_cast<uint16_t>(bank * kBankStride + position);
}

// Checksums and sends the request; on success the reply holds the answer.
int Transact(KeyboardLink& link, Packet& request, Packet& reply) {
  ChecksumPacket(request);
  const int result = ExchangePacket(link, request.data(), request.size(), reply.data(),
                                    reply.size(), nullptr);
  if (result != kResultOk) {
    return result;
  }
  return CheckReplyStatus(reply);
}

struct SingleRequest {
  uint8_t code = 0;
  uint8_t length = 0;
  uint16_t offset = 0;
  const uint8_t* data = nullptr;  // `length` bytes to send, or nullptr
  uint8_t* dest = nullptr;        // receives `replyBytes` reply data bytes on success
  std::size_t replyBytes = 0;
  bool pauseFirst = false;
};

int RunSingle(KeyboardLink& link, const SingleRequest& single) {
  Packet request = NewRequest(single.code);
  SetLengthAndOffset(request, single.length, single.offset);
  if (single.data != nullptr && single.length > 0) {
    std::copy_n(single.data, single.length, request.begin() + packet::kData);
  }
  if (single.pauseFirst) {
    link.pause(kEndUpdatePause);
  }
  Packet reply{};
  const int result = Transact(link, request, reply);
  if (result == kResultOk && single.dest != nullptr) {
    std::copy_n(reply.begin() + packet::kData, single.replyBytes, single.dest);
  }
  return result;
}

int RunBare(KeyboardLink& link, uint8_t code, bool pauseFirst = false) {
  return RunSingle(link, {.code = code, .pauseFirst = pauseFirst});
}

// Single-packet writes copy the caller's bytes into the request, so a length
// past the data area is refused rather than read past the packet.
bool FitsOnePacket(uint8_t length) { return length <= kPacketDataSize; }

// The 378-byte transfers of key matrices and the default matrix. One request
// buffer serves every packet and is not cleared in between, as the keyboard
// has always been sent.
int TransferMatrix(KeyboardLink& link, uint8_t code, int bank, const uint8_t* source,
                   uint8_t* dest) {
  Packet request = NewRequest(code);
  Packet reply{};
  for (std::size_t position = 0; position < kKeyMatrixSize; position += kPacketDataSize) {
    const auto length =
        static_cast<uint8_t>(std::min(kPacketDataSize, kKeyMatrixSize - position));
    SetLengthAndOffset(request, length, BankOffset(bank, position));
    if (source != nullptr) {
      std::copy_n(source + position, length, request.begin() + packet::kData);
    }
    const int result = Transact(link, request, reply);
    if (result != kResultOk) {
      return result;
    }
    if (dest != nullptr) {
      std::copy_n(reply.begin() + packet::kData, length, dest + position);
    }
  }
  return kResultOk;
}

int TransferMacroMemory(KeyboardLink& link, uint8_t code, std::size_t count,
                        const uint8_t* source, uint8_t* dest) {
  if (count > kMaxVariableTransfer) {
    return kResultBadBank;
  }
  Packet request = NewRequest(code);
  Packet reply{};
  for (std::size_t position = 0; position < count; position += kPacketDataSize) {
    const auto length = static_cast<uint8_t>(std::min(kPacketDataSize, count - position));
    SetLengthAndOffset(request, length, static_cast<uint16_t>(position));
    if (source != nullptr) {
      std::copy_n(source + position, length, request.begin() + packet::kData);
    }
    const int result = Transact(link, request, reply);
    if (result != kResultOk) {
      return result;
    }
    if (dest != nullptr) {
      std::copy_n(reply.begin() + packet::kData, length, dest + position);
    }
  }
  return kResultOk;
}

}  // namespace

int KbBeginUpdate(KeyboardLink& link) { return RunBare(link, kBeginUpdate); }

int KbEndUpdate(KeyboardLink& link) { return RunBare(link, kEndUpdate, true); }

int KbReadSettings(KeyboardLink& link, uint8_t* dest44) {
  return RunSingle(link, {.code = kReadSettings,
                          .length = kSettingsBlockSize,
                          .dest = dest44,
                          .replyBytes = kSettingsBlockSize});
}

int KbWriteSettings(KeyboardLink& link, const uint8_t* block44) {
  return RunSingle(link,
                   {.code = kWriteSettings, .length = kSettingsBlockSize, .data = block44});
}

int KbReadMemory(KeyboardLink& link, uint8_t* dest56, uint8_t length, uint16_t offset) {
  return RunSingle(link, {.code = kReadMemory,
                          .length = length,
                          .offset = offset,
                          .dest = dest56,
                          .replyBytes = kPacketDataSize});
}

int KbWriteMemory(KeyboardLink& link, const uint8_t* bytes, uint8_t length, uint16_t offset) {
  if (!FitsOnePacket(length)) {
    return kResultBadBank;
  }
  return RunSingle(link,
                   {.code = kWriteMemory, .length = length, .offset = offset, .data = bytes});
}

int KbReadKeyMap(KeyboardLink& link, uint8_t* dest378, int bank) {
  if (bank < 0 || bank > kHighestBank) {
    return kResultBadBank;
  }
  return TransferMatrix(link, kReadKeyMap, bank, nullptr, dest378);
}

int KbWriteKeyMap(KeyboardLink& link, const uint8_t* source378, int bank) {
  if (bank < 0 || bank > kHighestBank) {
    return kResultBadBank;
  }
  return TransferMatrix(link, kWriteKeyMap, bank, source378, nullptr);
}

int KbReadMacroMemory(KeyboardLink& link, uint8_t* dest, std::size_t count) {
  return TransferMacroMemory(link, kReadMacroMemory, count, nullptr, dest);
}

int KbWriteMacroMemory(KeyboardLink& link, const uint8_t* source, std::size_t count) {
  return TransferMacroMemory(link, kWriteMacroMemory, count, source, nullptr);
}

int KbCommand11(KeyboardLink& link) { return RunBare(link, kCommand11); }

int KbCommand12(KeyboardLink& link) { return RunBare(link, kCommand12, true); }

int KbTest(KeyboardLink& link) { return RunBare(link, kTest); }

int KbCommand14(KeyboardLink& link) { return RunBare(link, kCommand14); }

int KbReadDefaultMatrix(KeyboardLink& link, uint8_t* dest378) {
  return TransferMatrix(link, kReadDefaultMatrix, 0, nullptr, dest378);
}

int KbReadKeyColours(KeyboardLink& link, uint8_t* dest56, uint8_t length, int ledIndex,
                     int bank) {
  return RunSingle(link, {.code = kReadKeyColours,
                          .length = length,
                          .offset = BankOffset(bank, ledIndex * kBytesPerLed),
                          .dest = dest56,
                          .replyBytes = kPacketDataSize});
}

int KbWriteKeyColours(KeyboardLink& link, const uint8_t* bytes, uint8_t length, int ledIndex,
                      int shownProfile) {
  if (!FitsOnePacket(length)) {
    return kResultBadBank;
  }
  return RunSingle(link, {.code = kWriteKeyColours,
                          .length = length,
                          .offset = BankOffset(shownProfile, ledIndex * kBytesPerLed),
                          .data = bytes});
}

int KbEnterBootMode(KeyboardLink& link) {
  // No checksum: the keyboard's loader takes this packet as it stands.
  Packet request = NewRequest(kBootMode);
  request[packet::kLength] = kBootMode;
  return SendPacket(link, request.data(), request.size());
}

}  // namespace mvk
