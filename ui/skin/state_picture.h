// Skin pictures made ready for image buttons. Each window class prepares
// its full-window pictures once and shares them between its windows; a
// button then shows the part of a picture that lies under it.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

namespace mvk {

// Margin around the client area, so that buttons near the right and bottom
// edges still find their face in the prepared picture.
inline constexpr int kStatePictureMargin = 100;

// The skin picture drawn unscaled from its top-left corner into a pixmap of
// the client size plus the margin in each direction; what the picture does
// not cover stays transparent.
QPixmap PrepareStatePicture(const QImage& skinPicture, QSize clientSize);

// The five state pictures of an image button, in the order the buttons take
// them.
struct StatePictures {
  QPixmap normal;
  QPixmap hover;
  QPixmap pressed;
  QPixmap disabled;
  QPixmap assigned;
};

}  // namespace mvk
