#include "ui/assign/macro_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QTableWidget>

#include <algorithm>
#include <mutex>

#include "model/key_map.h"
#include "ui/assign/macro_editing.h"
#include "ui/prompts.h"
#include "ui/skin/placement.h"
#include "ui/skin/png_button.h"

namespace mvk {
namespace {

constexpr std::u16string_view kSection = u"BUTTONINFO";
constexpr int kColumnWidth = 170;
constexpr double kButtonTextPoints = 10.8;
constexpr const char* kPressText = "\u2193";
constexpr const char* kReleaseText = "  \u2191";
constexpr std::string_view kRecordDelaysValueKey = "MACRO_ACTION_RECORD_DELAY";
constexpr std::string_view kProfilesKey = "PROFILES";

QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

QString ActionText(uint16_t action) {
  return QString::fromUtf8(action == kMacroRelease ? kReleaseText : kPressText);
}

KeyCode MouseButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 0x171;
    case Qt::RightButton: return 0x172;
    case Qt::MiddleButton: return 0x173;
    default: return 0;
  }
}

WindowsKeyMessage MessageOf(const QKeyEvent& key) {
  return TranslateKeyEvent(key.nativeScanCode(), key.key(), key.type() == QEvent::KeyRelease,
                           key.isAutoRepeat());
}

bool IsKeyEventForWidget(QObject* watched, QEvent* event) {
  return watched->isWidgetType() &&
         (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease);
}

}  // namespace

CMacroPage::CMacroPage(QWidget& dialog, AssignContext& context, std::function<void()> markChanged)
    : QObject(&dialog),
      context_(context),
      markChanged_(std::move(markChanged)),
      recorder_([this](const MacroEvent& event) { AddRecorded(event); }),
      keyHook_([this](QObject* watched, QEvent* event) { return RecordKey(watched, event); }),
      windowsKeyHook_(
          [this](QObject* watched, QEvent* event) { return RecordWindowsKey(watched, event); }),
      mouseHook_([this](QObject* watched, QEvent* event) { return RecordMouse(watched, event); }) {
  MakeControls(dialog);
  ConnectControls();
}

CMacroPage::~CMacroPage() { RemoveRecordingHooks(); }

void CMacroPage::MakeControls(QWidget& dialog) {
  const auto named = [](QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
  };
  nameLabel_ = static_cast<QLabel*>(named(new QLabel(&dialog), "MARCO_NAME_SETTING"));
  combo_ = static_cast<QComboBox*>(named(new QComboBox(&dialog), "FUNC_MACRO_LIST"));
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->lineEdit()->setMaxLength(static_cast<int>(kMaxMacroNameLength));
  addButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_ADD"));
  deleteButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_DELETE"));
  actions_ = static_cast<QTableWidget*>(named(new QTableWidget(0, 3, &dialog), "FUNC_MACRO_LIST2"));
  actions_->setSelectionBehavior(QAbstractItemView::SelectRows);
  actions_->setSelectionMode(QAbstractItemView::SingleSelection);
  actions_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  actions_->verticalHeader()->hide();
  for (int column = 0; column < 3; ++column) actions_->setColumnWidth(column, kColumnWidth);
  actions_->viewport()->installEventFilter(this);
  recordButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_RECORD"));
  recordButton_->SetText(true, kButtonTextPoints, QStringLiteral("Arial Unicode MS"),
                         kLanguageTextColours);
  deleteActionButton_ =
      static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_DELETE2"));
  clearButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_CLEAR"));
  topButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_UP_TOP"));
  upButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_UP"));
  downButton_ = static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_DOWN"));
  bottomButton_ =
      static_cast<CPngButton*>(named(new CPngButton(&dialog), "FUNC_MACRO_DOWN_BOTTOM"));
  recordDelaysBox_ =
      static_cast<QCheckBox*>(named(new QCheckBox(&dialog), "FUNC_MACRO_RECORD_DELAY"));
  recordDelaysLabel_ =
      static_cast<QLabel*>(named(new QLabel(&dialog), "FUNC_MACRO_RECORD_DELAY2"));
  loopCountLabel_ = static_cast<QLabel*>(named(new QLabel(&dialog), "FUNC_MACRO_CYCLES_PROMPT"));
  loopCountBox_ = static_cast<QLineEdit*>(named(new QLineEdit(&dialog), "FUNC_MACRO_CYCLES"));
}

