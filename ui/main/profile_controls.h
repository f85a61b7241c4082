// The main window's controls that act on whole profiles: the three profile
// buttons, the four report-rate buttons, Apply with its busy picture,
// Restore defaults, the import and export menu and the profile menu. The
// buttons are the window's own skinned ones; this gives them their commands.
#pragma once

#include <QObject>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <string_view>

#include "model/config_store.h"
#include "model/default_matrix.h"
#include "model/model_prompts.h"
#include "storage/config_folder.h"
#include "storage/file_prompts.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/window_apis.h"

class QMenu;

namespace mvk {

class CBusyIndicator;
class CPngButton;

namespace profile_control {
inline constexpr std::array<int, 3> kProfileButtons = {1135, 1136, 1137};
inline constexpr std::array<int, 4> kReportButtons = {1147, 1168, 1169, 1170};
inline constexpr int kReportLabel = 1204;
inline constexpr int kApply = 1006;
inline constexpr int kRestoreDefaults = 1138;
inline constexpr int kFileMenu = 1139;
inline constexpr int kProfileMenu = 1009;
}  // namespace profile_control

inline constexpr int kImportCommand = 32776;
inline constexpr int kExportCommand = 32777;
inline constexpr int kNoProfileCommand = 9000;
inline constexpr int kFirstProfileCommand = 9001;
inline constexpr int kLastProfileCommand = 9200;
inline constexpr std::string_view kRestoreDefaultsQuestion = "MAIN_PROMPT_DEFAULT";

struct ProfileControlsContext {
  // Keeps "apply pending" and redraws the key buttons.
  MainWindowApi& window;
  // The window's button of each control id above.
  std::function<CPngButton*(int id)> button;
  KeyboardLink& link;
  LightingConfig& lighting;
  UserModeState& userModes;
  const LightingModeStore& store;
  ConfigState& config;
  const ConfigFolder& folder;
  LightingKeyboardView& keyboard;
  CLightingPanel& panel;
  ModelPrompts& modelPrompts;
  FilePrompts& filePrompts;
  std::filesystem::path skinFile;
  std::filesystem::path programFolder;
  PanelText text;
  std::function<KeyMatrix()> defaultMatrix;
  // Makes a profile the keyboard's active one; false when refused.
  std::function<bool(int profile)> selectProfile;
  // Fills the profile menu of button 1009.
  std::function<void(QMenu& menu)> rebuildProfileMenu;
};

class CProfileControls : public QObject, public ConfigWindow {
  Q_OBJECT

 public:
  CProfileControls(QWidget& window, ProfileControlsContext context);
  ~CProfileControls() override;

  QWidget* Control(int id) const;
  CBusyIndicator& Busy() const { return *busy_; }
  void ApplyTexts();

  void ShowProfile(int profile);
  void SetReportRate(int code);
  void ApplyChanges();
  void RestoreDefaults();
  void SynchroniseShownProfile();
  // The file menu and profile menu commands.
  void RunCommand(int command);

  // The checked (lit) profile button, -1 when none is.
  int CheckedProfile() const;
  int CheckedReportRate() const;
  // Checks the profile button and shows the decoded report rate.
  void ShowProfileButton(int profile);
  void ShowReportRate();

  // ConfigWindow, for the import: the window's.
  void RefreshKeyButtons() override;
  void EnableApply(bool enable) override;
  bool ApplyPending() const;

 private:
  void BuildControls(QWidget& window);
  CPngButton* AdoptButton(int id);
  int SelectedOf(std::span<const int> ids) const;
  void ShowSelected(std::span<const int> ids, int index);
  void ShowFileMenu();
  void ShowProfileMenu();
  int ApplyProfile();
  void ResetLightingToDefaults();

  ProfileControlsContext context_;
  QWidget& window_;
  std::map<int, QWidget*> controls_;
  CBusyIndicator* busy_ = nullptr;
};

}  // namespace mvk
