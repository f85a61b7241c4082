// Installs the build into a temporary prefix and checks that the program
// would find everything it reads beside itself there.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

#include "app/app_paths.h"

namespace mvk {
namespace {

class InstalledLayoutTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new QTemporaryDir;
    QProcess install;
    install.start("cmake", {"--install", MORVAKIN_BUILD_DIR, "--prefix", prefix_->path()});
    ASSERT_TRUE(install.waitForFinished(120000)) << "cmake --install did not finish";
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }

  static std::filesystem::path Prefix() { return prefix_->path().toStdString(); }

  static QTemporaryDir* prefix_;
};

QTemporaryDir* InstalledLayoutTest::prefix_ = nullptr;

TEST_F(InstalledLayoutTest, ProgramFindsItsResourcesUnderShare) {
  const auto program = Prefix() / "bin/morvakin";
  const auto permissions = std::filesystem::status(program).permissions();
  ASSERT_NE(permissions & std::filesystem::perms::owner_exec, std::filesystem::perms::none);

  const AppPaths paths = BuildAppPaths(program);
  EXPECT_EQ(paths.ResourceFolder, Prefix() / "share/morvakin/");
  for (const auto& file : {paths.MainIni, paths.CompositeIni, paths.ProfileIni, paths.UpdateIni,
                           paths.HelpFolder / "index.html", paths.ResourceFolder / "Lang0409.ini"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
  }
}

TEST_F(InstalledLayoutTest, SystemFilesGoToTheirFolders) {
  for (const char* file : {"lib/udev/rules.d/70-morvakin.rules",
                           "share/applications/morvakin.desktop",
                           "share/icons/hicolor/scalable/apps/morvakin.svg"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(Prefix() / file)) << file;
  }
}

}  // namespace
}  // namespace mvk
