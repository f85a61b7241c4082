#include "platform/process_list.h"

#include <signal.h>
#include <unistd.h>

#include <QString>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace mvk {
namespace {

// The kernel keeps at most this many bytes of a program name in "comm".
constexpr std::size_t kCommLength = 15;
constexpr std::string_view kDeletedSuffix = " (deleted)";

std::optional<uint32_t> ParseNumber(std::string_view text) {
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::vector<uint32_t> ProcessIds(const std::filesystem::path& procFolder) {
  std::vector<uint32_t> pids;
  std::error_code error;
  for (std::filesystem::directory_iterator it(procFolder, error), end; !error && it != end;
       it.increment(error)) {
    if (auto pid = ParseNumber(it->path().filename().native())) pids.push_back(*pid);
  }
  std::sort(pids.begin(), pids.end());
  return pids;
}

std::string ReadFirstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The real user id from the "Uid:" line of the status file.
std::optional<uint32_t> ProcessUser(const std::filesystem::path& processFolder) {
  std::ifstream in(processFolder / "status");
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with("Uid:")) continue;
    std::istringstream fields(line.substr(4));
    std::string realUid;
    fields >> realUid;
    return ParseNumber(realUid);
  }
  return std::nullopt;
}

std::string ExecutableName(const std::filesystem::path& processFolder) {
  std::error_code error;
  std::string target = std::filesystem::read_symlink(processFolder / "exe", error).native();
  if (error) return {};
  if (target.ends_with(kDeletedSuffix)) target.resize(target.size() - kDeletedSuffix.size());
  return std::filesystem::path(target).filename().native();
}

bool SameImageName(std::string_view a, std::string_view b) {
  return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
             .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                      Qt::CaseInsensitive) == 0;
}

bool HasImageName(const std::filesystem::path& processFolder, std::string_view imageName) {
  // "comm" is cut to 15 bytes: a name of that length may be the head of a
  // longer one, so only the program file can confirm it.
  const std::string comm = ReadFirstLine(processFolder / "comm");
  if (comm.size() < kCommLength && SameImageName(comm, imageName)) return true;
  return SameImageName(ExecutableName(processFolder), imageName);
}

}  // namespace

uint32_t FindProgramInstanceIn(const std::filesystem::path& procFolder,
                               std::string_view imageName, uint32_t selfPid,
                               uint32_t userId) {
  if (imageName.empty()) return 0;
  for (uint32_t pid : ProcessIds(procFolder)) {
    if (pid == selfPid) continue;
    const auto processFolder = procFolder / std::to_string(pid);
    if (ProcessUser(processFolder) != userId) continue;
    if (HasImageName(processFolder, imageName)) return pid;
  }
  return 0;
}

uint32_t FindProgramInstance(std::string_view imageName) {
  return FindProgramInstanceIn("/proc", imageName, static_cast<uint32_t>(getpid()),
                               static_cast<uint32_t>(getuid()));
}

bool ProcessExists(uint32_t pid) {
  return pid != 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace mvk
