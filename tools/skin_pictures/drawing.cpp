#include "tools/skin_pictures/drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <initializer_list>

namespace mvk::skin {
namespace {

constexpr int kWindowRadius = 14;
constexpr qreal kCapRadius = 6;
constexpr qreal kButtonRadius = 7;
const char* const kFontFamily = "DejaVu Sans";

struct Style {
  QColor top;
  QColor bottom;
  QColor border;
  QColor legend;
  qreal borderWidth = 1;
};

Style KeycapStyle(Look look) {
  switch (look) {
    case Look::kOver:
      return {QColor(0x3A, 0x41, 0x50), QColor(0x31, 0x37, 0x44), QColor(0x6A, 0x74, 0x89),
              Qt::white};
    case Look::kDown:
      return {QColor(0xFF, 0x9C, 0x40), QColor(0xE8, 0x74, 0x1A), QColor(0xFF, 0xB8, 0x70),
              QColor(0x16, 0x18, 0x1D)};
    case Look::kAssigned:
      return {QColor(0x33, 0x2A, 0x22), QColor(0x29, 0x22, 0x1C), colour::kAccent,
              QColor(0xFF, 0xB0, 0x66), 2};
    case Look::kMarkOn:
      return {QColor(0x21, 0x33, 0x33), QColor(0x1C, 0x2A, 0x2A), colour::kMark, colour::kText, 2};
    case Look::kDimmed:
      return {QColor(0x20, 0x23, 0x29), QColor(0x1C, 0x1E, 0x23), QColor(0x2A, 0x2E, 0x36),
              QColor(0x55, 0x5B, 0x66)};
    case Look::kNormal:
    case Look::kMarkOff:
      break;
  }
  return {QColor(0x2B, 0x2F, 0x38), QColor(0x23, 0x26, 0x2D), QColor(0x3A, 0x40, 0x4C),
          colour::kText};
}

Style ButtonStyle(Look look) {
  switch (look) {
    case Look::kOver:
      return {QColor(0x33, 0x39, 0x46), QColor(0x2C, 0x31, 0x3C), QColor(0x59, 0x63, 0x77),
              Qt::white};
    case Look::kDown:
      return {QColor(0xF2, 0x80, 0x22), QColor(0xD9, 0x6A, 0x14), QColor(0xFF, 0xA6, 0x55),
              QColor(0x16, 0x18, 0x1D)};
    case Look::kAssigned:
      return {QColor(0x30, 0x28, 0x20), QColor(0x28, 0x21, 0x1B), colour::kAccent,
              QColor(0xFF, 0xB0, 0x66), 2};
    case Look::kDimmed:
      return {QColor(0x1E, 0x20, 0x26), QColor(0x1C, 0x1E, 0x23), QColor(0x2A, 0x2E, 0x36),
              QColor(0x5A, 0x60, 0x6B)};
    case Look::kNormal:
    case Look::kMarkOff:
    case Look::kMarkOn:
      break;
  }
  return {QColor(0x28, 0x2C, 0x35), QColor(0x22, 0x25, 0x2D), QColor(0x38, 0x3E, 0x4A),
          colour::kText};
}

QColor GlyphColour(Look look) {
  switch (look) {
    case Look::kOver: return Qt::white;
    case Look::kDown: return QColor(0x16, 0x18, 0x1D);
    case Look::kAssigned: return colour::kAccent;
    case Look::kDimmed: return QColor(0x4A, 0x50, 0x5B);
    case Look::kNormal:
    case Look::kMarkOff:
    case Look::kMarkOn: break;
  }
  return colour::kQuietText;
}

QFont LegendFont(int pixelSize, bool bold) {
  QFont font(kFontFamily);
  font.setPixelSize(pixelSize);
  font.setWeight(bold ? QFont::DemiBold : QFont::Normal);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// The largest of the sizes asked for at which every line fits the width.
QFont FittingFont(const QStringList& lines, int pixelSize, qreal width) {
  QFont font = LegendFont(pixelSize, true);
  while (font.pixelSize() > 7) {
    const QFontMetricsF metrics(font);
    const bool fits = std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
      return metrics.horizontalAdvance(line) <= width;
    });
    if (fits) break;
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

void DrawBody(QPainter& painter, const QRectF& body, qreal radius, const Style& style) {
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0, style.top);
  fill.setColorAt(1, style.bottom);
  const qreal inset = style.borderWidth / 2;
  const QRectF outline = body.adjusted(inset, inset, -inset, -inset);
  painter.setPen(QPen(style.border, style.borderWidth));
  painter.setBrush(fill);
  painter.drawRoundedRect(outline, radius, radius);
  // A faint highlight along the top edge gives the body some depth.
  painter.setPen(QPen(QColor(255, 255, 255, 20), 1));
  painter.setBrush(Qt::NoBrush);
  const QRectF inner = outline.adjusted(style.borderWidth, style.borderWidth, -style.borderWidth,
                                        -style.borderWidth);
  painter.drawLine(QPointF(inner.left() + radius, inner.top() + 0.5),
                   QPointF(inner.right() - radius, inner.top() + 0.5));
}

void DrawLegend(QPainter& painter, const QRectF& area, const QString& legend, const QColor& colour) {
  const QStringList lines = legend.split('\n');
  const int size = lines.size() > 1 ? 11 : (legend.size() <= 2 ? 14 : (legend.size() <= 4 ? 11 : 10));
  painter.setFont(FittingFont(lines, size, area.width() - 8));
  painter.setPen(colour);
  painter.drawText(area, Qt::AlignCenter, lines.join('\n'));
}

QRectF GlyphBox(const QRectF& area, qreal share) {
  const qreal side = std::min(area.width(), area.height()) * share;
  return QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
}

}  // namespace

void DrawWindowFace(QPainter& painter, QSize window, int titleHeight) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF outline = QRectF(0, 0, window.width(), window.height()).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.fillRect(QRect(QPoint(0, 0), window), colour::kWindow);
  QPainterPath shape;
  shape.addRoundedRect(outline, kWindowRadius, kWindowRadius);
  painter.setClipPath(shape);
  if (titleHeight > 0) {
    painter.fillRect(QRectF(0, 0, window.width(), titleHeight), colour::kTitleBand);
    painter.setPen(QPen(colour::kEdge, 1));
    painter.drawLine(QPointF(0, titleHeight + 0.5), QPointF(window.width(), titleHeight + 0.5));
  }
  painter.setClipping(false);
  painter.setPen(QPen(colour::kEdge, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(shape);
  painter.restore();
}

void DrawWindowMask(QPainter& painter, QSize window) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(QPoint(0, 0), window), Qt::white);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawRoundedRect(QRect(QPoint(0, 0), window), kWindowRadius, kWindowRadius);
  painter.restore();
}

