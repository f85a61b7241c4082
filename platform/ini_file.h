// One INI file of the program's own (skin and settings files), read and
// written one key at a time.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mvk {

class CIniFile {
 public:
  // The path is kept whole, however long: cutting it to a fixed buffer
  // would read or write another file.
  explicit CIniFile(std::filesystem::path path);

  const std::filesystem::path& Path() const { return path_; }

  // The value (or fallback) read with room for 2047 characters; none when
  // that is empty.
  std::optional<std::u16string> GetString(std::u16string_view section, std::u16string_view key,
                                          std::u16string_view fallback) const;
  bool WriteString(std::u16string_view section, std::u16string_view key,
                   std::u16string_view value) const;

 private:
  std::filesystem::path path_;
};

}  // namespace mvk
