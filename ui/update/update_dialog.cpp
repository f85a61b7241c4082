#include "ui/update/update_dialog.h"

#include <mutex>

#include "app/program_services.h"
#include "protocol/commands.h"
#include "protocol/packet.h"
#include "platform/shell.h"
#include "storage/config_file.h"
#include "storage/file_prompts.h"
#include "ui/prompts.h"
#include "ui/skin/png_button.h"
#include "ui/skin/required_picture.h"
#include "ui/skin/state_picture.h"

namespace mvk {
namespace {

constexpr std::u16string_view kButtonSection = u"BUTTONINFO";
constexpr double kButtonTextSize = 10;

// Updaters on this system rarely end in ".exe", so every file can be chosen
// as well.
FileDialogOptions UpdaterDialog(const std::filesystem::path& packageFolder) {
  return {u"exe", (packageFolder / "*.exe").u16string(), u"MyType Files (*.exe)|*.exe|(*)|*||",
          false};
}

FileDialogOptions BackupDialog() {
  return {u"mvk", u"*.mvk", u"(*.mvk)|*.mvk|(*.*)|*.*||", true};
}

bool NamesExistingFile(const std::filesystem::path& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

CMorvakin_DlgUpdate::CMorvakin_DlgUpdate(ProgramServices& services, Prompts& prompts,
                                         FilePrompts& files, QWidget* parent)
    : CBaseDialog(parent, services.Paths().UpdateIni, services.Paths().UpdateIniFolder),
      services_(services),
      prompts_(prompts),
      files_(files),
      unusedList_(new QComboBox(this)),
      pathText_(new QLabel(this)) {
  // Placed like the other controls, but never filled or shown.
  unusedList_->setObjectName("CONTROL_UPCombox");
  unusedList_->hide();
  pathText_->setObjectName("CONTROL_UPStatic");
  pathText_->setStyleSheet("color: white; background: transparent;");
  open_ = MakeButton("CONTROL_OPENButton", "Open", &CMorvakin_DlgUpdate::Open);
  update_ = MakeButton("CONTROL_UPButton", "更新", &CMorvakin_DlgUpdate::Update);
  cancelUpdate_ = MakeButton("CONTROL_CUPButton", "取消更新", &CMorvakin_DlgUpdate::CancelUpdate);
  backup_ = MakeButton("CONTROL_BACKUPButton", "备份", &CMorvakin_DlgUpdate::Backup);
}

CMorvakin_DlgUpdate::~CMorvakin_DlgUpdate() = default;

CPngButton* CMorvakin_DlgUpdate::MakeButton(const char* skinKey, const char* text,
                                            void (CMorvakin_DlgUpdate::*handler)()) {
  auto* button = new CPngButton(this);
  button->setObjectName(skinKey);
  button->setText(QString::fromUtf8(text));
  // The skin pictures carry no words: the button writes its own.
  button->SetText(true, kButtonTextSize, QString(), kLanguageTextColours);
  connect(button, &QAbstractButton::clicked, this, handler);
  return button;
}

void CMorvakin_DlgUpdate::RunModal() { exec(); }

void CMorvakin_DlgUpdate::OnInitDialog() {
  if (!LoadSkin() || !LoadButtonPictures()) return;
  PlaceControls();
  // The remembered updater is the one Update starts: show it.
  SetUpdaterPath(updaterPath_);
}

bool CMorvakin_DlgUpdate::LoadButtonPictures() {
  if (pictures_) return true;
  const auto& folder = services_.Paths().ResourceFolder;
  const auto normal = LoadRequiredSkinPicture(folder, u"Skins/update_normal.jpg");
  if (!normal) return false;
  const auto over = LoadRequiredSkinPicture(folder, u"Skins/update_over.jpg");
  if (!over) return false;
  const QImage preparedOver = PrepareStatePicture(*over, size());
  pictures_ = SkinStateImages{PrepareStatePicture(*normal, size()), preparedOver, preparedOver,
                              preparedOver, preparedOver};
  return true;
}

void CMorvakin_DlgUpdate::PlaceControls() {
  const auto& skin = services_.Paths().UpdateIni;
  PlaceControl(*pathText_, skin, kButtonSection, u"CONTROL_UPStatic");
  PlaceControl(*unusedList_, skin, kButtonSection, u"CONTROL_UPCombox");
  for (CPngButton* button : {open_, update_, cancelUpdate_, backup_}) {
    PlaceSkinButton(*button, skin, kButtonSection, button->objectName().toStdU16String(),
                    *pictures_);
  }
}

void CMorvakin_DlgUpdate::SetUpdaterPath(std::filesystem::path path) {
  updaterPath_ = std::move(path);
  pathText_->setText(QString::fromStdU16String(updaterPath_.u16string()));
  repaint();
}

void CMorvakin_DlgUpdate::Tell(const char16_t* text) {
  prompts_.ShowMessage(this, QString::fromUtf16(text));
}

void CMorvakin_DlgUpdate::Open() {
  SetUpdaterPath(files_.AskOpenFile(UpdaterDialog(services_.Paths().PackageFolder))
                     .value_or(std::filesystem::path()));
}

// Once the keyboard has been asked to enter boot mode it is the updater's:
// the path is forgotten whether or not the updater could be started.
void CMorvakin_DlgUpdate::Update() {
  if (!NamesExistingFile(updaterPath_)) {
    Tell(kChooseUpdaterText);
    return;
  }
  if (KbEnterBootMode(services_.Link()) != kResultOk) {
    Tell(kBootModeFailedText);
    return;
  }
  const bool started = StartProgram(updaterPath_);
  SetUpdaterPath({});
  if (started) {
    reject();
  } else {
    Tell(kUpdaterFailedText);
  }
}

void CMorvakin_DlgUpdate::CancelUpdate() {
  SetUpdaterPath({});
  reject();
}

void CMorvakin_DlgUpdate::Backup() {
  const auto file = files_.AskSaveFile(BackupDialog());
  if (!file) return;
  ConfigState& config = services_.Config();
  bool saved = false;
  {
    std::lock_guard lock(config.ConfigLock);
    saved = SaveConfigFile(config, *file);
  }
  Tell(saved ? kBackupDoneText : kBackupFailedText);
}

}  // namespace mvk
