#include "ui/main/lighting_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <string>

#include "model/settings_block.h"
#include "ui/main/panel_picture.h"
#include "ui/skin/placement.h"

namespace mvk {
namespace {

namespace id = lighting_control;
using Kind = CPanelPicture::Kind;

constexpr std::u16string_view kSection = u"BUTTONINFO";
constexpr int kBrightnessMax = 5;
constexpr int kSpeedMax = 4;
constexpr int kOptionCount = 4;

constexpr std::array<std::u16string_view, kOptionCount> kOptionKeys = {
    u"CONTROL_HONGPIC", u"CONTROL_HUANGPIC", u"CONTROL_LVPIC", u"CONTROL_LANPIC"};
const std::array<QColor, kOptionCount> kOptionColours = {
    QColor(230, 30, 30), QColor(240, 210, 0), QColor(40, 200, 60), QColor(30, 90, 240)};

std::u16string Joined(std::u16string_view key, std::u16string_view suffix) {
  std::u16string joined(key);
  joined += suffix;
  return joined;
}

std::pair<Kind, Kind> DirectionKinds(int effect) {
  switch (DirectionPicturesFor(effect)) {
    case DirectionPictures::kVertical: return {Kind::kArrowUp, Kind::kArrowDown};
    case DirectionPictures::kCircle: return {Kind::kCircleIn, Kind::kCircleOut};
    default: return {Kind::kArrowLeft, Kind::kArrowRight};
  }
}

}  // namespace

CLightingPanel::CLightingPanel(QWidget& window, LightingPanelContext context)
    : QObject(&window), window_(window), context_(std::move(context)) {
  BuildControls(window);
  ApplyTexts();
  previewTimer_.setInterval(kPreviewIntervalMs);
  connect(&previewTimer_, &QTimer::timeout, this, &CLightingPanel::PreviewTick);
  window.installEventFilter(this);
  HideAll();
}

CLightingPanel::~CLightingPanel() = default;

QWidget* CLightingPanel::Control(int controlId) const {
  const auto found = controls_.find(controlId);
  return found == controls_.end() ? nullptr : found->second;
}

template <typename Widget>
Widget* CLightingPanel::Add(int controlId, Widget* widget, std::u16string_view geometryKey) {
  PlaceControl(*widget, context_.skinFile, kSection, geometryKey);
  controls_[controlId] = widget;
  return widget;
}

void CLightingPanel::BuildControls(QWidget& window) {
  auto* lightSwitch = Add(id::kLightSwitch, new CPanelPicture(Kind::kSwitch, &window),
                          u"CONTROL_DengStaPic");
  connect(lightSwitch, &QAbstractButton::clicked, this, &CLightingPanel::ToggleLightView);
  Add(id::kLightSwitchLabel, new QLabel(&window), u"CONTROL_DengStatic");

  auto* effects = Add(id::kEffectList, new QComboBox(&window), u"CONTROL_XGcombox");
  connect(effects, &QComboBox::activated, this, &CLightingPanel::OnEffectListChanged);

  const auto addSlider = [&](int sliderId, int labelId, int maximum, std::u16string_view label,
                             std::u16string_view slider) {
    Add(labelId, new QLabel(&window), label);
    auto* control = Add(sliderId, new QSlider(Qt::Horizontal, &window), slider);
    control->setRange(0, maximum);
    control->setPageStep(1);
    control->setTickPosition(QSlider::TicksBelow);
    // Posted, so slider handling takes its turn with the other handlers.
    connect(control, &QSlider::valueChanged, this, [this, sliderId](int position) {
      QMetaObject::invokeMethod(
          this, [this, sliderId, position] { OnSliderMessage(sliderId, position); },
          Qt::QueuedConnection);
    });
  };
  addSlider(id::kBrightnessSlider, id::kBrightnessLabel, kBrightnessMax, u"CONTROL_LightStatic",
            u"CONTROL_LightSlider");
  addSlider(id::kSpeedSlider, id::kSpeedLabel, kSpeedMax, u"CONTROL_SpeedStatic",
            u"CONTROL_SpeedSlider");

  Add(id::kDirectionLabel, new QLabel(&window), u"CONTROL_BLFXStatic");
  auto* left = Add(id::kDirectionLeft, new CPanelPicture(Kind::kArrowLeft, &window),
                   u"CONTROL_BLFXLStaPic");
  auto* right = Add(id::kDirectionRight, new CPanelPicture(Kind::kArrowRight, &window),
                    u"CONTROL_BLFXRStaPic");
  connect(left, &QAbstractButton::clicked, this, [this] { OnDirection(preview::kDirectionForward); });
  connect(right, &QAbstractButton::clicked, this, [this] { OnDirection(0); });

  Add(id::kColourLabelA, new QLabel(&window), u"CONTROL_FYYSStatic");
  auto* colourA = Add(id::kColourButtonA, new CPanelPicture(Kind::kSwatch, &window),
                      u"CONTROL_FYYSButton");
  auto* multiA = Add(id::kMultiSwitchA, new CPanelPicture(Kind::kSwitch, &window),
                     u"CONTROL_FYSJSStaPic");
  Add(id::kMultiLabelA, new QLabel(&window), u"CONTROL_FYSJSStatic");
  Add(id::kColourLabelB, new QLabel(&window), u"CONTROL_HXysStatic");
  auto* colourB = Add(id::kColourButtonB, new CPanelPicture(Kind::kSwatch, &window),
                      u"CONTROL_HXysButton");
  auto* multiB = Add(id::kMultiSwitchB, new CPanelPicture(Kind::kSwitch, &window),
                     u"CONTROL_HXsjsStaPic");
  Add(id::kMultiLabelB, new QLabel(&window), u"CONTROL_HXsjsStatic");
  for (auto* button : {colourA, colourB}) {
    connect(button, &QAbstractButton::clicked, this, &CLightingPanel::OnColourButton);
  }
  for (auto* button : {multiA, multiB}) {
    connect(button, &QAbstractButton::clicked, this, &CLightingPanel::OnMultiSwitch);
  }

  for (int option = 0; option < kOptionCount; ++option) {
    auto* picture = Add(id::kFirstOption + option, new CPanelPicture(Kind::kSwatch, &window),
                        kOptionKeys[option]);
    picture->SetFill(kOptionColours[option]);
    connect(picture, &QAbstractButton::clicked, this, [this, option] { OnEffectOption(option); });
  }

  auto* modes = Add(id::kUserModeList, new QComboBox(&window), u"CONTROL_umCombo");
  modes->setEditable(true);
  modes->setInsertPolicy(QComboBox::NoInsert);
  connect(modes, &QComboBox::activated, this, &CLightingPanel::OnUserModeSelected);
  connect(modes->lineEdit(), &QLineEdit::textEdited, this, &CLightingPanel::OnUserModeRenamed);
  Add(id::kUserColourLabel, new QLabel(&window), u"CONTROL_USERysStatic");
  auto* userColour = Add(id::kUserColourButton, new CPanelPicture(Kind::kSwatch, &window),
                         u"CONTROL_USERysButton");
  connect(userColour, &QAbstractButton::clicked, this, &CLightingPanel::OnUserColour);
  Add(id::kUserJColourLabel, new QLabel(&window), u"CONTROL_USERjsStatic");
  auto* userJColour = Add(id::kUserJColourButton, new CPanelPicture(Kind::kSwatch, &window),
                          u"CONTROL_USERjsButton");
  connect(userJColour, &QAbstractButton::clicked, this, &CLightingPanel::OnUserJColour);
  Add(id::kToolLabel, new QLabel(&window), u"CONTROL_USERgjStatic");
  auto* tool0 = Add(id::kToolColour, new CPanelPicture(Kind::kToolColour, &window),
                    u"CONTROL_USERgjStaPic1");
  auto* tool1 = Add(id::kToolMark, new CPanelPicture(Kind::kToolMark, &window),
                    u"CONTROL_USERgjStaPic2");
  connect(tool0, &QAbstractButton::clicked, this, [this] { OnTool(kToolColour); });
  connect(tool1, &QAbstractButton::clicked, this, [this] { OnTool(kToolMark); });

  constexpr std::array<std::pair<int, std::u16string_view>, 3> kBoxes = {
      {{id::kRed, u"COLOR_R"}, {id::kGreen, u"COLOR_G"}, {id::kBlue, u"COLOR_B"}}};
  for (const auto& [boxId, key] : kBoxes) {
    auto* box = Add(boxId, new QLineEdit(&window), key);
    box->setMaxLength(5);
    box->setAlignment(Qt::AlignCenter);
    // The boxes sit on the skin's dark panel, not on a system-coloured one.
    box->setStyleSheet(QStringLiteral(
        "QLineEdit { background: #1b1f27; color: #e8e8e8; border: 1px solid #3b4250; }"));
    connect(box, &QLineEdit::textChanged, this, [this, box] { OnRgbEdited(box); });
  }
  for (int preset = 0; preset < static_cast<int>(kColourPresets.size()); ++preset) {
    const std::u16string key = u"CONTROL_Color" + std::u16string(1, static_cast<char16_t>(u'1' + preset));
    auto* picture = Add(id::kFirstPreset + preset, new CPanelPicture(Kind::kSwatch, &window), key);
    picture->SetFill(QColourOf(kColourPresets[preset]));
    connect(picture, &QAbstractButton::clicked, this, [this, preset] { OnPreset(preset); });
  }
  Add(id::kRgbLabel, new QLabel(QStringLiteral("RGB"), &window), u"CONTROL_RGBStatic");

  for (const auto& [controlId, widget] : controls_) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      label->setStyleSheet(QStringLiteral("color: white;"));
    }
  }
}

