#include <gtest/gtest.h>

#include <QApplication>
#include <QObject>

#include <atomic>
#include <thread>

#include "support/qt_application.h"
#include "ui/main/window_side_qt.h"

namespace mvk {
namespace {

TEST(CallOnThreadOf, RunsTheWorkOnTheReceiversThreadAndWaitsForIt) {
  test::Application();
  QObject receiver;
  std::atomic<bool> returned = false;
  std::thread::id ranOn;
  std::jthread caller([&](std::stop_token stop) {
    CallOnThreadOf(receiver, stop, [&] { ranOn = std::this_thread::get_id(); });
    returned = true;
  });
  ASSERT_TRUE(test::WaitUntil([&] { return returned.load(); }));
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(CallOnThreadOf, GivesUpWhenStoppedAndDropsTheWorkNotYetStarted) {
  test::Application();
  QObject receiver;
  std::atomic<bool> waiting = false;
  bool ran = false;
  std::jthread caller([&](std::stop_token stop) {
    waiting = true;
    CallOnThreadOf(receiver, stop, [&] { ran = true; });
  });
  while (!waiting) std::this_thread::yield();
  // This thread serves no events: only the stop can end the wait.
  caller.request_stop();
  caller.join();
  QApplication::processEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace mvk
