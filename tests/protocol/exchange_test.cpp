#include "protocol/exchange.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <thread>

#include "device/hid_device.h"
#include "platform/simulated_hid.h"
#include "support/hid_descriptors.h"
#include "support/scripted_hid_device.h"

namespace mvk {
namespace {

using Bytes = std::vector<uint8_t>;

// A channel that records what the exchange does; replies wait in `input`
// until read, and `answer` may put one there on each write.
class FakeChannel final : public PacketChannel {
 public:
  bool Write(std::span<const uint8_t> data, std::size_t* transferred,
             uint32_t timeoutMs) override {
    events.push_back("write");
    writes.emplace_back(data.begin(), data.end());
    writeTimeouts.push_back(timeoutMs);
    if (writeFails) {
      return false;
    }
    if (answer) {
      answer(writes.size(), input);
    }
    if (transferred != nullptr) {
      *transferred = data.size();
    }
    return true;
  }

  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) override {
    events.push_back("read");
    readTimeouts.push_back(timeoutMs);
    if (input.empty()) {
      return false;  // timed out
    }
    const std::size_t n = std::min(buffer.size(), input.front().size());
    std::copy_n(input.front().begin(), n, buffer.begin());
    input.pop_front();
    if (transferred != nullptr) {
      *transferred = n;
    }
    return true;
  }

  void DiscardInput() override {
    events.push_back("discard");
    input.clear();
  }

  std::vector<std::string> events;
  std::vector<Bytes> writes;
  std::vector<uint32_t> writeTimeouts;
  std::vector<uint32_t> readTimeouts;
  std::deque<Bytes> input;
  bool writeFails = false;
  // Called after write number `n` (1-based) succeeded.
  std::function<void(std::size_t n, std::deque<Bytes>& input)> answer;
};

Bytes Packet64(uint8_t command, uint8_t fill = 0) {
  Bytes packet(64, fill);
  packet[packet::kReportId] = kPacketReportId;
  packet[packet::kCommand] = command;
  return packet;
}

class ExchangeTest : public testing::Test {
 protected:
  ExchangeTest() { link_.DeviceConnected = 1; }

  int Exchange(const Bytes& request) {
    reply_.assign(64, 0);
    return ExchangePacket(link_, request.data(), request.size(), reply_.data(), reply_.size(),
                          &received_);
  }