void CMacroPage::ConnectControls() {
  connect(combo_, &QComboBox::currentIndexChanged, this, &CMacroPage::OnComboSelection);
  connect(combo_->lineEdit(), &QLineEdit::textEdited, this, &CMacroPage::OnComboTextEdited);
  connect(addButton_, &CPngButton::clicked, this, &CMacroPage::AddMacro);
  connect(deleteButton_, &CPngButton::clicked, this, &CMacroPage::DeleteMacro);
  connect(recordButton_, &CPngButton::clicked, this, &CMacroPage::ToggleRecording);
  connect(deleteActionButton_, &CPngButton::clicked, this, &CMacroPage::DeleteAction);
  connect(clearButton_, &CPngButton::clicked, this, &CMacroPage::ClearActions);
  connect(topButton_, &CPngButton::clicked, this, [this] { MoveAction(0); });
  connect(upButton_, &CPngButton::clicked, this, [this] { MoveAction(1); });
  connect(downButton_, &CPngButton::clicked, this, [this] { MoveAction(2); });
  connect(bottomButton_, &CPngButton::clicked, this, [this] { MoveAction(3); });
  connect(recordDelaysBox_, &QCheckBox::clicked, this, &CMacroPage::OnRecordDelaysClicked);
  connect(loopCountBox_, &QLineEdit::textEdited, this, &CMacroPage::OnLoopCountEdited);
}

void CMacroPage::PlaceControls(const SkinStateImages& macroSet) {
  const std::pair<CPngButton*, std::u16string_view> buttons[] = {
      {addButton_, u"FUNC_MACRO_ADD"},              {deleteButton_, u"FUNC_MACRO_DELETE"},
      {recordButton_, u"FUNC_MACRO_RECORD"},        {deleteActionButton_, u"FUNC_MACRO_DELETE2"},
      {clearButton_, u"FUNC_MACRO_CLEAR"},          {topButton_, u"FUNC_MACRO_UP_TOP"},
      {upButton_, u"FUNC_MACRO_UP"},                {downButton_, u"FUNC_MACRO_DOWN"},
      {bottomButton_, u"FUNC_MACRO_DOWN_BOTTOM"},
  };
  for (const auto& [button, key] : buttons) {
    PlaceSkinButton(*button, context_.skinFile, kSection, key, macroSet);
  }
  const std::pair<QWidget*, std::u16string_view> controls[] = {
      {nameLabel_, u"MARCO_NAME_SETTING"},          {combo_, u"FUNC_MACRO_LIST"},
      {actions_, u"FUNC_MACRO_LIST2"},              {recordDelaysBox_, u"FUNC_MACRO_RECORD_DELAY"},
      {recordDelaysLabel_, u"FUNC_MACRO_RECORD_DELAY2"},
      {loopCountLabel_, u"FUNC_MACRO_CYCLES_PROMPT"},  {loopCountBox_, u"FUNC_MACRO_CYCLES"},
  };
  for (const auto& [control, key] : controls) PlaceControl(*control, context_.skinFile, kSection, key);
}

std::u16string CMacroPage::Text(std::string_view key) const {
  return context_.text(key, languageIndex_);
}

void CMacroPage::ApplyTexts(int languageIndex) {
  languageIndex_ = languageIndex;
  nameLabel_->setText(Q(Text("MACRO_NAME_SETTING")));
  loopCountLabel_->setText(Q(Text("MACRO_CYCLES")));
  recordDelaysLabel_->setText(Q(Text("RECORD_DELAY")));
  recordButton_->setText(Q(Text(recording_ ? "MACRO_ACTION_STOP_RECORD" : "A_RECORD")));
  actions_->setHorizontalHeaderLabels({Q(Text("MACRO_KEYS_TISHI")), Q(Text("MACRO_ACTION_TISHI")),
                                       Q(Text("MACRO_DELAY_MS"))});
  deleteActionButton_->setToolTip(Q(Text("A_DELETE")));
  clearButton_->setToolTip(Q(Text("A_CLEAR")));
  topButton_->setToolTip(Q(Text("A_TOP")));
  upButton_->setToolTip(Q(Text("A_UP")));
  downButton_->setToolTip(Q(Text("A_DOWN")));
  bottomButton_->setToolTip(Q(Text("A_BOTTOM")));
}

void CMacroPage::SetVisible(bool visible) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           nameLabel_, combo_, addButton_, deleteButton_, actions_, recordButton_,
           deleteActionButton_, clearButton_, topButton_, upButton_, downButton_, bottomButton_,
           recordDelaysBox_, recordDelaysLabel_, loopCountLabel_, loopCountBox_}) {
    control->setVisible(visible);
  }
}

