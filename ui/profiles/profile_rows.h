// The rows of the profile manager's list and how Apply records them: each
// row names a configuration file by its name and its folder, and the list is
// kept as numbered "PROFILE" values in the settings store.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace mvk {

class RegistryStore;

inline constexpr int kOnboardProfileCount = 3;
inline constexpr std::string_view kProfileListKey = "PROFILES";
inline constexpr std::u16string_view kProfileFileExtension = u".mvk";

struct ProfileRow {
  // The file name without folder and extension.
  std::u16string name;
  // The file's folder, ending with a separator.
  std::u16string folder;

  bool operator==(const ProfileRow&) const = default;
};

ProfileRow ProfileRowOf(const std::filesystem::path& file);

// Folder + name + ".mvk", as the list is recorded.
std::u16string RecordedProfilePath(const ProfileRow& row);

// "PROFILE" followed by the number in two or more digits.
std::string ProfileValueName(int number);

// Writes row r under the number r + 1 and the row count under 0.
void RecordProfileRows(RegistryStore& store, std::span<const ProfileRow> rows);

// The keyboard profile a checked row stands for: rows 0 to 2 are the
// onboard profiles; any other row (a file added to the list) is none (-1).
int ProfileOfRow(int row);

}  // namespace mvk
