// Writing the working key assignments and macros to the keyboard, and the
// key-map side of restoring the keyboard's defaults.
#pragma once

#include <span>

#include "model/config_store.h"
#include "model/key_map.h"
#include "model/model_prompts.h"
#include "protocol/keyboard_link.h"

namespace mvk {

// Result of an apply refused because the macros do not fit the keyboard's
// macro memory even without their names.
inline constexpr int kResultNoMacroSpace = -301;

// Packs the macro list and sends it with the key matrices: every onboard
// profile when `allProfiles` is set or a deleted macro moved the others'
// macro positions, else only `currentProfile` (0 to 2; anything else is
// refused with kResultBadBank before anything is sent). The macros go with
// their names when they fit, else without (EXTRA_PROFILE_SPACE_TIGHT after
// the write); when they do not fit at all nothing is sent
// (EXTRA_MACRO_TOO_LONG). Returns kResultOk only when every command of the
// write succeeded, else the first failing command's result. Takes ConfigLock,
// then MacroLock.
int ApplyKeyMaps(ConfigState& config, KeyboardLink& link, const KeyMatrix& defaults,
                 int currentProfile, bool allProfiles, ModelPrompts& prompts);

// Clears the assignments of profiles 0 to 2 (ResetOnboardProfiles) and
// writes the default matrix as each one's key matrix. Returns kResultOk
// when all three writes succeeded, else the first failure.
int RestoreDefaultKeyMaps(ConfigState& config, KeyboardLink& link, const KeyMatrix& defaults,
                          std::span<const KeyIndex> buttonKeys);

}  // namespace mvk