void DrawCard(QPainter& painter, const QRect& area) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour::kEdge, 1));
  painter.setBrush(colour::kCard);
  painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
  painter.restore();
}

void DrawKeycap(QPainter& painter, const QRect& area, const QString& legend, Look look) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const Style style = KeycapStyle(look);
  const QRectF cap = QRectF(area).adjusted(1, 1, -1, -1);
  DrawBody(painter, cap, kCapRadius, style);
  DrawLegend(painter, cap, legend, style.legend);
  const QPointF corner(cap.right() - 7, cap.top() + 7);
  if (look == Look::kAssigned) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kAccent);
    painter.drawEllipse(corner, 3, 3);
  } else if (look == Look::kMarkOn) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kMark);
    painter.drawEllipse(corner, 3.5, 3.5);
  } else if (look == Look::kMarkOff) {
    painter.setPen(QPen(QColor(0x6B, 0x72, 0x80), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(corner, 3, 3);
  }
  painter.restore();
}

void DrawButtonBody(QPainter& painter, const QRect& area, Look look) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawBody(painter, QRectF(area).adjusted(1, 1, -1, -1), kButtonRadius, ButtonStyle(look));
  painter.restore();
}

void DrawLabelledButton(QPainter& painter, const QRect& area, const QString& label, Look look) {
  DrawButtonBody(painter, area, look);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawLegend(painter, QRectF(area), label, ButtonStyle(look).legend);
  painter.restore();
}

