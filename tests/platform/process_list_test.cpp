#include <gtest/gtest.h>

#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include "platform/process_list.h"

namespace mvk {
namespace {

constexpr uint32_t kSelf = 40;
constexpr uint32_t kUser = 1000;

// A process folder laid out like /proc with a few processes.
class FakeProcFolder {
 public:
  void Add(uint32_t pid, const std::string& comm, const std::string& exe, uint32_t uid) {
    const auto folder = Root() / std::to_string(pid);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "comm") << comm << '\n';
    std::ofstream(folder / "status") << "Name:\t" << comm << "\nUid:\t" << uid << '\t' << uid
                                     << '\t' << uid << '\t' << uid << '\n';
    if (!exe.empty()) std::filesystem::create_symlink(exe, folder / "exe");
  }
  std::filesystem::path Root() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
};

TEST(FindProgramInstance, MatchesImageNameOfTheUsersOtherProcesses) {
  FakeProcFolder proc;
  proc.Add(kSelf, "morvakin", "/opt/bin/morvakin", kUser);
  proc.Add(7, "morvakin", "/opt/bin/morvakin", kUser + 1);
  proc.Add(9, "bash", "/usr/bin/bash", kUser);
  proc.Add(120, "MorVakin", "/opt/bin/MorVakin", kUser);
  proc.Add(300, "morvakin", "/opt/bin/morvakin", kUser);
  proc.Add(25, "renamed-thread", "/opt/bin/morvakin (deleted)", kUser);
  proc.Add(60, "a-very-long-pro", "/opt/bin/a-very-long-program-name", kUser);
  proc.Add(61, "a-very-long-nam", "/opt/bin/a-very-long-name-x", kUser);
  std::filesystem::create_directories(proc.Root() / "self");
  std::filesystem::create_directories(proc.Root() / "12abc");

  const struct {
    const char* name;
    const char* imageName;
    uint32_t expected;
  } rows[] = {
      {"other user and self passed over; program file name counts", "morvakin", 25},
      {"letter case does not matter", "MORVAKIN", 25},
      {"name beyond the comm length matched on the program file", "a-very-long-program-name", 60},
      {"a comm cut to 15 bytes is no proof of the name", "a-very-long-nam", 0},
      {"no such program", "morvakinctl", 0},
      {"empty name", "", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FindProgramInstanceIn(proc.Root(), row.imageName, kSelf, kUser), row.expected)
        << row.name;
  }
}

TEST(FindProgramInstance, UnreadableProcessListFindsNothing) {
  EXPECT_EQ(FindProgramInstanceIn("/nonexistent/proc", "morvakin", kSelf, kUser), 0u);
}

// A real process with a name no other process has: a copy of `cat`, which
// runs until its input is closed.
TEST(FindProgramInstance, FindsARealChildButNeverTheCaller) {
  QTemporaryDir dir;
  const QString name = QString("mvkprobe%1").arg(getpid());
  const QString program = dir.filePath(name);
  ASSERT_TRUE(QFile::copy("/bin/cat", program));
  QProcess child;
  child.start(program, {});
  ASSERT_TRUE(child.waitForStarted(10000));
  const auto pid = static_cast<uint32_t>(child.processId());

  EXPECT_EQ(FindProgramInstance(name.toUpper().toStdString()), pid);
  EXPECT_TRUE(ProcessExists(pid));
  EXPECT_EQ(FindProgramInstanceIn("/proc", name.toStdString(), pid, getuid()), 0u);
  EXPECT_EQ(FindProgramInstanceIn("/proc", name.toStdString(), 0, getuid() + 1), 0u);

  child.closeWriteChannel();
  ASSERT_TRUE(child.waitForFinished(10000));
  EXPECT_FALSE(ProcessExists(pid));
  EXPECT_FALSE(ProcessExists(0));
}

}  // namespace
}  // namespace mvk
