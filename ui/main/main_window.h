// The program's main window: created hidden with no taskbar entry, found by
// other copies through the request channel it owns, shown when the keyboard
// is first found, and the home of the tray icon, the window messages and
// timers, the keyboard view and the shutdown.
#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/instance_request.h"
#include "platform/named_events.h"
#include "storage/file_prompts.h"
#include "ui/main/keyboard_view.h"
#include "ui/main/window_apis.h"
#include "ui/main/window_side_qt.h"
#include "ui/skin/base_dialog.h"

namespace mvk {

class CAboutDlg;
class CPngButton;
class CTrayIcon;
class ProgramServices;
class Prompts;

// Gives the text of a language key (section "TEXT").
using LanguageText = std::function<QString(std::string_view key)>;

// The dialogs the window opens; null until they exist.
struct MainWindowDialogs {
  AssignmentDialogApi* assignment = nullptr;
  ProfileManagerApi* profiles = nullptr;
  UpdateDialogApi* update = nullptr;
};

// What the lighting and profile panels add to the window.
struct MainWindowHooks {
  std::function<void()> refreshLightingPanel;
  std::function<void()> markReferenceColours;  // after a reload, in the user lighting mode
  // Whether the panel's per-key colour mode takes key clicks, and the click.
  std::function<bool()> keyColourMode;
  std::function<void(int control)> keyColourClick;
  std::function<void(int control, int position)> sliderMoved;  // message 0x28D1
  std::function<void(int languageIndex)> languageChanged;      // the panel's labels
  // A profile switch as the profile buttons run it; without it the window
  // only shows the profile.
  std::function<void(int profile)> switchProfile;
  // The shown profile brought in line with the keyboard after its reset;
  // without it the keyboard's active profile is shown.
  std::function<void()> synchroniseShownProfile;
  std::function<void()> applyChanges;  // the Apply button's command
};

// A device thread the window starts at initialisation and joins at shutdown.
struct DeviceThread {
  std::function<void(WindowSide&)> start;
  std::function<void()> stop;  // returns once the thread has ended
};

struct MainWindowOptions {
  std::string namedEventPrefix{kNamedEventPrefix};
  // Opens help pages and web links; QDesktopServices when empty.
  std::function<bool(const QUrl&)> openUrl;
  // Texts by key; the language file when empty.
  LanguageText languageText;
};

class CMorvakinDlg : public CBaseDialog, public MainWindowApi, public ConfigWindow {
  Q_OBJECT

 public:
  // Name of the property that carries the window marker.
  static constexpr const char* kMarkerProperty = "morvakinMarker";

  CMorvakinDlg(ProgramServices& services, Prompts& prompts, MainWindowOptions options = {},
               QWidget* parent = nullptr);
  ~CMorvakinDlg() override;

  void SetDialogs(const MainWindowDialogs& dialogs) { dialogs_ = dialogs; }
  MainWindowHooks& Hooks() { return hooks_; }
  // What the device threads are given to reach the window.
  WindowSide& Side() { return windowSide_; }
  // Started in this order at initialisation, stopped in reverse at shutdown.
  void SetDeviceThreads(std::vector<DeviceThread> threads) { threads_ = std::move(threads); }

  // Initialises (when nobody has), runs the window's loop until Shutdown;
  // returns the exit code.
  int RunModal();

  bool IsListeningForRequests() const { return requestServer_.IsListening(); }
  bool KeyboardConnected() const;
  bool Initialised() const { return initialised_; }

  // Window messages: the message number, its tag and argument. A message
  // whose tag is not its own is ignored; false when nothing was done.
  bool HandleMessage(uint32_t message, uint32_t tag, intptr_t argument);
  // Window commands (menus, buttons); false for an id nobody handles.
  bool OnCommand(int command);
  // Window timers: an interval of 0 fires once, at the next turn of the loop.
  void StartWindowTimer(int timerId, int intervalMs);
  void KillWindowTimer(int timerId);
  bool TimerActive(int timerId) const;
  void OnTimer(int timerId);

  // Comes forward when the keyboard is connected; else says that it is not.
  void OpenWindow();
  // Hides the window, stops and joins the device threads, closes what is
  // open over it, gives up the named objects, the tray icon and the
  // configuration, closes the keyboard and ends RunModal.
  void Shutdown();
  void SetTrayIcon(int mode, int iconId);
  void ShowLanguageMessage(std::string_view key);

  // MainWindowApi and ConfigWindow.
  QWidget* Window() override { return this; }
  void EnableApply(bool enable) override;
  bool ApplyPending() const override { return applyPending_; }
  void RefreshKeyButtons() override;
  int ShownProfile() const override;
  void ShowProfile(int profile) override;
  void SwitchToProfile(int profile) override;
  void ApplyChanges() override;
  void SetProfilesButton(const QString& caption, const QString& tooltip) override;

  // The keyboard view.
  void OnKeyButton(int control);
  void RebuildKeyPrompts();
  void ClearKeyButton(int keyIndex);
  void RedrawSwitchMarks();
  bool SwitchMode() const;
  void SetSwitchMode(bool on);
  KeyboardView& KeyView() { return *keyView_; }
  // The profile whose key map the key buttons show and edit.
  int KeyProfile() const;

  // Controls by id, or nullptr.
  CPngButton* Control(int control) const;
  CTrayIcon& TrayIcon() { return *tray_; }
  CAboutDlg* AboutBox() const;
  int OpenNamedEvents() const { return namedEvents_.OpenCount(); }

 protected:
  void OnInitDialog() override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  // Initialisation steps.
  void StartDeviceThreads();
  void StopDeviceThreads();
  bool LoadWindowPictures();
  void PlaceControls();
  void PlaceArrows();
  void AddTrayIcon();

  // Messages, each with its tag check.
  void OnKillMessage(uint32_t tag);
  void OnOpenMessage(uint32_t tag);
  void OnInitMessage(uint32_t tag);
  void OnProfilesMessage(uint32_t tag);
  void OnLanguageMessage(uint32_t tag, int languageIndex);
  void OnDetachMessage(uint32_t tag);
  void OnSliderMessage(int control, int position);

  void ReloadOnAttach();
  void ResetAfterKeyboardReset();
  void RefreshLighting();
  void ShowAboutBox();
  void OpenLink(const QUrl& url);
  void MinimiseWindow();
  void ShowSwitchCaption(bool on);
  void OnControlClicked(int control);
  void OnInstanceRequest(InstanceRequest request);

  QString Text(std::string_view key) const;

  ProgramServices& services_;
  Prompts& prompts_;
  MainWindowOptions options_;
  MainWindowDialogs dialogs_;
  MainWindowHooks hooks_;
  std::vector<DeviceThread> threads_;
  bool threadsRunning_ = false;

  InstanceRequestServer requestServer_;
  QtWindowSide windowSide_{*this};
  KeyboardView* keyView_ = nullptr;
  std::map<int, CPngButton*> controls_;
  std::vector<CPngButton*> pictureButtons_;
  std::array<CPngButton*, 2> arrows_{};
  std::unique_ptr<CTrayIcon> tray_;
  QPointer<CAboutDlg> aboutBox_;
  NamedEventSet namedEvents_;
  std::map<int, QTimer*> timers_;
  KeyViewPictures pictures_;
  QImage arrowPicture_;
  QUrl webLink_;

  bool applyPending_ = false;
  bool initialised_ = false;
  bool shutDown_ = false;
};

}  // namespace mvk
