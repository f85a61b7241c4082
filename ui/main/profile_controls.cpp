#include "ui/main/profile_controls.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <mutex>

#include "model/apply.h"
#include "model/settings_block.h"
#include "storage/config_file.h"
#include "storage/config_transfer.h"
#include "ui/main/busy_indicator.h"
#include "ui/skin/placement.h"
#include "ui/skin/png_button.h"

namespace mvk {
namespace {

namespace id = profile_control;

constexpr std::u16string_view kSection = u"BUTTONINFO";
// The report-rate buttons' pictures show bars; their tooltips name the rate.
constexpr std::array<const char*, 4> kReportTooltips = {"1000 Hz", "500 Hz", "250 Hz", "125 Hz"};

// The default record as it will read back: bytes 0 to 34 written, the rest
// kept.
LightingRecord DefaultRecordOver(LightingRecord record) {
  std::fill(record.begin(), record.begin() + 35, uint8_t{0});
  record[lighting_field::kEffect] = 1;
  record[lighting_field::kBrightness] = 5;
  record[lighting_field::kSpeed] = 2;
  record[lighting_field::kColourMode] = 255;
  for (std::size_t i = 0; i < 3; ++i) record[lighting_field::kEffectColour + i] = 255;
  return record;
}

int ValidProfile(int profile) { return profile >= 0 && profile < kProfileCount ? profile : 0; }

}  // namespace

CProfileControls::CProfileControls(QWidget& window, ProfileControlsContext context)
    : QObject(&window), context_(std::move(context)), window_(window) {
  BuildControls(window);
  ApplyTexts();
  connect(&context_.panel, &CLightingPanel::Refreshed, this, &CProfileControls::ShowReportRate);
}

CProfileControls::~CProfileControls() = default;

QWidget* CProfileControls::Control(int controlId) const {
  const auto found = controls_.find(controlId);
  return found == controls_.end() ? nullptr : found->second;
}

CPngButton* CProfileControls::AdoptButton(int controlId) {
  CPngButton* button = context_.button(controlId);
  controls_[controlId] = button;
  return button;
}

void CProfileControls::BuildControls(QWidget& window) {
  for (int profile = 0; profile < kProfileCount; ++profile) {
    connect(AdoptButton(id::kProfileButtons[profile]), &QAbstractButton::clicked, this,
            [this, profile] { ShowProfile(profile); });
  }
  for (int code = 0; code < static_cast<int>(id::kReportButtons.size()); ++code) {
    CPngButton* button = AdoptButton(id::kReportButtons[code]);
    button->SetTooltip(QString::fromLatin1(kReportTooltips[code]), true);
    connect(button, &QAbstractButton::clicked, this, [this, code] { SetReportRate(code); });
  }
  auto* label = new QLabel(&window);
  label->setStyleSheet(QStringLiteral("color: white;"));
  PlaceControl(*label, context_.skinFile, kSection, u"CONTROL_UsbStatic");
  controls_[id::kReportLabel] = label;

  connect(AdoptButton(id::kApply), &QAbstractButton::clicked, this,
          &CProfileControls::ApplyChanges);
  connect(AdoptButton(id::kRestoreDefaults), &QAbstractButton::clicked, this,
          &CProfileControls::RestoreDefaults);
  connect(AdoptButton(id::kFileMenu), &QAbstractButton::clicked, this,
          &CProfileControls::ShowFileMenu);
  connect(AdoptButton(id::kProfileMenu), &QAbstractButton::clicked, this,
          &CProfileControls::ShowProfileMenu);

  busy_ = new CBusyIndicator(context_.programFolder, &window);
  PlaceControl(*busy_, context_.skinFile, kSection, u"CONTROL_BUSY");
}

// The window labels its buttons; the report-rate label is this one's own.
void CProfileControls::ApplyTexts() {
  static_cast<QLabel*>(Control(id::kReportLabel))->setText(context_.text(u"LIGHT", "Usb"));
}

int CProfileControls::SelectedOf(std::span<const int> ids) const {
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (static_cast<CPngButton*>(Control(ids[i]))->IsAssigned()) return static_cast<int>(i);
  }
  return -1;
}

void CProfileControls::ShowSelected(std::span<const int> ids, int index) {
  std::vector<CPngButton*> buttons;
  for (int controlId : ids) buttons.push_back(static_cast<CPngButton*>(Control(controlId)));
  ShowOnlyAssigned(buttons, index);
}

int CProfileControls::CheckedProfile() const { return SelectedOf(id::kProfileButtons); }

int CProfileControls::CheckedReportRate() const { return SelectedOf(id::kReportButtons); }

void CProfileControls::ShowProfileButton(int profile) {
  ShowSelected(id::kProfileButtons, profile);
}

void CProfileControls::ShowReportRate() {
  ShowSelected(id::kReportButtons, std::min<int>(context_.lighting.decoded.reportRate, 3));
}

void CProfileControls::ShowProfile(int profile) {
  if (profile < 0 || profile >= kProfileCount) return;
  LightingConfig& lighting = context_.lighting;
  lighting.shownProfile = profile;
  ReadLighting(context_.link, lighting, LightingReadVariant::Refresh,
               UserModeReadHooks(context_.store, context_.link, lighting, context_.userModes));
  if (HasUserLightingMode(lighting.settings)) {
    LoadUserMode(context_.store, profile, context_.link, lighting, context_.userModes);
    context_.panel.RefillUserModeList();
  }
  context_.panel.RefreshLightingPanel();
  if (context_.panel.LightViewOn()) context_.panel.SwitchLightViewOff();
  if (GetActiveProfile(context_.link) == profile) return;
  if (!context_.selectProfile(profile)) return;
  ShowProfileButton(profile);
  context_.keyboard.ClearSwitchMode();
  RefreshKeyButtons();
}

