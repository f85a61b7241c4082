#include "platform/ini_file.h"

#include <utility>

#include "platform/ini.h"

namespace mvk {
namespace {

constexpr size_t kStringCapacity = 2048;

}  // namespace

CIniFile::CIniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::optional<std::u16string> CIniFile::GetString(std::u16string_view section,
                                                  std::u16string_view key,
                                                  std::u16string_view fallback) const {
  std::u16string value = ReadIniString(path_, section, key, fallback, kStringCapacity);
  if (value.empty()) return std::nullopt;
  return value;
}

bool CIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) const {
  return WriteIniString(path_, section, key, value);
}

}  // namespace mvk
