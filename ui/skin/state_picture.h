// Skin pictures made ready for image buttons. Each window class prepares
// its full-window pictures once and shares them between its windows; a
// button then shows the part of a picture that lies under it.
#pragma once

#include <QImage>
#include <QSize>

namespace mvk {

// Margin around the client area, so that buttons near the right and bottom
// edges still find their face in the prepared picture.
inline constexpr int kStatePictureMargin = 100;

// The skin picture drawn unscaled from its top-left corner into a picture of
// the client size plus the margin in each direction, in the format that
// paints fastest; what the skin picture does not cover stays transparent.
QImage PrepareStatePicture(const QImage& skinPicture, QSize clientSize);

}  // namespace mvk
