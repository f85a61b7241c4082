// The firmware update dialog: choose an updater program, switch the keyboard
// to its boot mode and start the updater; also a backup of the working
// configuration. Its messages are fixed texts, not language texts.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <filesystem>
#include <optional>

#include "ui/main/window_apis.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/placement.h"

namespace mvk {

class CPngButton;
class FilePrompts;
class ProgramServices;
class Prompts;

inline constexpr const char16_t* kChooseUpdaterText = u"请选择正确的更新文件! ";
inline constexpr const char16_t* kBootModeFailedText = u"无法进入Boot模式! ";
inline constexpr const char16_t* kUpdaterFailedText = u"无法执行更新文件! ";
inline constexpr const char16_t* kBackupDoneText = u"备份成功!";
inline constexpr const char16_t* kBackupFailedText = u"备份失败,请重新备份!";

class CMorvakin_DlgUpdate : public CBaseDialog, public UpdateDialogApi {
  Q_OBJECT

 public:
  CMorvakin_DlgUpdate(ProgramServices& services, Prompts& prompts, FilePrompts& files,
                      QWidget* parent = nullptr);
  ~CMorvakin_DlgUpdate() override;

  // UpdateDialogApi
  void RunModal() override;

  void Open();
  void Update();
  void CancelUpdate();
  void Backup();

  // Kept for the whole run; empty until a program is chosen.
  const std::filesystem::path& UpdaterPath() const { return updaterPath_; }
  QString ShownPath() const { return pathText_->text(); }

 protected:
  void OnInitDialog() override;

 private:
  CPngButton* MakeButton(const char* skinKey, const char* text, void (CMorvakin_DlgUpdate::*handler)());
  bool LoadButtonPictures();
  void PlaceControls();
  void SetUpdaterPath(std::filesystem::path path);
  void Tell(const char16_t* text);

  ProgramServices& services_;
  Prompts& prompts_;
  FilePrompts& files_;

  QComboBox* unusedList_ = nullptr;
  QLabel* pathText_ = nullptr;
  CPngButton* open_ = nullptr;
  CPngButton* update_ = nullptr;
  CPngButton* cancelUpdate_ = nullptr;
  CPngButton* backup_ = nullptr;

  std::optional<SkinStateImages> pictures_;
  std::filesystem::path updaterPath_;
};

}  // namespace mvk