void CMacroPage::PrepareForOpening() {
  recording_ = false;
  recordButton_->SetAssigned(false);
  recordButton_->setText(Q(Text("A_RECORD")));
  loopCountBox_->setText("1");
  const QString valueName = Q(Text(kRecordDelaysValueKey));
  recordDelays_ = NormalisedRecordDelays(
      context_.settings.GetText(kProfilesKey, valueName.toStdString()));
  context_.settings.SetText(kProfilesKey, valueName.toStdString(), recordDelays_ == 1 ? u"1" : u"0");
  recordDelaysBox_->setChecked(recordDelays_ == 1);
}

void CMacroPage::FillMacroCombo(bool keepCurrent) {
  guard_ = true;
  if (!keepCurrent) {
    combo_->clear();
    copies_.clear();
  }
  {
    std::lock_guard lock(context_.config.ConfigLock);
    for (MacroRecord copy : context_.config.working.macros) {
      copy.isNew = 0;
      combo_->addItem(Q(copy.Name()));
      copies_.push_back(std::move(copy));
    }
  }
  guard_ = false;
  current_ = combo_->currentIndex();
  ShowMacroPage(keepCurrent);
}

void CMacroPage::ShowMacroPage(bool keepRows) {
  if (copies_.empty()) current_ = -1;
  if (!keepRows) {
    AbandonEdit();
    rows_.clear();
    actions_->setRowCount(0);
    if (current_ >= 0) {
      const MacroRecord& macro = copies_[static_cast<std::size_t>(current_)];
      SetLoopCountText(CorrectedLoopCount(macro.cycles).value_or(macro.cycles));
      for (const MacroEvent& event : macro.UsedEvents()) AddActionRow(event, false, false, false, true);
    }
  }
  const bool haveMacro = current_ >= 0;
  for (QWidget* control : std::initializer_list<QWidget*>{recordButton_, deleteActionButton_,
                                                          clearButton_, topButton_, upButton_,
                                                          downButton_, bottomButton_}) {
    control->setEnabled(haveMacro);
  }
}

void CMacroPage::StorePageToMacro(int index) {
  if (copies_.empty() || index < 0 || index >= MacroCount()) return;
  MacroRecord& macro = copies_[static_cast<std::size_t>(index)];
  macro.cycles = static_cast<uint8_t>(LoopCount() & 0xFF);
  macro.eventCount = static_cast<uint16_t>(rows_.size());
  std::copy(rows_.begin(), rows_.end(), macro.events.begin());
  std::fill(macro.events.begin() + static_cast<std::ptrdiff_t>(rows_.size()), macro.events.end(),
            MacroEvent{});
}

int CMacroPage::LoopCount() const {
  return ParseLoopCount(loopCountBox_->text().toStdU16String());
}

void CMacroPage::SetLoopCountText(int value) { loopCountBox_->setText(QString::number(value)); }

void CMacroPage::SelectComboItem(int index) {
  guard_ = true;
  combo_->setCurrentIndex(index);
  guard_ = false;
}

void CMacroPage::SelectMacroById(uint16_t id) {
  const auto found = std::find_if(copies_.begin(), copies_.end(),
                                  [id](const MacroRecord& macro) { return macro.id == id; });
  const int position = found == copies_.end() ? 0 : static_cast<int>(found - copies_.begin());
  current_ = copies_.empty() ? -1 : position;
  if (current_ >= 0) SelectComboItem(current_);
  ShowMacroPage(false);
}

void CMacroPage::SelectFirstMacro() {
  if (copies_.empty()) return;
  SelectComboItem(0);
  current_ = 0;
  ShowMacroPage(false);
}

MacroList CMacroPage::TakeMacrosForApply() {
  StorePageToMacro(current_);
  for (MacroRecord& macro : copies_) macro.isNew = 0;
  return copies_;
}

void CMacroPage::Discard() {
  AbandonEdit();
  if (recording_) ToggleRecording();
  rows_.clear();
  actions_->setRowCount(0);
  guard_ = true;
  combo_->clear();
  guard_ = false;
  copies_.clear();
  current_ = -1;
}

void CMacroPage::ShowFormattedMessage(std::string_view key, int number) {
  // The language text is a printf format with one number; only "%d" is
  // replaced, so that a stray directive in a language file reads as text.
  QString text = Q(Text(key));
  text.replace(QStringLiteral("%d"), QString::number(number));
  context_.prompts.ShowMessage(combo_->window(), text);
}

