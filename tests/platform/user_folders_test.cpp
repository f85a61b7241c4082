#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "platform/user_folders.h"
#include "support/scoped_environment.h"

namespace mvk {
namespace {

TEST(UserFolders, EnvironmentFirstThenHome) {
  const struct {
    const char* name;
    const char* xdgConfig;  // nullptr: unset
    const char* xdgData;
    const char* expectedConfig;
    const char* expectedData;
  } rows[] = {
      {"both set", "/x/config", "/x/data", "/x/config", "/x/data"},
      {"unset", nullptr, nullptr, "/home/u/.config", "/home/u/.local/share"},
      {"empty", "", "", "/home/u/.config", "/home/u/.local/share"},
      {"relative values are ignored", "rel/config", "rel/data", "/home/u/.config",
       "/home/u/.local/share"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    test::ScopedEnvironment environment;
    environment.Set("HOME", "/home/u");
    for (auto [variable, value] : {std::pair{"XDG_CONFIG_HOME", row.xdgConfig},
                                   std::pair{"XDG_DATA_HOME", row.xdgData}}) {
      if (value) {
        environment.Set(variable, value);
      } else {
        environment.Unset(variable);
      }
    }
    EXPECT_EQ(ConfigHome(), std::filesystem::path(row.expectedConfig));
    EXPECT_EQ(DataHome(), std::filesystem::path(row.expectedData));
  }
}

TEST(UserFolders, RuntimeFolderFromEnvironment) {
  test::ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", "/run/user/1234");
  EXPECT_EQ(RuntimeFolder(), std::filesystem::path("/run/user/1234"));
}

TEST(UserFolders, RuntimeFolderFallbackIsPrivateToTheUser) {
  test::ScopedEnvironment environment;
  environment.Unset("XDG_RUNTIME_DIR");
  const auto folder = RuntimeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.parent_path(), std::filesystem::path("/tmp"));

  // Rights loosened by someone are tightened again on the next call.
  ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
  EXPECT_EQ(RuntimeFolder(), folder);
  struct stat info {};
  ASSERT_EQ(lstat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(info.st_uid, getuid());
}

}  // namespace
}  // namespace mvk
