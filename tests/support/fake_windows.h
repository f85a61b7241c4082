// Stand-ins for the main window and the assignment dialog, for tests of the
// dialogs that call them: they record what they were asked.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "ui/main/window_apis.h"

namespace mvk::test {

class FakeMainWindow : public MainWindowApi {
 public:
  QWidget* Window() override { return nullptr; }
  void EnableApply(bool enable) override {
    applyPending = enable;
    applyStates.push_back(enable);
  }
  bool ApplyPending() const override { return applyPending; }
  void RefreshKeyButtons() override { ++keyButtonRefreshes; }
  int ShownProfile() const override { return shownProfile; }
  void ShowProfile(int profile) override { shownProfile = profile; }
  void SwitchToProfile(int profile) override { switches.push_back(profile); }
  void ApplyChanges() override {
    ++applies;
    if (onApply) onApply();
    applyPending = false;
  }
  void SetProfilesButton(const QString& text, const QString& tip) override {
    caption = text;
    tooltip = tip;
  }

  bool applyPending = false;
  std::vector<bool> applyStates;
  int keyButtonRefreshes = 0;
  int shownProfile = 0;
  std::vector<int> switches;
  int applies = 0;
  std::function<void()> onApply;
  QString caption;
  QString tooltip;
};

class FakeAssignmentDialog : public AssignmentDialogApi {
 public:
  void OpenForKey(int, QWidget*) override { open = true; }
  void OpenMacroOnly(int, QWidget*) override { open = true; }
  bool IsOpen() const override { return open; }
  void CloseIfOpen() override { open = false; }
  void ApplyLanguage(int) override {}

  bool open = false;
};

}  // namespace mvk::test
