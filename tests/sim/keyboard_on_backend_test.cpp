// The simulated keyboard plugged into the simulated HID backend, seen the
// way the program sees a keyboard: two collections, each with its reports.
#include <gtest/gtest.h>

#include "platform/hid_descriptor.h"
#include "platform/simulated_hid.h"
#include "sim/simulated_keyboard.h"

namespace mvk::sim {
namespace {

class KeyboardOnBackendTest : public ::testing::Test {
 protected:
  KeyboardOnBackendTest() { backend.Plug(keyboard); }

  std::unique_ptr<HidConnection> OpenCollection(std::size_t index) {
    const auto paths = backend.Enumerate();
    if (!paths || paths->size() <= index) {
      return nullptr;
    }
    return backend.Open((*paths)[index], {.read = true, .write = true});
  }

  SimulatedHidBackend backend;
  std::shared_ptr<SimulatedKeyboard> keyboard = std::make_shared<SimulatedKeyboard>("kb");
};

TEST_F(KeyboardOnBackendTest, DescriptorGivesTheCommandAndConsumerCollections) {
  const auto collections = ParseReportDescriptor(keyboard->ReportDescriptor());
  ASSERT_TRUE(collections);
  ASSERT_EQ(collections->size(), 2u);
  const HidCollection& command = (*collections)[0];
  EXPECT_EQ(command.usagePage, 0xFF1C);
  EXPECT_EQ(command.usage, 0x92);
  EXPECT_EQ(command.ReportLength(HidReportKind::Input), 64u);
  EXPECT_EQ(command.ReportLength(HidReportKind::Output), 64u);
  EXPECT_TRUE(command.OwnsReportId(4));
  const HidCollection& consumer = (*collections)[1];
  EXPECT_EQ(consumer.usagePage, 0x0C);
  EXPECT_EQ(consumer.usage, 0x01);
  EXPECT_FALSE(consumer.OwnsReportId(4));

  const auto paths = backend.Enumerate();
  ASSERT_TRUE(paths);
  ASSERT_EQ(paths->size(), 2u);
  EXPECT_NE((*paths)[0].find("vid_320f&pid_505b"), std::string::npos) << (*paths)[0];
}

TEST_F(KeyboardOnBackendTest, CommandRepliesAndEventsReachTheirOwnCollections) {
  auto command = OpenCollection(0);
  auto consumer = OpenCollection(1);
  ASSERT_TRUE(command && consumer);

  std::array<uint8_t, 64> request{0x04, 0x0D, 0x00, 0x0D};
  std::size_t done = 0;
  ASSERT_EQ(command->Write(request, done, 1000), HidIoStatus::Ok);
  keyboard->SendEvent(kEventLightingChanged);

  std::array<uint8_t, 64> reply{};
  ASSERT_EQ(command->Read(reply, done, 1000), HidIoStatus::Ok);
  EXPECT_EQ(reply[3], 0x0D);
  EXPECT_EQ(reply[7], 0x01);

  std::array<uint8_t, 5> event{};
  ASSERT_EQ(consumer->Read(event, done, 1000), HidIoStatus::Ok);
  const auto collections = ParseReportDescriptor(keyboard->ReportDescriptor());
  const auto usages = ReportUsages((*collections)[1], HidReportKind::Input, 0x0C, event);
  ASSERT_FALSE(usages.empty());
  EXPECT_EQ(usages[0], kEventLightingChanged);
}

TEST_F(KeyboardOnBackendTest, BootModeLeavesEnumerationUntilPluggedAgain) {
  auto command = OpenCollection(0);
  ASSERT_TRUE(command);
  std::array<uint8_t, 64> request{0x04, 0x00, 0x00, 0xEE, 0xEE};
  std::size_t done = 0;
  ASSERT_EQ(command->Write(request, done, 1000), HidIoStatus::Ok);
  EXPECT_TRUE(backend.Enumerate()->empty());
  std::array<uint8_t, 64> reply{};
  EXPECT_EQ(command->Read(reply, done, 1000), HidIoStatus::Failed);

  backend.Plug(keyboard);
  EXPECT_EQ(backend.Enumerate()->size(), 2u);
}

}  // namespace
}  // namespace mvk::sim
