// The main window's messages and timers, and the reload on attach.
#include <array>
#include <mutex>
#include <vector>

#include "app/program_services.h"
#include "model/key_map.h"
#include "model/settings_block.h"
#include "storage/keyboard_reload.h"
#include "storage/user_modes.h"
#include "ui/main/about_box.h"
#include "ui/main/key_buttons.h"
#include "ui/main/main_controls.h"
#include "ui/main/main_window.h"
#include "ui/main/window_messages.h"
#include "ui/skin/png_button.h"

namespace mvk {
namespace {

struct ButtonText {
  int control;
  std::string_view key;
};

constexpr std::array<ButtonText, 8> kButtonTexts = {{
    {1135, "PROFILE_1"},
    {1136, "PROFILE_2"},
    {1137, "PROFILE_3"},
    {kMacroButtonControl, "PROFILE_MACRO"},
    {kControlDefault, "PROFILE_DEFAULT"},
    {kControlOk, "PROFILE_OK"},
    {kControlCancel, "PROFILE_CANCLE"},
    {kControlApply, "PROFILE_APPLY"},
}};

struct ButtonTooltip {
  int control;
  std::string_view key;
};

constexpr std::array<ButtonTooltip, 4> kButtonTooltips = {{
    {kCommandHelp, "MAIN_HELP_PROMPT"},
    {kCommandClose, "MAIN_CLOSE_PROMPT"},
    {kCommandMinimize, "MAIN_MINIMIZE_PROMPT"},
    {1139, "MAIN_MENU_PROMPT"},
}};

}  // namespace

bool CMorvakinDlg::HandleMessage(uint32_t message, uint32_t tag, intptr_t argument) {
  // Requests still queued when the window ended find nothing to act on.
  if (shutDown_) return false;
  switch (message) {
    case kKillMessage:
      if (tag != kKillTag) return false;
      OnKillMessage(tag);
      return true;
    case kOpenMessage:
      if (tag != kOpenTag) return false;
      OnOpenMessage(tag);
      return true;
    case kInitMessage:
      if (tag != kInitTag) return false;
      OnInitMessage(tag);
      return true;
    case kProfilesMessage:
      if (tag != kProfilesTag) return false;
      OnProfilesMessage(tag);
      return true;
    case kLanguageMessage:
      if (tag != kLanguageTag) return false;
      OnLanguageMessage(tag, static_cast<int>(argument));
      return true;
    case kDetachMessage:
      if (tag != kDetachTag) return false;
      OnDetachMessage(tag);
      return true;
    case kSliderMessage:
      OnSliderMessage(static_cast<int>(tag), static_cast<int>(argument));
      return true;
    default:
      return false;
  }
}

void CMorvakinDlg::OnKillMessage(uint32_t) { Shutdown(); }

void CMorvakinDlg::OnOpenMessage(uint32_t) { OpenWindow(); }

void CMorvakinDlg::OnInitMessage(uint32_t) {
  initialised_ = true;
  // An open request may have come first, when the keyboard was found at once.
  if (windowFlags().testFlag(Qt::Tool)) hide();
}

void CMorvakinDlg::OnProfilesMessage(uint32_t) { ReloadOnAttach(); }

void CMorvakinDlg::OnLanguageMessage(uint32_t, int languageIndex) {
  if (aboutBox_) aboutBox_->ApplyLanguage();
  if (dialogs_.assignment) dialogs_.assignment->ApplyLanguage(languageIndex);
  for (const ButtonTooltip& tip : kButtonTooltips) {
    if (CPngButton* button = Control(tip.control)) button->SetTooltip(Text(tip.key), true);
  }
  for (const ButtonText& label : kButtonTexts) {
    if (CPngButton* button = Control(label.control)) {
      button->setText(Text(label.key));
      button->SetText(true, 9, QStringLiteral("Arial Unicode MS"), kLanguageTextColours);
    }
  }
  SetSwitchMode(SwitchMode());
  if (hooks_.languageChanged) hooks_.languageChanged(languageIndex);
}

void CMorvakinDlg::OnDetachMessage(uint32_t) {
  if (aboutBox_) aboutBox_->close();
  if (dialogs_.assignment) dialogs_.assignment->CloseIfOpen();
  if (dialogs_.profiles) dialogs_.profiles->CloseIfOpen();
  activateWindow();
}

void CMorvakinDlg::OnSliderMessage(int control, int position) {
  if (hooks_.sliderMoved) hooks_.sliderMoved(control, position);
}

void CMorvakinDlg::ReloadOnAttach() {
  const KeyMatrix defaults = services_.DefaultMatrix();
  KeyboardSource source{services_.Link(), defaults, services_.Text("MACRO_NEW_PREFIX")};
  ReloadFromKeyboard(services_.Config(), services_.Folder(), source, *this);
  EnableApply(false);
  const int active = GetActiveProfile(services_.Link());
  ShowProfile(active < 0 ? 0 : active);
  RefreshKeyButtons();
  ReadLighting(services_.Link(), services_.Lighting(), LightingReadVariant::Reload,
               UserModeReadHooks(services_.ModeStore(), services_.Link(), services_.Lighting(),
                                 services_.UserModes()));
  if (hooks_.refreshLightingPanel) hooks_.refreshLightingPanel();
  if (HasUserLightingMode(services_.Lighting().settings) && hooks_.markReferenceColours) {
    hooks_.markReferenceColours();
  }
}

void CMorvakinDlg::StartWindowTimer(int timerId, int intervalMs) {
  const auto found = timers_.find(timerId);
  if (found == timers_.end()) return;
  found->second->start(intervalMs);
}

void CMorvakinDlg::KillWindowTimer(int timerId) {
  if (const auto found = timers_.find(timerId); found != timers_.end()) found->second->stop();
}

bool CMorvakinDlg::TimerActive(int timerId) const {
  const auto found = timers_.find(timerId);
  return found != timers_.end() && found->second->isActive();
}

void CMorvakinDlg::OnTimer(int timerId) {
  if (shutDown_) return;
  switch (timerId) {
    case kTimerLightingChanged:
      KillWindowTimer(timerId);
      RefreshLighting();
      break;
    case kTimerKeyboardReset:
      KillWindowTimer(timerId);
      ResetAfterKeyboardReset();
      break;
    default:
      break;
  }
}

void CMorvakinDlg::RefreshLighting() {
  ReadLighting(services_.Link(), services_.Lighting(), LightingReadVariant::Refresh,
               UserModeReadHooks(services_.ModeStore(), services_.Link(), services_.Lighting(),
                                 services_.UserModes()));
  if (hooks_.refreshLightingPanel) hooks_.refreshLightingPanel();
}

void CMorvakinDlg::ResetAfterKeyboardReset() {
  ResetOnboardProfiles(services_.Config(), keyView_->ButtonKeys());
  EnableApply(true);
  if (hooks_.synchroniseShownProfile) {
    hooks_.synchroniseShownProfile();
  } else {
    ForgetActiveProfile(services_.Link());
    ShowProfile(GetActiveProfile(services_.Link()));
  }
  RefreshLighting();
  SwitchToProfile(0);
}

}  // namespace mvk
