// Window and button outlines cut out of a picture: every pixel that is not
// of the transparent colour belongs to the outline.
#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>

namespace mvk {

// A pixel is transparent when each of its red, green and blue values lies
// within the values of lowest and highest.
struct ColourRange {
  QColor lowest;
  QColor highest;
};

inline const ColourRange kPureWhite{QColor(255, 255, 255), QColor(255, 255, 255)};

// The union of the picture's runs of non-transparent pixels, row by row.
QRegion OutlineFromPicture(const QImage& picture, const ColourRange& transparent);

}  // namespace mvk
