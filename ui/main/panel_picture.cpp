#include "ui/main/panel_picture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace mvk {
namespace {

const QColor kAccent(255, 130, 0);
const QColor kIdle(150, 150, 150);
const QColor kFace(40, 40, 44);

void DrawArrow(QPainter& painter, const QRectF& box, qreal angle, const QColor& colour) {
  painter.save();
  painter.translate(box.center());
  painter.rotate(angle);
  const qreal size = std::min(box.width(), box.height()) * 0.3;
  QPainterPath arrow;
  arrow.moveTo(-size, -size);
  arrow.lineTo(size, 0);
  arrow.lineTo(-size, size);
  arrow.closeSubpath();
  painter.fillPath(arrow, colour);
  painter.restore();
}

}  // namespace

CPanelPicture::CPanelPicture(Kind kind, QWidget* parent) : QAbstractButton(parent), kind_(kind) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
}

void CPanelPicture::SetKind(Kind kind) {
  kind_ = kind;
  update();
}

void CPanelPicture::SetSelected(bool selected) {
  selected_ = selected;
  update();
}

void CPanelPicture::SetFill(const QColor& fill) {
  fill_ = fill;
  update();
}

void CPanelPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
  const QColor line = selected_ ? kAccent : kIdle;
  switch (kind_) {
    case Kind::kSwitch: {
      const qreal radius = box.height() / 2;
      painter.setPen(Qt::NoPen);
      painter.setBrush(selected_ ? kAccent : QColor(80, 80, 86));
      painter.drawRoundedRect(box, radius, radius);
      painter.setBrush(Qt::white);
      const qreal knob = box.height() - 4;
      const qreal x = selected_ ? box.right() - knob - 2 : box.left() + 2;
      painter.drawEllipse(QRectF(x, box.top() + 2, knob, knob));
      return;
    }
    case Kind::kSwatch:
      painter.setPen(QPen(selected_ ? kAccent : QColor(20, 20, 20), selected_ ? 2 : 1));
      painter.setBrush(fill_);
      painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
      return;
    case Kind::kTextButton:
      painter.setPen(QPen(line, 1));
      painter.setBrush(selected_ ? QColor(70, 45, 20) : kFace);
      painter.drawRoundedRect(box, 4, 4);
      painter.setPen(!isEnabled() ? kIdle : selected_ ? kAccent : Qt::white);
      painter.drawText(rect(), Qt::AlignCenter, text());
      return;
    default:
      break;
  }
  painter.setPen(QPen(line, 1));
  painter.setBrush(kFace);
  painter.drawRoundedRect(box, 4, 4);
  switch (kind_) {
    case Kind::kArrowLeft: DrawArrow(painter, box, 180, line); break;
    case Kind::kArrowRight: DrawArrow(painter, box, 0, line); break;
    case Kind::kArrowUp: DrawArrow(painter, box, -90, line); break;
    case Kind::kArrowDown: DrawArrow(painter, box, 90, line); break;
    case Kind::kCircleOut:
    case Kind::kCircleIn: {
      const qreal r = std::min(box.width(), box.height()) * 0.3;
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(line, 2));
      painter.drawEllipse(box.center(), r, r);
      const qreal dot = kind_ == Kind::kCircleOut ? r * 0.35 : r * 0.8;
      painter.setBrush(line);
      painter.drawEllipse(box.center(), dot * 0.5, dot * 0.5);
      break;
    }
    case Kind::kToolColour:
    case Kind::kToolMark: {
      const QPointF c = box.center();
      painter.setPen(QPen(line, 3, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(c + QPointF(-7, 7), c + QPointF(5, -5));
      if (kind_ == Kind::kToolMark) {
        painter.setPen(QPen(line, 2));
        painter.drawLine(c + QPointF(4, 6), c + QPointF(10, 6));
        painter.drawLine(c + QPointF(7, 3), c + QPointF(7, 9));
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace mvk