void CMacroPage::OnComboSelection(int index) {
  if (guard_) return;
  EndActionEdit();
  if (current_ >= 0) StorePageToMacro(current_);
  current_ = index;
  ShowMacroPage(false);
}

void CMacroPage::OnComboTextEdited(const QString& text) {
  const std::u16string name = text.left(static_cast<qsizetype>(kMaxMacroNameLength)).toStdU16String();
  if (!copies_.empty()) {
    // With macros but none current, typing has nothing to rename.
    if (current_ < 0) return;
    copies_[static_cast<std::size_t>(current_)].SetName(name);
    const int cursor = combo_->lineEdit()->cursorPosition();
    guard_ = true;
    combo_->setItemText(current_, Q(name));
    guard_ = false;
    combo_->lineEdit()->setCursorPosition(cursor);
  } else {
    MacroRecord first;
    first.SetName(name);
    first.cycles = 1;
    first.isNew = 1;
    first.id = 1;
    copies_.push_back(first);
    current_ = 0;
    guard_ = true;
    combo_->insertItem(0, Q(name));
    combo_->setCurrentIndex(0);
    guard_ = false;
    ShowMacroPage(false);
  }
  markChanged_();
}

void CMacroPage::AddMacro() {
  if (copies_.size() >= kMaxMacros) {
    ShowFormattedMessage("MACRO_ERR_MAX", static_cast<int>(kMaxMacros));
    return;
  }
  if (copies_.empty()) nameCounter_ = 0;
  std::vector<std::u16string> names;
  for (int i = 0; i < combo_->count(); ++i) names.push_back(combo_->itemText(i).toStdU16String());
  const std::u16string prefix = Text("MACRO_NEW_PREFIX");
  nameCounter_ = NextNameCounter(prefix, nameCounter_, names);
  std::optional<MacroRecord> macro = MakeNewMacro(copies_, NewMacroName(prefix, nameCounter_));
  if (!macro) return;
  EndActionEdit();
  StorePageToMacro(current_);
  copies_.push_back(std::move(*macro));
  guard_ = true;
  combo_->addItem(Q(copies_.back().Name()));
  guard_ = false;
  current_ = MacroCount() - 1;
  SelectComboItem(current_);
  ShowMacroPage(false);
  markChanged_();
}

void CMacroPage::DeleteMacro() {
  if (copies_.empty() || current_ < 0) return;
  if (!MacroUsedByKeys(context_.config, copies_[static_cast<std::size_t>(current_)],
                       context_.questions)) {
    return;
  }
  AbandonEdit();
  const int deleted = current_;
  copies_.erase(copies_.begin() + deleted);
  guard_ = true;
  combo_->removeItem(deleted);
  guard_ = false;
  current_ = copies_.empty() ? -1 : std::max(deleted - 1, 0);
  if (current_ >= 0) SelectComboItem(current_);
  ShowMacroPage(false);
  markChanged_();
}

void CMacroPage::OnLoopCountEdited(const QString& text) {
  if (const std::optional<int> corrected = CorrectedLoopCount(ParseLoopCount(text.toStdU16String()))) {
    SetLoopCountText(*corrected);
  }
  markChanged_();
}

void CMacroPage::OnRecordDelaysClicked() {
  const uint32_t flag = recordDelays_ == 1 ? 0 : 1;
  const QString valueName = Q(Text(kRecordDelaysValueKey));
  context_.settings.SetText(kProfilesKey, valueName.toStdString(), flag == 1 ? u"1" : u"0");
  recordDelays_ = flag;
  recordDelaysBox_->setChecked(flag == 1);
}

std::optional<std::size_t> CMacroPage::SelectedRow() const {
  const QList<QModelIndex> selected = actions_->selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(selected.front().row());
}

void CMacroPage::ShowRow(std::size_t row) {
  const MacroEvent& event = rows_[row];
  const int r = static_cast<int>(row);
  const KeyTextLookup lookup = [this](std::string_view key) { return Text(key); };
  const QString texts[] = {Q(KeyName(event.key, lookup)), ActionText(event.action),
                           QString::number(event.delay)};
  for (int column = 0; column < 3; ++column) {
    QTableWidgetItem* item = actions_->item(r, column);
    if (item == nullptr) {
      item = new QTableWidgetItem;
      actions_->setItem(r, column, item);
    }
    item->setText(texts[column]);
    if (column < 2) item->setForeground(actions_->palette().color(QPalette::Disabled, QPalette::Text));
  }
}

