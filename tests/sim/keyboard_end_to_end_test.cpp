// The program's own road to the keyboard, from the command functions through
// the HID device object and the simulated backend to the simulated keyboard.
#include <gtest/gtest.h>

#include <numeric>

#include "device/collection_match.h"
#include "device/hid_device.h"
#include "model/settings_block.h"
#include "platform/simulated_hid.h"
#include "protocol/commands.h"
#include "sim/simulated_keyboard.h"

namespace mvk::sim {
namespace {

class KeyboardEndToEndTest : public ::testing::Test {
 protected:
  KeyboardEndToEndTest() {
    backend.Plug(keyboard);
    link.DeviceConnected = OpenCommandCollection() ? 1 : 0;
  }

  bool OpenCommandCollection() {
    const bool found = device.EnumerateDevices() &&
                       OpenKeyboardCollection(device, kCommandCollection,
                                              {.read = true, .write = true});
    device.FreeDeviceList();
    return found;
  }

  SimulatedHidBackend backend;
  std::shared_ptr<SimulatedKeyboard> keyboard = std::make_shared<SimulatedKeyboard>("kb");
  CHidDevice device{backend};
  KeyboardLink link{device};
};

TEST_F(KeyboardEndToEndTest, ConnectionReadsAndApplyWritesReachTheKeyboard) {
  ASSERT_EQ(link.DeviceConnected.load(), 1u);
  std::array<uint8_t, kKeyMatrixSize> matrix{};
  ASSERT_EQ(KbReadDefaultMatrix(link, matrix.data()), kResultOk);
  EXPECT_TRUE(std::equal(matrix.begin(), matrix.end(), FactoryDefaultMatrix().begin()));
  ASSERT_EQ(ReadMacroCapacity(link), kResultOk);
  EXPECT_EQ(link.MacroCapacityBytes.load(), 64u * 128);

  std::vector<uint8_t> macros(300);
  std::iota(macros.begin(), macros.end(), 0);
  std::iota(matrix.begin(), matrix.end(), 100);
  ASSERT_EQ(KbBeginUpdate(link), kResultOk);
  ASSERT_EQ(KbWriteMacroMemory(link, macros.data(), macros.size()), kResultOk);
  ASSERT_EQ(KbWriteKeyMap(link, matrix.data(), 1), kResultOk);
  ASSERT_EQ(KbEndUpdate(link), kResultOk);

  std::array<uint8_t, kKeyMatrixSize> back{};
  ASSERT_EQ(KbReadKeyMap(link, back.data(), 1), kResultOk);
  EXPECT_EQ(back, matrix);
  std::vector<uint8_t> macrosBack(macros.size());
  ASSERT_EQ(KbReadMacroMemory(link, macrosBack.data(), macrosBack.size()), kResultOk);
  EXPECT_EQ(macrosBack, macros);

  SetActiveProfile(link, 2);
  ForgetActiveProfile(link);
  EXPECT_EQ(GetActiveProfile(link), 2);
}

TEST_F(KeyboardEndToEndTest, FaultsGiveTheTransactionsResults) {
  const struct {
    Fault fault;
    int result;
  } rows[] = {{Fault::Refused, kResultRefused},
              {Fault::Failed, kResultFailed},
              {Fault::WriteFails, kResultWriteFailed}};
  for (const auto& row : rows) {
    keyboard->InjectFault(row.fault);
    EXPECT_EQ(KbTest(link), row.result) << int(row.fault);
  }
  keyboard->ClearFault();
  EXPECT_EQ(KbTest(link), kResultOk);

  keyboard->InjectFault(Fault::Unplug, 2);
  std::array<uint8_t, kKeyMatrixSize> matrix{};
  EXPECT_EQ(KbReadKeyMap(link, matrix.data(), 0), kResultWriteFailed);
  EXPECT_TRUE(backend.Enumerate()->empty());

  backend.Plug(keyboard);
  ASSERT_TRUE(OpenCommandCollection());
  EXPECT_EQ(KbReadKeyMap(link, matrix.data(), 0), kResultOk);
}

TEST_F(KeyboardEndToEndTest, BootModeTakesTheKeyboardAway) {
  EXPECT_EQ(KbEnterBootMode(link), kResultOk);
  EXPECT_TRUE(backend.Enumerate()->empty());
  EXPECT_EQ(KbTest(link), kResultWriteFailed);
}

TEST_F(KeyboardEndToEndTest, ConsumerEventsUnpackToTheirUsage) {
  CHidDevice events(backend);
  ASSERT_TRUE(events.EnumerateDevices());
  ASSERT_TRUE(OpenKeyboardCollection(events, kConsumerCollection, {.read = true}));
  events.FreeDeviceList();

  keyboard->FactoryReset();
  std::size_t got = 0;
  ASSERT_TRUE(events.Read(events.InputReportBuffer(), &got, 1000));
  ASSERT_TRUE(CHidDevice::UnpackReport(events.InputReportBuffer(), HidReportKind::Input,
                                       events.InputDataItems(), events.Description()));
  ASSERT_FALSE(events.InputDataItems().empty());
  ASSERT_FALSE(events.InputDataItems()[0].usages.empty());
  EXPECT_EQ(events.InputDataItems()[0].usages[0], kEventFactoryReset);
}

}  // namespace
}  // namespace mvk::sim
