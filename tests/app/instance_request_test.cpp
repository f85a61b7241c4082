#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>

#include <cstring>
#include <future>
#include <vector>

#include "app/instance_request.h"
#include "support/qt_application.h"
#include "support/temp_user_folders.h"

namespace mvk {
namespace {

class InstanceRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { test::Application(); }

  // Runs `send` on another thread, as a second copy would, while this
  // thread's event loop serves the receiving end.
  // Records every request the server hands on.
  std::vector<InstanceRequest>& Record() {
    QObject::connect(&server_, &InstanceRequestServer::RequestReceived, &server_,
                     [this](InstanceRequest request) { received_.push_back(request); });
    return received_;
  }

  template <typename Send>
  bool SendAndServe(Send send) {
    auto result = std::async(std::launch::async, send);
    EXPECT_TRUE(test::WaitUntil([&] {
      return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }));
    return result.get();
  }

  test::TempUserFolders folders_;
  InstanceRequestServer server_;
  std::vector<InstanceRequest> received_;
};

TEST_F(InstanceRequestTest, RequestsReachTheListeningCopy) {
  ASSERT_TRUE(server_.Listen(InstanceChannelPath(), true));
  auto& received = Record();
  for (InstanceRequest request : {InstanceRequest::Open, InstanceRequest::Quit}) {
    received.clear();
    EXPECT_TRUE(SendAndServe([&] { return SendInstanceRequest(getpid(), request); }));
    ASSERT_TRUE(test::WaitUntil([&] { return received.size() == 1; }));
    EXPECT_EQ(received.front(), request);
  }
}

TEST_F(InstanceRequestTest, OtherMessagesAndTagsAreIgnored) {
  ASSERT_TRUE(server_.Listen(InstanceChannelPath(), true));
  auto& received = Record();
  const struct {
    uint32_t message;
    uint32_t tag;
  } rows[] = {
      {kOpenRequestMessage, kQuitRequestTag},
      {kQuitRequestMessage, kOpenRequestTag},
      {kOpenRequestMessage, 0},
      {0x4D4E, kOpenRequestTag},
      {0, 0},
  };
  for (const auto& row : rows) {
    EXPECT_FALSE(SendAndServe(
        [&] { return SendInstanceMessage(InstanceChannelPath(), row.message, row.tag); }))
        << std::hex << row.message << ' ' << row.tag;
  }
  // A client that gives up half-way is dropped without harm.
  {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(InstanceChannelPath().string()));
    ASSERT_TRUE(socket.waitForConnected(10000));
    socket.write("\x50\x53\x00", 3);
    socket.waitForBytesWritten(10000);
  }
  EXPECT_TRUE(SendAndServe([&] { return SendInstanceRequest(getpid(), InstanceRequest::Open); }));
  ASSERT_TRUE(test::WaitUntil([&] { return received.size() == 1; }));
  EXPECT_EQ(received.front(), InstanceRequest::Open);
}

TEST_F(InstanceRequestTest, NoRequestGoesOutWithoutACopyToReach) {
  EXPECT_FALSE(SendInstanceRequest(0, InstanceRequest::Open));
  // Nobody listens and the addressed process is gone: no waiting for it.
  EXPECT_FALSE(SendInstanceRequest(0x7FFFFFF0u, InstanceRequest::Quit));
  EXPECT_FALSE(SendInstanceMessage({}, kOpenRequestMessage, kOpenRequestTag));
}

// A socket file as a crashed copy leaves it: bound, never unlinked.
void LeaveStaleSocket(const std::filesystem::path& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  close(fd);
}

TEST_F(InstanceRequestTest, StaleSocketIsReplacedOnlyByTheLockHolder) {
  LeaveStaleSocket(InstanceChannelPath());
  ASSERT_TRUE(std::filesystem::exists(InstanceChannelPath()));
  EXPECT_FALSE(server_.Listen(InstanceChannelPath(), false));
  EXPECT_TRUE(server_.Listen(InstanceChannelPath(), true));
  EXPECT_TRUE(server_.IsListening());

  server_.Close();
  EXPECT_FALSE(server_.IsListening());
  EXPECT_FALSE(std::filesystem::exists(InstanceChannelPath()));
}

TEST(InstanceChannelPath, LivesInTheRuntimeFolderAndNamesTheUser) {
  test::TempUserFolders folders;
  EXPECT_EQ(InstanceChannelPath(),
            folders.RuntimeFolder() / ("morvakin-" + std::to_string(getuid())));
}

}  // namespace
}  // namespace mvk
