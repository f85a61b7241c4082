#include "storage/config_folder.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "storage/replace_file.h"

namespace mvk {
namespace {

constexpr const char* kUserModeFilePrefix = "UserDengColor_";
constexpr const char* kUserModeFileExtension = ".userd";
constexpr const char* kLightSettingsFileName = "devu.ini";
constexpr const char* kWorkingFileName = "$Profile0";

std::string UserModeFileName(int number) {
  return kUserModeFilePrefix + std::to_string(number) + kUserModeFileExtension;
}

}  // namespace

std::filesystem::path ConfigFolderIn(const std::filesystem::path& dataHome) {
  return dataHome / kConfigFolderName;
}

std::filesystem::path UserModeTemplatePath(const std::filesystem::path& userColourBase) {
  std::filesystem::path path = userColourBase;
  path += std::to_string(kTemplateUserModeNumber) + kUserModeFileExtension;
  return path;
}

std::filesystem::path UserModeFilePath(const ConfigFolder& folder, int profile) {
  return folder.folder / UserModeFileName(profile);
}

std::filesystem::path LightSettingsFilePath(const ConfigFolder& folder) {
  return folder.folder / kLightSettingsFileName;
}

bool CopyUserModeTemplate(const ConfigFolder& folder, int profile) {
  std::ifstream source(folder.userModeTemplate, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(source),
                                   std::istreambuf_iterator<char>()};
  return ReplaceFileContents(UserModeFilePath(folder, profile), bytes);
}

bool EnsureConfigFolder(const ConfigFolder& folder) {
  std::error_code error;
  if (std::filesystem::exists(folder.folder, error)) {
    return std::filesystem::is_directory(folder.folder, error);
  }
  std::filesystem::create_directories(folder.folder, error);
  if (error) {
    return false;
  }
  for (int profile = 0; profile < kUserModeFileCount; ++profile) {
    CopyUserModeTemplate(folder, profile);
  }
  return true;
}

std::filesystem::path WorkingFilePath(const ConfigFolder& folder) {
  EnsureConfigFolder(folder);
  return folder.folder / kWorkingFileName;
}

}  // namespace mvk
