#include "ui/main/colour_picker.h"

#include <QColorDialog>

namespace mvk {

std::optional<Colour> QtColourPicker::PickColour(Colour initial) {
  const auto bytes = ColourBytes(initial);
  const QColor chosen = QColorDialog::getColor(QColor(bytes[0], bytes[1], bytes[2]), parent_);
  if (!chosen.isValid()) return std::nullopt;
  return ColourOf(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                  static_cast<uint8_t>(chosen.blue()));
}

}  // namespace mvk
