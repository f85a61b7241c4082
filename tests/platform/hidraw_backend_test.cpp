#include "platform/hidraw_backend.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <future>
#include <map>

#include "support/hid_descriptors.h"

namespace mvk {
namespace {

namespace fs = std::filesystem;

constexpr HidOpenOptions kReadWrite{true, true, true, false};
constexpr const char* kConsumerPath = "/dev/hidraw10&vid_320f&pid_505b&col01";
constexpr const char* kCommandPath = "/dev/hidraw10&vid_320f&pid_505b&col02";
constexpr const char* kBootPath = "/dev/hidraw2&vid_046d&pid_c31c&col01";

// A sysfs hidraw class in a temporary folder, and device nodes that are one
// end of a packet socket pair each: the test holds the other end and plays
// the kernel's part, which hands every open of a node every report.
class HidrawBackendTest : public testing::Test {
 protected:
  void SetUp() override {
    // Writing to a node whose test end was closed must fail, not kill us.
    std::signal(SIGPIPE, SIG_IGN);
    ASSERT_TRUE(dir_.isValid());
    AddNode("hidraw10", "HID_NAME=Keyboard\nHID_ID=0003:0000320F:0000505B\n",
            test::KeyboardCompositeDescriptor());
    AddNode("hidraw2", "HID_ID=0003:0000046D:0000C31C\n", test::BootKeyboardDescriptor());
    AddNode("hidraw3", "HID_ID=0003:00001111:00002222\n", {0xA1, 0x01});  // unusable
    AddNode("hidraw4", "DRIVER=hid-generic\n", test::BootKeyboardDescriptor());
  }

  void TearDown() override {
    for (const auto& [node, fds] : peers_) {
      for (int fd : fds) {
        ::close(fd);
      }
    }
  }

  fs::path Root() const { return fs::path(dir_.path().toStdString()) / "class"; }

  void AddNode(const std::string& name, const std::string& uevent,
               const std::vector<uint8_t>& descriptor) {
    const fs::path device = Root() / name / "device";
    fs::create_directories(device);
    std::ofstream(device / "uevent") << uevent;
    std::ofstream(device / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(descriptor.data()),
               static_cast<std::streamsize>(descriptor.size()));
  }

  HidrawBackend Backend() {
    return HidrawBackend(Root(), "/dev", [this](const std::string& node, int flags) {
      opens_.emplace_back(node, flags);
      int pair[2];
      if (failOpens_ || ::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair) != 0) {
        return -1;
      }
      peers_[node].push_back(pair[1]);
      return pair[0];
    });
  }

  // The kernel's side: a report arrives at every open of the node.
  void DeviceSends(const std::string& node, const std::vector<uint8_t>& report) {
    for (int fd : peers_[node]) {
      ASSERT_EQ(::send(fd, report.data(), report.size(), 0), ssize_t(report.size()));
    }
  }

  void DeviceLeaves(const std::string& node) {
    for (int fd : peers_[node]) {
      ::close(fd);
    }
    peers_.erase(node);
  }

  static HidIoStatus ReadInto(HidConnection& connection, std::vector<uint8_t>& out,
                              uint32_t timeoutMs) {
    out.assign(128, 0);
    std::size_t got = 0;
    const HidIoStatus status = connection.Read(out, got, timeoutMs);
    out.resize(got);
    return status;
  }

  QTemporaryDir dir_;
  std::vector<std::pair<std::string, int>> opens_;
  std::map<std::string, std::vector<int>> peers_;
  bool failOpens_ = false;
};

std::vector<uint8_t> Report(uint8_t id, std::size_t length, uint8_t fill = 0) {
  std::vector<uint8_t> report(length, fill);
  report[0] = id;
  return report;
}

TEST_F(HidrawBackendTest, ListsCollectionsOfDescribableNodesInNodeOrder) {
  HidrawBackend backend = Backend();
  const std::vector<std::string> expected = {kBootPath, kConsumerPath, kCommandPath};
  EXPECT_EQ(backend.Enumerate(), expected);

  EXPECT_EQ(HidrawBackend(Root() / "absent").Enumerate(), std::vector<std::string>{});
  EXPECT_FALSE(HidrawBackend(Root() / "hidraw2" / "device" / "uevent").Enumerate().has_value());
}

TEST_F(HidrawBackendTest, OpensWithTheAccessAskedFor) {
  HidrawBackend backend = Backend();
  const struct {
    HidOpenOptions options;
    int accessFlags;
  } rows[] = {
      {{true, true, true, false}, O_RDWR},
      {{true, false, true, false}, O_RDONLY},
      {{false, true, true, false}, O_WRONLY},
      {{false, false, true, false}, O_PATH},
  };
  for (const auto& row : rows) {
    opens_.clear();
    const auto connection = backend.Open(kCommandPath, row.options);
    ASSERT_NE(connection, nullptr);
    ASSERT_EQ(opens_.size(), 1u);
    EXPECT_EQ(opens_[0].first, "/dev/hidraw10");
    EXPECT_EQ(opens_[0].second & (O_ACCMODE | O_PATH), row.accessFlags);
    EXPECT_EQ(connection->CollectionIndex(), 1u);
    EXPECT_EQ(connection->Attributes().vendorId, 0x320F);
    EXPECT_EQ(connection->Attributes().productId, 0x505B);
    EXPECT_EQ(connection->ReportDescriptor(), test::KeyboardCompositeDescriptor());
  }

  for (const char* path : {"/dev/hidraw10", "/dev/hidraw10&vid_320f&pid_505b&col03",
                           "/dev/hidraw10&vid_320f&pid_5050&col01",
                           "/dev/hidraw3&vid_1111&pid_2222&col01",
                           "/elsewhere/hidraw10&vid_320f&pid_505b&col01"}) {
    EXPECT_EQ(backend.Open(path, kReadWrite), nullptr) << path;
  }
  failOpens_ = true;
  EXPECT_EQ(backend.Open(kCommandPath, kReadWrite), nullptr);
}

TEST_F(HidrawBackendTest, EachCollectionReadsOnlyItsOwnReports) {
  HidrawBackend backend = Backend();
  const auto consumer = backend.Open(kConsumerPath, kReadWrite);
  const auto command = backend.Open(kCommandPath, kReadWrite);
  ASSERT_TRUE(consumer && command);
  DeviceSends("/dev/hidraw10", Report(4, 64, 0x11));
  DeviceSends("/dev/hidraw10", {3, 0x02, 0x04, 0, 0});

  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*consumer, got, 1000), HidIoStatus::Ok);
  EXPECT_EQ(got, (std::vector<uint8_t>{3, 0x02, 0x04, 0, 0}));
  EXPECT_EQ(ReadInto(*consumer, got, 0), HidIoStatus::TimedOut);
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(ReadInto(*command, got, 1000), HidIoStatus::Ok);
  EXPECT_EQ(got, Report(4, 64, 0x11));
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::TimedOut);
}

