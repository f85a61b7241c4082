// The buttons of the keyboard view: which control stands for which key, where
// its skin entry is, and what its tooltip says about the key's assignment.
// Plain data and functions, so tests check them without a window.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/config_image.h"
#include "model/keys.h"
#include "model/macro.h"

namespace mvk {

inline constexpr int kKeyButtonCount = 106;
inline constexpr int kGButtonCount = 9;
inline constexpr int kNoColourPosition = -1;

struct KeyButtonEntry {
  int control;
  KeyCode code;
  int colourPosition;  // place in the lighting panel's per-key colour table
};

// Positions 0 to 105; control 1200 (position 105) starts hidden.
extern const std::array<KeyButtonEntry, kKeyButtonCount> kKeyButtons;
// G1 to G9; the first five start enabled.
inline constexpr std::array<int, kGButtonCount> kGButtonControls = {1000, 1001, 1002, 1003, 1004,
                                                                    1140, 1141, 1142, 1143};
inline constexpr int kEnabledGButtons = 5;
inline constexpr int kHiddenKeyButtonControl = 1200;
inline constexpr int kFnButtonControl = 1174;
inline constexpr int kMacroOnlyControl = 1143;  // G9
inline constexpr int kMacroButtonControl = 1007;

// The G buttons keep their switch marks in the slots of their own keys
// (0x100 to 0x108), not in those of the first nine key buttons.
KeyIndex GButtonKeyIndex(int g);

// Skin entry names: "KEY_%03X" of the key index, "FUNC_G%d" of g + 1.
std::u16string KeyButtonSkinKey(int position);
std::u16string GButtonSkinKey(int g);

// What a click on a control stands for.
struct KeyButtonHit {
  KeyIndex keyIndex;
  // The key slot whose switch mark the button shows.
  KeyIndex markSlot;
  bool macroOnly;
};
// nullopt for a control that is no key or G button. The macro button acts
// as G9.
std::optional<KeyButtonHit> HitOfControl(int control);

// The LED a click on a key, G or Fn button paints in the lighting panel;
// kNoLedIndex for any other control.
int LedIndexOfControl(int control);

// A button's tooltip and whether it shows the assigned look.
struct KeyPrompt {
  bool assigned = false;
  std::u16string text;
};

// Texts and macro names the prompts need.
struct PromptSources {
  KeyTextLookup text;
  const MacroList* macros = nullptr;
};

KeyPrompt BuildKeyPrompt(KeyCode code, const KeySlot& slot, const PromptSources& sources);
KeyPrompt BuildGPrompt(int g, const KeySlot& slot, const PromptSources& sources);

// The switch mark a click in switch mode leaves: 0 becomes 1, anything else 0.
uint32_t FlippedSwitchMark(uint32_t mark);

}  // namespace mvk
