#include "ui/main/colour_picker.h"

#include <QColorDialog>

namespace mvk {

std::optional<Colour> QtColourPicker::PickColour(Colour initial) {
  const QColor chosen = QColorDialog::getColor(QColourOf(initial), parent_);
  if (!chosen.isValid()) return std::nullopt;
  return ColourOf(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                  static_cast<uint8_t>(chosen.blue()));
}

}  // namespace mvk
