#include "ui/profiles/profile_manager_dialog.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <mutex>

#include "app/program_services.h"
#include "model/settings_block.h"
#include "storage/config_file.h"
#include "storage/file_prompts.h"
#include "storage/keyboard_reload.h"
#include "ui/prompts.h"
#include "ui/profiles/profile_menu.h"
#include "ui/skin/png_button.h"
#include "ui/skin/required_picture.h"
#include "ui/skin/state_picture.h"

namespace mvk {
namespace {

constexpr std::u16string_view kButtonSection = u"BUTTONINFO";
constexpr double kButtonTextSize = 10;
constexpr std::u16string_view kConfigFileFilter = u"(*.mvk)|*.mvk|(*.*)|*.*||";

enum Column { kCheckColumn, kNameColumn, kFolderColumn, kColumnCount };

struct ColumnLook {
  const char* header;
  int width;
};
constexpr ColumnLook kColumns[kColumnCount] = {
    {"激活", 60}, {"名称", 120}, {"路径", 230}};

// The main window as the configuration reload sees it.
class WindowAsConfigView final : public ConfigWindow {
 public:
  explicit WindowAsConfigView(MainWindowApi& window) : window_(window) {}
  void RefreshKeyButtons() override { window_.RefreshKeyButtons(); }
  void EnableApply(bool enable) override { window_.EnableApply(enable); }

