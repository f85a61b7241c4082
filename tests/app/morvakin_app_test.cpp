#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <optional>

#include "app/morvakin_app.h"
#include "support/qt_application.h"
#include "support/temp_user_folders.h"

namespace mvk {
namespace {

// What the main window saw of the application while it ran.
struct WindowRun {
  uint32_t firstShowDone = 0;
  bool ownedLock = false;
  SimulateChoice simulate;
  std::filesystem::path resourceFolder;
};

class MorvakinAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::Application();
    std::filesystem::create_directories(ProgramFolder());
  }

  // A program file name that no running process has, so that no other copy
  // is ever found.
  std::filesystem::path ModuleFile() const {
    return ProgramFolder() / ("morvakin-apptest-" + std::to_string(getpid()));
  }
  std::filesystem::path ProgramFolder() const { return folders_.Root() / "bin"; }
  std::filesystem::path LockFile() const { return folders_.RuntimeFolder() / kInstanceLockName; }

  // Runs the start-up; the window run records what it saw and returns `code`.
  int Start(const QStringList& arguments, std::optional<WindowRun>& run, int code = 0) {
    CMorvakinApp app(QStringList{"morvakin"} + arguments, ModuleFile(),
                     [&](CMorvakinApp& self) {
                       run = WindowRun{self.DeviceState().FirstShowDone, self.OwnsInstanceLock(),
                                       self.Simulate(), self.Paths().ResourceFolder};
                       return code;
                     });
    return app.InitInstance();
  }

  test::TempUserFolders folders_;
};

TEST_F(MorvakinAppTest, StartRunsTheWindowAndReturnsItsExitCode) {
  const struct {
    QStringList arguments;
    uint32_t firstShowDone;
  } rows[] = {{{}, 0}, {{"/sTART"}, 1}, {{"x/Start", "/Starts"}, 0}};
  for (const auto& row : rows) {
    std::optional<WindowRun> run;
    EXPECT_EQ(Start(row.arguments, run, 7), 7);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->firstShowDone, row.firstShowDone) << row.arguments.join(' ').toStdString();
    EXPECT_TRUE(run->ownedLock);
    EXPECT_EQ(run->resourceFolder, ProgramFolder() / "");
    // The lock goes with the window, so the next start is not blocked.
    EXPECT_EQ(InstanceLock(LockFile()).state(), InstanceLock::State::Held);
  }
}

TEST_F(MorvakinAppTest, SimulateChoiceIsKept) {
  std::optional<WindowRun> run;
  Start({"--simulate=/tmp/keyboard.sim"}, run);
  ASSERT_TRUE(run.has_value());
  EXPECT_TRUE(run->simulate.enabled);
  EXPECT_EQ(run->simulate.memoryFile, "/tmp/keyboard.sim");
}

TEST_F(MorvakinAppTest, EndsWithoutAWindowWhenAnotherCopyRunsOrOnKill) {
  const struct {
    const char* name;
    QStringList arguments;
    bool lockHeldElsewhere;
  } rows[] = {
      {"kill without a running copy", {"/Kill"}, false},
      {"start then kill", {"/Start", "/kill"}, false},
      {"another copy holds the lock", {}, true},
      {"another copy holds the lock, hidden start", {"/Start"}, true},
  };
  for (const auto& row : rows) {
    std::optional<InstanceLock> other;
    if (row.lockHeldElsewhere) other.emplace(LockFile());
    std::optional<WindowRun> run;
    EXPECT_EQ(Start(row.arguments, run), 0) << row.name;
    EXPECT_FALSE(run.has_value()) << row.name;
  }
}

TEST_F(MorvakinAppTest, SettingsKeyLivesInTheUsersConfigurationFolder) {
  CMorvakinApp app({"morvakin"}, ModuleFile(), [](CMorvakinApp& self) {
    return self.SettingsKey().SetNumber("", "LANGUAGE", 0x0409) ? 0 : 1;
  });
  EXPECT_EQ(app.InitInstance(), 0);
  const RegistryStore written(folders_.ConfigHome() / "Keldora Gaming Keyboard" / "settings");
  EXPECT_EQ(written.GetNumber("", "LANGUAGE"), 0x0409u);
}

TEST_F(MorvakinAppTest, StartsTheCompanionWhenItIsThere) {
  const auto companion = ProgramFolder() / "RoZuzuda";
  const auto marker = folders_.Root() / "companion-ran";
  std::ofstream(companion) << "#!/bin/sh\necho ran >> '" << marker.native() << "'\n";
  std::filesystem::permissions(companion, std::filesystem::perms::owner_all);

  std::optional<WindowRun> run;
  EXPECT_EQ(Start({}, run), 0);
  EXPECT_TRUE(run.has_value());
  EXPECT_TRUE(test::WaitUntil([&] { return std::filesystem::exists(marker); }));
}

}  // namespace
}  // namespace mvk