void CMacroPage::InsertTableRow(std::size_t row) {
  actions_->insertRow(static_cast<int>(row));
  ShowRow(row);
}

void CMacroPage::AddActionRow(const MacroEvent& event, bool recorded, bool markChanged,
                              bool afterSelection, bool loading) {
  EndActionEdit();
  const std::optional<std::size_t> selected = afterSelection ? SelectedRow() : std::nullopt;
  const std::optional<std::size_t> row = InsertActionRow(rows_, selected, event, afterSelection, loading);
  if (!row) return;
  InsertTableRow(*row);
  if (!loading && *row > 0) ShowRow(*row - 1);
  if (recorded) {
    actions_->selectRow(static_cast<int>(*row));
    actions_->scrollToItem(actions_->item(static_cast<int>(*row), 0));
  }
  if (markChanged) markChanged_();
}

void CMacroPage::DeleteAction() {
  EndActionEdit();
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) return;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*row));
  actions_->removeRow(static_cast<int>(*row));
  if (!rows_.empty()) actions_->selectRow(static_cast<int>(std::min(*row, rows_.size() - 1)));
  markChanged_();
}

void CMacroPage::ClearActions() {
  EndActionEdit();
  if (rows_.empty()) return;
  if (!context_.questions.AskYesNo("MACRO_ACTION_CLEAR_CONFIRM")) return;
  rows_.clear();
  actions_->setRowCount(0);
  markChanged_();
}

void CMacroPage::MoveAction(int where) {
  EndActionEdit();
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) return;
  const std::size_t last = rows_.size() - 1;
  const std::size_t targets[] = {0, *row == 0 ? 0 : *row - 1, std::min(*row + 1, last), last};
  const std::size_t to = MoveActionRow(rows_, *row, targets[where]);
  for (std::size_t r = std::min(*row, to); r <= std::max(*row, to); ++r) ShowRow(r);
  actions_->selectRow(static_cast<int>(to));
  actions_->scrollToItem(actions_->item(static_cast<int>(to), 0));
  actions_->setFocus();
  markChanged_();
}

bool CMacroPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == actions_->viewport() && event->type() == QEvent::MouseButtonPress) {
    return OnListPress(event);
  }
  if (edit_ && watched == edit_->editor && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    AbandonEdit();
    return true;
  }
  return false;
}

bool CMacroPage::OnListPress(QEvent* event) {
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  const std::optional<std::size_t> selected = SelectedRow();
  if (!selected) return false;
  EndActionEdit();
  const QPoint position = mouse->position().toPoint();
  const QModelIndex index = actions_->indexAt(position);
  if (index.isValid()) {
    if (static_cast<std::size_t>(index.row()) != *selected) return false;
    BeginEdit(*selected, static_cast<EditColumn>(index.column()));
    return true;
  }
  const QRect rowRect = actions_->visualRect(actions_->model()->index(static_cast<int>(*selected), 0));
  if (position.y() < rowRect.top() || position.y() > rowRect.bottom()) return false;
  context_.prompts.ShowMessage(actions_->window(), Q(Text("MACRO_ACTION_ERR_MODIFY")));
  return true;
}

void CMacroPage::BeginEdit(std::size_t row, EditColumn column) {
  if (column == EditColumn::Delay && recording_) ToggleRecording();
  const MacroEvent& event = rows_[row];
  QWidget* editor = nullptr;
  if (column == EditColumn::Key) {
    auto* keys = new QComboBox(actions_->viewport());
    const KeyTextLookup lookup = [this](std::string_view key) { return Text(key); };
    for (int position = 0; position < kKeyListSize; ++position) {
      keys->addItem(Q(KeyNameByListPosition(position, lookup)));
    }
    const uint16_t position = ListPositionOfKey(event.key);
    keys->setCurrentIndex(position == kNoListPosition ? -1 : position);
    connect(keys, &QComboBox::activated, this, &CMacroPage::ConfirmEdit);
    editor = keys;
  } else if (column == EditColumn::Action) {
    auto* actions = new QComboBox(actions_->viewport());
    actions->addItems({ActionText(kMacroPress), ActionText(kMacroRelease)});
    actions->setCurrentIndex(event.action == kMacroRelease ? 1 : 0);
    connect(actions, &QComboBox::activated, this, &CMacroPage::ConfirmEdit);
    editor = actions;
  } else {
    auto* delay = new QLineEdit(QString::number(event.delay), actions_->viewport());
    delay->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), delay));
    delay->selectAll();
    connect(delay, &QLineEdit::editingFinished, this, &CMacroPage::ConfirmEdit);
    editor = delay;
  }
  editor->setObjectName(QStringLiteral("ActionEditor"));
  editor->installEventFilter(this);
  editor->setGeometry(
      actions_->visualRect(actions_->model()->index(static_cast<int>(row), static_cast<int>(column))));
  editor->show();
  editor->setFocus();
  edit_ = Edit{row, column, editor};
}

