// What the lighting panel and the profile controls need of the rest of the
// main window: the keyboard view's key buttons, and a colour choice that a
// test can answer.
#pragma once

#include <QColor>

#include <optional>
#include <vector>

#include "model/keys.h"
#include "model/lighting.h"

namespace mvk {

inline QColor QColourOf(Colour colour) {
  const auto bytes = ColourBytes(colour);
  return QColor(bytes[0], bytes[1], bytes[2]);
}

class LightingKeyboardView {
 public:
  virtual ~LightingKeyboardView() = default;
  // On: the key buttons show colours; off: their assignment texts and looks
  // from the active profile's key map.
  virtual void SetColourLook(bool on) = 0;
  // Colours every key button with this LED index and redraws it.
  virtual void SetKeyColour(int ledIndex, Colour colour) = 0;
  // The keys of the view's key buttons, in key table order.
  virtual std::vector<KeyIndex> ButtonKeys() const = 0;
  // Clears the colour/function switch mode and its text.
  virtual void ClearSwitchMode() = 0;
};

class ColourPicker {
 public:
  virtual ~ColourPicker() = default;
  // The colour chosen, or nullopt when the choice was cancelled.
  virtual std::optional<Colour> PickColour(Colour initial) = 0;
};

}  // namespace mvk