 private:
  MainWindowApi& window_;
};

QString FromU16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CMorvakin_DlgProfile::CMorvakin_DlgProfile(ProgramServices& services, MainWindowApi& mainWindow,
                                           Prompts& prompts, FilePrompts& files, QWidget* parent)
    : CBaseDialog(parent, services.Paths().ProfileIni, services.Paths().ProfileIniFolder),
      services_(services),
      mainWindow_(mainWindow),
      prompts_(prompts),
      files_(files) {
  BuildList();
  BuildButtons();
}

CMorvakin_DlgProfile::~CMorvakin_DlgProfile() = default;

void CMorvakin_DlgProfile::BuildList() {
  list_ = new QTableWidget(0, kColumnCount, this);
  list_->setObjectName("PROGRAM_LIST");
  for (int column = 0; column < kColumnCount; ++column) {
    list_->setHorizontalHeaderItem(column, new QTableWidgetItem(kColumns[column].header));
    list_->setColumnWidth(column, kColumns[column].width);
  }
  list_->verticalHeader()->hide();
  list_->setShowGrid(true);
  list_->setWordWrap(false);
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(list_, &QTableWidget::itemChanged, this, &CMorvakin_DlgProfile::OnItemChanged);
}

void CMorvakin_DlgProfile::BuildButtons() {
  auto make = [this](const char* skinKey, const char* text, auto handler) {
    auto* button = new CPngButton(this);
    button->setObjectName(skinKey);
    button->setText(QString::fromUtf8(text));
    // The skin pictures carry no words: the button writes its own.
    button->SetText(true, kButtonTextSize, QString(), kLanguageTextColours);
    connect(button, &QAbstractButton::clicked, this, handler);
    return button;
  };
  ok_ = make("CONTROL_OK", "确定", [this] {
    Apply();
    accept();
  });
  cancel_ = make("CONTROL_CANCEL", "取消", [this] { reject(); });
  add_ = make("FUNC_ADD", "添加", [this] { Add(); });
  load_ = make("FUNC_LOAD", "载入", [this] { Load(); });
  delete_ = make("FUNC_DELETE", "删除", [this] { Delete(); });
  apply_ = make("CONTROL2_APPLY", "应用", [this] { Apply(); });
}

void CMorvakin_DlgProfile::OnInitDialog() {
  ++openCount_;
  if (!LoadSkin() || !LoadButtonPictures()) return;
  PlaceControls();
  RefreshProfileRows(false);
}

bool CMorvakin_DlgProfile::LoadButtonPictures() {
  if (pictures_) return true;
  const auto& folder = services_.Paths().ResourceFolder;
  const auto normal = LoadRequiredSkinPicture(folder, u"Skins/Profile_normal.jpg");
  if (!normal) return false;
  const auto over = LoadRequiredSkinPicture(folder, u"Skins/Profile_over.jpg");
  if (!over) return false;
  // The pressed picture serves for disabled buttons too.
  const auto down = LoadRequiredSkinPicture(folder, u"Skins/Profile_down.jpg");
  if (!down) return false;
  const QSize client = size();
  const QImage preparedNormal = PrepareStatePicture(*normal, client);
  const QImage preparedDown = PrepareStatePicture(*down, client);
  pictures_ = SkinStateImages{preparedNormal, PrepareStatePicture(*over, client), preparedDown,
                              preparedDown, preparedNormal};
  return true;
}

void CMorvakin_DlgProfile::PlaceControls() {
  const auto& skin = services_.Paths().ProfileIni;
  for (CPngButton* button : {ok_, cancel_, add_, load_, delete_, apply_}) {
    PlaceSkinButton(*button, skin, kButtonSection, button->objectName().toStdU16String(),
                    *pictures_);
  }
  PlaceControl(*list_, skin, kButtonSection, u"PROGRAM_LIST");
}

void CMorvakin_DlgProfile::Open() { exec(); }

void CMorvakin_DlgProfile::CloseIfOpen() {
  if (IsOpen()) reject();
}

void CMorvakin_DlgProfile::done(int result) {
  if (openCount_ > 0) --openCount_;
  MarkChanged(false);
  {
    const QSignalBlocker blocker(list_);
    list_->setRowCount(0);
  }
  CBaseDialog::done(result);
}

QString CMorvakin_DlgProfile::Text(std::string_view key) const {
  return FromU16(services_.Text(key));
}

void CMorvakin_DlgProfile::MarkChanged(bool changed) {
  changed_ = changed;
  apply_->setEnabled(changed);
}

void CMorvakin_DlgProfile::RefreshProfileRows(bool clearFirst) {
  if (clearFirst) {
    const QSignalBlocker blocker(list_);
    list_->setRowCount(0);
  }
  const ProfileRow working = ProfileRowOf(WorkingFilePath(services_.Folder()));
  for (int row = 0; row < kOnboardProfileCount; ++row) InsertRow(row, working);
  if (const int active = GetActiveProfile(services_.Link()); active >= 0) CheckRow(active);
  MarkChanged(false);
}

void CMorvakin_DlgProfile::InsertRow(int row, const ProfileRow& content) {
  const QSignalBlocker blocker(list_);
  list_->insertRow(row);
  auto* check = new QTableWidgetItem();
  check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  check->setCheckState(Qt::Unchecked);
  list_->setItem(row, kCheckColumn, check);
  for (auto [column, text] : {std::pair{kNameColumn, content.name},
                              std::pair{kFolderColumn, content.folder}}) {
    auto* item = new QTableWidgetItem(FromU16(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    list_->setItem(row, column, item);
  }
}

std::vector<ProfileRow> CMorvakin_DlgProfile::Rows() const {
  std::vector<ProfileRow> rows;
  for (int row = 0; row < list_->rowCount(); ++row) {
    rows.push_back({list_->item(row, kNameColumn)->text().toStdU16String(),
                    list_->item(row, kFolderColumn)->text().toStdU16String()});
  }
  return rows;
}

int CMorvakin_DlgProfile::CheckedRow() const {
  for (int row = 0; row < list_->rowCount(); ++row) {
    if (list_->item(row, kCheckColumn)->checkState() == Qt::Checked) return row;
  }
  return -1;
}

void CMorvakin_DlgProfile::CheckRow(int row) {
  if (row < 0 || row >= list_->rowCount()) return;
  list_->item(row, kCheckColumn)->setCheckState(Qt::Checked);
}

// One check mark at most: checking a row clears every other row's mark.
void CMorvakin_DlgProfile::OnItemChanged(QTableWidgetItem* item) {
  if (updatingChecks_ || item->column() != kCheckColumn) return;
  if (item->checkState() == Qt::Checked) {
    updatingChecks_ = true;
    for (int row = 0; row < list_->rowCount(); ++row) {
      if (row != item->row()) list_->item(row, kCheckColumn)->setCheckState(Qt::Unchecked);
    }
    updatingChecks_ = false;
  }
  MarkChanged(true);
}

void CMorvakin_DlgProfile::Add() {
  const ConfigFolder& folder = services_.Folder();
  EnsureConfigFolder(folder);
  const FileDialogOptions options{u"mvk", folder.folder.u16string() + services_.Text("PROFILE_NEW"),
                                  std::u16string(kConfigFileFilter), true};
  const auto file = files_.AskSaveFile(options);
  if (!file) return;
  // A row for a file that was never written would record a profile that
  // does not exist.
  if (!CreateDefaultConfig(*file)) {
    files_.ShowMessage("PROFILE_NEW_FAILED", file->u16string());
    return;
  }
  InsertRow(list_->rowCount(), ProfileRowOf(*file));
  MarkChanged(true);
}

void CMorvakin_DlgProfile::Load() {
  const ConfigFolder& folder = services_.Folder();
  EnsureConfigFolder(folder);
  const FileDialogOptions options{u"mvk", (folder.folder / "*.mvk").u16string(),
                                  std::u16string(kConfigFileFilter), false};
  const auto file = files_.AskOpenFile(options);
  if (!file) return;
  InsertRow(list_->rowCount(), ProfileRowOf(*file));
  MarkChanged(true);
}

void CMorvakin_DlgProfile::Delete() {
  const QModelIndexList selected = list_->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  list_->removeRow(selected.front().row());
  MarkChanged(true);
}

// A check on a row past the onboard profiles names a file, not a profile of
// the keyboard: the keyboard's profile is left as it is, and the mark goes
// back to the profile that is active.
void CMorvakin_DlgProfile::Apply() {
  const std::vector<ProfileRow> rows = Rows();
  RecordProfileRows(services_.App().SettingsKey(), rows);
  if (const int profile = ProfileOfRow(CheckedRow()); profile >= 0) {
    SetActiveProfile(services_.Link(), profile);
  }
  ReloadWorkingConfiguration();
  RebuildProfileMenu();
  if (const int active = GetActiveProfile(services_.Link());
      active >= 0 && active != CheckedRow()) {
    CheckRow(active);
  }
  MarkChanged(false);
  mainWindow_.EnableApply(false);
}

void CMorvakin_DlgProfile::ReloadWorkingConfiguration() {
  const KeyMatrix defaults = services_.DefaultMatrix();
  KeyboardSource source{services_.Link(), defaults, services_.Text("MACRO_NEW_PREFIX")};
  WindowAsConfigView view(mainWindow_);
  ReloadFromKeyboard(services_.Config(), services_.Folder(), source, view);
}

bool CMorvakin_DlgProfile::SelectProfile(int index) {
  if (index >= kOnboardProfileCount) index = 0;
  if (assignment_ && assignment_->IsOpen()) {
    prompts_.ShowMessage(mainWindow_.Window(), Text("PROFILE_SEELCT_PROMPT2"));
    return false;
  }
  KeyboardLink& link = services_.Link();
  const bool settling = changed_ || mainWindow_.ApplyPending();
  if (settling && !asking_) {
    asking_ = true;
    const bool apply = prompts_.AskYesNo(mainWindow_.Window(), Text("PROFILE_SELECT_PROMPT"));
    asking_ = false;
    if (apply) {
      mainWindow_.ApplyChanges();
    } else {
      mainWindow_.EnableApply(false);
      if (GetActiveProfile(link) >= 0) DiscardUnappliedEdits();
    }
  }
  SetActiveProfile(link, index);
  // A keyboard that refused the write or never answered keeps its profile:
  // the buttons must not show the switch as done.
  const bool switched = index < 0 || GetActiveProfile(link) == index;
  if (!settling && switched && IsOpen()) {
    CheckRow(index);
    MarkChanged(false);
  }
  {
    std::lock_guard lock(services_.Config().ConfigLock);
    mainWindow_.RefreshKeyButtons();
  }
  RebuildProfileMenu();
  return switched;
}

// The working file holds the configuration as last applied or read from
// the keyboard. When it cannot be loaded, the keyboard is read again rather
// than leaving the released, default configuration in its place.
void CMorvakin_DlgProfile::DiscardUnappliedEdits() {
  ConfigState& config = services_.Config();
  std::lock_guard lock(config.ConfigLock);
  config.working.Release();
  if (!LoadConfigFile(WorkingFilePath(services_.Folder()), config.working)) {
    ReloadWorkingConfiguration();
  }
}

void CMorvakin_DlgProfile::RebuildProfileMenu() {
  const auto fileName = WorkingFilePath(services_.Folder()).stem().u16string();
  const auto items = ProfileMenuItems(Text("DEFAULT_PROFILE_NAME"), FromU16(fileName),
                                      GetActiveProfile(services_.Link()));
  FillProfileMenu(profileMenu_, items);
  const QString caption = CheckedItemText(items);
  mainWindow_.SetProfilesButton(caption, Text("PROFILE_TIP") + caption);
}

}  // namespace mvk
