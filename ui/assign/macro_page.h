// The macro page of the assignment dialog: the macro combo over the
// dialog's private copies of the working macros, the action list with its
// in-place editors, the loop count, the record-delays flag and recording.
// The working macro list is only read here (FillMacroCombo); the dialog
// stores the copies at OK or Apply.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/macro.h"
#include "ui/assign/assign_context.h"
#include "ui/assign/application_hook.h"
#include "ui/assign/macro_recorder.h"

class QCheckBox;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace mvk {

class CPngButton;
struct SkinStateImages;

class CMacroPage : public QObject {
 public:
  // The page's controls are made children of `dialog`; `markChanged`
  // enables the dialog's Apply.
  CMacroPage(QWidget& dialog, AssignContext& context, std::function<void()> markChanged);
  ~CMacroPage() override;

  // The page's image buttons take the macro picture set.
  void PlaceControls(const SkinStateImages& macroSet);
  void ApplyTexts(int languageIndex);
  void SetVisible(bool visible);

  // At opening: the record button's first text, the loop count "1", the
  // record-delays flag read and written back normalised.
  void PrepareForOpening();

  void FillMacroCombo(bool keepCurrent);
  void ShowMacroPage(bool keepRows);
  void StorePageToMacro(int index);
  void EndActionEdit();
  void AddActionRow(const MacroEvent& event, bool recorded, bool markChanged,
                    bool afterSelection, bool loading);

  // Makes the first macro with this id current (position 0 when none has
  // it) and shows it.
  void SelectMacroById(uint16_t id);
  // Makes the first macro current and shows it, if there is one.
  void SelectFirstMacro();

  void ToggleRecording();
  bool Recording() const { return recording_; }

  int CurrentMacroIndex() const { return current_; }
  int MacroCount() const { return static_cast<int>(copies_.size()); }
  const MacroList& Macros() const { return copies_; }
  const std::vector<MacroEvent>& Rows() const { return rows_; }
  int LoopCount() const;
  // The current page stored into its macro, then every copy in combo order
  // with its new-macro mark cleared (here as well).
  MacroList TakeMacrosForApply();
  // At closing: rows and copies are dropped, unapplied edits with them.
  void Discard();

 protected:
  // The action list's clicks start in-place edits; Esc abandons one.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class EditColumn { Key = 0, Action = 1, Delay = 2 };

  void MakeControls(QWidget& dialog);
  void ConnectControls();
  std::u16string Text(std::string_view key) const;
  void ShowFormattedMessage(std::string_view key, int number);

  void OnComboSelection(int index);
  void OnComboTextEdited(const QString& text);
  void AddMacro();
  void DeleteMacro();
  void OnLoopCountEdited(const QString& text);
  void OnRecordDelaysClicked();
  void DeleteAction();
  void ClearActions();
  void MoveAction(int where);
  void SetLoopCountText(int value);
  void SelectComboItem(int index);

  std::optional<std::size_t> SelectedRow() const;
  void ShowRow(std::size_t row);
  void InsertTableRow(std::size_t row);

  bool OnListPress(QEvent* event);
  void BeginEdit(std::size_t row, EditColumn column);
  void ConfirmEdit();
  void AbandonEdit();
  void FinishEditor();

  bool RecordKey(QObject* watched, QEvent* event);
  bool RecordWindowsKey(QObject* watched, QEvent* event);
  bool RecordMouse(QObject* watched, QEvent* event);
  void AddRecorded(const MacroEvent& event);
  void InstallRecordingHooks();
  void RemoveRecordingHooks();

  AssignContext& context_;
  std::function<void()> markChanged_;
  int languageIndex_ = 0;

  QLabel* nameLabel_ = nullptr;
  QComboBox* combo_ = nullptr;
  CPngButton* addButton_ = nullptr;
  CPngButton* deleteButton_ = nullptr;
  QTableWidget* actions_ = nullptr;
  CPngButton* recordButton_ = nullptr;
  CPngButton* deleteActionButton_ = nullptr;
  CPngButton* clearButton_ = nullptr;
  CPngButton* topButton_ = nullptr;
  CPngButton* upButton_ = nullptr;
  CPngButton* downButton_ = nullptr;
  CPngButton* bottomButton_ = nullptr;
  QCheckBox* recordDelaysBox_ = nullptr;
  QLabel* recordDelaysLabel_ = nullptr;
  QLabel* loopCountLabel_ = nullptr;
  QLineEdit* loopCountBox_ = nullptr;

  MacroList copies_;
  int current_ = -1;
  int nameCounter_ = 0;
  bool guard_ = false;
  uint32_t recordDelays_ = 0;
  // The current macro's events, one per row of the action list.
  std::vector<MacroEvent> rows_;

  struct Edit {
    std::size_t row;
    EditColumn column;
    QPointer<QWidget> editor;
  };
  std::optional<Edit> edit_;

  bool recording_ = false;
  MacroRecorder recorder_;
  ApplicationHook keyHook_;
  ApplicationHook windowsKeyHook_;
  ApplicationHook mouseHook_;
};

}  // namespace mvk
