// The colour choice of the lighting panel's colour buttons, on the
// toolkit's colour dialog, which also offers custom colours.
#pragma once

#include "ui/main/lighting_view_api.h"

class QWidget;

namespace mvk {

class QtColourPicker : public ColourPicker {
 public:
  explicit QtColourPicker(QWidget* parent) : parent_(parent) {}
  std::optional<Colour> PickColour(Colour initial) override;

 private:
  QWidget* parent_;
};

}  // namespace mvk
