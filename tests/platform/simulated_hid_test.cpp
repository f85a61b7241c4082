#include "platform/simulated_hid.h"

#include <gtest/gtest.h>

#include <future>

#include "support/hid_descriptors.h"
#include "support/scripted_hid_device.h"

namespace mvk {
namespace {

using test::ScriptedHidDevice;

constexpr HidOpenOptions kReadWrite{true, true, true, false};
constexpr const char* kConsumerPath = "sim:kb&vid_320f&pid_505b&col01";
constexpr const char* kCommandPath = "sim:kb&vid_320f&pid_505b&col02";

std::vector<uint8_t> Report(uint8_t id, std::size_t length, uint8_t fill = 0) {
  std::vector<uint8_t> report(length, fill);
  report[0] = id;
  return report;
}

class SimulatedHidTest : public testing::Test {
 protected:
  void SetUp() override { backend_.Plug(keyboard_); }

  std::unique_ptr<HidConnection> Open(const std::string& path,
                                      const HidOpenOptions& options = kReadWrite) {
    auto connection = backend_.Open(path, options);
    EXPECT_NE(connection, nullptr) << path;
    return connection;
  }

  static HidIoStatus ReadInto(HidConnection& connection, std::vector<uint8_t>& out,
                              uint32_t timeoutMs) {
    out.assign(64, 0);
    std::size_t got = 0;
    const HidIoStatus status = connection.Read(out, got, timeoutMs);
    out.resize(got);
    return status;
  }

  std::shared_ptr<ScriptedHidDevice> keyboard_ =
      std::make_shared<ScriptedHidDevice>("kb", test::KeyboardCompositeDescriptor());
  SimulatedHidBackend backend_;
};

TEST_F(SimulatedHidTest, ListsOneNumberedPathPerCollection) {
  backend_.Plug(std::make_shared<ScriptedHidDevice>("boot", test::BootKeyboardDescriptor(),
                                                    HidAttributes{0x1A2B, 0x00CD, 1}));
  // Neither a second device of a taken name nor one without a usable
  // descriptor adds paths.
  backend_.Plug(std::make_shared<ScriptedHidDevice>("kb", test::BootKeyboardDescriptor()));
  backend_.Plug(std::make_shared<ScriptedHidDevice>("broken", std::vector<uint8_t>{0xC0}));
  const std::vector<std::string> expected = {kConsumerPath, kCommandPath,
                                             "sim:boot&vid_1a2b&pid_00cd&col01"};
  EXPECT_EQ(backend_.Enumerate(), expected);

  backend_.SetEnumerationFails(true);
  EXPECT_FALSE(backend_.Enumerate().has_value());
  backend_.SetEnumerationFails(false);
  EXPECT_EQ(backend_.Enumerate(), expected);
}

TEST_F(SimulatedHidTest, OpensOnlyPathsItListed) {
  for (const char* path : {"sim:kb", "sim:kb&vid_320f&pid_505b&col03",
                           "sim:kb&vid_320f&pid_505c&col01", "sim:kb&vid_320f&pid_505b&col1x",
                           "sim:other&vid_320f&pid_505b&col01", ""}) {
    EXPECT_EQ(backend_.Open(path, kReadWrite), nullptr) << path;
  }
  const auto command = Open(kCommandPath);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->CollectionIndex(), 1u);
  EXPECT_EQ(command->Attributes().productId, 0x505B);
  EXPECT_EQ(command->ReportDescriptor(), test::KeyboardCompositeDescriptor());
}

TEST_F(SimulatedHidTest, EachCollectionReadsOnlyItsOwnReports) {
  const auto consumer = Open(kConsumerPath);
  const auto command = Open(kCommandPath);
  keyboard_->SendInput({3, 0x01, 0x04, 0, 0});
  keyboard_->SendInput(Report(4, 64, 0xAB));

  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*consumer, got, 1000), HidIoStatus::Ok);
  EXPECT_EQ(got, (std::vector<uint8_t>{3, 0x01, 0x04, 0, 0}));
  EXPECT_EQ(ReadInto(*consumer, got, 0), HidIoStatus::TimedOut);
  EXPECT_TRUE(got.empty());

  // A buffer shorter than the report receives its head.
  std::vector<uint8_t> head(8, 0);
  std::size_t transferred = 0;
  EXPECT_EQ(command->Read(head, transferred, 1000), HidIoStatus::Ok);
  EXPECT_EQ(transferred, 8u);
  EXPECT_EQ(head, Report(4, 8, 0xAB));
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::TimedOut);
}

