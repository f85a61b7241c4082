#include "ui/skin/png_button.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "ui/skin/outline.h"

namespace mvk {
namespace {

constexpr int kTooltipDelayMs = 300;
constexpr int kMaxFramePercentage = 100;
constexpr int kNormalWeight = 400;
constexpr int kHeavyWeight = 956;

}  // namespace

ButtonFace ChooseButtonFace(const ButtonFlags& flags) {
  if (!flags.enabled) return ButtonFace::kDisabled;
  if (flags.switchMode) return flags.markSet ? ButtonFace::kMarkOn : ButtonFace::kMarkOff;
  if (flags.pressed) return ButtonFace::kPressed;
  if (flags.hover) return ButtonFace::kHover;
  if (flags.assigned) return ButtonFace::kAssigned;
  return ButtonFace::kNormal;
}

int AlignmentFromDrawFormat(unsigned format) {
  int flags = Qt::AlignLeft;
  if (format & kDrawRight) flags = Qt::AlignRight;
  if (format & kDrawCentre) flags = Qt::AlignHCenter;
  if (format & kDrawBottom) {
    flags |= Qt::AlignBottom;
  } else if (format & kDrawVerticalCentre) {
    flags |= Qt::AlignVCenter;
  } else {
    flags |= Qt::AlignTop;
  }
  if (format & kDrawSingleLine) flags |= Qt::TextSingleLine;
  if (format & kDrawWordBreak) flags |= Qt::TextWordWrap;
  return flags;
}

CPngButton::CPngButton(QWidget* parent) : QAbstractButton(parent) {
  tooltipTimer_.setSingleShot(true);
  tooltipTimer_.setInterval(kTooltipDelayMs);
  connect(&tooltipTimer_, &QTimer::timeout, this, &CPngButton::ShowTooltip);
}

void CPngButton::SetOriginAndPictures(int x, int y, const QImage& normal, const QImage& hover,
                                      const QImage& pressed, const QImage& disabled,
                                      const QImage& assigned, bool redraw) {
  origin_ = QPoint(x, y);
  SetPictures(normal, hover, pressed, disabled, assigned, redraw);
}

void CPngButton::SetOriginAndPictures(QPoint origin, const SkinStateImages& images, bool redraw) {
  origin_ = origin;
  pictures_ = images;
  Redraw(redraw);
}

void CPngButton::SetPictures(const QImage& normal, const QImage& hover, const QImage& pressed,
                             const QImage& disabled, const QImage& assigned, bool redraw) {
  pictures_ = SkinStateImages{normal, hover, pressed, disabled, assigned};
  Redraw(redraw);
}

void CPngButton::SetOrigin(int x, int y, bool redraw) {
  origin_ = QPoint(x, y);
  Redraw(redraw);
}

void CPngButton::SetAssigned(bool assigned, bool redraw) {
  assigned_ = assigned;
  Redraw(redraw);
}

void CPngButton::SetSwitchMode(const QImage& markOff, const QImage& markOn, bool on,
                               int markValue, bool redraw) {
  markOff_ = markOff;
  markOn_ = markOn;
  switchMode_ = on;
  markValue_ = markValue;
  Redraw(redraw);
}

void CPngButton::SetColourFrame(const QColor& colour, int percentage, bool on) {
  frameColour_ = colour;
  frameOn_ = on;
  framePercentage_ = on ? std::min(percentage, kMaxFramePercentage) : percentage;
  update();
}

void CPngButton::SetText(bool on, double pointSize, const QString& faceName,
                         const ButtonTextColours& colours, unsigned format) {
  textOn_ = on;
  pointSize_ = pointSize;
  faceName_ = faceName;
  textColours_ = colours;
  format_ = format;
  update();
}

void CPngButton::SetTextOffsets(int left, int right, int top, int bottom) {
  offsetLeft_ = left;
  offsetRight_ = right;
  offsetTop_ = top;
  offsetBottom_ = bottom;
  update();
}

void CPngButton::SetRotation(int escapement, bool heavyRotated) {
  escapement_ = escapement;
  heavyRotated_ = heavyRotated;
  update();
}

void CPngButton::SetTooltip(const QString& text, bool activate) {
  tooltipText_ = text;
  tooltipActive_ = activate;
  if (!activate) tooltipTimer_.stop();
}

void CPngButton::SetPostDrawCallback(PostDrawCallback callback) { postDraw_ = std::move(callback); }

void CPngButton::SetPictureMode(const QImage& outline, bool applyOutline) {
  pictureMode_ = true;
  outlinePicture_ = outline;
  applyOutline_ = applyOutline;
  ApplyPictureOutline();
  update();
}

ButtonFace CPngButton::CurrentFace() const {
  return ChooseButtonFace(ButtonFlags{isEnabled(), switchMode_, markValue_ != 0, isDown(), hover_,
                                      assigned_});
}

void CPngButton::paintEvent(QPaintEvent*) {
  const ButtonFace face = CurrentFace();
  {
    QPainter painter(this);
    DrawFace(painter, face);
    if (textOn_) DrawLabel(painter, face);
  }
  if (postDraw_) postDraw_(*this, face == ButtonFace::kNormal);
}

void CPngButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  if (tooltipActive_ && !tooltipText_.isEmpty()) tooltipTimer_.start();
  QAbstractButton::enterEvent(event);
}

