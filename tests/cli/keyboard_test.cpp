// The keyboard commands on the simulated keyboard: what they show, what
// they leave in the keyboard's memory, and the packets they send.
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <sstream>

#include "cli_fixture.h"
#include "protocol/packet.h"
#include "sim/simulated_keyboard.h"
#include "storage/config_folder.h"
#include "storage/lighting_mode_store.h"

namespace mvk::test {
namespace {

constexpr std::size_t kSettingsSize = 44;
constexpr std::size_t kMatrixSize = 378;

std::string Hex(const Packet& packet) {
  std::string text;
  for (uint8_t byte : packet) {
    text += "0123456789abcdef"[byte >> 4];
    text += "0123456789abcdef"[byte & 15];
  }
  return text;
}

// The hex bytes of every request in a trace, in order; other lines of
// standard error are passed over.
std::vector<std::string> TracedRequests(const std::string& trace) {
  std::vector<std::string> requests;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("> ")) continue;
    requests.push_back(line.substr(line.rfind(' ') + 1));
  }
  return requests;
}

Packet Request(uint8_t command, uint8_t length, uint16_t offset) {
  Packet packet{};
  packet[0] = 4;
  packet[3] = command;
  packet[4] = length;
  packet[5] = static_cast<uint8_t>(offset);
  packet[6] = static_cast<uint8_t>(offset >> 8);
  return packet;
}

// The seven packets of a key matrix write; the buffer is reused, so the
// last, shorter chunk still carries the end of the one before.
std::vector<std::string> KeyMatrixWrite(const std::array<uint8_t, kMatrixSize>& matrix, int bank) {
  std::vector<std::string> packets;
  Packet packet = Request(8, 0, 0);
  for (std::size_t position = 0; position < kMatrixSize; position += kPacketDataSize) {
    const std::size_t length = std::min(kPacketDataSize, kMatrixSize - position);
    const uint16_t offset = static_cast<uint16_t>(bank * 512 + position);
    packet[4] = static_cast<uint8_t>(length);
    packet[5] = static_cast<uint8_t>(offset);
    packet[6] = static_cast<uint8_t>(offset >> 8);
    std::copy_n(matrix.begin() + position, length, packet.begin() + 8);
    ChecksumPacket(packet);
    packets.push_back(Hex(packet));
  }
  return packets;
}

bool IsKeyMatrixWriteOfBank(const std::string& hex, int bank) {
  const int offsetHigh = std::stoi(hex.substr(12, 2), nullptr, 16);
  return hex.substr(6, 2) == "08" && offsetHigh / 2 == bank;
}

// Position of a keyboard key (by HID usage) in a key matrix.
std::size_t PositionOfUsage(const std::array<uint8_t, kMatrixSize>& matrix, uint8_t usage) {
  for (std::size_t p = 0; p < kMatrixSize; p += 3) {
    if (matrix[p] == 2 && matrix[p + 1] == 2 && matrix[p + 2] == usage) return p;
  }
  return kMatrixSize;
}

class CliKeyboard : public CliTest {};

