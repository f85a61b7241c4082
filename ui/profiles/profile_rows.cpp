#include "ui/profiles/profile_rows.h"

#include <cstdio>

#include "platform/registry.h"

namespace mvk {

ProfileRow ProfileRowOf(const std::filesystem::path& file) {
  std::u16string folder = file.parent_path().u16string();
  if (folder.empty() || folder.back() != u'/') folder += u'/';
  return {file.stem().u16string(), folder};
}

std::u16string RecordedProfilePath(const ProfileRow& row) {
  return row.folder + row.name + std::u16string(kProfileFileExtension);
}

std::string ProfileValueName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "PROFILE%02d", number);
  return name;
}

void RecordProfileRows(RegistryStore& store, std::span<const ProfileRow> rows) {
  int number = 1;
  for (const ProfileRow& row : rows) {
    store.SetText(kProfileListKey, ProfileValueName(number++), RecordedProfilePath(row));
  }
  const std::string count = std::to_string(rows.size());
  store.SetText(kProfileListKey, ProfileValueName(0), std::u16string(count.begin(), count.end()));
}

int ProfileOfRow(int row) { return row >= 0 && row < kOnboardProfileCount ? row : -1; }

}  // namespace mvk
