// The built program as the user starts it: one copy per user, handing over
// to the running copy.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>

#include <map>
#include <memory>
#include <vector>

#include "support/qt_application.h"
#include "support/temp_user_folders.h"

namespace mvk {
namespace {

constexpr int kLimitMs = 30000;
const QString kListening = "listening on";
const QString kOpenReceived = "received open request";
const QString kQuitReceived = "received quit request";

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { test::Application(); }

  void TearDown() override {
    for (auto& process : processes_) {
      if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(kLimitMs);
      }
    }
  }

  QProcess& Start(const QStringList& arguments) {
    auto& process = *processes_.emplace_back(std::make_unique<QProcess>());
    QProcessEnvironment environment = folders_.ChildEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "morvakin.instance.info=true");
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(MORVAKIN_BUILD_DIR "/morvakin", arguments);
    EXPECT_TRUE(process.waitForStarted(kLimitMs));
    return process;
  }

  // Waits until the process has written `text` (true) or has ended or the
  // limit has passed without writing it (false).
  bool WaitForOutput(QProcess& process, const QString& text) {
    QString& seen = output_[&process];
    const QDeadlineTimer deadline(kLimitMs);
    for (;;) {
      seen += QString::fromUtf8(process.readAll());
      if (seen.contains(text)) return true;
      if (deadline.hasExpired() || process.state() == QProcess::NotRunning) return false;
      process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
  }

  QString Output(QProcess& process) {
    return output_[&process] += QString::fromUtf8(process.readAll());
  }

  // Starts a copy and waits until it answers requests.
  QProcess& StartRunningCopy(const QStringList& arguments = {}) {
    QProcess& process = Start(arguments);
    EXPECT_TRUE(WaitForOutput(process, kListening)) << Output(process).toStdString();
    return process;
  }

  static void ExpectCleanExit(QProcess& process) {
    ASSERT_TRUE(process.waitForFinished(kLimitMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
  }

  test::TempUserFolders folders_;
  std::vector<std::unique_ptr<QProcess>> processes_;
  std::map<QProcess*, QString> output_;
};

TEST_F(SingleInstanceTest, SecondStartOpensTheRunningCopyAndEnds) {
  QProcess& first = StartRunningCopy();
  for (const char* argument : {"", "/Start", "/sTaRt"}) {
    QProcess& second = Start(argument[0] ? QStringList{argument} : QStringList{});
    ExpectCleanExit(second);
    EXPECT_FALSE(Output(second).contains(kListening)) << argument;
    EXPECT_TRUE(WaitForOutput(first, kOpenReceived)) << argument;
    output_[&first].clear();
  }
  EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, KillEndsTheRunningCopyThenItself) {
  for (const char* argument : {"/Kill", "/kILL"}) {
    QProcess& first = StartRunningCopy();
    QProcess& killer = Start({"/Start", argument});
    ExpectCleanExit(killer);
    EXPECT_TRUE(WaitForOutput(first, kQuitReceived)) << argument;
    ExpectCleanExit(first);
    EXPECT_FALSE(Output(killer).contains(kListening)) << argument;
  }
}

TEST_F(SingleInstanceTest, KillWithoutARunningCopyEndsWithoutStarting) {
  QProcess& killer = Start({"/Kill"});
  ExpectCleanExit(killer);
  EXPECT_FALSE(Output(killer).contains(kListening));
}

TEST_F(SingleInstanceTest, CopyThatCrashedDoesNotBlockTheNextStart) {
  QProcess& crashed = StartRunningCopy();
  crashed.kill();
  ASSERT_TRUE(crashed.waitForFinished(kLimitMs));
  // Its lock is gone with it; its socket file is still there.
  ASSERT_TRUE(std::filesystem::exists(folders_.RuntimeFolder() / "RX73P28C"));

  QProcess& next = StartRunningCopy();
  QProcess& second = Start({});
  ExpectCleanExit(second);
  EXPECT_TRUE(WaitForOutput(next, kOpenReceived));

  ExpectCleanExit(Start({"/Kill"}));
  ExpectCleanExit(next);
}

}  // namespace
}  // namespace mvk
