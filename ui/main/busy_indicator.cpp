#include "ui/main/busy_indicator.h"

#include <QPainter>

#include "ui/skin/skin_picture_names.h"

namespace mvk {

CBusyIndicator::CBusyIndicator(const std::filesystem::path& programFolder, QWidget* parent)
    : QWidget(parent) {
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    const std::filesystem::path file = programFolder / kBusyPictureNames[i];
    frames_[i] = QImage(QString::fromStdString(file.string()));
  }
  frameTimer_.setInterval(kBusyFrameMs);
  connect(&frameTimer_, &QTimer::timeout, this, &CBusyIndicator::NextFrame);
  hideTimer_.setSingleShot(true);
  hideTimer_.setInterval(kBusyHideDelayMs);
  connect(&hideTimer_, &QTimer::timeout, this, &CBusyIndicator::Hide);
  hide();
}

void CBusyIndicator::Post(int message) {
  if (message == kBusyShowMessage) {
    hideTimer_.stop();
    ++timesShown_;
    show();
    raise();
    // Apply keeps the window's thread busy: paint now, not when it is done.
    repaint();
    frameTimer_.start();
  } else if (message == kBusyHideMessage) {
    hideTimer_.start();
  }
}

void CBusyIndicator::NextFrame() {
  frame_ = (frame_ + 1) % static_cast<int>(frames_.size());
  update();
}

void CBusyIndicator::Hide() {
  frameTimer_.stop();
  hide();
}

void CBusyIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& picture = frames_[frame_];
  if (!picture.isNull()) {
    painter.drawImage(rect(), picture);
    return;
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(255, 130, 0), 3, Qt::SolidLine, Qt::RoundCap));
  const QRectF box = QRectF(rect()).adjusted(3, 3, -3, -3);
  painter.drawArc(box, -frame_ * 36 * 16, 270 * 16);
}

}  // namespace mvk