void CProfileControls::SetReportRate(int code) {
  if (code < 0 || code > 3) return;
  uint8_t& rate = context_.lighting.decoded.reportRate;
  const uint8_t previous = rate;
  rate = static_cast<uint8_t>(code);
  ShowReportRate();
  const uint8_t bytes[] = {rate};
  // A rate the keyboard did not take must not be shown as its rate.
  if (WriteLightingField(context_.link, context_.lighting.shownProfile,
                         lighting_field::kReportRate, bytes) != kResultOk) {
    rate = previous;
    ShowReportRate();
  }
}

// Key assignments are edited and applied for the keyboard's active profile.
int CProfileControls::ApplyProfile() {
  const int active = GetActiveProfile(context_.link);
  return active >= 0 ? active : context_.lighting.shownProfile;
}

void CProfileControls::ApplyChanges() {
  busy_->Post(kBusyShowMessage);
  if (ApplyPending()) {
    std::lock_guard lock(context_.config.ConfigLock);
    const bool saved = SaveWorkingFile(context_.config, context_.folder);
    const int written = ApplyKeyMaps(context_.config, context_.link, context_.defaultMatrix(),
                                     ApplyProfile(), false, context_.modelPrompts);
    if (saved && written == kResultOk) EnableApply(false);
  }
  busy_->Post(kBusyHideMessage);
}

void CProfileControls::RestoreDefaults() {
  if (!context_.modelPrompts.AskYesNo(kRestoreDefaultsQuestion)) return;
  const auto buttonKeys = context_.keyboard.ButtonKeys();
  RestoreDefaultKeyMaps(context_.config, context_.link, context_.defaultMatrix(), buttonKeys);
  EnableApply(true);
  ResetLightingToDefaults();
  ApplyChanges();
  if (!context_.panel.LightViewOn()) context_.panel.SwitchLightViewOff();
}

// The panel shows what the default record writes, not what it was before.
void CProfileControls::ResetLightingToDefaults() {
  LightingConfig& lighting = context_.lighting;
  context_.panel.SelectEffect(1);
  const bool userModes = HasUserLightingMode(lighting.settings);
  for (int profile = 0; profile < kProfileCount; ++profile) {
    lighting.shownProfile = profile;
    if (userModes) {
      ResetUserModes(context_.store, profile, context_.link, lighting, context_.userModes);
    }
    if (WriteDefaultLighting(context_.link, profile) == kResultOk) {
      lighting.records[profile] = DefaultRecordOver(lighting.records[profile]);
    }
  }
  lighting.shownProfile = ValidProfile(lighting.settings.activeProfile);
  DecodeLightingRecord(DefaultRecordOver(lighting.records[lighting.shownProfile]),
                       lighting.decoded);
  if (userModes) {
    LoadUserMode(context_.store, lighting.shownProfile, lighting, context_.userModes);
    context_.panel.RefillUserModeList();
  }
  context_.panel.RefreshLightingPanel();
}

void CProfileControls::SynchroniseShownProfile() {
  LightingConfig& lighting = context_.lighting;
  ReadSettingsBlock(context_.link, lighting.settings);
  const int active = ValidProfile(lighting.settings.activeProfile);
  lighting.shownProfile = active;
  if (context_.panel.LightViewOn()) context_.panel.SwitchLightViewOff();
  if (context_.selectProfile(active)) {
    ShowProfileButton(active);
    if (HasUserLightingMode(lighting.settings)) {
      for (int profile = 0; profile < kProfileCount; ++profile) {
        lighting.shownProfile = profile;
        ResetUserModes(context_.store, profile, lighting, context_.userModes);
      }
      // The panel's user mode is the shown profile's again.
      lighting.shownProfile = active;
      LoadUserMode(context_.store, active, lighting, context_.userModes);
      context_.panel.RefillUserModeList();
    }
  }
  lighting.shownProfile = active;
}

void CProfileControls::RunCommand(int command) {
  if (command == kExportCommand) {
    ExportConfigFile(context_.config, context_.filePrompts);
  } else if (command == kImportCommand) {
    const KeyMatrix defaults = context_.defaultMatrix();
    KeyboardTarget target{context_.link, defaults, context_.modelPrompts};
    ImportConfigFile(context_.config, context_.folder, target, context_.filePrompts, *this);
  } else if (command > kNoProfileCommand && command <= kLastProfileCommand) {
    context_.selectProfile(command - kFirstProfileCommand);
  }
}

void CProfileControls::ShowFileMenu() {
  QMenu menu(&window_);
  menu.addAction(context_.text(u"TEXT", "MENU_1"))->setData(kImportCommand);
  menu.addAction(context_.text(u"TEXT", "MENU_2"))->setData(kExportCommand);
  if (const QAction* chosen = menu.exec(QCursor::pos())) RunCommand(chosen->data().toInt());
}

void CProfileControls::ShowProfileMenu() {
  window_.activateWindow();
  QMenu menu(&window_);
  context_.rebuildProfileMenu(menu);
  if (const QAction* chosen = menu.exec(QCursor::pos())) RunCommand(chosen->data().toInt());
}

void CProfileControls::RefreshKeyButtons() { context_.window.RefreshKeyButtons(); }

void CProfileControls::EnableApply(bool enable) { context_.window.EnableApply(enable); }

bool CProfileControls::ApplyPending() const { return context_.window.ApplyPending(); }

}  // namespace mvk
