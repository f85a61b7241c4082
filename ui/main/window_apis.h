// How the main window and its dialogs reach each other. The main window
// implements MainWindowApi; the assignment dialog, the profile manager and
// the firmware update dialog implement theirs. Each side is built and tested
// against these interfaces, with fakes standing in for the other side.
#pragma once

class QMenu;
class QString;
class QWidget;

namespace mvk {

class MainWindowApi {
 public:
  virtual ~MainWindowApi() = default;
  virtual QWidget* Window() = 0;
  // Enables or disables Apply; "apply pending" mirrors it.
  virtual void EnableApply(bool enable) = 0;
  virtual bool ApplyPending() const = 0;
  // Redraws every key button's assigned look and prompt from the working
  // configuration of the active profile.
  virtual void RefreshKeyButtons() = 0;
  // The profile whose lighting the window shows (0 to 2).
  virtual int ShownProfile() const = 0;
  // Makes `profile` the shown one and checks its profile button.
  virtual void ShowProfile(int profile) = 0;
  // Runs a profile switch as the profile buttons do: the question about
  // unapplied changes, the settings-block write, the reload of lighting.
  virtual void SwitchToProfile(int profile) = 0;
  // Runs the command of the Apply button to its end.
  virtual void ApplyChanges() = 0;
  // The caption and tooltip of the profiles button.
  virtual void SetProfilesButton(const QString& caption, const QString& tooltip) = 0;
};

class AssignmentDialogApi {
 public:
  virtual ~AssignmentDialogApi() = default;
  // Opens the dialog for a key or G key, placed beside its button.
  virtual void OpenForKey(int keyCode, QWidget* keyButton) = 0;
  // Opens on the macro page only, for G9 and the macro button.
  virtual void OpenMacroOnly(int keyCode, QWidget* keyButton) = 0;
  virtual bool IsOpen() const = 0;
  virtual void CloseIfOpen() = 0;
  virtual void ApplyLanguage(int languageIndex) = 0;
};

class ProfileManagerApi {
 public:
  virtual ~ProfileManagerApi() = default;
  virtual void Open() = 0;
  virtual bool IsOpen() const = 0;
  virtual void CloseIfOpen() = 0;
  // Makes `index` the keyboard's active profile (an index of 3 or more
  // means 0, a negative one selects none), after settling unapplied
  // changes; false when refused because the assignment dialog is open, or
  // when the keyboard did not take the new profile.
  // Profile menu command c calls it with c - 9001.
  virtual bool SelectProfile(int index) = 0;
  // The profile menu of button 1009: its items carry their command (9000
  // onward) as QAction data.
  virtual QMenu& ProfileMenu() = 0;
  // Refills the profile menu and the caption of the profiles button.
  virtual void RebuildProfileMenu() = 0;
};

class UpdateDialogApi {
 public:
  virtual ~UpdateDialogApi() = default;
  // Command 32780: the firmware update dialog, modal.
  virtual void RunModal() = 0;
};

}  // namespace mvk