TEST_F(CliKeyboard, StatusShowsTheKeyboardsSettings) {
  const ToolRun run = Run({"status", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QJsonObject status = run.Json().object();
  EXPECT_EQ(status["connected"], true);
  EXPECT_EQ(status["active_profile"], 1);
  EXPECT_EQ(status["macro_capacity"], 64 * 128);
  const QJsonArray effects = status["effects"].toArray();
  ASSERT_EQ(effects.size(), 19);
  EXPECT_EQ(effects[0].toObject(), (QJsonObject{{"code", 1}, {"name", "Wave"}}));
  EXPECT_EQ(effects[18].toObject(), (QJsonObject{{"code", 20}, {"name", "Per-key colours"}}));

  const ToolRun text = Run({"status"});
  EXPECT_NE(text.out.find("active profile: 1"), std::string::npos) << text.out;
}

TEST_F(CliKeyboard, ProfileSwitchSendsTheSettingsReadAndWriteByteForByte) {
  const ToolRun run = Run({"profile", "3", "--trace"});
  ASSERT_EQ(run.exitCode, 0) << run.err;

  auto settings = sim::FactoryMemory().settings;
  settings[10] = 2;
  Packet write = Request(4, kSettingsSize, 0);
  std::copy(settings.begin(), settings.end(), write.begin() + 8);
  ChecksumPacket(write);
  const std::string read = "042f00032c000000" + std::string(112, '0');
  EXPECT_EQ(TracedRequests(run.err), (std::vector<std::string>{read, Hex(write)}));

  EXPECT_EQ(Memory().settings[10], 2);
  const ToolRun shown = Run({"profile"});
  EXPECT_EQ(shown.out, "3\n");
}

TEST_F(CliKeyboard, ApplySendsTheAssignedKeyInTheKeyMatrix) {
  ASSERT_EQ(
      Run({"assign", PathOf("q-is-a.mvk"), "--profile", "1", "--key", "q", "--send", "A"}).exitCode,
      0);
  const ToolRun run = Run({"apply", PathOf("q-is-a.mvk"), "--trace"});
  ASSERT_EQ(run.exitCode, 0) << run.err;

  auto matrix = sim::FactoryDefaultMatrix();
  const std::size_t q = PositionOfUsage(matrix, 0x14);
  ASSERT_LT(q, kMatrixSize);
  matrix[q + 2] = 0x04;  // the usage of A
  std::vector<std::string> bank0;
  std::ranges::copy_if(TracedRequests(run.err), std::back_inserter(bank0),
                       [](const std::string& hex) { return IsKeyMatrixWriteOfBank(hex, 0); });
  EXPECT_EQ(bank0, KeyMatrixWrite(matrix, 0));
  EXPECT_TRUE(std::equal(matrix.begin(), matrix.end(), Memory().keyMaps.begin()));
}

TEST_F(CliKeyboard, LightingSetWritesEachFieldAndShowReadsThemBack) {
  const ToolRun set =
      Run({"lighting", "set", "--profile", "2", "--effect", "breathing", "--brightness", "3",
           "--speed", "1", "--direction", "left", "--colour", "12AB34", "--report-rate", "2"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const ToolRun shown = Run({"lighting", "show", "--profile", "2", "--json"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_EQ(shown.Json().object(), (QJsonObject{{"profile", 2},
                                                {"effect", 5},
                                                {"effect_name", "Breathing"},
                                                {"brightness", 3},
                                                {"speed", 1},
                                                {"direction", "left"},
                                                {"colour", "12AB34"},
                                                {"multi", false},
                                                {"report_rate", 2},
                                                {"effect_option", 0}}));
  const auto memory = Memory();
  EXPECT_EQ(memory.lighting[42 + 2], 3);  // speed position 1 is stored as 3
  EXPECT_EQ(memory.lighting[0], sim::FactoryMemory().lighting[0]) << "profile 1 untouched";
}

TEST_F(CliKeyboard, PaintingAKeyWritesItsLedAndKeepsItInTheUserMode) {
  const ToolRun run = Run({"keys", "paint", "--profile", "2", "--key", "Q", "--colour", "FF8000"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  constexpr int kLedOfQ = 43;
  const auto memory = Memory();
  EXPECT_EQ(memory.keyColours[512 + kLedOfQ * 3], 0xFF);
  EXPECT_EQ(memory.keyColours[512 + kLedOfQ * 3 + 1], 0x80);
  EXPECT_EQ(memory.keyColours[512 + kLedOfQ * 3 + 2], 0x00);
  const LightingModeStore store({ConfigFolderIn(folders_.Root() / "data"), {}});
  EXPECT_EQ(store.ReadKeyEntry(1, store.ReadPresentMode(1), kLedOfQ),
            (KeyEntry{ColourOf(0xFF, 0x80, 0x00), false}));
}

TEST_F(CliKeyboard, ReadGivesBackWhatApplyWrote) {
  const QString file = PathOf("edited.mvk");
  ASSERT_EQ(Run({"macro", "add", file, "--name", "Spin", "--events",
                 "press:Left Shift:20 release:Left Shift:0"})
                .exitCode,
            0);
  ASSERT_EQ(Run({"assign", file, "--profile", "1", "--key", "Q", "--function", "2"}).exitCode, 0);
  ASSERT_EQ(
      Run({"assign", file, "--profile", "2", "--key", "Caps Lock", "--send", "left ctrl"}).exitCode,
      0);
  ASSERT_EQ(Run({"assign", file, "--profile", "3", "--key", "Esc", "--media", "mute"}).exitCode, 0);
  ASSERT_EQ(Run({"apply", file}).exitCode, 0);
  const ToolRun read = Run({"read", PathOf("read.mvk")});
  ASSERT_EQ(read.exitCode, 0) << read.err;

  const QJsonObject written = Run({"dump", file, "--json"}).Json().object();
  const QJsonObject back = Run({"dump", PathOf("read.mvk"), "--json"}).Json().object();
  EXPECT_EQ(back["assignments"], written["assignments"]);
  EXPECT_EQ(back["macros"], written["macros"]);
}

TEST_F(CliKeyboard, ResetRestoresKeyMapsAndLightingOnlyWhenConfirmed) {
  ASSERT_EQ(Run({"assign", PathOf("f.mvk"), "--profile", "1", "--key", "Q", "--disable"}).exitCode,
            0);
  ASSERT_EQ(Run({"apply", PathOf("f.mvk")}).exitCode, 0);
  ASSERT_EQ(
      Run({"lighting", "set", "--profile", "3", "--effect", "6", "--report-rate", "3"}).exitCode,
      0);
  const auto changed = Memory();

  const ToolRun declined = Run({"reset"}, "n\n");
  EXPECT_EQ(declined.exitCode, 1);
  EXPECT_NE(declined.err.find("Restore the factory settings"), std::string::npos) << declined.err;
  EXPECT_EQ(Memory(), changed);

  ASSERT_EQ(Run({"reset"}, "y\n").exitCode, 0);
  const auto memory = Memory();
  for (int bank = 0; bank < 3; ++bank) {
    SCOPED_TRACE(bank);
    const auto& defaults = sim::FactoryDefaultMatrix();
    EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), memory.keyMaps.begin() + bank * 512));
    EXPECT_EQ(memory.lighting[bank * 42], 1);
    EXPECT_EQ(memory.lighting[bank * 42 + 15], 0);
  }
}

TEST_F(CliKeyboard, MacrosThatDoNotFitAreNotWritten) {
  {
    sim::SimulatedKeyboard keyboard("keyboard", KeyboardFile());
    keyboard.SetMacroCapacity(1);
  }
  const auto before = Memory();
  std::string events;
  for (int i = 0; i < 40; ++i) events += "press:A:10 release:A:10 ";
  ASSERT_EQ(Run({"macro", "add", PathOf("long.mvk"), "--name", "Long", "--events",
                 QString::fromStdString(events)})
                .exitCode,
            0);
  const ToolRun run = Run({"apply", PathOf("long.mvk")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("do not fit into the keyboard's macro memory"), std::string::npos)
      << run.err;
  EXPECT_EQ(Memory(), before);
}

}  // namespace
}  // namespace mvk::test