void CMacroPage::EndActionEdit() { ConfirmEdit(); }

void CMacroPage::ConfirmEdit() {
  if (!edit_) return;
  const Edit edit = *edit_;
  FinishEditor();
  if (!edit.editor || edit.row >= rows_.size()) return;
  MacroEvent& event = rows_[edit.row];
  const MacroEvent before = event;
  if (edit.column == EditColumn::Key) {
    const KeyCode code = KeyCodeOfListPosition(static_cast<QComboBox*>(edit.editor.data())->currentIndex());
    if (code != 0) event.key = code;
  } else if (edit.column == EditColumn::Action) {
    event.action = static_cast<QComboBox*>(edit.editor.data())->currentIndex() == 1 ? kMacroRelease
                                                                                   : kMacroPress;
  } else {
    const TypedDelay typed =
        CutTypedDelay(static_cast<QLineEdit*>(edit.editor.data())->text().toStdU16String());
    if (typed.overLimit) ShowFormattedMessage("MACRO_ACTION_ERR_DELAY_MAX", static_cast<int>(kMaxTypedDelayMs));
    event.delay = typed.delayMs;
  }
  if (event == before) return;
  ShowRow(edit.row);
  markChanged_();
}

void CMacroPage::AbandonEdit() { FinishEditor(); }

void CMacroPage::FinishEditor() {
  if (!edit_) return;
  QPointer<QWidget> editor = edit_->editor;
  edit_.reset();
  if (!editor) return;
  editor->disconnect(this);
  editor->removeEventFilter(this);
  editor->hide();
  editor->deleteLater();
}

void CMacroPage::ToggleRecording() {
  recording_ = !recording_;
  recordButton_->SetAssigned(recording_);
  recordButton_->setText(Q(Text(recording_ ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD")));
  addButton_->setEnabled(!recording_);
  deleteButton_->setEnabled(!recording_);
  combo_->setEnabled(!recording_);
  if (recording_) {
    recorder_.Start(context_.tickCount(), recordDelays_);
    InstallRecordingHooks();
  } else {
    RemoveRecordingHooks();
  }
}

void CMacroPage::InstallRecordingHooks() {
  // Later hooks see events first: the Windows keys before the others.
  keyHook_.Install();
  windowsKeyHook_.Install();
  mouseHook_.Install();
}

void CMacroPage::RemoveRecordingHooks() {
  keyHook_.Remove();
  windowsKeyHook_.Remove();
  mouseHook_.Remove();
}

void CMacroPage::AddRecorded(const MacroEvent& event) { AddActionRow(event, true, true, true, false); }

bool CMacroPage::RecordKey(QObject* watched, QEvent* event) {
  if (!IsKeyEventForWidget(watched, event)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  return recorder_.OnKeyMessage(MessageOf(*key), key->isAutoRepeat(), context_.tickCount());
}

bool CMacroPage::RecordWindowsKey(QObject* watched, QEvent* event) {
  if (!IsKeyEventForWidget(watched, event)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  return recorder_.OnWindowsKeyEvent(MessageOf(*key).vk, key->type() == QEvent::KeyPress,
                                     key->isAutoRepeat(), context_.tickCount());
}

bool CMacroPage::RecordMouse(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::MouseButtonPress;
  if (!watched->isWidgetType() || !(press || event->type() == QEvent::MouseButtonRelease)) {
    return false;
  }
  // A press travels on to the parents of a widget that ignores it; only the
  // first delivery is the user's click.
  if (!event->spontaneous()) return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const KeyCode code = MouseButtonCode(mouse->button());
  if (code == 0) return false;
  const QPoint onRecordButton = recordButton_->mapFromGlobal(mouse->globalPosition().toPoint());
  if (mouse->button() == Qt::LeftButton && recordButton_->rect().contains(onRecordButton)) return false;
  recorder_.OnMouseButton(code, press, context_.tickCount());
  return false;
}

}  // namespace mvk
