#include "protocol/commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/packet.h"

namespace mvk {
namespace {

// Records every request and answers it from a script; a pause shows up in
// the same log so that its place before a write can be checked.
using KeyMatrixBytes = std::array<uint8_t, kKeyMatrixSize>;

class ScriptedChannel : public PacketChannel {
 public:
  using Responder = std::function<std::optional<Packet>(const Packet& request, int index)>;

  bool Write(std::span<const uint8_t> data, std::size_t* transferred, uint32_t) override {
    Packet request{};
    std::copy(data.begin(), data.end(), request.begin());
    log.push_back("write");
    written.push_back(request);
    pending = respond ? respond(request, static_cast<int>(written.size()) - 1) : EchoOk(request);
    if (transferred != nullptr) {
      *transferred = data.size();
    }
    return true;
  }
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t) override {
    ++reads;
    if (!pending) {
      return false;
    }
    std::copy_n(pending->begin(), buffer.size(), buffer.begin());
    pending.reset();
    if (transferred != nullptr) {
      *transferred = buffer.size();
    }
    return true;
  }
  void DiscardInput() override {}

  static Packet EchoOk(const Packet& request) {
    Packet reply = request;
    reply[packet::kStatus] = 0x01;
    return reply;
  }

  Responder respond;
  std::vector<Packet> written;
  std::vector<std::string> log;
  std::optional<Packet> pending;
  int reads = 0;
};

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    link.DeviceConnected = 1;
    link.pause = [this](std::chrono::milliseconds wait) {
      channel.log.push_back("pause " + std::to_string(wait.count()));
    };
  }

  static uint16_t OffsetOf(const Packet& p) {
    return static_cast<uint16_t>(p[packet::kOffsetLow] | p[packet::kOffsetHigh] << 8);
  }

  ScriptedChannel channel;
  KeyboardLink link{channel};
};

Packet Bytes(std::initializer_list<uint8_t> head) {
  Packet p{};
  std::copy(head.begin(), head.end(), p.begin());
  return p;
}

TEST_F(CommandsTest, ReadSettingsFramesTheRequestAndCopiesFortyFourBytes) {
  channel.respond = [](const Packet& request, int) {
    Packet reply = ScriptedChannel::EchoOk(request);
    for (std::size_t i = 0; i < kPacketDataSize; ++i) {
      reply[packet::kData + i] = static_cast<uint8_t>(0x80 + i);
    }
    return reply;
  };
  std::array<uint8_t, 48> dest{};
  dest.fill(0xEE);
  ASSERT_EQ(KbReadSettings(link, dest.data()), kResultOk);
  ASSERT_EQ(channel.written.size(), 1u);
  EXPECT_EQ(channel.written[0], Bytes({0x04, 0x2F, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00}));
  EXPECT_EQ(dest[0], 0x80);
  EXPECT_EQ(dest[43], 0x80 + 43);
  EXPECT_EQ(dest[44], 0xEE) << "only the block's 44 bytes are copied";
}

TEST_F(CommandsTest, BareCommandsCarryOnlyTheirCode) {
  const struct {
    int (*function)(KeyboardLink&);
    uint8_t code;
  } rows[] = {{KbBeginUpdate, 1}, {KbEndUpdate, 2},  {KbCommand11, 11},
              {KbCommand12, 12},  {KbTest, 13},      {KbCommand14, 14}};
  for (const auto& row : rows) {
    channel.written.clear();
    EXPECT_EQ(row.function(link), kResultOk);
    ASSERT_EQ(channel.written.size(), 1u);
    EXPECT_EQ(channel.written[0], Bytes({0x04, row.code, 0x00, row.code})) << int(row.code);
  }
}

TEST_F(CommandsTest, EndUpdateAndCommand12PauseTenMillisecondsBeforeSending) {
  KbBeginUpdate(link);
  KbEndUpdate(link);
  KbCommand12(link);
  const std::vector<std::string> expected = {"write", "pause 10", "write", "pause 10", "write"};
  EXPECT_EQ(channel.log, expected);
}