void CLightingPanel::ApplyTexts() {
  const std::array<std::pair<int, std::string_view>, 11> labels = {{
      {id::kLightSwitchLabel, "Deng"},
      {id::kBrightnessLabel, "Light"},
      {id::kDirectionLabel, "FX"},
      {id::kSpeedLabel, "Speed"},
      {id::kColourLabelA, "Color"},
      {id::kColourLabelB, "Color"},
      {id::kUserColourLabel, "Color"},
      {id::kUserJColourLabel, "JColor"},
      {id::kMultiLabelA, "DC"},
      {id::kMultiLabelB, "DC"},
      {id::kToolLabel, "Tool"},
  }};
  for (const auto& [labelId, key] : labels) {
    static_cast<QLabel*>(Control(labelId))->setText(context_.text(u"LIGHT", key));
  }
}

void CLightingPanel::RefreshLightingPanel() {
  const LightingState& state = context_.lighting.decoded;
  auto* effects = static_cast<QComboBox*>(Control(id::kEffectList));
  {
    const QSignalBlocker blocker(effects);
    effects->clear();
    effectCodes_ = LightingModeList(context_.lighting.settings);
    for (uint8_t code : effectCodes_) {
      effects->addItem(context_.text(u"MODE", std::to_string(code)));
    }
    const auto found = std::find(effectCodes_.begin(), effectCodes_.end(), state.effect);
    effects->setCurrentIndex(found == effectCodes_.end()
                                 ? -1
                                 : static_cast<int>(found - effectCodes_.begin()));
  }
  ShowSliders();
  ShowColours();
  PlaceDirectionControls(state.effect);
  ShowDirection();
  ShowEffectOption();
  ShowUserMode();
  static_cast<CPanelPicture*>(Control(id::kLightSwitch))->SetSelected(LightViewOn());
  previewStale_ = true;
  ShowControlsOfEffect();
  if (LightViewOn()) {
    // The light view may come on from the stored switch at a reload.
    context_.keyboard.SetColourLook(true);
    if (state.effect == kUserLightingMode) PaintKeyColours();
  }
  UpdatePreviewTimer();
  emit Refreshed();
}

