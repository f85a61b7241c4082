#include "app/morvakin_app.h"

#include "app/instance_request.h"
#include "platform/process_list.h"
#include "platform/shell.h"
#include "platform/user_folders.h"

namespace mvk {

std::filesystem::path SettingsFilePath() {
  const auto home = ConfigHome();
  if (home.empty()) return {};
  return home / kSettingsFolderName / kSettingsFileName;
}

CMorvakinApp::CMorvakinApp(QStringList arguments, std::filesystem::path moduleFile,
                           MainWindowRunner runMainWindow)
    : arguments_(std::move(arguments)),
      moduleFile_(std::move(moduleFile)),
      runMainWindow_(std::move(runMainWindow)) {}

int CMorvakinApp::InitInstance() {
  paths_ = BuildAppPaths(moduleFile_);
  settingsKey_ = RegistryStore(SettingsFilePath());
  const CommandLine commandLine = ParseCommandLine(arguments_.mid(1));
  simulate_ = commandLine.simulate;
  if (CheckSingleInstance(commandLine) == StartDecision::Exit) return 0;

  // The companion is optional: a missing one is no reason not to start.
  StartProgram(paths_.DaemonExe);
  const int exitCode = runMainWindow_(*this);
  CloseInstanceMutex();
  return exitCode;
}

// Only one copy runs per user. "/Kill" and a start while another copy holds
// the lock both end this copy, whether or not the other copy could be
// reached: the lock cannot outlive its holder, so a held lock means a copy
// runs, and "/Kill" never means "start".
CMorvakinApp::StartDecision CMorvakinApp::CheckSingleInstance(const CommandLine& commandLine) {
  deviceState_.FirstShowDone = commandLine.startHidden ? 1 : 0;
  if (commandLine.kill) {
    if (const uint32_t pid = FindProgramInstance(paths_.ExeName)) {
      SendInstanceRequest(pid, InstanceRequest::Quit);
    }
    return StartDecision::Exit;
  }

  const auto folder = RuntimeFolder();
  instanceMutex_ = std::make_unique<InstanceLock>(
      folder.empty() ? folder : folder / kInstanceLockName);
  if (instanceMutex_->state() == InstanceLock::State::HeldElsewhere) {
    if (const uint32_t pid = FindProgramInstance(paths_.ExeName)) {
      SendInstanceRequest(pid, InstanceRequest::Open);
    }
    return StartDecision::Exit;
  }
  return StartDecision::Run;
}

bool CMorvakinApp::OwnsInstanceLock() const {
  return instanceMutex_ != nullptr && instanceMutex_->state() == InstanceLock::State::Held;
}

void CMorvakinApp::CloseInstanceMutex() { instanceMutex_.reset(); }

}  // namespace mvk
