// The application object: start-up, the single-instance check, and the state
// that lives as long as the program (paths, settings store, configuration
// locks, the program-wide connection and window state).
#pragma once

#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

#include "app/app_paths.h"
#include "app/command_line.h"
#include "device/device_state.h"
#include "platform/instance_lock.h"
#include "platform/registry.h"

namespace mvk {

inline constexpr const char* kSettingsFolderName = "Keldora Gaming Keyboard";
inline constexpr const char* kSettingsFileName = "settings";
inline constexpr const char* kInstanceLockName = "RX73P28C";

class CMorvakinApp {
 public:
  // Runs the main window until it ends; gives the process exit code.
  using MainWindowRunner = std::function<int(CMorvakinApp&)>;

  // `arguments` include the program name first, as on the command line.
  CMorvakinApp(QStringList arguments, std::filesystem::path moduleFile,
               MainWindowRunner runMainWindow);
  CMorvakinApp(const CMorvakinApp&) = delete;
  CMorvakinApp& operator=(const CMorvakinApp&) = delete;

  // The whole start-up: paths, settings store, the single-instance check,
  // the companion program, then the main window. Returns the exit code; 0
  // also when this copy hands over to a running one and ends.
  int InitInstance();

  const AppPaths& Paths() const { return paths_; }
  RegistryStore& SettingsKey() { return settingsKey_; }
  DeviceStateRecord& DeviceState() { return deviceState_; }
  const SimulateChoice& Simulate() const { return simulate_; }

  // True while this copy holds the single-instance lock.
  bool OwnsInstanceLock() const;
  // Gives the single-instance lock up; part of the main window's shutdown.
  void CloseInstanceMutex();

  // The working configuration (key slots, macro list, host strings).
  std::recursive_mutex ConfigLock;
  // The apply snapshot. Taken after ConfigLock when both are needed.
  std::recursive_mutex MacroLock;

 private:
  enum class StartDecision { Run, Exit };
  StartDecision CheckSingleInstance(const CommandLine& commandLine);

  QStringList arguments_;
  std::filesystem::path moduleFile_;
  MainWindowRunner runMainWindow_;
  AppPaths paths_;
  RegistryStore settingsKey_{std::filesystem::path()};
  DeviceStateRecord deviceState_;
  SimulateChoice simulate_;
  std::unique_ptr<InstanceLock> instanceMutex_;
};

// The settings file: "settings" in the folder "Keldora Gaming Keyboard" of
// the user's configuration folder; empty when there is no such folder.
std::filesystem::path SettingsFilePath();

}  // namespace mvk
