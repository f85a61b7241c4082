// The lighting mode store: the ten named user lighting modes of each
// profile (present mode, names, painting tool and colours, per-key colours
// and marks), one INI file per profile, and the light view switch in the
// settings file. Every call reads or writes the files afresh.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "model/lighting.h"
#include "storage/config_folder.h"

namespace mvk {

inline constexpr int kUserModeCount = 10;

// Painting tools of a user mode.
inline constexpr int kToolColour = 0;  // paints with `color`, clears the mark
inline constexpr int kToolMark = 1;    // paints with `jcolor`, sets the mark

struct ModeSettings {
  int tool = kToolColour;
  Colour jcolor = 0;
  Colour color = 0;
  friend bool operator==(const ModeSettings&, const ModeSettings&) = default;
};

struct KeyEntry {
  Colour colour = ColourOf(255, 0, 0);
  bool mark = true;
  friend bool operator==(const KeyEntry&, const KeyEntry&) = default;
};

// Missing files, keys and values that do not read as their format read as
// the defaults (present mode 0, name "0", tool 0, black colours, key entries
// red and marked). Out-of-range numbers read as the defaults too, colour
// parts are kept within 0 to 255, and any mark other than 0 reads as 1.
// Writes ensure the configuration folder first; they are refused (false)
// for a profile, mode or LED index out of range.
class LightingModeStore {
 public:
  explicit LightingModeStore(ConfigFolder folder) : folder_(std::move(folder)) {}

  const ConfigFolder& Folder() const { return folder_; }

  bool ReadLightView() const;
  bool WriteLightView(bool on) const;

  int ReadPresentMode(int profile) const;
  bool WritePresentMode(int profile, int mode) const;

  std::u16string ReadModeName(int profile, int mode) const;
  bool WriteModeName(int profile, int mode, std::u16string_view name) const;

  ModeSettings ReadModeSettings(int profile, int mode) const;
  // Writes `tool`, `jcolor` and `color`, in this order.
  bool WriteModeSettings(int profile, int mode, const ModeSettings& settings) const;

  KeyEntry ReadKeyEntry(int profile, int mode, int ledIndex) const;
  bool WriteKeyEntry(int profile, int mode, int ledIndex, const KeyEntry& entry) const;

  // Copies the template over the user mode files of all three profiles.
  void ResetUserModes() const;

 private:
  std::u16string Read(int profile, std::u16string_view section, std::u16string_view key,
                      std::u16string_view fallback) const;
  bool Write(int profile, std::u16string_view section, std::u16string_view key,
             std::u16string_view value) const;

  ConfigFolder folder_;
};

}  // namespace mvk
