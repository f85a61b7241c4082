#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>

#include <future>

#include "app/instance_request.h"
#include "app/morvakin_app.h"
#include "support/qt_application.h"
#include "support/scripted_prompts.h"
#include "support/temp_user_folders.h"
#include "ui/main/main_window.h"

namespace mvk {
namespace {

QString MarkedKey(std::string_view key) {
  return "text:" + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

class MainWindowTest : public ::testing::Test {
 protected:
  // Sends a request as a second copy would, serving this thread's events
  // until it has been answered.
  bool Send(InstanceRequest request) {
    return Serve([request] { return SendInstanceRequest(getpid(), request); });
  }
  bool SendRaw(uint32_t message, uint32_t tag) {
    return Serve([=] { return SendInstanceMessage(InstanceChannelPath(), message, tag); });
  }

  template <typename Send>
  static bool Serve(Send send) {
    auto result = std::async(std::launch::async, send);
    EXPECT_TRUE(test::WaitUntil([&] {
      return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }));
    return result.get();
  }

  // Before any widget.
  QApplication& application_ = test::Application();
  test::TempUserFolders folders_;
  CMorvakinApp app_{{"morvakin"}, folders_.Root() / "bin/morvakin", nullptr};
  test::ScriptedPrompts prompts_;
  CMorvakinDlg window_{app_, prompts_, MarkedKey};
};

TEST_F(MainWindowTest, StartsHiddenMarkedAndListening) {
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(window_.property(CMorvakinDlg::kMarkerProperty).toUInt(), kMainWindowMarker);
  EXPECT_TRUE(window_.IsListeningForRequests());
  EXPECT_TRUE(std::filesystem::exists(InstanceChannelPath()));
}

TEST_F(MainWindowTest, OpenRequestShowsTheWindowOnlyWithAKeyboard) {
  window_.SetKeyboardConnected(false);
  ASSERT_TRUE(Send(InstanceRequest::Open));
  ASSERT_TRUE(test::WaitUntil([&] { return !prompts_.messages.empty(); }));
  EXPECT_EQ(prompts_.messages, QStringList{"text:MAIN_NO_DEVICE_PROMPT"});
  EXPECT_FALSE(window_.isVisible());

  window_.SetKeyboardConnected(true);
  ASSERT_TRUE(Send(InstanceRequest::Open));
  ASSERT_TRUE(test::WaitUntil([&] { return window_.isVisible(); }));
  EXPECT_FALSE(window_.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(prompts_.messages.size(), 1);
}

TEST_F(MainWindowTest, QuitRequestEndsTheWindowAndFreesTheChannel) {
  window_.SetKeyboardConnected(true);
  window_.OpenWindow();
  auto sent = std::async(std::launch::async,
                         [] { return SendInstanceRequest(getpid(), InstanceRequest::Quit); });
  EXPECT_EQ(window_.RunModal(), 0);
  EXPECT_TRUE(sent.get());
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(prompts_.closeAllCalls, 1);
  EXPECT_FALSE(window_.IsListeningForRequests());
  EXPECT_FALSE(std::filesystem::exists(InstanceChannelPath()));
  // Once shut down, running again returns at once.
  EXPECT_EQ(window_.RunModal(), 0);
}

TEST_F(MainWindowTest, OtherTagsChangeNothing) {
  window_.SetKeyboardConnected(true);
  EXPECT_FALSE(SendRaw(kOpenRequestMessage, kQuitRequestTag));
  EXPECT_FALSE(SendRaw(kQuitRequestMessage, kOpenRequestTag));
  QApplication::processEvents();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(window_.IsListeningForRequests());
  EXPECT_TRUE(prompts_.messages.isEmpty());
}

}  // namespace
}  // namespace mvk