void DrawGlyphButton(QPainter& painter, const QRect& area, Glyph glyph, Look look) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  if (look == Look::kOver || look == Look::kDown) {
    const Style style = ButtonStyle(look);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style.bottom);
    painter.drawRoundedRect(QRectF(area).adjusted(1, 1, -1, -1), kButtonRadius, kButtonRadius);
  }
  DrawGlyph(painter, QRectF(area), glyph, GlyphColour(look));
  painter.restore();
}

void DrawGlyph(QPainter& painter, const QRectF& area, Glyph glyph, const QColor& colour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box = GlyphBox(area, 0.42);
  const qreal l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
  const qreal cx = box.center().x(), cy = box.center().y();
  painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  QPainterPath path;
  // One stroke through the points given.
  const auto stroke = [&path](std::initializer_list<QPointF> points) {
    path.moveTo(*points.begin());
    for (auto point = points.begin() + 1; point != points.end(); ++point) path.lineTo(*point);
  };
  switch (glyph) {
    case Glyph::kClose:
    case Glyph::kCross:
      stroke({{l, t}, {r, b}});
      stroke({{r, t}, {l, b}});
      break;
    case Glyph::kMinimise:
      stroke({{l, cy + 3}, {r, cy + 3}});
      break;
    case Glyph::kMinus:
      stroke({{l, cy}, {r, cy}});
      break;
    case Glyph::kPlus:
      stroke({{l, cy}, {r, cy}});
      stroke({{cx, t}, {cx, b}});
      break;
    case Glyph::kMenu:
      for (qreal y : {t + 1, cy, b - 1}) stroke({{l, y}, {r, y}});
      break;
    case Glyph::kList:
      for (qreal y : {t + 1, cy, b - 1}) {
        stroke({{l + 5, y}, {r, y}});
        path.addEllipse(QPointF(l + 1, y), 0.6, 0.6);
      }
      break;
    case Glyph::kChevronDown:
      stroke({{l, cy - 3}, {cx, cy + 3}, {r, cy - 3}});
      break;
    case Glyph::kChevronUp:
      stroke({{l, cy + 3}, {cx, cy - 3}, {r, cy + 3}});
      break;
    case Glyph::kUp:
      stroke({{cx, b}, {cx, t}});
      stroke({{l + 1, cy - 1}, {cx, t}, {r - 1, cy - 1}});
      break;
    case Glyph::kDown:
      stroke({{cx, t}, {cx, b}});
      stroke({{l + 1, cy + 1}, {cx, b}, {r - 1, cy + 1}});
      break;
    case Glyph::kToTop:
      stroke({{l, t}, {r, t}});
      stroke({{cx, b}, {cx, t + 4}});
      stroke({{l + 1, cy + 2}, {cx, t + 4}, {r - 1, cy + 2}});
      break;
    case Glyph::kToBottom:
      stroke({{l, b}, {r, b}});
      stroke({{cx, t}, {cx, b - 4}});
      stroke({{l + 1, cy - 2}, {cx, b - 4}, {r - 1, cy - 2}});
      break;
    case Glyph::kEraser:
      stroke({{l, b}, {r, b}});
      stroke({{l + 2, cy + 2}, {cx, t}, {r, cy - 2}, {cx + 1, b - 1}, {l + 5, b - 1}});
      path.closeSubpath();
      break;
    case Glyph::kKeyboard: {
      const QRectF body(area.center().x() - box.width() * 0.8, cy - box.height() * 0.5,
                        box.width() * 1.6, box.height());
      path.addRoundedRect(body, 2.5, 2.5);
      painter.drawPath(path);
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
          painter.drawRect(QRectF(body.left() + 3 + column * (body.width() - 6) / 5,
                                  body.top() + 3 + row * 3.5, 1.8, 1.8));
        }
      }
      painter.drawRect(QRectF(body.left() + body.width() * 0.3, body.bottom() - 4,
                              body.width() * 0.4, 1.6));
      painter.restore();
      return;
    }
    case Glyph::kHelp: {
      QFont font(kFontFamily);
      font.setPixelSize(static_cast<int>(box.height() * 1.4));
      font.setBold(true);
      painter.setFont(font);
      painter.drawText(area, Qt::AlignCenter, QStringLiteral("?"));
      painter.restore();
      return;
    }
  }
  painter.drawPath(path);
  painter.restore();
}

