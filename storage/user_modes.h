// The user lighting mode of the shown profile as the lighting panel holds
// it, loaded from the lighting mode store into the per-key colour table.
#pragma once

#include <array>
#include <string>

#include "model/lighting.h"
#include "protocol/keyboard_link.h"
#include "storage/lighting_mode_store.h"

namespace mvk {

struct UserModeState {
  // The shown profile's current user mode, its tool and colours.
  int mode = 0;
  ModeSettings settings;
  // The shown profile's user mode names, for the user mode list.
  std::array<std::u16string, kUserModeCount> names;
  // Per profile, whether each LED index's key is marked.
  std::array<std::array<bool, kLedCount>, kProfileCount> marks{};
};

// Reads the ten names of a profile's user modes into `state.names`.
void RefillUserModeNames(const LightingModeStore& store, int profile, UserModeState& state);

// Makes the profile's present mode current and loads its tool, colours and
// the colour and mark of every key with an LED into the profile's per-key
// table and marks. The G keys' shared LED keeps its colour. Nothing is sent.
void LoadUserMode(const LightingModeStore& store, int profile, LightingConfig& lighting,
                  UserModeState& state);
// The same, then writes the profile's whole per-key table to the keyboard.
int LoadUserMode(const LightingModeStore& store, int profile, KeyboardLink& link,
                 LightingConfig& lighting, UserModeState& state);

// Restores the profile's user modes from the template (all three user mode
// files are copied), then refills the names and loads the user mode without
// sending it, or sending it in the second form.
void ResetUserModes(const LightingModeStore& store, int profile, LightingConfig& lighting,
                    UserModeState& state);
int ResetUserModes(const LightingModeStore& store, int profile, KeyboardLink& link,
                   LightingConfig& lighting, UserModeState& state);

// What painting a key with the current tool stores for it: `jcolor` and the
// mark with tool 1, `color` without it with tool 0.
KeyEntry PaintedEntry(const ModeSettings& settings);

// The store's part of a lighting read: on reload, the shown profile's names
// and user mode (written to the keyboard); the light view switch.
LightingReadHooks UserModeReadHooks(const LightingModeStore& store, KeyboardLink& link,
                                    LightingConfig& lighting, UserModeState& state);

}  // namespace mvk
