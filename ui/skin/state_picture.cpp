#include "ui/skin/state_picture.h"

#include <QPainter>

namespace mvk {

QImage PrepareStatePicture(const QImage& skinPicture, QSize clientSize) {
  QImage prepared(clientSize + QSize(kStatePictureMargin, kStatePictureMargin),
                  QImage::Format_ARGB32_Premultiplied);
  prepared.fill(Qt::transparent);
  QPainter painter(&prepared);
  painter.drawImage(0, 0, skinPicture);
  return prepared;
}

}  // namespace mvk
