// The program's per-user settings store, in place of its registry key: typed
// values (numbers like REG_DWORD, and texts) under a key path, kept in one
// file in the user's configuration folder. Every call reads or writes the
// file, so a value written by one part of the program (or by another copy)
// is seen at the next read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mvk {

class RegistryStore {
 public:
  // An empty path makes a store that reads nothing and writes nothing, like
  // a registry key that could be neither opened nor created.
  explicit RegistryStore(std::filesystem::path file);

  bool IsOpen() const;

  // Key paths: "" for the program's own key, "PROFILES" for the per-user
  // profile strings. Names and key paths match without regard to case.
  // GetNumber gives nullopt when the value is missing or is not a number;
  // GetText when it is missing or is not a text.
  std::optional<uint32_t> GetNumber(std::string_view keyPath, std::string_view name) const;
  std::optional<std::u16string> GetText(std::string_view keyPath, std::string_view name) const;
  bool SetNumber(std::string_view keyPath, std::string_view name, uint32_t value);
  bool SetText(std::string_view keyPath, std::string_view name, std::u16string_view value);
  bool DeleteValue(std::string_view keyPath, std::string_view name);

 private:
  std::filesystem::path file_;
};

}  // namespace mvk