void DrawIndicator(QPainter& painter, const QRect& area, const QString& name, Look look) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF pill = QRectF(area).adjusted(1.5, 1.5, -1.5, -1.5);
  const qreal radius = pill.height() / 2;
  painter.setPen(QPen(look == Look::kOver ? QColor(0x59, 0x63, 0x77) : colour::kEdge, 1));
  painter.setBrush(QColor(0x1F, 0x22, 0x29));
  painter.drawRoundedRect(pill, radius, radius);
  QColor light(0x3A, 0x3F, 0x49);
  if (look == Look::kOver) light = QColor(0x6A, 0x72, 0x82);
  if (look == Look::kDown) light = colour::kAccent;
  if (look == Look::kAssigned) light = colour::kMark;
  painter.setPen(Qt::NoPen);
  painter.setBrush(light);
  const QPointF centre(pill.left() + radius + 1, pill.center().y());
  painter.drawEllipse(centre, 2.8, 2.8);
  const QRectF label = pill.adjusted(radius + 6, 0, -3, 0);
  painter.setFont(FittingFont({name}, std::max(7, static_cast<int>(pill.height()) - 6), label.width()));
  painter.setPen(look == Look::kNormal ? colour::kQuietText : colour::kText);
  painter.drawText(label, Qt::AlignCenter, name);
  painter.restore();
}

void DrawBarsButton(QPainter& painter, const QRect& area, int bars, Look look) {
  DrawButtonBody(painter, area, look);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const QColor lit = ButtonStyle(look).legend;
  QColor unlit = lit;
  unlit.setAlpha(60);
  constexpr int kBars = 4;
  constexpr qreal kBarWidth = 4;
  constexpr qreal kGap = 3;
  const qreal total = kBars * kBarWidth + (kBars - 1) * kGap;
  const qreal tallest = area.height() * 0.45;
  const qreal baseline = area.center().y() + tallest / 2;
  for (int i = 0; i < kBars; ++i) {
    const qreal height = tallest * (i + 1) / kBars;
    painter.setBrush(i < bars ? lit : unlit);
    painter.drawRoundedRect(QRectF(area.center().x() - total / 2 + i * (kBarWidth + kGap),
                                   baseline - height, kBarWidth, height),
                            1, 1);
  }
  painter.restore();
}

void DrawWordmark(QPainter& painter, const QRect& area, Look look) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor accent = look == Look::kDown ? QColor(0xFF, 0xB0, 0x66) : colour::kAccent;
  const QRectF mark(area.left() + 4, area.center().y() - 7, 14, 14);
  painter.setPen(Qt::NoPen);
  painter.setBrush(accent);
  painter.drawRoundedRect(mark, 3, 3);
  painter.setBrush(colour::kWindow);
  painter.drawRect(QRectF(mark.left() + 4, mark.top() + 4, 6, 6));
  QFont font(kFontFamily);
  font.setPixelSize(16);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
  painter.setFont(font);
  painter.setPen(look == Look::kNormal ? colour::kText : accent);
  painter.drawText(QRectF(area).adjusted(26, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("KELDORA"));
  painter.restore();
}

void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QColor& colour,
                 int pixelSize, bool bold) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(LegendFont(pixelSize, bold));
  painter.setPen(colour);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
  painter.restore();
}

}  // namespace mvk::skin
