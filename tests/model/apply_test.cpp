#include "model/apply.h"

#include <gtest/gtest.h>

#include <mutex>

#include "support/recording_channel.h"
#include "support/scripted_prompts.h"

namespace mvk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::CommandsOf;
using test::Reassemble;

constexpr uint8_t kBegin = 1, kEnd = 2, kKeyMap = 8, kMacroMemory = 10;

MacroRecord NamedMacro(std::u16string_view name, uint16_t id) {
  MacroRecord record;
  record.SetName(name);
  record.id = id;
  record.cycles = 1;
  record.eventCount = 2;
  record.events[0] = {100, 0x01E, kMacroPress};
  record.events[1] = {0, 0x01E, kMacroRelease};
  return record;
}

Bytes Repeat(uint8_t command, int count) { return Bytes(static_cast<std::size_t>(count), command); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

class ApplyTest : public ::testing::Test {
 protected:
  ApplyTest() { wire.link.MacroCapacityBytes = 64 * 128; }

  std::vector<uint16_t> BanksWritten() const {
    std::vector<uint16_t> banks;
    for (const Packet& p : wire.channel.requests) {
      if (test::CommandOf(p) == kKeyMap && test::OffsetOf(p) % 512 == 0) {
        banks.push_back(test::OffsetOf(p) / 512);
      }
    }
    return banks;
  }

  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  ConfigState config{configLock, macroLock};
  test::RecordingLink wire;
  test::ScriptedPrompts prompts;
  const KeyMatrix& defaults = BuiltInDefaultMatrix();
};

TEST_F(ApplyTest, SingleProfileSendsMacrosThenTheCurrentKeyMap) {
  config.working.macros = {NamedMacro(u"A1", 4), NamedMacro(u"Second macro", 2)};
  config.working.image.profiles[1][0x01E] = {kAssignMacro, 1, 2, 0, 0};
  config.working.image.profiles[0][0x01E] = {kAssignDisabled, 0, 0, 0, 0};

  ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 1, false, prompts), kResultOk);
  // 56 bytes of the 72-byte area, then 16; seven key-map packets for bank 1.
  EXPECT_EQ(CommandsOf(wire.channel.requests),
            Join({{kBegin}, Repeat(kMacroMemory, 2), Repeat(kKeyMap, 7), {kEnd}}));
  EXPECT_EQ(BanksWritten(), std::vector<uint16_t>{1});
  EXPECT_EQ(Reassemble(wire.channel.requests, kMacroMemory, 0, 72),
            *EncodeMacroArea(config.working.macros, true));

  KeyMatrix expected = defaults;
  SetActionAt(expected, 19, {0x05, 0x01, 0x01});  // A plays the macro at position 1
  const Bytes sent = Reassemble(wire.channel.requests, kKeyMap, 512, kKeyMatrixSize);
  EXPECT_EQ(sent, Bytes(expected.begin(), expected.end()));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ApplyTest, AllProfilesWhenAskedOrWhenMacroReferencesChanged) {
  ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 2, true, prompts), kResultOk);
  EXPECT_EQ(CommandsOf(wire.channel.requests),
            Join({{kBegin}, Repeat(kMacroMemory, 1), Repeat(kKeyMap, 21), {kEnd}}));
  EXPECT_EQ(BanksWritten(), (std::vector<uint16_t>{0, 1, 2}));

  wire.channel.requests.clear();
  config.macroReferencesChanged = true;
  ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 2, false, prompts), kResultOk);
  EXPECT_EQ(BanksWritten(), (std::vector<uint16_t>{0, 1, 2}));
  EXPECT_FALSE(config.macroReferencesChanged);

  wire.channel.requests.clear();
  ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 2, false, prompts), kResultOk);
  EXPECT_EQ(BanksWritten(), std::vector<uint16_t>{2});
}

TEST_F(ApplyTest, MacrosThatDoNotFitAtAllWriteNothing) {
  config.working.macros = {NamedMacro(u"A1", 1)};
  config.macroReferencesChanged = true;
  wire.link.MacroCapacityBytes = 29;  // 30 bytes without names
  EXPECT_EQ(ApplyKeyMaps(config, wire.link, defaults, 0, false, prompts), kResultNoMacroSpace);
  EXPECT_TRUE(wire.channel.requests.empty());
  EXPECT_EQ(prompts.shown, std::vector<std::string>{"EXTRA_MACRO_TOO_LONG"});
  EXPECT_TRUE(config.macroReferencesChanged);
}

// Notes how many packets had gone out when each notice came.
class CountingPrompts : public test::ScriptedPrompts {
 public:
  explicit CountingPrompts(const test::RecordingChannel& channel) : channel_(channel) {}
  void ShowNotice(std::string_view key) override {
    packetsSent.push_back(channel_.requests.size());
    ScriptedPrompts::ShowNotice(key);
  }
  std::vector<std::size_t> packetsSent;