bool CLightingPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
    UpdatePreviewTimer();
  }
  return false;
}

void CLightingPanel::UpdatePreviewTimer() {
  if (!LightViewOn() || !window_.isVisible()) {
    previewTimer_.stop();
  } else if (!previewTimer_.isActive()) {
    previewTimer_.start();
  }
}

void CLightingPanel::ShowSliders() {
  const LightingState& state = context_.lighting.decoded;
  auto* brightness = static_cast<QSlider*>(Control(id::kBrightnessSlider));
  auto* speed = static_cast<QSlider*>(Control(id::kSpeedSlider));
  const QSignalBlocker brightnessBlocker(brightness);
  const QSignalBlocker speedBlocker(speed);
  brightness->setValue(std::min<int>(state.brightness, kBrightnessMax));
  speed->setValue(kSpeedMax - std::min<int>(state.speed, kSpeedMax));
}

void CLightingPanel::ShowColours() {
  const LightingState& state = context_.lighting.decoded;
  for (int button : {id::kColourButtonA, id::kColourButtonB}) {
    static_cast<CPanelPicture*>(Control(button))->SetFill(QColourOf(state.effectColour));
  }
  for (int toggle : {id::kMultiSwitchA, id::kMultiSwitchB}) {
    static_cast<CPanelPicture*>(Control(toggle))->SetSelected(state.multiColour);
  }
}

