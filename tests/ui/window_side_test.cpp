#include <gtest/gtest.h>

#include <QApplication>
#include <QObject>

#include <atomic>
#include <thread>
#include <vector>

#include "support/qt_application.h"
#include "ui/main/thread_mailbox.h"

namespace mvk {
namespace {

TEST(ThreadMailbox, CallRunsTheWorkOnTheMailboxThreadAndWaitsForIt) {
  test::Application();
  ThreadMailbox receiver;
  std::atomic<bool> returned = false;
  std::thread::id ranOn;
  std::jthread caller([&](std::stop_token stop) {
    receiver.Call(stop, [&] { ranOn = std::this_thread::get_id(); });
    returned = true;
  });
  ASSERT_TRUE(test::WaitUntil([&] { return returned.load(); }));
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(ThreadMailbox, CallGivesUpWhenStoppedAndDropsTheWorkNotYetStarted) {
  test::Application();
  ThreadMailbox receiver;
  std::atomic<bool> waiting = false;
  bool ran = false;
  std::jthread caller([&](std::stop_token stop) {
    waiting = true;
    receiver.Call(stop, [&] { ran = true; });
  });
  while (!waiting) std::this_thread::yield();
  // This thread serves no events: only the stop can end the wait.
  caller.request_stop();
  caller.join();
  QApplication::processEvents();
  EXPECT_FALSE(ran);
}

TEST(ThreadMailbox, PostedWorkRunsInOrderOnTheMailboxThread) {
  test::Application();
  ThreadMailbox receiver;
  std::vector<int> ran;
  std::jthread poster([&] {
    for (int i = 0; i < 50; ++i) receiver.Post([&ran, i] { ran.push_back(i); });
  });
  poster.join();
  ASSERT_TRUE(test::WaitUntil([&] { return ran.size() == 50; }));
  for (int i = 0; i < 50; ++i) EXPECT_EQ(ran[i], i);
}

}  // namespace
}  // namespace mvk
