// The main window's commands, the routing of key clicks, and the placing of
// its controls from the skin.
#include <QDesktopServices>

#include <mutex>

#include "app/program_services.h"
#include "protocol/commands.h"
#include "ui/main/about_box.h"
#include "ui/main/key_buttons.h"
#include "ui/main/keyboard_view.h"
#include "ui/main/main_controls.h"
#include "ui/main/main_window.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_messages.h"
#include "ui/skin/missing_picture.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_image.h"
#include "ui/skin/state_picture.h"

namespace mvk {
namespace {

constexpr std::u16string_view kButtonSection = u"BUTTONINFO";
constexpr std::u16string_view kOriginSection = u"BUTTONINFO2";
constexpr const char* kFacebookPage = "https://www.facebook.com/keldora.example";
constexpr const char* kTwitterPage = "https://twitter.com/keldora_example";

struct WindowPictureFiles {
  std::u16string_view normal = u"Skins/main_normal.jpg";
  std::u16string_view over = u"Skins/main_over.jpg";
  std::u16string_view down = u"Skins/main_down.jpg";
  std::u16string_view disable = u"Skins/main_disable.jpg";
  std::u16string_view arrow = u"Skins/Arrow.jpg";
  std::u16string_view markOff = u"Skins/main_color0.jpg";
  std::u16string_view markOn = u"Skins/main_color1.jpg";
};

}  // namespace

bool CMorvakinDlg::OnCommand(int command) {
  if (shutDown_) return false;
  if (command >= kCommandProfileMenuFirst && command <= kCommandProfileMenuLast) {
    // 9000 stands before the first profile file: it selects nothing.
    if (command >= kCommandProfileMenuBase && dialogs_.profiles) {
      dialogs_.profiles->SelectProfile(command - kCommandProfileMenuBase);
    }
    return true;
  }
  switch (command) {
    case kCommandOpen:
      OpenWindow();
      return true;
    case kCommandAbout:
    case kCommandSystemAbout:
      ShowAboutBox();
      return true;
    case kCommandExit:
    case kCommandClose:
    case kCommandQuiet:
      Shutdown();
      return true;
    case kCommandMinimize:
      MinimiseWindow();
      return true;
    case kCommandHelp:
      OpenLink(QUrl::fromLocalFile(
          QString::fromStdU16String((services_.Paths().HelpFolder / "index.html").u16string())));
      return true;
    case kCommandLink:
    case kCommandWebSite:
      OpenLink(webLink_);
      return true;
    case kCommandFacebook:
      OpenLink(QUrl(QString::fromLatin1(kFacebookPage)));
      return true;
    case kCommandTwitter:
      OpenLink(QUrl(QString::fromLatin1(kTwitterPage)));
      return true;
    case kCommandKeyboardTest:
      KbTest(services_.Link());
      return true;
    case kCommandFirmwareUpdate:
      if (dialogs_.update) dialogs_.update->RunModal();
      return true;
    default:
      return false;
  }
}

void CMorvakinDlg::OnControlClicked(int control) {
  switch (control) {
    case kMacroButtonControl:
    case kFnButtonControl:
      OnKeyButton(control);
      return;
    case kControlSwitch:
      SetSwitchMode(!SwitchMode());
      return;
    case 1005:
      if (dialogs_.profiles) dialogs_.profiles->Open();
      return;
    default:
      OnCommand(control);
  }
}

void CMorvakinDlg::OpenLink(const QUrl& url) {
  if (options_.openUrl) {
    options_.openUrl(url);
  } else {
    QDesktopServices::openUrl(url);
  }
}

void CMorvakinDlg::MinimiseWindow() {
  QMetaObject::invokeMethod(this, [this] { showMinimized(); }, Qt::QueuedConnection);
}

CAboutDlg* CMorvakinDlg::AboutBox() const { return aboutBox_.data(); }

void CMorvakinDlg::ShowAboutBox() {
  if (!aboutBox_) {
    aboutBox_ = new CAboutDlg([this](std::string_view key) { return Text(key); }, this);
  }
  aboutBox_->show();
  aboutBox_->raise();
}

void CMorvakinDlg::OnKeyButton(int control) {
  if (hooks_.keyColourMode && hooks_.keyColourMode()) {
    if (hooks_.keyColourClick) hooks_.keyColourClick(control);
    return;
  }
  const std::optional<KeyButtonHit> hit = HitOfControl(control);
  if (!hit) return;
  if (SwitchMode()) {
    keyView_->FlipSwitchMark(control, *hit);
    EnableApply(true);
    return;
  }
  if (!dialogs_.assignment) return;
  const int buttonControl = control == kMacroButtonControl ? kMacroOnlyControl : control;
  QWidget* button = Control(buttonControl);
  keyView_->SetHighlighted(buttonControl, true);
  if (hit->macroOnly) {
    dialogs_.assignment->OpenMacroOnly(KeyCodeOf(hit->keyIndex), button);
  } else {
    dialogs_.assignment->OpenForKey(KeyCodeOf(hit->keyIndex), button);
  }
  keyView_->SetHighlighted(buttonControl, false);
}

void CMorvakinDlg::RefreshKeyButtons() {
  keyView_->RefreshKeyButtons();
  if (SwitchMode()) keyView_->RedrawSwitchMarks();
}

void CMorvakinDlg::RebuildKeyPrompts() { keyView_->RebuildKeyPrompts(); }

void CMorvakinDlg::ClearKeyButton(int keyIndex) {
  keyView_->ClearKeyButton(static_cast<KeyIndex>(keyIndex));
}

void CMorvakinDlg::RedrawSwitchMarks() { keyView_->RedrawSwitchMarks(); }

bool CMorvakinDlg::SwitchMode() const { return keyView_->SwitchMode(); }

void CMorvakinDlg::SetSwitchMode(bool on) { keyView_->SetSwitchMode(on); }

void CMorvakinDlg::ShowSwitchCaption(bool on) {
  if (CPngButton* button = Control(kControlSwitch)) {
    button->setText(Text(on ? "MAIN_SWITCH_COLOR_TEXT" : "MAIN_SWITCH_FUNCTION_TEXT"));
    button->SetText(true, 9, QStringLiteral("Arial Unicode MS"), kLanguageTextColours);
  }
}

bool CMorvakinDlg::LoadWindowPictures() {
  const WindowPictureFiles files;
  const auto& folder = services_.Paths().ResourceFolder;
  std::vector<QImage> loaded;
  for (std::u16string_view name : {files.normal, files.over, files.down, files.disable,
                                   files.arrow, files.markOff, files.markOn}) {
    QImage picture = LoadSkinImage(folder, name);
    if (picture.isNull()) {
      ReportMissingSkinPicture(QString::fromStdU16String((folder / name).u16string()));
      return false;
    }
    loaded.push_back(std::move(picture));
  }
  const QSize client = size();
  auto prepared = [&](std::size_t i) { return PrepareStatePicture(loaded[i], client); };
  const QImage normal = prepared(0), over = prepared(1), down = prepared(2),
               disable = prepared(3);
  pictures_.normal = {normal, over, down, normal, disable};
  pictures_.highlighted = {over, over, down, normal, over};
  pictures_.markOff = prepared(5);
  pictures_.markOn = prepared(6);
  arrowPicture_ = loaded[4];
  return true;
}

void CMorvakinDlg::PlaceControls() {
  const auto& skin = services_.Paths().MainIni;
  keyView_->Place(skin, pictures_);
  for (std::size_t i = 0; i < kMainControls.size(); ++i) {
    PlaceSkinButton(*pictureButtons_[i], skin, kButtonSection, kMainControls[i].skinKey,
                    pictures_.normal);
    if (kMainControls[i].skinKey == kVersionSkinKey) {
      pictureButtons_[i]->setText(QString());
      pictureButtons_[i]->setEnabled(false);
    }
  }
  PlaceArrows();
}

void CMorvakinDlg::PlaceArrows() {
  const bool flipped =
      services_.App().SettingsKey().GetNumber("PROFILES", "Flip").value_or(0) != 0;
  const auto& origins = flipped ? kArrowUpOrigins : kArrowDownOrigins;
  for (std::size_t i = 0; i < arrows_.size(); ++i) {
    PlaceImageControl(*arrows_[i], services_.Paths().MainIni, kButtonSection, kArrowKeys[i],
                      kOriginSection, origins[i], arrowPicture_);
    arrows_[i]->setEnabled(true);
  }
}

}  // namespace mvk