void CLightingPanel::PlaceDirectionControls(int effect) {
  const std::u16string_view suffix = DirectionGeometrySuffix(effect);
  PlaceControl(*Control(id::kDirectionLabel), context_.skinFile, kSection,
               Joined(u"CONTROL_BLFXStatic", suffix));
  PlaceControl(*Control(id::kDirectionLeft), context_.skinFile, kSection,
               Joined(u"CONTROL_BLFXLStaPic", suffix));
  PlaceControl(*Control(id::kDirectionRight), context_.skinFile, kSection,
               Joined(u"CONTROL_BLFXRStaPic", suffix));
}

void CLightingPanel::ShowDirection() {
  const LightingState& state = context_.lighting.decoded;
  const auto [leftKind, rightKind] = DirectionKinds(state.effect);
  auto* left = static_cast<CPanelPicture*>(Control(id::kDirectionLeft));
  auto* right = static_cast<CPanelPicture*>(Control(id::kDirectionRight));
  left->SetKind(leftKind);
  right->SetKind(rightKind);
  left->SetSelected(state.direction == preview::kDirectionForward);
  right->SetSelected(state.direction != preview::kDirectionForward);
}

void CLightingPanel::ShowEffectOption() {
  const int option = context_.lighting.decoded.effectOption;
  for (int i = 0; i < kOptionCount; ++i) {
    static_cast<CPanelPicture*>(Control(id::kFirstOption + i))
        ->SetSelected(i == (option < kOptionCount ? option : 0));
  }
}

void CLightingPanel::ShowUserMode() {
  const UserModeState& modes = context_.userModes;
  static_cast<CPanelPicture*>(Control(id::kUserColourButton))
      ->SetFill(QColourOf(modes.settings.color));
  static_cast<CPanelPicture*>(Control(id::kUserJColourButton))
      ->SetFill(QColourOf(modes.settings.jcolor));
  static_cast<CPanelPicture*>(Control(id::kToolColour))
      ->SetSelected(modes.settings.tool == kToolColour);
  static_cast<CPanelPicture*>(Control(id::kToolMark))->SetSelected(modes.settings.tool == kToolMark);
  auto* list = static_cast<QComboBox*>(Control(id::kUserModeList));
  const QSignalBlocker blocker(list);
  if (list->count() == kUserModeCount) list->setCurrentIndex(modes.mode);
}