TEST_F(CommandsTest, SingleWritesPlaceLengthOffsetAndData) {
  const uint8_t colour[3] = {0x11, 0x22, 0x33};
  ASSERT_EQ(KbWriteKeyColours(link, colour, 3, 100, 1), kResultOk);
  ASSERT_EQ(KbWriteMemory(link, colour, 3, 84 + 5), kResultOk);
  ASSERT_EQ(channel.written.size(), 2u);

  const Packet& keyColour = channel.written[0];
  EXPECT_EQ(keyColour[packet::kCommand], 17);
  EXPECT_EQ(keyColour[packet::kLength], 3);
  EXPECT_EQ(keyColour[packet::kOffsetLow], 0x2C);
  EXPECT_EQ(keyColour[packet::kOffsetHigh], 0x03);
  EXPECT_EQ(keyColour[8], 0x11);
  EXPECT_EQ(keyColour[10], 0x33);
  EXPECT_EQ(keyColour[11], 0x00);

  const Packet& memory = channel.written[1];
  EXPECT_EQ(memory[packet::kCommand], 6);
  EXPECT_EQ(OffsetOf(memory), 89);
  Packet check = memory;
  ChecksumPacket(check);
  EXPECT_EQ(check, memory) << "the request carries its checksum";
}

TEST_F(CommandsTest, SingleWriteLongerThanOnePacketIsRefusedUnsent) {
  const std::array<uint8_t, 64> bytes{};
  EXPECT_EQ(KbWriteMemory(link, bytes.data(), 57, 0), kResultBadBank);
  EXPECT_EQ(KbWriteKeyColours(link, bytes.data(), 200, 0, 0), kResultBadBank);
  EXPECT_TRUE(channel.written.empty());
}

TEST_F(CommandsTest, ReadMemoryAndKeyColoursCopyTheWholeDataArea) {
  channel.respond = [](const Packet& request, int) {
    Packet reply = ScriptedChannel::EchoOk(request);
    reply[kPacketSize - 1] = 0x5A;
    return reply;
  };
  std::array<uint8_t, kPacketDataSize> dest{};
  ASSERT_EQ(KbReadMemory(link, dest.data(), 4, 42), kResultOk);
  EXPECT_EQ(dest[55], 0x5A);
  dest.fill(0);
  ASSERT_EQ(KbReadKeyColours(link, dest.data(), 3, 125, 2), kResultOk);
  EXPECT_EQ(dest[55], 0x5A);
  EXPECT_EQ(OffsetOf(channel.written[1]), 2 * 512 + 125 * 3);
  EXPECT_EQ(channel.written[1][packet::kCommand], 16);
}

TEST_F(CommandsTest, WriteKeyMapSendsSevenChunksAtTheBankOffsets) {
  KeyMatrixBytes source{};
  for (std::size_t i = 0; i < source.size(); ++i) {
    source[i] = static_cast<uint8_t>(i * 7);
  }
  ASSERT_EQ(KbWriteKeyMap(link, source.data(), 2), kResultOk);
  ASSERT_EQ(channel.written.size(), 7u);
  const uint16_t offsets[] = {0x0400, 0x0438, 0x0470, 0x04A8, 0x04E0, 0x0518, 0x0550};
  for (std::size_t i = 0; i < 7; ++i) {
    const Packet& p = channel.written[i];
    EXPECT_EQ(p[packet::kCommand], 8);
    EXPECT_EQ(OffsetOf(p), offsets[i]);
    const std::size_t length = i < 6 ? 56 : 42;
    EXPECT_EQ(p[packet::kLength], length);
    EXPECT_TRUE(std::equal(p.begin() + 8, p.begin() + 8 + length, source.begin() + 56 * i));
  }
  // The request buffer is reused: the short last chunk still carries the
  // sixth chunk's tail after its own 42 bytes.
  const Packet& last = channel.written[6];
  EXPECT_TRUE(std::equal(last.begin() + 8 + 42, last.end(), source.begin() + 5 * 56 + 42));
  Packet check = last;
  ChecksumPacket(check);
  EXPECT_EQ(check, last);
}

TEST_F(CommandsTest, KeyMapBankOutOfRangeSendsNothing) {
  KeyMatrixBytes matrix{};
  for (int bank : {3, -1}) {
    EXPECT_EQ(KbWriteKeyMap(link, matrix.data(), bank), kResultBadBank);
    EXPECT_EQ(KbReadKeyMap(link, matrix.data(), bank), kResultBadBank);
  }
  EXPECT_TRUE(channel.written.empty());
}

