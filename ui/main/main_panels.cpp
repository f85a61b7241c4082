#include "ui/main/main_panels.h"

#include <QDateTime>
#include <QMenu>

#include "app/program_services.h"
#include "ui/main/key_buttons.h"
#include "ui/main/lighting_controls.h"
#include "ui/main/main_window.h"
#include "ui/skin/png_button.h"

namespace mvk {

CMainPanels::CMainPanels(CMorvakinDlg& window, ProgramServices& services,
                         ModelPrompts& modelPrompts, FilePrompts& filePrompts,
                         ProfileManagerApi& profiles)
    : window_(window),
      services_(services),
      languageIndex_(services.LanguageIndex()),
      colours_(&window) {
  auto selectProfile = [&profiles](int profile) { return profiles.SelectProfile(profile); };
  lighting_ = std::make_unique<CLightingPanel>(
      window, LightingPanelContext{
                  .link = services.Link(),
                  .lighting = services.Lighting(),
                  .userModes = services.UserModes(),
                  .store = services.ModeStore(),
                  .keyboard = window.KeyView(),
                  .colours = colours_,
                  .skinFile = services.Paths().MainIni,
                  .text = Texts(),
                  .selectProfile = selectProfile,
                  .clockSeconds =
                      [] { return static_cast<uint32_t>(QDateTime::currentSecsSinceEpoch()); },
              });
  profiles_ = std::make_unique<CProfileControls>(
      window, ProfileControlsContext{
                  .window = window,
                  .button = [&window](int control) { return window.Control(control); },
                  .link = services.Link(),
                  .lighting = services.Lighting(),
                  .userModes = services.UserModes(),
                  .store = services.ModeStore(),
                  .config = services.Config(),
                  .folder = services.Folder(),
                  .keyboard = window.KeyView(),
                  .panel = *lighting_,
                  .modelPrompts = modelPrompts,
                  .filePrompts = filePrompts,
                  .skinFile = services.Paths().MainIni,
                  .programFolder = services.Paths().ResourceFolder,
                  .text = Texts(),
                  .defaultMatrix = [&services] { return services.DefaultMatrix(); },
                  .selectProfile = selectProfile,
                  .rebuildProfileMenu =
                      [&profiles](QMenu& menu) {
                        profiles.RebuildProfileMenu();
                        menu.addActions(profiles.ProfileMenu().actions());
                      },
              });
  FillHooks();
}

// The window may outlive the panels: it must not call into them then.
CMainPanels::~CMainPanels() { window_.Hooks() = {}; }

PanelText CMainPanels::Texts() {
  return [this](std::u16string_view section, std::string_view key) {
    const LanguageTexts& texts = services_.Texts();
    const std::u16string text = section == u"MODE"    ? texts.GetModeText(key, languageIndex_)
                                : section == u"LIGHT" ? texts.GetLightText(key, languageIndex_)
                                                      : texts.GetLangText(key, languageIndex_);
    return QString::fromStdU16String(text);
  };
}

void CMainPanels::FillHooks() {
  MainWindowHooks& hooks = window_.Hooks();
  hooks.refreshLightingPanel = [this] {
    lighting_->RefillUserModeList();
    lighting_->RefreshLightingPanel();
  };
  hooks.markReferenceColours = [this] {
    MarkKeys(services_.Lighting(), services_.UserModes());
  };
  hooks.keyColourMode = [this] { return lighting_->LightViewOn(); };
  hooks.keyColourClick = [this](int control) {
    const int led = LedIndexOfControl(control);
    if (led != kNoLedIndex) lighting_->OnKeyClicked(led);
  };
  hooks.sliderMoved = [this](int control, int position) {
    lighting_->OnSliderMessage(control, position);
  };
  hooks.languageChanged = [this](int languageIndex) {
    languageIndex_ = languageIndex;
    lighting_->ApplyTexts();
    profiles_->ApplyTexts();
    lighting_->RefreshLightingPanel();
  };
  hooks.switchProfile = [this](int profile) { profiles_->ShowProfile(profile); };
  hooks.synchroniseShownProfile = [this] { profiles_->SynchroniseShownProfile(); };
  hooks.applyChanges = [this] { profiles_->ApplyChanges(); };
}

}  // namespace mvk
