#include "storage/user_modes.h"

#include <algorithm>

namespace mvk {

void RefillUserModeNames(const LightingModeStore& store, int profile, UserModeState& state) {
  for (int mode = 0; mode < kUserModeCount; ++mode) {
    state.names[mode] = store.ReadModeName(profile, mode);
  }
}

void LoadUserMode(const LightingModeStore& store, int profile, LightingConfig& lighting,
                  UserModeState& state) {
  if (profile < 0 || profile >= kProfileCount) {
    return;
  }
  state.mode = store.ReadPresentMode(profile);
  state.settings = store.ReadModeSettings(profile, state.mode);
  const auto load = [&](int ledIndex) {
    const KeyEntry entry = store.ReadKeyEntry(profile, state.mode, ledIndex);
    const auto bytes = ColourBytes(entry.colour);
    std::copy(bytes.begin(), bytes.end(), lighting.keyColours[profile].begin() + ledIndex * 3);
    state.marks[profile][ledIndex] = entry.mark;
  };
  for (std::size_t index = 0; index < kKeyTableSize; ++index) {
    const int ledIndex = LedIndexOfKey(KeyCodeOf(static_cast<KeyIndex>(index)));
    if (ledIndex != kNoLedIndex && ledIndex != kGKeyLedIndex) {
      load(ledIndex);
    }
  }
  load(kFnLedIndex);
}

int LoadUserMode(const LightingModeStore& store, int profile, KeyboardLink& link,
                 LightingConfig& lighting, UserModeState& state) {
  LoadUserMode(store, profile, lighting, state);
  return WriteKeyColourTable(link, lighting, profile);
}

void ResetUserModes(const LightingModeStore& store, int profile, LightingConfig& lighting,
                    UserModeState& state) {
  store.ResetUserModes();
  RefillUserModeNames(store, profile, state);
  LoadUserMode(store, profile, lighting, state);
}

int ResetUserModes(const LightingModeStore& store, int profile, KeyboardLink& link,
                   LightingConfig& lighting, UserModeState& state) {
  ResetUserModes(store, profile, lighting, state);
  return WriteKeyColourTable(link, lighting, profile);
}

KeyEntry PaintedEntry(const ModeSettings& settings) {
  if (settings.tool == kToolMark) {
    return {settings.jcolor, true};
  }
  return {settings.color, false};
}

LightingReadHooks UserModeReadHooks(const LightingModeStore& store, KeyboardLink& link,
                                    LightingConfig& lighting, UserModeState& state) {
  return {
      .refreshUserMode =
          [&store, &link, &lighting, &state] {
            RefillUserModeNames(store, lighting.shownProfile, state);
            LoadUserMode(store, lighting.shownProfile, link, lighting, state);
          },
      .lightViewSetting = [&store] { return store.ReadLightView(); },
  };
}

}  // namespace mvk
