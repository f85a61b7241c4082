#include "ui/skin/state_picture.h"

#include <QPainter>

namespace mvk {

QPixmap PrepareStatePicture(const QImage& skinPicture, QSize clientSize) {
  QPixmap prepared(clientSize + QSize(kStatePictureMargin, kStatePictureMargin));
  prepared.fill(Qt::transparent);
  QPainter painter(&prepared);
  painter.drawImage(0, 0, skinPicture);
  return prepared;
}

}  // namespace mvk
