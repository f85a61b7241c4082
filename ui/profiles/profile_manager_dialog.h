// The profile manager: the list of profile files with a check mark on the
// keyboard's active profile, and the profile switch and profile menu that
// the main window uses for every change of profile.
#pragma once

#include <QMenu>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/main/window_apis.h"
#include "ui/profiles/profile_rows.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/placement.h"

class QTableWidget;
class QTableWidgetItem;

namespace mvk {

class CPngButton;
class FilePrompts;
class ProgramServices;
class Prompts;

class CMorvakin_DlgProfile : public CBaseDialog, public ProfileManagerApi {
  Q_OBJECT

 public:
  CMorvakin_DlgProfile(ProgramServices& services, MainWindowApi& mainWindow, Prompts& prompts,
                       FilePrompts& files, QWidget* parent = nullptr);
  ~CMorvakin_DlgProfile() override;

  // Null while there is none; a missing dialog is never open.
  void SetAssignmentDialog(AssignmentDialogApi* dialog) { assignment_ = dialog; }

  // ProfileManagerApi
  void Open() override;
  bool IsOpen() const override { return openCount_ > 0; }
  void CloseIfOpen() override;
  bool SelectProfile(int index) override;
  QMenu& ProfileMenu() override { return profileMenu_; }
  void RebuildProfileMenu() override;

  void RefreshProfileRows(bool clearFirst);
  void MarkChanged(bool changed);
  bool IsChanged() const { return changed_; }

  std::vector<ProfileRow> Rows() const;
  // The first row with the check mark, -1 when none has it.
  int CheckedRow() const;
  void CheckRow(int row);
  QTableWidget& List() { return *list_; }

  void Add();
  void Load();
  void Delete();
  void Apply();

  void done(int result) override;

 protected:
  void OnInitDialog() override;

 private:
  void BuildList();
  void BuildButtons();
  bool LoadButtonPictures();
  void PlaceControls();
  void InsertRow(int row, const ProfileRow& content);
  void OnItemChanged(QTableWidgetItem* item);
  void DiscardUnappliedEdits();
  void ReloadWorkingConfiguration();
  QString Text(std::string_view key) const;

  ProgramServices& services_;
  MainWindowApi& mainWindow_;
  Prompts& prompts_;
  FilePrompts& files_;
  AssignmentDialogApi* assignment_ = nullptr;

  QTableWidget* list_ = nullptr;
  CPngButton* ok_ = nullptr;
  CPngButton* cancel_ = nullptr;
  CPngButton* add_ = nullptr;
  CPngButton* load_ = nullptr;
  CPngButton* delete_ = nullptr;
  CPngButton* apply_ = nullptr;

  // Loaded on the first opening, kept for the rest of the run.
  std::optional<SkinStateImages> pictures_;
  QMenu profileMenu_;
  bool changed_ = false;
  int openCount_ = 0;
  bool asking_ = false;
  bool updatingChecks_ = false;
};

}  // namespace mvk
