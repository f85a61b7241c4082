// The keyboard picture of the main window: one image button per key and G
// key, each showing whether its key is assigned in the current profile and
// spelling the assignment out in its tooltip, or, in switch mode, its mark;
// while the light view is on, each shows the colour of its LED instead.
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

#include "model/config_store.h"
#include "model/keys.h"
#include "model/lighting.h"
#include "ui/main/key_buttons.h"
#include "ui/main/lighting_view_api.h"
#include "ui/skin/placement.h"

class QWidget;

namespace mvk {

class CPngButton;

struct KeyViewPictures {
  SkinStateImages normal;       // normal, over, down, normal, disable
  SkinStateImages highlighted;  // over, over, down, normal, over
  QImage markOff;
  QImage markOn;
};

class KeyboardView : public QObject, public LightingKeyboardView {
  Q_OBJECT

 public:
  // currentProfile gives the profile whose key map the buttons show.
  KeyboardView(QWidget& window, ConfigState& config, std::function<int()> currentProfile,
               KeyTextLookup text);

  // Places every button from section "BUTTONINFO" of the skin file.
  void Place(const std::filesystem::path& skinFile, const KeyViewPictures& pictures);

  void RefreshKeyButtons();
  void RebuildKeyPrompts();
  void ClearKeyButton(KeyIndex keyIndex);
  void RedrawSwitchMarks();

  bool SwitchMode() const { return switchMode_; }
  void SetSwitchMode(bool on);
  // Flips the mark of the clicked button's slot in the current profile and
  // redraws the button.
  void FlipSwitchMark(int control, const KeyButtonHit& hit);

  // Keeps a button highlighted while its assignment dialog is open.
  void SetHighlighted(int control, bool on);

  // The Fn button takes part in the colour look only.
  void SetFnButton(CPngButton& button);

  // LightingKeyboardView.
  void SetColourLook(bool on) override;
  void SetKeyColour(int ledIndex, Colour colour) override;
  std::vector<KeyIndex> ButtonKeys() const override;
  void ClearSwitchMode() override { SetSwitchMode(false); }
  bool ColourLook() const { return colourLook_; }

  CPngButton* ButtonOfControl(int control);
  CPngButton& KeyButton(int position) { return *keyButtons_.at(position); }
  CPngButton& GButton(int g) { return *gButtons_.at(g); }

 signals:
  void Clicked(int control);
  void SwitchModeChanged(bool on);

 private:
  CPngButton* MakeButton(QWidget& window, int control);
  void ApplyPrompts();
  void DrawMark(CPngButton& button, KeyIndex slot, const ProfileKeyMap& map);
  void AddToLed(CPngButton& button, int ledIndex);

  ConfigState& config_;
  std::function<int()> currentProfile_;
  KeyTextLookup text_;
  std::array<CPngButton*, kKeyButtonCount> keyButtons_{};
  std::array<CPngButton*, kGButtonCount> gButtons_{};
  KeyViewPictures pictures_;
  bool switchMode_ = false;
  bool colourLook_ = false;
  std::array<std::vector<CPngButton*>, kLedCount> buttonsOfLed_;
  std::array<QColor, kLedCount> ledColours_;
};

}  // namespace mvk
