#include "ui/assign/composite_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QScreen>

#include <mutex>
#include <tuple>

#include "model/key_map.h"
#include "platform/ini_file.h"
#include "ui/assign/composite_logic.h"
#include "ui/assign/macro_editing.h"
#include "ui/assign/macro_page.h"
#include "ui/skin/placement.h"
#include "ui/skin/png_button.h"

namespace mvk {
namespace {

constexpr std::u16string_view kSection = u"BUTTONINFO";
constexpr int kFunctionKeyCount = 11;
constexpr double kStaticFontPoints = 10.8;
const QString kFontName = QStringLiteral("Arial Unicode MS");

QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

bool IsKeyEventForWidget(QObject* watched, QEvent* event) {
  return watched->isWidgetType() &&
         (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease);
}

WindowsKeyMessage MessageOf(const QKeyEvent& key) {
  return TranslateKeyEvent(key.nativeScanCode(), key.key(), key.type() == QEvent::KeyRelease,
                           key.isAutoRepeat());
}

bool IsEnterOrEscape(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

Morvakin_DlgComposite::Morvakin_DlgComposite(AssignContext& context, QWidget* parent)
    : CBaseDialog(parent, context.skinFile, context.skinFolder),
      context_(context),
      captureKeyHook_([this](QObject* watched, QEvent* event) { return CaptureKey(watched, event); }),
      captureWindowsKeyHook_([this](QObject* watched, QEvent* event) {
        return CaptureWindowsKeyEvent(watched, event);
      }) {
  setObjectName(QStringLiteral("Morvakin_DlgComposite"));
  MakeControls();
  macroPage_ = new CMacroPage(*this, context_, [this] { EnableApply(true); });
  ConnectControls();
}

Morvakin_DlgComposite::~Morvakin_DlgComposite() { RemoveCaptureHooks(); }

void Morvakin_DlgComposite::MakeControls() {
  const auto make = []<typename Widget>(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
  };
  keyPageButton_ = make(new CPngButton(this), "CONTROL_KEY");
  macroPageButton_ = make(new CPngButton(this), "CONTROL_MACRO");
  mediaPageButton_ = make(new CPngButton(this), "CONTROL_MEDIA");
  functionPageButton_ = make(new CPngButton(this), "CONTROL_FUNCTION");
  clearButton_ = make(new CPngButton(this), "CONTROL_CLEAR");
  pagePicture_ = make(new CPngButton(this), "CONTROL_MASK");
  titlePicture_ = make(new CPngButton(this), "CONTROL_TITLE");
  for (CPngButton* picture : {pagePicture_, titlePicture_}) picture->setEnabled(false);
  oskButton_ = make(new CPngButton(this), "CONTROL_OSK");
  heading_ = make(new QLabel(this), "KEY_SETTING");
  singleKeyHint_ = make(new QLabel(this), "TISHI_SINGLE_STATIC");
  capturedBox_ = make(new QLineEdit(this), "FUNC_KEY_INPUT");
  capturedBox_->setReadOnly(true);
  keyboardRadio_ = make(new QRadioButton(this), "FUNC_KEY_RADIO_KB");
  keyboardRadioLabel_ = make(new QLabel(this), "FUNC_KEY_RADIO_KB_STATIC");
  mouseRadio_ = make(new QRadioButton(this), "FUNC_KEY_RADIO_MOU");
  mouseRadioLabel_ = make(new QLabel(this), "FUNC_KEY_RADIO_MOU_STATIC");
  auto* radios = new QButtonGroup(this);
  radios->addButton(keyboardRadio_);
  radios->addButton(mouseRadio_);
  mouseList_ = make(new QComboBox(this), "FUNC_KEY_COMBO_MOU");
  mediaHint_ = make(new QLabel(this), "MEDIA_SETTING_TISHI");
  mediaList_ = make(new QComboBox(this), "FUNC_MEDIA_SELECT");
  functionHint_ = make(new QLabel(this), "FUNCTION_KEY_SETTING_TISHI");
  functionList_ = make(new QComboBox(this), "FUNC_FUNCTION_SELECT");
  okButton_ = make(new CPngButton(this), "CONTROL_OK");
  cancelButton_ = make(new CPngButton(this), "CONTROL_CANCEL");
  applyButton_ = make(new CPngButton(this), "CONTROL2_APPLY");
  for (CPngButton* button : {keyPageButton_, macroPageButton_, mediaPageButton_, functionPageButton_,
                             okButton_, cancelButton_, applyButton_}) {
    button->SetText(true, kStaticFontPoints, kFontName, kLanguageTextColours);
  }
  for (QLabel* hint : {singleKeyHint_, mediaHint_, functionHint_}) hint->setWordWrap(true);
}

void Morvakin_DlgComposite::ConnectControls() {
  connect(keyPageButton_, &CPngButton::clicked, this, &Morvakin_DlgComposite::OnSingleKeyButton);
  connect(macroPageButton_, &CPngButton::clicked, this, [this] { OnPageButton(kModeMacro); });
  connect(mediaPageButton_, &CPngButton::clicked, this, [this] { OnPageButton(kModeMultimedia); });
  connect(functionPageButton_, &CPngButton::clicked, this, [this] { OnPageButton(kModeFunction); });
  connect(clearButton_, &CPngButton::clicked, this, &Morvakin_DlgComposite::OnClear);
  connect(oskButton_, &CPngButton::clicked, this, [this] { context_.startOnScreenKeyboard(); });
  connect(keyboardRadio_, &QRadioButton::clicked, this, [this] {
    SelectRadio(true);
    mode_ = kModeSingleKey;
  });
  connect(mouseRadio_, &QRadioButton::clicked, this, [this] {
    SelectRadio(false);
    mode_ = kModeSingleKey;
  });
  connect(okButton_, &CPngButton::clicked, this, [this] {
    Apply();
    accept();
  });
  connect(cancelButton_, &CPngButton::clicked, this, &Morvakin_DlgComposite::reject);
  connect(applyButton_, &CPngButton::clicked, this, &Morvakin_DlgComposite::Apply);
}

void Morvakin_DlgComposite::PlaceControls() {
  if (!images_) images_ = LoadCompositeImageSets(context_.skinFolder);
  const SkinStateImages& frame = macroOnly_ ? images_->macroOnly : images_->key;
  const std::tuple<CPngButton*, std::u16string_view, const SkinStateImages&> buttons[] = {
      {keyPageButton_, u"CONTROL_KEY", frame},         {macroPageButton_, u"CONTROL_MACRO", images_->key},
      {mediaPageButton_, u"CONTROL_MEDIA", frame},     {functionPageButton_, u"CONTROL_FUNCTION", frame},
      {clearButton_, u"CONTROL_CLEAR", frame},         {titlePicture_, u"CONTROL_TITLE", frame},
      {pagePicture_, u"CONTROL_MASK", images_->key},   {oskButton_, u"CONTROL_OSK", images_->key},
      {okButton_, u"CONTROL_OK", images_->key},        {cancelButton_, u"CONTROL_CANCEL", images_->key},
      {applyButton_, u"CONTROL2_APPLY", images_->key},
  };
  for (const auto& [button, key, set] : buttons) {
    button->setEnabled(true);
    PlaceSkinButton(*button, context_.skinFile, kSection, key, set);
  }
  for (CPngButton* picture : {pagePicture_, titlePicture_}) picture->setEnabled(false);
  const std::pair<QWidget*, std::u16string_view> controls[] = {
      {heading_, u"KEY_SETTING"},                {singleKeyHint_, u"TISHI_SINGLE_STATIC"},
      {capturedBox_, u"FUNC_KEY_INPUT"},         {keyboardRadio_, u"FUNC_KEY_RADIO_KB"},
      {keyboardRadioLabel_, u"FUNC_KEY_RADIO_KB_STATIC"},
      {mouseRadio_, u"FUNC_KEY_RADIO_MOU"},      {mouseRadioLabel_, u"FUNC_KEY_RADIO_MOU_STATIC"},
      {mouseList_, u"FUNC_KEY_COMBO_MOU"},       {mediaHint_, u"MEDIA_SETTING_TISHI"},
      {mediaList_, u"FUNC_MEDIA_SELECT"},        {functionHint_, u"FUNCTION_KEY_SETTING_TISHI"},
      {functionList_, u"FUNC_FUNCTION_SELECT"},
  };
  for (const auto& [control, key] : controls) PlaceControl(*control, context_.skinFile, kSection, key);
  macroPage_->PlaceControls(images_->macro);
  QFont font(kFontName);
  font.setPointSizeF(kStaticFontPoints);
  for (QLabel* label : findChildren<QLabel*>()) {
    label->setFont(font);
    // The statics stand on the dark face of the skin.
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLanguageTextColours.normal);
    label->setPalette(palette);
  }
}

// The strip under the page buttons shows the pictures of the page shown.
void Morvakin_DlgComposite::ShowPagePicture() {
  const SkinStateImages& set = mode_ == kModeMacro        ? images_->macro
                               : mode_ == kModeMultimedia ? images_->media
                               : mode_ == kModeFunction   ? images_->function
                                                          : images_->key;
  pagePicture_->SetPictures(set.normal, set.hover, set.pressed, set.normal, set.assigned);
}

std::u16string Morvakin_DlgComposite::Text(std::string_view key) const {
  return context_.text(key, languageIndex_);
}

void Morvakin_DlgComposite::FillLists() {
  const KeyTextLookup lookup = [this](std::string_view key) { return Text(key); };
  const auto refill = [](QComboBox* list, const QStringList& items) {
    const int selected = list->currentIndex();
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(selected >= 0 && selected < list->count() ? selected : 0);
  };
  QStringList media;
  for (const MultimediaEntry& entry : MultimediaList()) media << Q(KeyName(entry.code, lookup));
  QStringList functions;
  for (int n = 1; n <= kFunctionKeyCount; ++n) {
    functions << Q(Text("FUNC_KEY_DESC" + std::to_string(n)));
  }
  QStringList mouse;
  for (const MouseEntry& entry : MouseList()) mouse << Q(KeyName(entry.code, lookup));
  refill(mediaList_, media);
  refill(functionList_, functions);
  refill(mouseList_, mouse);
}

void Morvakin_DlgComposite::OpenForKey(int keyCode, QWidget* keyButton) {
  Begin(keyCode, keyButton, false);
  exec();
}

void Morvakin_DlgComposite::OpenMacroOnly(int keyCode, QWidget* keyButton) {
  Begin(keyCode, keyButton, true);
  exec();
}

void Morvakin_DlgComposite::Begin(int keyCode, QWidget* keyButton, bool macroOnly) {
  ++openCount_;
  InitDialog();
  layer_ = 0;
  keyIndex_ = KeyIndexOf(static_cast<KeyCode>(keyCode));
  macroOnly_ = macroOnly;
  keyButton_ = keyButton;
  languageIndex_ = context_.languageIndex();
  PlaceControls();
  for (QComboBox* list : {mediaList_, functionList_, mouseList_}) list->clear();
  FillLists();

  macroPage_->ApplyTexts(languageIndex_);
  macroPage_->PrepareForOpening();
  macroPage_->FillMacroCombo(false);
  firstMacroPage_ = true;

  const std::optional<KeySlot> slot =
      ReadAssignment(context_.config, context_.activeProfile(), SlotIndex());
  mode_ = slot ? slot->type : uint16_t{kAssignDefault};
  storedValue_ = slot ? slot->value : 0;

  for (QWidget* frame : std::initializer_list<QWidget*>{keyPageButton_, mediaPageButton_,
                                                        functionPageButton_, clearButton_}) {
    frame->setEnabled(!macroOnly_);
  }
  if (macroOnly_) mode_ = kModeMacro;
  capturedCode_ = 0;
  ShowPage(true);
  EnableApply(false);
  PlaceDialog(keyButton);
  ApplyLanguage(languageIndex_);
  show();
}

void Morvakin_DlgComposite::PlaceDialog(QWidget* keyButton) {
  QScreen* screen = keyButton ? keyButton->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect button = keyButton ? QRect(keyButton->mapToGlobal(QPoint(0, 0)), keyButton->size())
                                 : QRect();
  move(CompositePlacement(size(), screen->geometry(), button, macroOnly_ || keyButton == nullptr));
}

void Morvakin_DlgComposite::ApplyLanguage(int languageIndex) {
  languageIndex_ = languageIndex;
  keyPageButton_->setText(Q(Text("SINGLE_KEY")));
  macroPageButton_->setText(Q(Text("MACRO_SETTING")));
  mediaPageButton_->setText(Q(Text("MULTI_MEDIA")));
  functionPageButton_->setText(Q(Text("FUNCTION_KEY")));
  clearButton_->setToolTip(Q(Text("COMPOSITE_PROMPT_CLEAR")));
  oskButton_->setToolTip(Q(Text("COMPOSITE_PROMPT_OSK")));
  heading_->setText(Q(Text(macroOnly_ ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI")));
  singleKeyHint_->setText(Q(Text("SINGLE_STATIC")));
  keyboardRadioLabel_->setText(Q(Text("IDS_MACRO_KB_KEY")));
  mouseRadioLabel_->setText(Q(Text("IDS_MACRO_MOU_KEY")));
  mediaHint_->setText(Q(Text("MEDIA_EDIT_TISHI")));
  functionHint_->setText(Q(Text("FUNCTION_TISHI")));
  okButton_->setText(Q(Text("MACRO_OK")));
  cancelButton_->setText(Q(Text("MACRO_CANCLE")));
  applyButton_->setText(Q(Text("MACRO_APPLY")));
  FillLists();
  if (mode_ == kModeSingleKey && keyboardRadio_->isChecked() && capturedCode_ != 0) {
    capturedBox_->setText(Q(KeyName(capturedCode_, [this](std::string_view key) { return Text(key); })));
  }
  macroPage_->ApplyTexts(languageIndex);
}

void Morvakin_DlgComposite::ShowPage(bool initial) {
  switch (mode_) {
    case kModeMacro:
      ShowMacroMode(initial);
      break;
    case kModeMultimedia:
    case kModeFunction: {
      RemoveCaptureHooks();
      StopRecording();
      QComboBox* list = mode_ == kModeMultimedia ? mediaList_ : functionList_;
      if (initial && storedValue_ < static_cast<uint32_t>(list->count())) {
        list->setCurrentIndex(static_cast<int>(storedValue_));
      }
      break;
    }
    default:
      ShowSingleKeyMode(initial);
      break;
  }
  ShowPagePicture();
  UpdateVisibility();
}

void Morvakin_DlgComposite::ShowMacroMode(bool initial) {
  RemoveCaptureHooks();
  if (initial) {
    macroPage_->SelectMacroById(static_cast<uint16_t>(storedValue_));
  } else if (firstMacroPage_) {
    firstMacroPage_ = false;
    if (storedValue_ == 0) macroPage_->SelectFirstMacro();
  }
}

void Morvakin_DlgComposite::ShowSingleKeyMode(bool initial) {
  StopRecording();
  InstallCaptureHooks();
  if (initial) capturedCode_ = static_cast<KeyCode>(storedValue_);
  if (mode_ != kModeSingleKey || capturedCode_ == 0) {
    SelectRadio(true);
    return;
  }
  const int mouseItem = MouseItemOfCode(capturedCode_);
  if (mouseItem >= 0) {
    SelectRadio(false);
    mouseList_->setCurrentIndex(mouseItem);
    return;
  }
  SelectRadio(true);
  capturedBox_->setText(Q(KeyName(capturedCode_, [this](std::string_view key) { return Text(key); })));
}

void Morvakin_DlgComposite::UpdateVisibility() {
  const bool macroPage = mode_ == kModeMacro;
  const bool mediaPage = mode_ == kModeMultimedia;
  const bool functionPage = mode_ == kModeFunction;
  const bool singleKeyPage = !macroPage && !mediaPage && !functionPage;
  macroPage_->SetVisible(macroPage);
  for (QWidget* control : std::initializer_list<QWidget*>{
           capturedBox_, keyboardRadioLabel_, mouseRadioLabel_, keyboardRadio_, mouseRadio_,
           mouseList_}) {
    control->setVisible(singleKeyPage);
  }
  singleKeyHint_->setVisible(singleKeyPage && !macroOnly_);
  mediaHint_->setVisible(mediaPage && !macroOnly_);
  mediaList_->setVisible(mediaPage);
  functionHint_->setVisible(functionPage && !macroOnly_);
  functionList_->setVisible(functionPage);
  keyPageButton_->SetAssigned(singleKeyPage);
  macroPageButton_->SetAssigned(macroPage);
  mediaPageButton_->SetAssigned(mediaPage);
  functionPageButton_->SetAssigned(functionPage);
}

void Morvakin_DlgComposite::OnPageButton(uint16_t mode) {
  if (mode_ != mode) {
    mode_ = mode;
    ShowPage(false);
    EnableApply(true);
  }
  UpdateVisibility();
}

void Morvakin_DlgComposite::OnSingleKeyButton() {
  if (mode_ == kModeSingleKey || mode_ == kAssignDefault) {
    UpdateVisibility();
    return;
  }
  OnPageButton(kModeSingleKey);
}

void Morvakin_DlgComposite::OnClear() {
  OnSingleKeyButton();
  if (mode_ != kModeSingleKey) return;
  capturedBox_->clear();
  mode_ = kAssignDefault;
  SelectRadio(true);
  EnableApply(true);
}

void Morvakin_DlgComposite::SelectRadio(bool keyboard) {
  capturedBox_->setEnabled(keyboard);
  mouseList_->setEnabled(!keyboard);
  keyboardRadio_->setChecked(keyboard);
  mouseRadio_->setChecked(!keyboard);
}

void Morvakin_DlgComposite::Capture(KeyCode code) {
  capturedCode_ = code;
  capturedBox_->setText(Q(KeyName(code, [this](std::string_view key) { return Text(key); })));
  mode_ = kModeSingleKey;
  EnableApply(true);
}

void Morvakin_DlgComposite::StopRecording() {
  if (macroPage_->Recording()) macroPage_->ToggleRecording();
}

void Morvakin_DlgComposite::InstallCaptureHooks() {
  // The Windows-key hook goes last so that it sees the keys first.
  captureKeyHook_.Install();
  captureWindowsKeyHook_.Install();
}

void Morvakin_DlgComposite::RemoveCaptureHooks() {
  captureKeyHook_.Remove();
  captureWindowsKeyHook_.Remove();
}

bool Morvakin_DlgComposite::CaptureKey(QObject* watched, QEvent* event) {
  if (!IsKeyEventForWidget(watched, event)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const CaptureStep step = CaptureKeyMessage(MessageOf(*key), key->isAutoRepeat(),
                                             keyboardRadio_->isChecked());
  if (step.captured != 0) Capture(step.captured);
  return step.swallow;
}

bool Morvakin_DlgComposite::CaptureWindowsKeyEvent(QObject* watched, QEvent* event) {
  if (!IsKeyEventForWidget(watched, event)) return false;
  const std::optional<KeyCode> code = CaptureWindowsKey(MessageOf(*static_cast<QKeyEvent*>(event)).vk);
  if (!code) return false;
  Capture(*code);
  return true;
}

void Morvakin_DlgComposite::Apply() {
  macroPage_->EndActionEdit();
  StopRecording();
  StoreMacros();
  StoreAssignment();
  context_.mainWindow.RefreshKeyButtons();
  EnableApply(false);
  context_.mainWindow.EnableApply(true);
}

void Morvakin_DlgComposite::StoreMacros() {
  MacroList macros = macroPage_->TakeMacrosForApply();
  std::lock_guard lock(context_.config.ConfigLock);
  ReconcileMacroReferences(context_.config, macros);
  context_.config.working.macros = std::move(macros);
}

void Morvakin_DlgComposite::StoreAssignment() {
  AssignmentInput input;
  input.mode = mode_;
  input.keyIndex = keyIndex_;
  input.keyboardRadio = keyboardRadio_->isChecked();
  input.capturedCode = capturedCode_;
  input.mouseItem = mouseList_->currentIndex();
  input.haveMacros = macroPage_->MacroCount() > 0;
  const int current = macroPage_->CurrentMacroIndex();
  input.macroId = current >= 0 ? macroPage_->Macros()[static_cast<std::size_t>(current)].id : 0;
  input.loopCount = macroPage_->LoopCount();
  input.multimediaItem = mediaList_->currentIndex();
  input.functionItem = functionList_->currentIndex();
  const std::optional<AssignmentOutput> slot = BuildAssignment(input);
  if (!slot) return;
  WriteAssignment(context_.config, context_.activeProfile(), SlotIndex(),
                  slot->type, slot->value, slot->extra);
}

int Morvakin_DlgComposite::SlotIndex() const {
  return keyIndex_ + layer_ * static_cast<int>(kKeyIndexCount);
}

void Morvakin_DlgComposite::EnableApply(bool enable) { applyButton_->setEnabled(enable); }

void Morvakin_DlgComposite::CloseIfOpen() {
  if (openCount_ > 0) reject();
}

void Morvakin_DlgComposite::done(int result) {
  if (openCount_ > 0) {
    RemoveCaptureHooks();
    StopRecording();
    macroPage_->Discard();
    EnableApply(false);
    --openCount_;
    if (keyButton_) keyButton_->update();
  }
  CBaseDialog::done(result);
}

void Morvakin_DlgComposite::keyPressEvent(QKeyEvent* event) {
  if (IsEnterOrEscape(event->key())) return;
  if (event->key() == Qt::Key_F1) {
    if (!macroPage_->Recording()) context_.openHelp();
    return;
  }
  CBaseDialog::keyPressEvent(event);
}

void Morvakin_DlgComposite::keyReleaseEvent(QKeyEvent* event) {
  if (IsEnterOrEscape(event->key())) return;
  CBaseDialog::keyReleaseEvent(event);
}

}  // namespace mvk