TEST_F(SimulatedHidTest, WritesReachTheDeviceWhoseRepliesReachTheReader) {
  const auto command = Open(kCommandPath);
  keyboard_->SetResponder(test::EchoReply);
  const std::vector<uint8_t> request = Report(4, 64, 0x5A);
  std::size_t written = 0;
  EXPECT_EQ(command->Write(request, written, 1000), HidIoStatus::Ok);
  EXPECT_EQ(written, 64u);
  EXPECT_EQ(keyboard_->Writes(), std::vector<std::vector<uint8_t>>{request});
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*command, got, 1000), HidIoStatus::Ok);
  EXPECT_EQ(got, request);

  // Refused: longer than the output report, a report id of another
  // collection, a device that fails the write, a handle without write access.
  EXPECT_EQ(command->Write(Report(4, 65), written, 1000), HidIoStatus::Failed);
  EXPECT_EQ(command->Write(Report(3, 64), written, 1000), HidIoStatus::Failed);
  EXPECT_EQ(written, 0u);
  keyboard_->SetWritesFail(true);
  EXPECT_EQ(command->Write(request, written, 1000), HidIoStatus::Failed);
  keyboard_->SetWritesFail(false);
  const auto readOnly = Open(kCommandPath, {true, false, true, false});
  EXPECT_EQ(readOnly->Write(request, written, 1000), HidIoStatus::Failed);
  const auto writeOnly = Open(kCommandPath, {false, true, true, false});
  EXPECT_EQ(ReadInto(*writeOnly, got, 0), HidIoStatus::Failed);
}

TEST_F(SimulatedHidTest, StopEndsOneWaitNowOrTheNextOne) {
  const auto command = Open(kCommandPath);
  std::vector<uint8_t> got;
  command->Stop();
  command->Stop();  // auto-reset: a second signal before any wait adds nothing
  EXPECT_EQ(ReadInto(*command, got, kHidWaitForever), HidIoStatus::Stopped);
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::TimedOut);

  auto waiting = std::async(std::launch::async, [&] {
    std::vector<uint8_t> buffer;
    return ReadInto(*command, buffer, kHidWaitForever);
  });
  command->Stop();
  EXPECT_EQ(waiting.get(), HidIoStatus::Stopped);

  command->Stop();
  std::size_t written = 0;
  EXPECT_EQ(command->Write(Report(4, 64), written, 1000), HidIoStatus::Stopped);
  EXPECT_TRUE(keyboard_->Writes().empty());
}

TEST_F(SimulatedHidTest, DiscardInputDropsPendingReports) {
  const auto command = Open(kCommandPath);
  keyboard_->SendInput(Report(4, 64, 1));
  keyboard_->SendInput(Report(4, 64, 2));
  command->DiscardInput();
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::TimedOut);
  keyboard_->SendInput(Report(4, 64, 3));
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::Ok);
  EXPECT_EQ(got, Report(4, 64, 3));
}

TEST_F(SimulatedHidTest, UnplugFailsWaitingAndLaterCalls) {
  const auto command = Open(kCommandPath);
  auto waiting = std::async(std::launch::async, [&] {
    std::vector<uint8_t> buffer;
    return ReadInto(*command, buffer, kHidWaitForever);
  });
  keyboard_->UnplugSelf();
  EXPECT_EQ(waiting.get(), HidIoStatus::Failed);
  EXPECT_FALSE(keyboard_->IsAttached());
  EXPECT_EQ(backend_.Enumerate(), std::vector<std::string>{});
  EXPECT_EQ(backend_.Open(kCommandPath, kReadWrite), nullptr);
  std::size_t written = 0;
  EXPECT_EQ(command->Write(Report(4, 64), written, 1000), HidIoStatus::Failed);

  // Plugged in again it is a new device to its old paths.
  backend_.Plug(keyboard_);
  EXPECT_TRUE(keyboard_->IsAttached());
  EXPECT_NE(backend_.Open(kCommandPath, kReadWrite), nullptr);
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::Failed);
}

TEST_F(SimulatedHidTest, DeviceMayAnswerAndUnplugFromInsideAWrite) {
  const auto command = Open(kCommandPath);
  keyboard_->SetResponder([this](std::span<const uint8_t> request) {
    keyboard_->SendInput({request.begin(), request.end()});
    keyboard_->UnplugSelf();
    return ScriptedHidDevice::Reply{};
  });
  std::size_t written = 0;
  EXPECT_EQ(command->Write(Report(4, 64), written, 1000), HidIoStatus::Ok);
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*command, got, 1000), HidIoStatus::Failed);
  EXPECT_FALSE(keyboard_->IsAttached());
}

}  // namespace
}  // namespace mvk
