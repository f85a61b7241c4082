#include "sim/simulated_keyboard.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <numeric>

#include "protocol/commands.h"
#include "support/emulator_channel.h"

namespace mvk::sim {
namespace {

using Matrix = std::array<uint8_t, kKeyMatrixSize>;

class SimulatedKeyboardTest : public ::testing::Test {
 protected:
  SimulatedKeyboardTest() { link.DeviceConnected = 1; }

  static Matrix Pattern(uint8_t seed) {
    Matrix m{};
    std::iota(m.begin(), m.end(), seed);
    return m;
  }

  SimulatedKeyboard keyboard;
  test::EmulatorChannel channel{keyboard};
  KeyboardLink link{channel};
};

TEST_F(SimulatedKeyboardTest, AnswersEveryCommandOfTheProgram) {
  for (auto command : {KbBeginUpdate, KbEndUpdate, KbCommand11, KbCommand12, KbTest,
                       KbCommand14}) {
    EXPECT_EQ(command(link), kResultOk);
  }

  std::array<uint8_t, kSettingsBlockSize> settings{};
  ASSERT_EQ(KbReadSettings(link, settings.data()), kResultOk);
  EXPECT_EQ(settings[11], 64);
  settings[10] = 2;
  ASSERT_EQ(KbWriteSettings(link, settings.data()), kResultOk);
  EXPECT_EQ(keyboard.Memory().settings[kSettingsActiveProfile], 2);

  const uint8_t colour[3] = {0x10, 0x20, 0x30};
  ASSERT_EQ(KbWriteMemory(link, colour, 3, 84 + 5), kResultOk);
  std::array<uint8_t, kPacketDataSize> area{};
  ASSERT_EQ(KbReadMemory(link, area.data(), 56, 84), kResultOk);
  EXPECT_EQ(area[0], 1) << "factory effect code";
  EXPECT_EQ(area[5], 0x10);
  EXPECT_EQ(area[7], 0x30);

  ASSERT_EQ(KbWriteKeyColours(link, colour, 3, 125, 1), kResultOk);
  ASSERT_EQ(KbReadKeyColours(link, area.data(), 3, 125, 1), kResultOk);
  EXPECT_EQ(area[1], 0x20);
  EXPECT_EQ(keyboard.Memory().keyColours[512 + 375], 0x10);

  const Matrix written = Pattern(7);
  ASSERT_EQ(KbWriteKeyMap(link, written.data(), 1), kResultOk);
  Matrix read{};
  ASSERT_EQ(KbReadKeyMap(link, read.data(), 1), kResultOk);
  EXPECT_EQ(read, written);
  ASSERT_EQ(KbReadKeyMap(link, read.data(), 2), kResultOk);
  EXPECT_TRUE(std::equal(read.begin(), read.end(), FactoryDefaultMatrix().begin()));

  ASSERT_EQ(KbReadDefaultMatrix(link, read.data()), kResultOk);
  EXPECT_TRUE(std::equal(read.begin(), read.end(), FactoryDefaultMatrix().begin()));

  std::vector<uint8_t> macros(64 * 128);
  std::iota(macros.begin(), macros.end(), 3);
  ASSERT_EQ(KbWriteMacroMemory(link, macros.data(), macros.size()), kResultOk);
  std::vector<uint8_t> back(macros.size());
  ASSERT_EQ(KbReadMacroMemory(link, back.data(), back.size()), kResultOk);
  EXPECT_EQ(back, macros);
}

TEST_F(SimulatedKeyboardTest, TransfersPastAnAreaAreRefused) {
  std::vector<uint8_t> macros(64 * 128 + 1, 0x11);
  EXPECT_EQ(KbWriteMacroMemory(link, macros.data(), macros.size()), kResultRefused);
  const KeyboardMemory memory = keyboard.Memory();
  EXPECT_EQ(memory.macros[146 * 56 - 1], 0x11) << "the chunks before stay written";
  EXPECT_EQ(memory.macros.back(), 0x00) << "the refused chunk changes nothing";
  std::array<uint8_t, kPacketDataSize> area{};
  EXPECT_EQ(KbReadKeyColours(link, area.data(), 3, 0, 3), kResultRefused);
  EXPECT_EQ(KbReadMemory(link, area.data(), 56, 85), kResultRefused);
}

TEST_F(SimulatedKeyboardTest, BootModeMakesTheKeyboardLeave) {
  EXPECT_EQ(KbEnterBootMode(link), kResultOk);
  EXPECT_FALSE(keyboard.IsPlugged());
  EXPECT_FALSE(channel.Plugged());
  EXPECT_EQ(KbTest(link), kResultWriteFailed);
  channel.Replug();
  EXPECT_EQ(KbTest(link), kResultOk);
}

TEST_F(SimulatedKeyboardTest, SendsVendorEventsOnItsConsumerCollection) {
  for (uint16_t usage : {kEventLightingChanged, kEventTrayAlternate, kEventTrayNormal}) {
    keyboard.SendEvent(usage);
  }
  const auto reports = channel.ConsumerReports();
  ASSERT_EQ(reports.size(), 6u);
  const std::vector<uint8_t> press = {3, 0x11, 0x18, 0, 0};
  const std::vector<uint8_t> release = {3, 0, 0, 0, 0};
  EXPECT_EQ(reports[0], (std::vector<uint8_t>{3, 0x01, 0x04, 0, 0}));
  EXPECT_EQ(reports[2], press);
  EXPECT_EQ(reports[3], release);
}

TEST_F(SimulatedKeyboardTest, FactoryResetRestoresMemoryAndReportsIt) {
  keyboard.SetMacroCapacity(8);
  const Matrix written = Pattern(1);
  ASSERT_EQ(KbWriteKeyMap(link, written.data(), 0), kResultOk);
  keyboard.FactoryReset();
  EXPECT_EQ(keyboard.Memory(), FactoryMemory(8));
  const auto reports = channel.ConsumerReports();
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.front(), (std::vector<uint8_t>{3, 0x02, 0x04, 0, 0}));
}

TEST_F(SimulatedKeyboardTest, FaultsReachTheTransactionsResults) {
  const struct {
    Fault fault;
    int result;
  } rows[] = {{Fault::Refused, kResultRefused},
              {Fault::Failed, kResultFailed},
              {Fault::WriteFails, kResultWriteFailed},
              {Fault::NoReply, kResultNoReply}};
  for (const auto& row : rows) {
    keyboard.InjectFault(row.fault);
    const int before = channel.WriteCount();
    EXPECT_EQ(KbBeginUpdate(link), row.result) << int(row.fault);
    if (row.fault == Fault::NoReply) {
      EXPECT_EQ(channel.WriteCount() - before, 4) << "sent four times";
    }
    keyboard.ClearFault();
    EXPECT_EQ(KbBeginUpdate(link), kResultOk);
  }
}

TEST_F(SimulatedKeyboardTest, RefusalOnTheFourthChunkKeepsTheFirstThree) {
  const Matrix written = Pattern(50);
  ASSERT_EQ(KbWriteKeyMap(link, written.data(), 0), kResultOk);
  keyboard.InjectFault(Fault::Refused, 3);
  Matrix read{};
  EXPECT_EQ(KbReadKeyMap(link, read.data(), 0), kResultRefused);
  EXPECT_TRUE(std::equal(read.begin(), read.begin() + 168, written.begin()));
  EXPECT_EQ(read[168], 0);
}

TEST_F(SimulatedKeyboardTest, UnplugInTheMiddleOfATransferKeepsWhatWasWritten) {
  const Matrix written = Pattern(90);
  keyboard.InjectFault(Fault::Unplug, 3);
  EXPECT_EQ(KbWriteKeyMap(link, written.data(), 2), kResultWriteFailed);
  EXPECT_FALSE(keyboard.IsPlugged());
  const KeyboardMemory memory = keyboard.Memory();
  const auto bank = memory.keyMaps.begin() + 2 * 512;
  EXPECT_TRUE(std::equal(bank, bank + 168, written.begin()));
  EXPECT_TRUE(std::equal(bank + 168, bank + 378, FactoryDefaultMatrix().begin() + 168));

  channel.Replug();
  EXPECT_EQ(KbWriteKeyMap(link, written.data(), 2), kResultOk) << "the fault happens once";
}

TEST_F(SimulatedKeyboardTest, LateRepliesAreTakenWhileTheExchangeStillWaits) {
  // Due well inside the first read's 300 ms.
  keyboard.SetLateReplyDelay(std::chrono::milliseconds(20));
  keyboard.InjectFault(Fault::LateReply);
  std::array<uint8_t, kSettingsBlockSize> settings{};
  EXPECT_EQ(KbReadSettings(link, settings.data()), kResultOk);
  EXPECT_EQ(settings[11], 64);
}

TEST_F(SimulatedKeyboardTest, RepliesLaterThanEveryAttemptGiveNoReply) {
  keyboard.SetLateReplyDelay(std::chrono::seconds(30));
  keyboard.InjectFault(Fault::LateReply);
  EXPECT_EQ(KbTest(link), kResultNoReply);
  // The keyboard goes with replies still held back; its worker is joined.
}

TEST_F(SimulatedKeyboardTest, ReportLatencyDelaysWithoutChangingResults) {
  keyboard.SetReportLatency(std::chrono::microseconds(500));
  const Matrix written = Pattern(4);
  EXPECT_EQ(KbWriteKeyMap(link, written.data(), 0), kResultOk);
  EXPECT_EQ(keyboard.PacketCount(), 7);
}

TEST(SimulatedKeyboardFile, RemembersItsMemoryAcrossInstances) {
  QTemporaryDir dir;
  const std::filesystem::path file = dir.filePath("keyboard.mvks").toStdString();
  const uint8_t colour[3] = {1, 2, 3};
  {
    SimulatedKeyboard keyboard("kept", file);
    test::EmulatorChannel channel(keyboard);
    KeyboardLink link(channel);
    link.DeviceConnected = 1;
    ASSERT_EQ(KbWriteKeyColours(link, colour, 3, 10, 2), kResultOk);
    std::array<uint8_t, kSettingsBlockSize> settings{};
    ASSERT_EQ(KbReadSettings(link, settings.data()), kResultOk);
    settings[10] = 1;
    ASSERT_EQ(KbWriteSettings(link, settings.data()), kResultOk);
  }
  SimulatedKeyboard again("kept", file);
  const KeyboardMemory memory = again.Memory();
  EXPECT_EQ(memory.settings[kSettingsActiveProfile], 1);
  EXPECT_EQ(memory.keyColours[2 * 512 + 30], 1);
  EXPECT_EQ(memory.keyColours[2 * 512 + 32], 3);

  SimulatedKeyboard fresh("other", dir.filePath("absent.mvks").toStdString());
  EXPECT_EQ(fresh.Memory(), FactoryMemory());
}

TEST(SimulatedKeyboardDescriptor, DeclaresBothCollectionsWithTheirReportIds) {
  SimulatedKeyboard keyboard;
  EXPECT_EQ(keyboard.Attributes().vendorId, 0x320F);
  EXPECT_EQ(keyboard.Attributes().productId, 0x505B);
  const std::vector<uint8_t> descriptor = keyboard.ReportDescriptor();
  const std::vector<uint8_t> command = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04};
  const std::vector<uint8_t> consumer = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03};
  EXPECT_NE(std::search(descriptor.begin(), descriptor.end(), command.begin(), command.end()),
            descriptor.end());
  EXPECT_NE(std::search(descriptor.begin(), descriptor.end(), consumer.begin(), consumer.end()),
            descriptor.end());
}

}  // namespace
}  // namespace mvk::sim