TEST_F(HidrawBackendTest, UnnumberedReportsGainAZeroIdByte) {
  HidrawBackend backend = Backend();
  const auto keyboard = backend.Open(kBootPath, kReadWrite);
  ASSERT_NE(keyboard, nullptr);
  DeviceSends("/dev/hidraw2", {0x02, 0x00, 0x04, 0, 0, 0, 0, 0});
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*keyboard, got, 1000), HidIoStatus::Ok);
  EXPECT_EQ(got, (std::vector<uint8_t>{0x00, 0x02, 0x00, 0x04, 0, 0, 0, 0, 0}));
}

TEST_F(HidrawBackendTest, WritesWholeReports) {
  HidrawBackend backend = Backend();
  const auto command = backend.Open(kCommandPath, kReadWrite);
  ASSERT_NE(command, nullptr);
  const std::vector<uint8_t> request = Report(4, 64, 0x77);
  std::size_t written = 0;
  EXPECT_EQ(command->Write(request, written, 1000), HidIoStatus::Ok);
  EXPECT_EQ(written, 64u);
  std::vector<uint8_t> arrived(128);
  const ssize_t n = ::recv(peers_["/dev/hidraw10"][0], arrived.data(), arrived.size(), 0);
  arrived.resize(std::max<ssize_t>(n, 0));
  EXPECT_EQ(arrived, request);

  const auto readOnly = backend.Open(kCommandPath, {true, false, true, false});
  EXPECT_EQ(readOnly->Write(request, written, 1000), HidIoStatus::Failed);
  const auto presenceOnly = backend.Open(kCommandPath, {false, false, true, false});
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*presenceOnly, got, 0), HidIoStatus::Failed);
}

TEST_F(HidrawBackendTest, StopEndsOneWaitNowOrTheNextOne) {
  HidrawBackend backend = Backend();
  const auto command = backend.Open(kCommandPath, kReadWrite);
  ASSERT_NE(command, nullptr);
  std::vector<uint8_t> got;
  command->Stop();
  command->Stop();
  EXPECT_EQ(ReadInto(*command, got, kHidWaitForever), HidIoStatus::Stopped);
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::TimedOut);

  auto waiting = std::async(std::launch::async, [&] {
    std::vector<uint8_t> buffer;
    return ReadInto(*command, buffer, kHidWaitForever);
  });
  command->Stop();
  EXPECT_EQ(waiting.get(), HidIoStatus::Stopped);
}

TEST_F(HidrawBackendTest, DiscardInputDrainsWithoutWaiting) {
  HidrawBackend backend = Backend();
  const auto command = backend.Open(kCommandPath, kReadWrite);
  ASSERT_NE(command, nullptr);
  command->DiscardInput();  // nothing pending: returns at once
  DeviceSends("/dev/hidraw10", Report(4, 64, 1));
  DeviceSends("/dev/hidraw10", Report(4, 64, 2));
  command->DiscardInput();
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*command, got, 0), HidIoStatus::TimedOut);
  DeviceSends("/dev/hidraw10", Report(4, 64, 3));
  EXPECT_EQ(ReadInto(*command, got, 1000), HidIoStatus::Ok);
  EXPECT_EQ(got, Report(4, 64, 3));
}

TEST_F(HidrawBackendTest, ANodeThatLeftFailsInsteadOfTimingOut) {
  HidrawBackend backend = Backend();
  const auto command = backend.Open(kCommandPath, kReadWrite);
  ASSERT_NE(command, nullptr);
  auto waiting = std::async(std::launch::async, [&] {
    std::vector<uint8_t> buffer;
    return ReadInto(*command, buffer, kHidWaitForever);
  });
  DeviceLeaves("/dev/hidraw10");
  EXPECT_EQ(waiting.get(), HidIoStatus::Failed);
  std::vector<uint8_t> got;
  EXPECT_EQ(ReadInto(*command, got, 1000), HidIoStatus::Failed);
  std::size_t written = 0;
  EXPECT_EQ(command->Write(Report(4, 64), written, 1000), HidIoStatus::Failed);
}

}  // namespace
}  // namespace mvk
