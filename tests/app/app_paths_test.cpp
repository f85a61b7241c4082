#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/app_paths.h"

namespace mvk {
namespace {

TEST(BuildAppPaths, EveryEntryBesideTheProgramInABuildTree) {
  const AppPaths paths = BuildAppPaths("/nonexistent/build/morvakin");
  EXPECT_EQ(paths.ModuleFile, "/nonexistent/build/morvakin");
  EXPECT_TRUE(paths.ProgramDrive.empty());
  EXPECT_EQ(paths.ExeName, "morvakin");

  const struct {
    const char* name;
    const std::filesystem::path& value;
    const char* expected;
  } rows[] = {
      {"ProgramFolder", paths.ProgramFolder, "/nonexistent/build/"},
      {"ResourceFolder", paths.ResourceFolder, "/nonexistent/build/"},
      {"HelpFolder", paths.HelpFolder, "/nonexistent/build/Help/"},
      {"MainIni", paths.MainIni, "/nonexistent/build/Skins/Main.ini"},
      {"SkinFolder", paths.SkinFolder, "/nonexistent/build/Skins/"},
      {"UserColourBase", paths.UserColourBase, "/nonexistent/build/Skins/UserDengColor_"},
      {"ProfileIni", paths.ProfileIni, "/nonexistent/build/Skins/Profile.ini"},
      {"ProfileIniFolder", paths.ProfileIniFolder, "/nonexistent/build/Skins/"},
      {"UpdateIni", paths.UpdateIni, "/nonexistent/build/Skins/UpdateDlg.ini"},
      {"UpdateIniFolder", paths.UpdateIniFolder, "/nonexistent/build/Skins/"},
      {"PackageFolder", paths.PackageFolder, "/nonexistent/build/Package"},
      {"CompositeIni", paths.CompositeIni, "/nonexistent/build/Skins/Composite.ini"},
      {"CompositeIniFolder", paths.CompositeIniFolder, "/nonexistent/build/Skins/"},
      {"DaemonExe", paths.DaemonExe, "/nonexistent/build/RoZuzuda"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.value.native(), row.expected) << row.name;
}

TEST(BuildAppPaths, InstalledProgramReadsItsDataFromShare) {
  QTemporaryDir dir;
  const std::filesystem::path prefix = dir.path().toStdString();
  std::filesystem::create_directories(prefix / "share/morvakin");
  const AppPaths paths = BuildAppPaths(prefix / "bin/morvakin");

  const std::string share = (prefix / "share/morvakin/").native();
  EXPECT_EQ(paths.ProgramFolder.native(), (prefix / "bin/").native());
  EXPECT_EQ(paths.ResourceFolder.native(), share);
  EXPECT_EQ(paths.MainIni.native(), share + "Skins/Main.ini");
  EXPECT_EQ(paths.PackageFolder.native(), share + "Package");
  // The companion is a program, so it stays beside this one.
  EXPECT_EQ(paths.DaemonExe.native(), (prefix / "bin/RoZuzuda").native());
}

}  // namespace
}  // namespace mvk