void CLightingPanel::RefillUserModeList() {
  RefillUserModeNames(context_.store, context_.lighting.shownProfile, context_.userModes);
  auto* list = static_cast<QComboBox*>(Control(id::kUserModeList));
  const QSignalBlocker blocker(list);
  list->clear();
  for (const auto& name : context_.userModes.names) list->addItem(QString::fromStdU16String(name));
  list->setCurrentIndex(context_.userModes.mode);
}

void CLightingPanel::SetVisible(std::initializer_list<int> ids, bool visible) {
  for (int controlId : ids) Control(controlId)->setVisible(visible);
}

void CLightingPanel::HideAll() {
  for (const auto& [controlId, widget] : controls_) {
    widget->setVisible(controlId == id::kLightSwitch || controlId == id::kLightSwitchLabel);
  }
}

void CLightingPanel::ShowControlsOfEffect() {
  if (!LightViewOn()) {
    HideAll();
    return;
  }
  const LightingControlsShown shown = ControlsShownFor(context_.lighting.decoded.effect);
  SetVisible({id::kEffectList, id::kBrightnessLabel, id::kBrightnessSlider}, shown.effectList);
  SetVisible({id::kSpeedLabel, id::kSpeedSlider}, shown.speed);
  SetVisible({id::kDirectionLabel, id::kDirectionLeft, id::kDirectionRight}, shown.direction);
  SetVisible({id::kColourLabelA, id::kColourButtonA, id::kMultiSwitchA, id::kMultiLabelA},
             shown.colourGroupA);
  SetVisible({id::kColourLabelB, id::kColourButtonB, id::kMultiSwitchB, id::kMultiLabelB},
             shown.colourGroupB);
  SetVisible({id::kFirstOption, id::kFirstOption + 1, id::kFirstOption + 2, id::kFirstOption + 3},
             shown.effectOptions);
  SetVisible({id::kUserModeList, id::kUserColourLabel, id::kUserColourButton,
              id::kUserJColourLabel, id::kUserJColourButton, id::kToolLabel, id::kToolColour,
              id::kToolMark},
             shown.userModes);
  // The RGB boxes and presets feed the colour buttons of both groups.
  const bool colours = shown.colourGroupA || shown.colourGroupB;
  SetVisible({id::kRed, id::kGreen, id::kBlue, id::kRgbLabel}, colours);
  for (int preset = 0; preset < static_cast<int>(kColourPresets.size()); ++preset) {
    Control(id::kFirstPreset + preset)->setVisible(colours);
  }
}

void CLightingPanel::ToggleLightView() {
  if (LightViewOn()) {
    SwitchLightViewOff();
    return;
  }
  if (!context_.selectProfile(GetActiveProfile(context_.link))) return;
  context_.lighting.lightView = true;
  context_.store.WriteLightView(true);
  static_cast<CPanelPicture*>(Control(id::kLightSwitch))->SetSelected(true);
  context_.keyboard.SetColourLook(true);
  ShowControlsOfEffect();
  if (context_.lighting.decoded.effect == kUserLightingMode) PaintKeyColours();
  previewStale_ = true;
  UpdatePreviewTimer();
  emit LightViewChanged(true);
}

void CLightingPanel::SwitchLightViewOff() {
  context_.lighting.lightView = false;
  context_.store.WriteLightView(false);
  static_cast<CPanelPicture*>(Control(id::kLightSwitch))->SetSelected(false);
  UpdatePreviewTimer();
  context_.keyboard.SetColourLook(false);
  HideAll();
  emit LightViewChanged(false);
}

void CLightingPanel::SelectEffect(uint8_t code) {
  const auto found = std::find(effectCodes_.begin(), effectCodes_.end(), code);
  auto* effects = static_cast<QComboBox*>(Control(id::kEffectList));
  {
    const QSignalBlocker blocker(effects);
    effects->setCurrentIndex(
        found == effectCodes_.end() ? -1 : static_cast<int>(found - effectCodes_.begin()));
  }
  RunEffectSelection(code);
}

