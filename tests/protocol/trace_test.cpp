#include "protocol/trace.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "protocol/commands.h"
#include "protocol/exchange.h"

namespace mvk {
namespace {

// Answers every request with itself, status set, unless told to stay silent.
class EchoChannel : public PacketChannel {
 public:
  bool Write(std::span<const uint8_t> data, std::size_t*, uint32_t) override {
    std::copy(data.begin(), data.end(), last_.begin());
    last_[packet::kStatus] = 0x01;
    return true;
  }
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t) override {
    if (silent) {
      return false;
    }
    std::copy_n(last_.begin(), buffer.size(), buffer.begin());
    *transferred = buffer.size();
    return true;
  }
  void DiscardInput() override {}
  bool silent = false;

 private:
  Packet last_{};
};

std::string Hex(const Packet& p) {
  std::string text;
  for (uint8_t b : p) {
    text += "0123456789abcdef"[b >> 4];
    text += "0123456789abcdef"[b & 15];
  }
  return text;
}

TEST(PacketTrace, LogsEachWriteAndEachReplyWithMicrosecondsSinceStart) {
  std::ostringstream out;
  int64_t now = 5000;
  PacketTrace trace(out, [&now] { return now; });
  EchoChannel channel;
  KeyboardLink link(channel);
  link.DeviceConnected = 1;
  link.trace = &trace;

  now = 5250;
  ASSERT_EQ(KbBeginUpdate(link), kResultOk);
  Packet request{};
  request[0] = 4;
  request[1] = 1;
  request[3] = 1;
  Packet reply = request;
  reply[packet::kStatus] = 1;
  std::string expected = "> 250 " + Hex(request) + "\n< 250 " + Hex(reply) + "\n";
  EXPECT_EQ(out.str(), expected);

  // A silent keyboard: four requests, no reply line.
  out.str("");
  channel.silent = true;
  now = 6000;
  ASSERT_EQ(KbBeginUpdate(link), kResultNoReply);
  const std::string line = "> 1000 " + Hex(request) + "\n";
  EXPECT_EQ(out.str(), line + line + line + line);
}

TEST(PacketTrace, EnvironmentNamesTheFileOrLeavesTracingOff) {
  unsetenv("MORVAKIN_TRACE");
  EXPECT_EQ(PacketTrace::FromEnvironment(), nullptr);
  setenv("MORVAKIN_TRACE", "", 1);
  EXPECT_EQ(PacketTrace::FromEnvironment(), nullptr);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath("trace.log").toStdString();
  setenv("MORVAKIN_TRACE", path.c_str(), 1);
  {
    auto trace = PacketTrace::FromEnvironment();
    ASSERT_NE(trace, nullptr);
    const uint8_t bytes[2] = {0xAB, 0x01};
    trace->LogReply(bytes);
  }
  std::ifstream in(path);
  std::string direction, micros, hex;
  in >> direction >> micros >> hex;
  EXPECT_EQ(direction, "<");
  EXPECT_EQ(hex, "ab01");

  setenv("MORVAKIN_TRACE", (path + "/not-a-folder/x").c_str(), 1);
  EXPECT_EQ(PacketTrace::FromEnvironment(), nullptr);
  unsetenv("MORVAKIN_TRACE");
}

}  // namespace
}  // namespace mvk
