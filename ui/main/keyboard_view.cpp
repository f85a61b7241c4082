#include "ui/main/keyboard_view.h"

#include <QString>
#include <QWidget>

#include <mutex>

#include "ui/skin/png_button.h"

namespace mvk {
namespace {

constexpr std::u16string_view kButtonSection = u"BUTTONINFO";

QString ToQString(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

KeyboardView::KeyboardView(QWidget& window, ConfigState& config,
                           std::function<int()> currentProfile, KeyTextLookup text)
    : QObject(&window),
      config_(config),
      currentProfile_(std::move(currentProfile)),
      text_(std::move(text)) {
  ledColours_.fill(Qt::white);
  for (int k = 0; k < kKeyButtonCount; ++k) {
    keyButtons_[k] = MakeButton(window, kKeyButtons[k].control);
    AddToLed(*keyButtons_[k], LedIndexOfKey(kKeyButtons[k].code));
  }
  for (int g = 0; g < kGButtonCount; ++g) {
    gButtons_[g] = MakeButton(window, kGButtonControls[g]);
    AddToLed(*gButtons_[g], kGKeyLedIndex);
  }
}

void KeyboardView::AddToLed(CPngButton& button, int ledIndex) {
  if (ledIndex >= 0 && ledIndex < kLedCount) buttonsOfLed_[ledIndex].push_back(&button);
}

void KeyboardView::SetFnButton(CPngButton& button) { AddToLed(button, kFnLedIndex); }

void KeyboardView::SetColourLook(bool on) {
  colourLook_ = on;
  for (int led = 0; led < kLedCount; ++led) {
    for (CPngButton* button : buttonsOfLed_[led]) button->SetColourFrame(ledColours_[led], 100, on);
  }
  if (!on) RefreshKeyButtons();
}

void KeyboardView::SetKeyColour(int ledIndex, Colour colour) {
  if (ledIndex < 0 || ledIndex >= kLedCount) return;
  const QColor shown = QColourOf(colour);
  if (shown == ledColours_[ledIndex]) return;
  ledColours_[ledIndex] = shown;
  for (CPngButton* button : buttonsOfLed_[ledIndex]) {
    button->SetColourFrame(shown, 100, colourLook_);
  }
}

std::vector<KeyIndex> KeyboardView::ButtonKeys() const {
  std::vector<KeyIndex> keys;
  keys.reserve(kKeyButtons.size());
  for (const KeyButtonEntry& entry : kKeyButtons) keys.push_back(KeyIndexOf(entry.code));
  return keys;
}

CPngButton* KeyboardView::MakeButton(QWidget& window, int control) {
  auto* button = new CPngButton(&window);
  button->setProperty("controlId", control);
  connect(button, &QAbstractButton::clicked, this, [this, control] { emit Clicked(control); });
  return button;
}

void KeyboardView::Place(const std::filesystem::path& skinFile, const KeyViewPictures& pictures) {
  pictures_ = pictures;
  for (int k = 0; k < kKeyButtonCount; ++k) {
    PlaceSkinButton(*keyButtons_[k], skinFile, kButtonSection, KeyButtonSkinKey(k),
                    pictures.normal);
  }
  for (int g = 0; g < kGButtonCount; ++g) {
    PlaceSkinButton(*gButtons_[g], skinFile, kButtonSection, GButtonSkinKey(g), pictures.normal);
    if (g >= kEnabledGButtons) gButtons_[g]->setEnabled(false);
  }
  // The dialog template creates K56 hidden; only its refreshes reach it.
  ButtonOfControl(kHiddenKeyButtonControl)->hide();
}

CPngButton* KeyboardView::ButtonOfControl(int control) {
  for (CPngButton* button : keyButtons_) {
    if (button->property("controlId").toInt() == control) return button;
  }
  for (CPngButton* button : gButtons_) {
    if (button->property("controlId").toInt() == control) return button;
  }
  return nullptr;
}

// A prompt decides the assigned look as well, so a refresh and a rebuild of
// the prompts come to the same.
void KeyboardView::RefreshKeyButtons() { ApplyPrompts(); }

void KeyboardView::RebuildKeyPrompts() { ApplyPrompts(); }

void KeyboardView::ApplyPrompts() {
  const int profile = currentProfile_();
  std::lock_guard lock(config_.ConfigLock);
  const ProfileKeyMap& map = config_.working.image.profiles.at(profile);
  const PromptSources sources{text_, &config_.working.macros};
  auto show = [](CPngButton& button, const KeyPrompt& prompt) {
    button.SetAssigned(prompt.assigned);
    button.SetTooltip(ToQString(prompt.text), true);
  };
  for (int g = 0; g < kGButtonCount; ++g) {
    show(*gButtons_[g], BuildGPrompt(g, map[GButtonKeyIndex(g)], sources));
  }
  for (int k = 0; k < kKeyButtonCount; ++k) {
    const KeyCode code = kKeyButtons[k].code;
    show(*keyButtons_[k], BuildKeyPrompt(code, map[KeyIndexOf(code)], sources));
  }
}

void KeyboardView::ClearKeyButton(KeyIndex keyIndex) {
  for (int g = 0; g < kGButtonCount; ++g) {
    if (GButtonKeyIndex(g) == keyIndex) gButtons_[g]->SetAssigned(false);
  }
  for (int k = 0; k < kKeyButtonCount; ++k) {
    if (KeyIndexOf(kKeyButtons[k].code) == keyIndex) keyButtons_[k]->SetAssigned(false);
  }
}

void KeyboardView::SetSwitchMode(bool on) {
  switchMode_ = on;
  RedrawSwitchMarks();
  emit SwitchModeChanged(on);
}

void KeyboardView::DrawMark(CPngButton& button, KeyIndex slot, const ProfileKeyMap& map) {
  const int mark = map[slot].switchMark == 0 ? 0 : 1;
  button.SetSwitchMode(pictures_.markOff, pictures_.markOn, switchMode_, mark);
}

void KeyboardView::RedrawSwitchMarks() {
  const int profile = currentProfile_();
  std::lock_guard lock(config_.ConfigLock);
  const ProfileKeyMap& map = config_.working.image.profiles.at(profile);
  for (int g = 0; g < kGButtonCount; ++g) DrawMark(*gButtons_[g], GButtonKeyIndex(g), map);
  for (int k = 0; k < kKeyButtonCount; ++k) {
    DrawMark(*keyButtons_[k], static_cast<KeyIndex>(k), map);
  }
}

void KeyboardView::FlipSwitchMark(int control, const KeyButtonHit& hit) {
  const int shown = control == kMacroButtonControl ? kMacroOnlyControl : control;
  CPngButton* button = ButtonOfControl(shown);
  const int profile = currentProfile_();
  std::lock_guard lock(config_.ConfigLock);
  ProfileKeyMap& map = config_.working.image.profiles.at(profile);
  KeySlot& slot = map.at(hit.markSlot);
  slot.switchMark = FlippedSwitchMark(slot.switchMark);
  if (button) DrawMark(*button, hit.markSlot, map);
}

void KeyboardView::SetHighlighted(int control, bool on) {
  CPngButton* button = ButtonOfControl(control);
  if (!button) return;
  button->SetOriginAndPictures(button->Origin(), on ? pictures_.highlighted : pictures_.normal,
                               true);
}

}  // namespace mvk