void CLightingPanel::OnEffectListChanged(int position) {
  if (position < 0 || position >= static_cast<int>(effectCodes_.size())) return;
  RunEffectSelection(effectCodes_[position]);
}

void CLightingPanel::RunEffectSelection(uint8_t code) {
  context_.keyboard.SetColourLook(true);
  PlaceDirectionControls(code);
  WriteEffectSelection(context_.link, context_.lighting, code);
  if (code == kUserLightingMode) PaintKeyColours();
  context_.lighting.decoded.effect = code;
  ShowDirection();
  previewStale_ = true;
  ShowControlsOfEffect();
}

void CLightingPanel::OnSliderMessage(int controlId, int position) {
  LightingState& state = context_.lighting.decoded;
  if (controlId == id::kBrightnessSlider) {
    const auto value = static_cast<uint8_t>(std::clamp(position, 0, kBrightnessMax));
    if (value == state.brightness) return;
    state.brightness = value;
    const uint8_t bytes[] = {value};
    WriteField(lighting_field::kBrightness, bytes);
  } else if (controlId == id::kSpeedSlider) {
    const uint8_t value = SpeedByteOfSliderPosition(position);
    if (value == state.speed) return;
    state.speed = value;
    const uint8_t bytes[] = {value};
    WriteField(lighting_field::kSpeed, bytes);
  }
}

void CLightingPanel::OnDirection(uint8_t direction) {
  context_.lighting.decoded.direction = direction;
  ShowDirection();
  const uint8_t bytes[] = {direction};
  WriteField(lighting_field::kDirection, bytes);
}

// A cancelled colour choice changes nothing.
void CLightingPanel::OnColourButton() {
  const auto picked = context_.colours.PickColour(context_.lighting.decoded.effectColour);
  if (picked) WriteColourAndMode(*picked);
}

void CLightingPanel::OnMultiSwitch() {
  LightingState& state = context_.lighting.decoded;
  state.multiColour = !state.multiColour;
  ShowColours();
  const uint8_t bytes[] = {static_cast<uint8_t>(state.multiColour ? 1 : 0)};
  WriteField(lighting_field::kColourMode, bytes);
}

void CLightingPanel::OnEffectOption(int option) {
  context_.lighting.decoded.effectOption = static_cast<uint8_t>(option);
  ShowEffectOption();
  const uint8_t bytes[] = {static_cast<uint8_t>(option)};
  WriteField(lighting_field::kEffectOption, bytes);
}

void CLightingPanel::OnRgbEdited(QLineEdit* box) {
  const QString clamped = ClampedRgbText(box->text());
  if (clamped != box->text()) box->setText(clamped);
}

void CLightingPanel::OnPreset(int preset) {
  const Colour colour = kColourPresets[preset];
  const auto bytes = ColourBytes(colour);
  const std::array<int, 3> boxes = {id::kRed, id::kGreen, id::kBlue};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    static_cast<QLineEdit*>(Control(boxes[i]))->setText(QString::number(bytes[i]));
  }
  WriteColourAndMode(colour);
}

void CLightingPanel::WriteColourAndMode(Colour colour) {
  LightingState& state = context_.lighting.decoded;
  state.effectColour = colour;
  state.multiColour = false;
  ShowColours();
  const uint8_t mode[] = {0};
  const auto rgb = ColourBytes(colour);
  const LightingFieldWrite fields[] = {{lighting_field::kColourMode, mode},
                                       {lighting_field::kEffectColour, rgb}};
  WriteLightingFields(context_.link, context_.lighting.shownProfile, fields);
}

void CLightingPanel::WriteField(std::size_t offset, std::span<const uint8_t> bytes) {
  WriteLightingField(context_.link, context_.lighting.shownProfile, offset, bytes);
}

void CLightingPanel::OnUserModeSelected(int position) {
  if (position < 0 || position >= kUserModeCount) return;
  const int profile = context_.lighting.shownProfile;
  context_.userModes.mode = position;
  context_.store.WritePresentMode(profile, position);
  LoadUserMode(context_.store, profile, context_.link, context_.lighting, context_.userModes);
  ShowUserMode();
  PaintKeyColours();
}

