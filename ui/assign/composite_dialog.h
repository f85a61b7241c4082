// The key assignment dialog: what one key of the active profile does.
// Four pages (single key, macro, multimedia, function key) and Clear; OK and
// Apply store the key slot and the macro list in the working configuration.
#pragma once

#include <QPointer>

#include <cstdint>
#include <optional>

#include "model/keys.h"
#include "ui/assign/application_hook.h"
#include "ui/assign/assign_context.h"
#include "ui/assign/composite_images.h"
#include "ui/main/window_apis.h"
#include "ui/skin/base_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace mvk {

class CMacroPage;
class CPngButton;

class Morvakin_DlgComposite : public CBaseDialog, public AssignmentDialogApi {
  Q_OBJECT

 public:
  Morvakin_DlgComposite(AssignContext& context, QWidget* parent = nullptr);
  ~Morvakin_DlgComposite() override;

  // AssignmentDialogApi: the two openings run the dialog modally.
  void OpenForKey(int keyCode, QWidget* keyButton) override;
  void OpenMacroOnly(int keyCode, QWidget* keyButton) override;
  bool IsOpen() const override { return openCount_ > 0; }
  void CloseIfOpen() override;
  void ApplyLanguage(int languageIndex) override;

  // Opens the dialog for a key and shows it without waiting for it to end.
  void Begin(int keyCode, QWidget* keyButton, bool macroOnly);

  uint16_t Mode() const { return mode_; }
  KeyCode CapturedCode() const { return capturedCode_; }
  CMacroPage& MacroPage() { return *macroPage_; }

  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void MakeControls();
  void ConnectControls();
  void PlaceControls();
  void PlaceDialog(QWidget* keyButton);
  void FillLists();
  std::u16string Text(std::string_view key) const;

  void ShowPagePicture();
  void ShowPage(bool initial);
  void ShowMacroMode(bool initial);
  void ShowSingleKeyMode(bool initial);
  void UpdateVisibility();
  void OnPageButton(uint16_t mode);
  void OnSingleKeyButton();
  void OnClear();
  void SelectRadio(bool keyboard);
  void Capture(KeyCode code);
  void StopRecording();

  void InstallCaptureHooks();
  void RemoveCaptureHooks();
  bool CaptureKey(QObject* watched, QEvent* event);
  bool CaptureWindowsKeyEvent(QObject* watched, QEvent* event);

  void Apply();
  void StoreMacros();
  void StoreAssignment();
  void EnableApply(bool enable);
  int SlotIndex() const;

  AssignContext& context_;
  CMacroPage* macroPage_ = nullptr;
  int languageIndex_ = 0;

  // The key being assigned and how the dialog was opened.
  KeyIndex keyIndex_ = 0;
  uint16_t layer_ = 0;
  bool macroOnly_ = false;
  QPointer<QWidget> keyButton_;
  // The assignment type being edited.
  uint16_t mode_ = 0;
  KeyCode capturedCode_ = 0;
  uint32_t storedValue_ = 0;
  bool firstMacroPage_ = false;
  int openCount_ = 0;

  std::optional<CompositeImageSets> images_;
  CPngButton* keyPageButton_ = nullptr;
  CPngButton* macroPageButton_ = nullptr;
  CPngButton* mediaPageButton_ = nullptr;
  CPngButton* functionPageButton_ = nullptr;
  CPngButton* clearButton_ = nullptr;
  CPngButton* pagePicture_ = nullptr;
  CPngButton* titlePicture_ = nullptr;
  CPngButton* oskButton_ = nullptr;
  QLabel* heading_ = nullptr;
  QLabel* singleKeyHint_ = nullptr;
  QLineEdit* capturedBox_ = nullptr;
  QRadioButton* keyboardRadio_ = nullptr;
  QLabel* keyboardRadioLabel_ = nullptr;
  QRadioButton* mouseRadio_ = nullptr;
  QLabel* mouseRadioLabel_ = nullptr;
  QComboBox* mouseList_ = nullptr;
  QLabel* mediaHint_ = nullptr;
  QComboBox* mediaList_ = nullptr;
  QLabel* functionHint_ = nullptr;
  QComboBox* functionList_ = nullptr;
  CPngButton* okButton_ = nullptr;
  CPngButton* cancelButton_ = nullptr;
  CPngButton* applyButton_ = nullptr;

  ApplicationHook captureKeyHook_;
  ApplicationHook captureWindowsKeyHook_;
};

}  // namespace mvk