void CPngButton::leaveEvent(QEvent* event) {
  hover_ = false;
  tooltipTimer_.stop();
  if (QToolTip::isVisible() && QToolTip::text() == tooltipText_) QToolTip::hideText();
  update();
  QAbstractButton::leaveEvent(event);
}

// Fast clicks are separate clicks, not a double click.
void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CPngButton::resizeEvent(QResizeEvent* event) {
  QAbstractButton::resizeEvent(event);
  if (pictureMode_) ApplyPictureOutline();
}

const QImage& CPngButton::PictureFor(ButtonFace face) const {
  switch (face) {
    case ButtonFace::kHover: return pictures_.hover;
    case ButtonFace::kPressed: return pictures_.pressed;
    case ButtonFace::kDisabled: return pictures_.disabled;
    case ButtonFace::kAssigned: return pictures_.assigned;
    case ButtonFace::kMarkOff: return markOff_;
    case ButtonFace::kMarkOn: return markOn_;
    case ButtonFace::kNormal: break;
  }
  return pictures_.normal;
}

const QColor& CPngButton::TextColourFor(ButtonFace face) const {
  switch (face) {
    case ButtonFace::kHover: return textColours_.hover;
    case ButtonFace::kPressed: return textColours_.pressed;
    case ButtonFace::kDisabled: return textColours_.disabled;
    case ButtonFace::kAssigned: return textColours_.assigned;
    case ButtonFace::kNormal:
    case ButtonFace::kMarkOff:
    case ButtonFace::kMarkOn: break;
  }
  return textColours_.normal;
}

void CPngButton::DrawFace(QPainter& painter, ButtonFace face) const {
  if (frameOn_) {
    painter.setPen(QPen(frameColour_, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(1, 1, width() - 2, height() - 2));
    return;
  }
  if (pictureMode_) {
    painter.drawImage(rect(), outlinePicture_);
    return;
  }
  const QImage& picture = PictureFor(face);
  if (picture.isNull()) return;
  // The skin's pictures put a button's face one pixel up and left of its
  // position.
  painter.drawImage(0, 0, picture, origin_.x() - 1, origin_.y() - 1, width(), height());
}

void CPngButton::DrawLabel(QPainter& painter, ButtonFace face) const {
  QFont font(faceName_);
  font.setPixelSize(std::max(1, qRound(pointSize_ * logicalDpiY() / 72.0)));
  font.setWeight(static_cast<QFont::Weight>(heavyRotated_ ? kHeavyWeight : kNormalWeight));
  painter.setFont(font);
  painter.setPen(TextColourFor(face));
  const QRectF area = QRectF(rect()).adjusted(offsetLeft_, offsetTop_, offsetRight_, offsetBottom_);
  const int flags = AlignmentFromDrawFormat(format_);
  if (escapement_ == 0) {
    painter.drawText(area, flags, text());
    return;
  }
  const double degrees = escapement_ / 10.0;
  const QFontMetricsF metrics(font, this);
  if (heavyRotated_) {
    // Turned about its own centre, placed at the centre of the rectangle.
    const QSizeF extent = metrics.size(Qt::TextSingleLine, text());
    painter.translate(area.center());
    painter.rotate(-degrees);
    painter.drawText(QRectF(QPointF(-extent.width() / 2, -extent.height() / 2), extent),
                     Qt::AlignCenter | Qt::TextSingleLine, text());
    return;
  }
  // Laid out unturned, then turned about the start of the text.
  const QRectF laidOut = metrics.boundingRect(area, flags, text());
  painter.translate(laidOut.topLeft());
  painter.rotate(-degrees);
  painter.drawText(QRectF(QPointF(0, 0), laidOut.size()), Qt::AlignLeft | Qt::AlignTop, text());
}

void CPngButton::ApplyPictureOutline() {
  if (!applyOutline_ || outlinePicture_.isNull() || size().isEmpty()) return;
  const QImage fitted = outlinePicture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  setMask(OutlineFromPicture(fitted, kPureWhite));
}

void CPngButton::Redraw(bool redraw) {
  if (redraw) update();
}

void CPngButton::ShowTooltip() {
  if (hover_) QToolTip::showText(QCursor::pos(), tooltipText_, this, rect());
}

void ShowOnlyAssigned(std::span<CPngButton* const> buttons, int index) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i]->SetAssigned(static_cast<int>(i) == index);
  }
}

}  // namespace mvk
