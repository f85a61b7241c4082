#include "app/app_paths.h"

#include <QCoreApplication>
#include <QFile>

#include <system_error>

namespace mvk {
namespace {

constexpr const char* kInstalledResources = "../share/morvakin/";
constexpr const char* kCompanionProgram = "RoZuzuda";

// Folders keep their trailing "/" so that names can be appended as text too.
std::filesystem::path AsFolder(std::filesystem::path folder) {
  folder = folder.lexically_normal();
  if (!folder.empty() && folder.native().back() != '/') folder += "/";
  return folder;
}

std::filesystem::path ResourceFolderFor(const std::filesystem::path& programFolder) {
  const auto installed = AsFolder(programFolder / kInstalledResources);
  std::error_code error;
  return std::filesystem::is_directory(installed, error) ? installed : programFolder;
}

}  // namespace

AppPaths BuildAppPaths(const std::filesystem::path& moduleFile) {
  AppPaths paths;
  paths.ModuleFile = moduleFile;
  paths.ProgramFolder = AsFolder(moduleFile.parent_path());
  paths.ExeName = moduleFile.filename().native();
  paths.ResourceFolder = ResourceFolderFor(paths.ProgramFolder);

  const auto& data = paths.ResourceFolder;
  paths.HelpFolder = data / "Help/";
  paths.MainIni = data / "Skins/Main.ini";
  paths.SkinFolder = AsFolder(paths.MainIni.parent_path());
  paths.UserColourBase = data / "Skins/UserDengColor_";
  paths.ProfileIni = data / "Skins/Profile.ini";
  paths.ProfileIniFolder = AsFolder(paths.ProfileIni.parent_path());
  paths.UpdateIni = data / "Skins/UpdateDlg.ini";
  paths.UpdateIniFolder = AsFolder(paths.UpdateIni.parent_path());
  paths.PackageFolder = data / "Package";
  paths.CompositeIni = data / "Skins/Composite.ini";
  paths.CompositeIniFolder = AsFolder(paths.CompositeIni.parent_path());
  paths.DaemonExe = paths.ProgramFolder / kCompanionProgram;
  return paths;
}

std::filesystem::path RunningProgramFile() {
  if (QCoreApplication::instance() != nullptr) {
    return QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
  }
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace mvk