 private:
  const test::RecordingChannel& channel_;
};

TEST_F(ApplyTest, MacrosWithoutRoomForNamesGoWithoutThem) {
  config.working.macros = {NamedMacro(u"A1", 1)};
  for (const uint32_t capacity : {30u, 33u}) {
    wire.channel.requests.clear();
    CountingPrompts counting(wire.channel);
    wire.link.MacroCapacityBytes = capacity;
    ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 0, false, counting), kResultOk);
    EXPECT_EQ(Reassemble(wire.channel.requests, kMacroMemory, 0, 30),
              *EncodeMacroArea(config.working.macros, false));
    EXPECT_EQ(CommandsOf(wire.channel.requests).back(), kEnd);
    EXPECT_EQ(counting.shown, std::vector<std::string>{"EXTRA_PROFILE_SPACE_TIGHT"});
    // The notice follows the whole write.
    EXPECT_EQ(counting.packetsSent, std::vector<std::size_t>{wire.channel.requests.size()});
  }
  wire.link.MacroCapacityBytes = 34;
  prompts.shown.clear();
  ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 0, false, prompts), kResultOk);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ApplyTest, FailsWhenAnyWriteFailsButSendsTheRest) {
  // The first packet of bank 0's key map is refused; banks 1 and 2 still go.
  wire.channel.answer = [](const Packet& request, std::size_t, Packet& reply) {
    if (test::CommandOf(request) == kKeyMap && test::OffsetOf(request) == 0) {
      reply[packet::kStatus] = kStatusRefused;
    }
    return true;
  };
  EXPECT_EQ(ApplyKeyMaps(config, wire.link, defaults, 0, true, prompts), kResultRefused);
  EXPECT_EQ(BanksWritten(), (std::vector<uint16_t>{0, 1, 2}));
  EXPECT_EQ(CommandsOf(wire.channel.requests).back(), kEnd);
}

TEST_F(ApplyTest, FailsWhenTheMacroWriteFails) {
  wire.channel.answer = [](const Packet& request, std::size_t, Packet& reply) {
    if (test::CommandOf(request) == kMacroMemory) {
      reply[packet::kStatus] = kStatusFailed;
    }
    return true;
  };
  EXPECT_EQ(ApplyKeyMaps(config, wire.link, defaults, 0, false, prompts), kResultFailed);
  EXPECT_EQ(BanksWritten(), std::vector<uint16_t>{0});
}

TEST_F(ApplyTest, RefusesAnUnknownCurrentProfile) {
  EXPECT_EQ(ApplyKeyMaps(config, wire.link, defaults, -1, false, prompts), kResultBadBank);
  EXPECT_TRUE(wire.channel.requests.empty());
  EXPECT_EQ(ApplyKeyMaps(config, wire.link, defaults, -1, true, prompts), kResultOk);
}

TEST_F(ApplyTest, SnapshotCarriesCountsAndPackedStrings) {
  config.working.macros = {NamedMacro(u"A1", 1)};
  config.working.image.profiles[2][0x20] = {kAssignText, 0, 99, 0, 0};
  config.working.hostStrings.Set(HostStringTable::EntryOf(2, 0x20), u"hello");
  ASSERT_EQ(ApplyKeyMaps(config, wire.link, defaults, 0, false, prompts), kResultOk);
  EXPECT_EQ(config.snapshot.image.header.macroCount, 1);
  EXPECT_EQ(config.snapshot.image.header.stringBytes, 12u);
  EXPECT_EQ(config.snapshot.image.header.totalSize, 32832u + 32512u + 12u);
  EXPECT_EQ(config.snapshotStrings, (Bytes{'h', 0, 'e', 0, 'l', 0, 'l', 0, 'o', 0, 0, 0}));
  EXPECT_EQ(config.working.image.profiles[2][0x20].value, 0u);
}

TEST_F(ApplyTest, RestoreDefaultsClearsProfilesAndWritesTheDefaultMatrix) {
  const KeyIndex buttons[] = {0x01E};
  for (int profile = 0; profile < 3; ++profile) {
    config.working.image.profiles[profile][0x01E] = {kAssignDisabled, 0, 0, 0, 0};
  }
  ASSERT_EQ(RestoreDefaultKeyMaps(config, wire.link, defaults, buttons), kResultOk);
  EXPECT_EQ(CommandsOf(wire.channel.requests), Repeat(kKeyMap, 21));
  for (int profile = 0; profile < 3; ++profile) {
    EXPECT_EQ(config.working.image.profiles[profile][0x01E], KeySlot{});
    EXPECT_EQ(Reassemble(wire.channel.requests, kKeyMap, static_cast<uint16_t>(profile * 512),
                         kKeyMatrixSize),
              Bytes(defaults.begin(), defaults.end()));
  }
}

}  // namespace
}  // namespace mvk
