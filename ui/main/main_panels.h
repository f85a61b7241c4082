// The lighting panel and the profile controls, built over the main window's
// services and buttons and wired into the window's hooks, so that the
// window's messages, timers and key clicks reach them.
#pragma once

#include <memory>

#include "ui/main/colour_picker.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/profile_controls.h"

namespace mvk {

class CMorvakinDlg;
class FilePrompts;
class ModelPrompts;
class ProfileManagerApi;
class ProgramServices;

class CMainPanels {
 public:
  CMainPanels(CMorvakinDlg& window, ProgramServices& services, ModelPrompts& modelPrompts,
              FilePrompts& filePrompts, ProfileManagerApi& profiles);
  ~CMainPanels();
  CMainPanels(const CMainPanels&) = delete;
  CMainPanels& operator=(const CMainPanels&) = delete;

  CLightingPanel& Lighting() { return *lighting_; }
  CProfileControls& Profiles() { return *profiles_; }

 private:
  PanelText Texts();
  void FillHooks();

  CMorvakinDlg& window_;
  ProgramServices& services_;
  int languageIndex_;
  QtColourPicker colours_;
  std::unique_ptr<CLightingPanel> lighting_;
  std::unique_ptr<CProfileControls> profiles_;
};

}  // namespace mvk