void CLightingPanel::OnUserModeRenamed(const QString& name) {
  auto* list = static_cast<QComboBox*>(Control(id::kUserModeList));
  const int mode = context_.userModes.mode;
  list->setItemText(mode, name);
  context_.userModes.names[mode] = name.toStdU16String();
  context_.store.WriteModeName(context_.lighting.shownProfile, mode, name.toStdU16String());
}

void CLightingPanel::StoreModeSettings() {
  context_.store.WriteModeSettings(context_.lighting.shownProfile, context_.userModes.mode,
                                   context_.userModes.settings);
  ShowUserMode();
}

void CLightingPanel::OnTool(int tool) {
  context_.userModes.settings.tool = tool;
  StoreModeSettings();
}

void CLightingPanel::OnUserColour() {
  const auto picked = context_.colours.PickColour(context_.userModes.settings.color);
  if (!picked) return;
  context_.userModes.settings.color = *picked;
  StoreModeSettings();
}

void CLightingPanel::OnUserJColour() {
  UserModeState& modes = context_.userModes;
  const auto picked = context_.colours.PickColour(modes.settings.jcolor);
  if (!picked || *picked == modes.settings.jcolor) return;
  modes.settings.jcolor = *picked;
  StoreModeSettings();
  const int profile = context_.lighting.shownProfile;
  const auto rgb = ColourBytes(*picked);
  auto& table = context_.lighting.keyColours[profile];
  for (uint8_t led : KeyLedIndexes()) {
    if (!modes.marks[profile][led]) continue;
    std::copy(rgb.begin(), rgb.end(), table.begin() + led * 3);
    context_.keyboard.SetKeyColour(led, *picked);
    context_.store.WriteKeyEntry(profile, modes.mode, led, {*picked, true});
  }
  WriteKeyColourTable(context_.link, context_.lighting, profile);
}

void CLightingPanel::OnKeyClicked(int ledIndex) {
  if (!LightViewOn() || context_.lighting.decoded.effect != kUserLightingMode) return;
  if (ledIndex < 0 || ledIndex >= kLedCount) return;
  const int profile = context_.lighting.shownProfile;
  const KeyEntry entry = PaintedEntry(context_.userModes.settings);
  context_.userModes.marks[profile][ledIndex] = entry.mark;
  context_.keyboard.SetKeyColour(ledIndex, entry.colour);
  WriteKeyColour(context_.link, context_.lighting, ledIndex, entry.colour);
  context_.store.WriteKeyEntry(profile, context_.userModes.mode, ledIndex, entry);
}

void CLightingPanel::PaintKeyColours() {
  const auto& table = context_.lighting.keyColours[context_.lighting.shownProfile];
  for (uint8_t led : KeyLedIndexes()) context_.keyboard.SetKeyColour(led, KeyColourAt(table, led));
}

void CLightingPanel::PreviewTick() {
  if (previewRunning_) return;
  previewRunning_ = true;
  if (previewStale_) {
    previewState_ = {};
    previewStep_ = 0;
    previewStale_ = false;
  }
  const LightingState& state = context_.lighting.decoded;
  const preview::PreviewInput input{
      .effect = state.effect,
      .multiColour = state.multiColour,
      .colour = state.effectColour,
      .direction = state.direction,
      .step = previewStep_,
      .seed = context_.clockSeconds ? context_.clockSeconds() : 0,
      .keyColours = &context_.lighting.keyColours[context_.lighting.shownProfile],
  };
  const preview::PreviewFrame frame = preview::PreviewStep(previewState_, input);
  for (int led = 0; led < kLedCount; ++led) {
    if (frame[led]) context_.keyboard.SetKeyColour(led, *frame[led]);
  }
  ++previewStep_;
  previewRunning_ = false;
}

}  // namespace mvk
