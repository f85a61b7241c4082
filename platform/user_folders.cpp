#include "platform/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace mvk {
namespace {

// Relative values are ignored, as the base-directory conventions require.
std::filesystem::path AbsoluteFromEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || value[0] != '/') return {};
  return value;
}

std::filesystem::path HomeFolder() {
  if (auto home = AbsoluteFromEnvironment("HOME"); !home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return {};
}

std::filesystem::path FromEnvironmentOrHome(const char* variable, const char* belowHome) {
  if (auto folder = AbsoluteFromEnvironment(variable); !folder.empty()) return folder;
  const auto home = HomeFolder();
  return home.empty() ? home : home / belowHome;
}

// The folder must be a real folder (not a link), ours, and closed to others;
// a folder of ours with looser rights is tightened.
bool IsPrivateFolder(const std::filesystem::path& folder) {
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode) || info.st_uid != getuid()) return false;
  if ((info.st_mode & 0077) == 0) return true;
  return chmod(folder.c_str(), 0700) == 0;
}

}  // namespace

std::filesystem::path ConfigHome() { return FromEnvironmentOrHome("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path DataHome() { return FromEnvironmentOrHome("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path RuntimeFolder() {
  if (auto folder = AbsoluteFromEnvironment("XDG_RUNTIME_DIR"); !folder.empty()) return folder;
  const std::filesystem::path folder = "/tmp/morvakin-runtime-" + std::to_string(getuid());
  // mkdir fails harmlessly when the folder exists; the check below decides.
  mkdir(folder.c_str(), 0700);
  return IsPrivateFolder(folder) ? folder : std::filesystem::path();
}

}  // namespace mvk