  FakeChannel channel_;
  KeyboardLink link_{channel_};
  Bytes reply_;
  std::size_t received_ = 99;
};

TEST_F(ExchangeTest, NothingIsWrittenWhileDisconnected) {
  link_.DeviceConnected = 0;
  EXPECT_EQ(Exchange(Packet64(3)), kResultNoReply);
  EXPECT_EQ(received_, 0u);
  const Bytes boot = Packet64(0xEE);
  EXPECT_EQ(SendPacket(link_, boot.data(), boot.size()), kResultNoReply);
  EXPECT_TRUE(channel_.events.empty());
}

TEST_F(ExchangeTest, RequestsArePaddedOrCutToSixtyFourBytes) {
  channel_.answer = [](std::size_t, std::deque<Bytes>& input) { input.push_back(Packet64(3, 7)); };
  const std::size_t lengths[] = {1, 8, 64, 70};
  for (const std::size_t length : lengths) {
    Bytes request(length);
    for (std::size_t i = 0; i < length; ++i) {
      request[i] = static_cast<uint8_t>(i + 1);
    }
    channel_.writes.clear();
    EXPECT_EQ(Exchange(request), kResultOk);
    ASSERT_EQ(channel_.writes.size(), 1u);
    Bytes expected(64, 0);
    std::copy_n(request.begin(), std::min<std::size_t>(length, 64), expected.begin());
    EXPECT_EQ(channel_.writes[0], expected) << length;
    EXPECT_EQ(received_, 64u);
    EXPECT_EQ(reply_, Packet64(3, 7));
  }
}

TEST_F(ExchangeTest, ASilentKeyboardGetsTheRequestFourTimes) {
  const Bytes request = Packet64(3);
  EXPECT_EQ(Exchange(request), kResultNoReply);
  EXPECT_EQ(channel_.writes, std::vector<Bytes>(4, request));
  EXPECT_EQ(channel_.writeTimeouts, std::vector<uint32_t>(4, kWriteTimeoutMs));
  EXPECT_EQ(channel_.readTimeouts, std::vector<uint32_t>(4, kReadTimeoutMs));
  EXPECT_EQ(received_, 0u);
}

TEST_F(ExchangeTest, AReplyToALaterAttemptCounts) {
  channel_.answer = [](std::size_t n, std::deque<Bytes>& input) {
    if (n == 3) {
      input.push_back(Packet64(5, 1));
    }
  };
  EXPECT_EQ(Exchange(Packet64(5)), kResultOk);
  EXPECT_EQ(channel_.writes.size(), 3u);
  EXPECT_EQ(reply_, Packet64(5, 1));
}

TEST_F(ExchangeTest, AFailedWriteEndsTheExchangeWithoutReading) {
  channel_.writeFails = true;
  EXPECT_EQ(Exchange(Packet64(3)), kResultWriteFailed);
  EXPECT_EQ(channel_.writes.size(), 1u);
  EXPECT_TRUE(channel_.readTimeouts.empty());
  const Bytes boot = Packet64(0xEE);
  EXPECT_EQ(SendPacket(link_, boot.data(), boot.size()), kResultNoReply);
}

TEST_F(ExchangeTest, SendPacketWritesOnceAndReadsNothing) {
  const Bytes boot = Packet64(0xEE);
  EXPECT_EQ(SendPacket(link_, boot.data(), 8), kResultOk);
  ASSERT_EQ(channel_.writes.size(), 1u);
  Bytes expected(64, 0);
  std::copy_n(boot.begin(), 8, expected.begin());
  EXPECT_EQ(channel_.writes[0], expected);
  EXPECT_TRUE(channel_.readTimeouts.empty());
}

TEST_F(ExchangeTest, ALeftOverReplyIsDroppedBeforeTheRequestGoesOut) {
  channel_.input.push_back(Packet64(3, 0xAA));  // came after its exchange gave up
  channel_.answer = [](std::size_t, std::deque<Bytes>& input) { input.push_back(Packet64(5, 0xBB)); };
  EXPECT_EQ(Exchange(Packet64(5)), kResultOk);
  EXPECT_EQ(reply_, Packet64(5, 0xBB));
  EXPECT_EQ(channel_.events, (std::vector<std::string>{"discard", "write", "read"}));
}

// The same over the device object and the simulated backend: a reply that
// arrives only after its exchange returned 0 is not taken for the next one's.
TEST(ExchangeOverDevice, ALateReplyIsNeverTakenForTheNextRequest) {
  SimulatedHidBackend backend;
  auto keyboard = std::make_shared<test::ScriptedHidDevice>("kb", test::VendorCommandDescriptor());
  backend.Plug(keyboard);
  CHidDevice device(backend);
  ASSERT_TRUE(device.Open("sim:kb&vid_320f&pid_505b&col01", {true, true, true, false}));
  KeyboardLink link(device);
  link.DeviceConnected = 1;
  for (int attempt = 0; attempt < kExchangeAttempts; ++attempt) {
    keyboard->QueueReply({});
  }
  keyboard->SetResponder(test::EchoReply);

  Bytes reply(64);
  const Bytes first = Packet64(3, 0x01);
  EXPECT_EQ(ExchangePacket(link, first.data(), first.size(), reply.data(), reply.size(), nullptr),
            kResultNoReply);
  keyboard->SendInput(first);  // the keyboard answers at last

  const Bytes second = Packet64(5, 0x02);
  std::size_t received = 0;
  EXPECT_EQ(ExchangePacket(link, second.data(), second.size(), reply.data(), reply.size(),
                           &received),
            kResultOk);
  EXPECT_EQ(received, 64u);
  EXPECT_EQ(reply, second);
}

TEST(ExchangeOverDevice, ConcurrentExchangesEachGetTheirOwnReply) {
  SimulatedHidBackend backend;
  auto keyboard = std::make_shared<test::ScriptedHidDevice>("kb", test::VendorCommandDescriptor());
  keyboard->SetResponder(test::EchoReply);
  backend.Plug(keyboard);
  CHidDevice device(backend);
  ASSERT_TRUE(device.Open("sim:kb&vid_320f&pid_505b&col01", {true, true, true, false}));
  KeyboardLink link(device);
  link.DeviceConnected = 1;

  constexpr int kExchanges = 300;
  const auto run = [&link](uint8_t thread, int& mismatches) {
    for (int i = 0; i < kExchanges; ++i) {
      Bytes request = Packet64(5);
      request[packet::kData] = thread;
      request[packet::kData + 1] = static_cast<uint8_t>(i);
      request[packet::kData + 2] = static_cast<uint8_t>(i >> 8);
      ChecksumPacket(std::span<uint8_t, kPacketSize>(request.data(), kPacketSize));
      Bytes reply(64);
      if (ExchangePacket(link, request.data(), request.size(), reply.data(), reply.size(),
                         nullptr) != kResultOk ||
          reply != request) {
        ++mismatches;
      }
    }
  };
  int mismatchesA = 0;
  int mismatchesB = 0;
  std::thread a(run, uint8_t{1}, std::ref(mismatchesA));
  std::thread b(run, uint8_t{2}, std::ref(mismatchesB));
  a.join();
  b.join();
  EXPECT_EQ(mismatchesA, 0);
  EXPECT_EQ(mismatchesB, 0);
  EXPECT_EQ(keyboard->Writes().size(), 2u * kExchanges);
}

}  // namespace
}  // namespace mvk
