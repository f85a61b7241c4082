// The configuration folder: the working configuration file, the user
// lighting mode files and the program's settings file live there. It is
// created and seeded the first time anything needs it.
#pragma once

#include <filesystem>

namespace mvk {

inline constexpr const char* kConfigFolderName = "Keldora Gaming Keyboard";
inline constexpr int kUserModeFileCount = 3;  // one per onboard profile
inline constexpr int kTemplateUserModeNumber = 3;

struct ConfigFolder {
  // The configuration folder itself.
  std::filesystem::path folder;
  // The user lighting mode template installed with the program.
  std::filesystem::path userModeTemplate;
};

// The folder inside the per-user data folder (see DataHome).
std::filesystem::path ConfigFolderIn(const std::filesystem::path& dataHome);

// The template beside the program: the user colour base (a name prefix)
// followed by the template's number and the extension.
std::filesystem::path UserModeTemplatePath(const std::filesystem::path& userColourBase);

// "UserDengColor_<profile>.userd" in the folder.
std::filesystem::path UserModeFilePath(const ConfigFolder& folder, int profile);
// The settings file of the lighting panel.
std::filesystem::path LightSettingsFilePath(const ConfigFolder& folder);

// Creates the folder when it does not exist and seeds it with a copy of the
// template for each profile (empty copies when the template is missing). An
// existing folder is left alone. False when the folder cannot be created.
bool EnsureConfigFolder(const ConfigFolder& folder);

// The working configuration file; ensures the folder first.
std::filesystem::path WorkingFilePath(const ConfigFolder& folder);

// Copies the template over a user mode file, replacing it only once the copy
// is complete; a missing template leaves the file empty. False when the file
// cannot be written.
bool CopyUserModeTemplate(const ConfigFolder& folder, int profile);

}  // namespace mvk