TEST_F(CommandsTest, RefusedChunkStopsAReadWithEarlierChunksCopied) {
  channel.respond = [](const Packet& request, int index) {
    Packet reply = ScriptedChannel::EchoOk(request);
    std::fill(reply.begin() + 8, reply.end(), static_cast<uint8_t>(0xA0 + index));
    if (index == 3) {
      reply[packet::kStatus] = kStatusRefused;
    }
    return reply;
  };
  KeyMatrixBytes dest{};
  EXPECT_EQ(KbReadKeyMap(link, dest.data(), 1), kResultRefused);
  EXPECT_EQ(channel.written.size(), 4u);
  EXPECT_EQ(dest[0], 0xA0);
  EXPECT_EQ(dest[56], 0xA1);
  EXPECT_EQ(dest[167], 0xA2);
  EXPECT_EQ(dest[168], 0x00) << "the refused chunk is not copied";
  EXPECT_EQ(OffsetOf(channel.written[3]), 512 + 168);
}

TEST_F(CommandsTest, ReadDefaultMatrixFillsAllPositionsFromOffsetZero) {
  channel.respond = [](const Packet& request, int) {
    Packet reply = ScriptedChannel::EchoOk(request);
    for (std::size_t i = 0; i < request[packet::kLength]; ++i) {
      reply[8 + i] = static_cast<uint8_t>((OffsetOf(request) + i) & 0xFF);
    }
    return reply;
  };
  KeyMatrixBytes dest{};
  ASSERT_EQ(KbReadDefaultMatrix(link, dest.data()), kResultOk);
  EXPECT_EQ(OffsetOf(channel.written.back()), 336);
  for (std::size_t i = 0; i < dest.size(); ++i) {
    ASSERT_EQ(dest[i], i & 0xFF) << i;
  }
}

TEST_F(CommandsTest, MacroTransfersSplitIntoChunksOfFiftySix) {
  const struct {
    std::size_t count;
    std::vector<uint8_t> lengths;
  } rows[] = {{0, {}}, {1, {1}}, {56, {56}}, {57, {56, 1}}, {170, {56, 56, 56, 2}}};
  std::vector<uint8_t> bytes(200, 0x42);
  for (const auto& row : rows) {
    for (bool write : {true, false}) {
      channel.written.clear();
      const int result = write ? KbWriteMacroMemory(link, bytes.data(), row.count)
                               : KbReadMacroMemory(link, bytes.data(), row.count);
      EXPECT_EQ(result, kResultOk);
      std::vector<uint8_t> lengths;
      for (std::size_t i = 0; i < channel.written.size(); ++i) {
        lengths.push_back(channel.written[i][packet::kLength]);
        EXPECT_EQ(OffsetOf(channel.written[i]), 56 * i);
        EXPECT_EQ(channel.written[i][packet::kCommand], write ? 10 : 9);
      }
      EXPECT_EQ(lengths, row.lengths) << row.count << (write ? " write" : " read");
    }
  }
}

TEST_F(CommandsTest, FailuresReturnTheFirstCodeMet) {
  const struct {
    std::optional<uint8_t> status;  // nullopt: no reply at all
    int result;
  } rows[] = {{0xFF, kResultRefused}, {0xFE, kResultFailed}, {std::nullopt, kResultNoReply}};
  for (const auto& row : rows) {
    channel.written.clear();
    channel.respond = [&row](const Packet& request, int) -> std::optional<Packet> {
      if (!row.status) {
        return std::nullopt;
      }
      Packet reply = ScriptedChannel::EchoOk(request);
      reply[packet::kStatus] = *row.status;
      return reply;
    };
    std::array<uint8_t, kSettingsBlockSize> dest{};
    dest.fill(0x77);
    EXPECT_EQ(KbReadSettings(link, dest.data()), row.result);
    EXPECT_EQ(dest[0], 0x77) << "nothing is copied from a failed reply";
    const std::vector<uint8_t> macro(120, 1);
    EXPECT_EQ(KbWriteMacroMemory(link, macro.data(), macro.size()), row.result);
  }
  link.DeviceConnected = 0;
  EXPECT_EQ(KbTest(link), kResultNoReply);
}

TEST_F(CommandsTest, BootModeWritesAnUnsummedPacketAndReadsNothing) {
  EXPECT_EQ(KbEnterBootMode(link), kResultOk);
  ASSERT_EQ(channel.written.size(), 1u);
  EXPECT_EQ(channel.written[0], Bytes({0x04, 0x00, 0x00, 0xEE, 0xEE}));
  EXPECT_EQ(channel.reads, 0);
  link.DeviceConnected = 0;
  EXPECT_EQ(KbEnterBootMode(link), kResultNoReply);
}

}  // namespace
}  // namespace mvk
