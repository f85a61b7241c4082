#include "ui/main/main_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>

#include <mutex>

#include "app/program_services.h"
#include "storage/config_file.h"
#include "ui/main/about_box.h"
#include "ui/main/key_buttons.h"
#include "ui/main/keyboard_view.h"
#include "ui/main/main_controls.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_messages.h"
#include "ui/prompts.h"
#include "ui/skin/png_button.h"

namespace mvk {
namespace {

QString FromU16(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

CMorvakinDlg::CMorvakinDlg(ProgramServices& services, Prompts& prompts,
                           MainWindowOptions options, QWidget* parent)
    : CBaseDialog(parent, services.Paths().MainIni, services.Paths().SkinFolder),
      services_(services),
      prompts_(prompts),
      options_(std::move(options)) {
  setProperty(kMarkerProperty, kMainWindowMarker);
  // No taskbar entry while it lives hidden; OpenWindow gives it one.
  setWindowFlag(Qt::Tool, true);
  keyView_ = new KeyboardView(*this, services_.Config(), [this] { return KeyProfile(); },
                              [this](std::string_view key) { return services_.Text(key); });
  connect(keyView_, &KeyboardView::Clicked, this, &CMorvakinDlg::OnKeyButton);
  connect(keyView_, &KeyboardView::SwitchModeChanged, this, &CMorvakinDlg::ShowSwitchCaption);
  for (const MainControl& entry : kMainControls) {
    auto* button = new CPngButton(this);
    if (entry.control != kControlVersion) {
      controls_[entry.control] = button;
      connect(button, &QAbstractButton::clicked, this,
              [this, id = entry.control] { OnControlClicked(id); });
    }
    pictureButtons_.push_back(button);
  }
  keyView_->SetFnButton(*controls_.at(kFnButtonControl));
  for (CPngButton*& arrow : arrows_) arrow = new CPngButton(this);
  tray_ = std::make_unique<CTrayIcon>(services_.Paths().ResourceFolder,
                                      [this](std::string_view key) { return Text(key); });
  connect(tray_.get(), &CTrayIcon::Command, this, [this](int command) { OnCommand(command); });
  for (int id : {kTimerLightingChanged, kTimerKeyboardReset}) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    timers_[id] = timer;
  }
  connect(&requestServer_, &InstanceRequestServer::RequestReceived, this,
          &CMorvakinDlg::OnInstanceRequest);
  requestServer_.Listen(InstanceChannelPath(), services_.App().OwnsInstanceLock());
}

CMorvakinDlg::~CMorvakinDlg() {
  // Threads call into the window: they go before anything they may reach.
  StopDeviceThreads();
}

QString CMorvakinDlg::Text(std::string_view key) const {
  if (options_.languageText) return options_.languageText(key);
  return FromU16(services_.Text(key));
}

bool CMorvakinDlg::KeyboardConnected() const {
  return services_.Link().DeviceConnected.load() != 0;
}

int CMorvakinDlg::RunModal() {
  if (shutDown_) return result();
  InitDialog();
  if (shutDown_) return result();
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
  return loop.exec();
}

void CMorvakinDlg::OnInitDialog() {
  if (shutDown_ || !LoadSkin()) return;
  setWindowIcon(QIcon(QString::fromStdU16String(
      (services_.Paths().ResourceFolder / "Skins/tray128.png").u16string())));
  initialised_ = false;
  services_.Link().ActiveProfileCache = -1;
  StartDeviceThreads();
  {
    std::lock_guard lock(services_.Config().ConfigLock);
    CreateDefaultConfig(services_.Config().working);
  }
  EnableApply(false);
  if (!LoadWindowPictures()) return;
  webLink_ = QUrl(FromU16(SkinFile()
                              .GetString(u"SCREEN", u"Link", u"")
                              .value_or(std::u16string())));
  if (webLink_.isEmpty()) webLink_ = QUrl(QString::fromLatin1(kMakerWebSite));
  PlaceControls();
  setWindowTitle(Text("MAIN_CAPTION"));
  namedEvents_.Create(options_.namedEventPrefix);
  SetSwitchMode(false);
  AddTrayIcon();
  QMetaObject::invokeMethod(
      this, [this] { HandleMessage(kInitMessage, kInitTag, 0); }, Qt::QueuedConnection);
  HandleMessage(kLanguageMessage, kLanguageTag, services_.LanguageIndex());
}

void CMorvakinDlg::StartDeviceThreads() {
  if (threadsRunning_) return;
  threadsRunning_ = true;
  for (DeviceThread& thread : threads_) thread.start(windowSide_);
}

void CMorvakinDlg::StopDeviceThreads() {
  if (!threadsRunning_) return;
  threadsRunning_ = false;
  for (auto thread = threads_.rbegin(); thread != threads_.rend(); ++thread) thread->stop();
}

void CMorvakinDlg::AddTrayIcon() {
  tray_->Add(kTrayIconNoKeyboard, Text("KEYBOARD_TRAY_DESC"));
}

void CMorvakinDlg::OpenWindow() {
  if (!KeyboardConnected()) {
    prompts_.ShowMessage(this, Text("MAIN_NO_DEVICE_PROMPT"));
    return;
  }
  setWindowFlag(Qt::Tool, false);
  show();
  raise();
  activateWindow();
}

void CMorvakinDlg::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  hide();
  StopDeviceThreads();
  if (aboutBox_) aboutBox_->close();
  if (dialogs_.profiles) dialogs_.profiles->CloseIfOpen();
  if (dialogs_.assignment) dialogs_.assignment->CloseIfOpen();
  prompts_.CloseAll();
  // The socket goes before the lock, so that the next holder of the lock
  // never meets a socket that is still in use.
  requestServer_.Close();
  services_.App().CloseInstanceMutex();
  namedEvents_.Close();
  tray_->Remove();
  EnableApply(false);
  for (auto& [id, timer] : timers_) timer->stop();
  ConfigState& config = services_.Config();
  {
    std::lock_guard configLock(config.ConfigLock);
    config.working.Release();
  }
  {
    std::lock_guard macroLock(config.MacroLock);
    config.snapshot.Release();
    config.snapshotStrings.clear();
  }
  services_.KeyboardDevice().Close();
  done(0);
}

void CMorvakinDlg::closeEvent(QCloseEvent* event) {
  event->accept();
  Shutdown();
}

void CMorvakinDlg::reject() { Shutdown(); }

void CMorvakinDlg::OnInstanceRequest(InstanceRequest request) {
  switch (request) {
    case InstanceRequest::Open:
      HandleMessage(kOpenMessage, kOpenTag, 0);
      break;
    case InstanceRequest::Quit:
      HandleMessage(kKillMessage, kKillTag, 0);
      break;
  }
}

void CMorvakinDlg::EnableApply(bool enable) {
  applyPending_ = enable;
  if (CPngButton* apply = Control(kControlApply)) apply->setEnabled(enable);
}

void CMorvakinDlg::ApplyChanges() {
  if (hooks_.applyChanges) hooks_.applyChanges();
}

void CMorvakinDlg::SetProfilesButton(const QString& caption, const QString& tooltip) {
  if (CPngButton* profiles = Control(kControlProfiles)) {
    profiles->setText(caption);
    profiles->SetTooltip(tooltip, true);
  }
}

CPngButton* CMorvakinDlg::Control(int control) const {
  if (const auto found = controls_.find(control); found != controls_.end()) return found->second;
  return keyView_->ButtonOfControl(control);
}

void CMorvakinDlg::SetTrayIcon(int mode, int iconId) { tray_->SetTrayIcon(mode, iconId); }

void CMorvakinDlg::ShowLanguageMessage(std::string_view key) {
  prompts_.ShowMessage(this, Text(key));
}

int CMorvakinDlg::ShownProfile() const { return services_.Lighting().shownProfile; }

void CMorvakinDlg::ShowProfile(int profile) {
  if (profile < 0 || profile >= kProfileCount) return;
  services_.Lighting().shownProfile = profile;
  const std::array buttons = {
      Control(kControlProfile1), Control(kControlProfile1 + 1), Control(kControlProfile1 + 2)};
  ShowOnlyAssigned(buttons, profile);
}

void CMorvakinDlg::SwitchToProfile(int profile) {
  if (hooks_.switchProfile) {
    hooks_.switchProfile(profile);
    return;
  }
  ShowProfile(profile);
  SetSwitchMode(false);
  RefreshKeyButtons();
}

int CMorvakinDlg::KeyProfile() const {
  const int cached = services_.Link().ActiveProfileCache.load();
  return cached >= 0 && cached < kProfileCount ? cached : 0;
}

}  // namespace mvk
