// What the lighting panel shows for each effect, its colour presets, and
// the small rules of its controls that need no widget.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

#include "model/lighting.h"
#include "storage/user_modes.h"

namespace mvk {

// The panel's controls by group; all are hidden while the light view is off.
struct LightingControlsShown {
  bool effectList = false;  // with the brightness label and slider
  bool speed = false;
  bool direction = false;
  bool colourGroupA = false;
  bool colourGroupB = false;
  bool effectOptions = false;
  bool userModes = false;
  friend bool operator==(const LightingControlsShown&, const LightingControlsShown&) = default;
};

LightingControlsShown ControlsShownFor(int effect);

// The geometry key suffix of the direction controls: "2" for codes 1 to 3,
// "3" for code 12, none otherwise.
std::u16string_view DirectionGeometrySuffix(int effect);

// Codes 12 and 18 have direction pictures of their own.
enum class DirectionPictures { kStandard, kVertical, kCircle };
DirectionPictures DirectionPicturesFor(int effect);

inline constexpr std::array<Colour, 8> kColourPresets = {
    ColourOf(235, 99, 30), ColourOf(255, 0, 0),   ColourOf(0, 126, 255), ColourOf(90, 255, 0),
    ColourOf(234, 255, 0), ColourOf(255, 192, 0), ColourOf(255, 0, 180), ColourOf(174, 0, 255)};

// The text an RGB box keeps after an edit: a number of 256 or more becomes
// "255"; anything else stands as typed.
QString ClampedRgbText(const QString& text);
// The value of an RGB box, 0 when it holds no number.
uint8_t RgbBoxValue(const QString& text);

// The LED indexes that belong to a key button (G keys share one).
std::span<const uint8_t> KeyLedIndexes();

// Marks every key whose per-key colour equals its profile's reference
// colour, for all three profiles.
void MarkKeys(const LightingConfig& lighting, UserModeState& userModes);

Colour KeyColourAt(const KeyColourTable& table, int ledIndex);

}  // namespace mvk
