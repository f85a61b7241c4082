// Where the program file is and where the files it reads beside it are.
// Computed once at start-up and read-only afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace mvk {

struct AppPaths {
  std::filesystem::path ModuleFile;
  // Linux paths have no drive; kept so that every place that joins a drive
  // and a folder reads the same as on other systems.
  std::filesystem::path ProgramDrive;
  // Folder of the program file, ending in "/". The companion program lives here.
  std::filesystem::path ProgramFolder;
  std::string ExeName;
  // Folder of the language file, skins, help and updater package, ending in
  // "/": the program folder in a build tree, ../share/morvakin/ beside the
  // program's folder when installed.
  std::filesystem::path ResourceFolder;
  std::filesystem::path HelpFolder;
  std::filesystem::path MainIni;
  std::filesystem::path SkinFolder;
  // A name prefix, not a file: the profile number and extension follow.
  std::filesystem::path UserColourBase;
  std::filesystem::path ProfileIni;
  std::filesystem::path ProfileIniFolder;
  std::filesystem::path UpdateIni;
  std::filesystem::path UpdateIniFolder;
  std::filesystem::path PackageFolder;
  std::filesystem::path CompositeIni;
  std::filesystem::path CompositeIniFolder;
  std::filesystem::path DaemonExe;
};

// Every entry from the full path of the program file.
AppPaths BuildAppPaths(const std::filesystem::path& moduleFile);

// The full path of the running program file (symbolic links resolved).
std::filesystem::path RunningProgramFile();

}  // namespace mvk
