// The look of the skin: colours and the drawing of every kind of control
// face, in each of the states a skin picture shows.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

namespace mvk::skin {

// The state all controls of one picture are drawn in.
enum class Look {
  kNormal,
  kOver,      // pointer on the control: lighter
  kDown,      // pressed: accent fill
  kAssigned,  // assigned key, checked button: accent frame
  kMarkOff,   // switch mark not set
  kMarkOn,    // switch mark set
  kDimmed,    // disabled
};

namespace colour {
inline const QColor kWindow(0x16, 0x18, 0x1D);
inline const QColor kTitleBand(0x1C, 0x1F, 0x26);
inline const QColor kCard(0x1D, 0x20, 0x27);
inline const QColor kEdge(0x2C, 0x31, 0x3B);
inline const QColor kText(0xE8, 0xEB, 0xF0);
inline const QColor kQuietText(0x8A, 0x92, 0xA0);
inline const QColor kAccent(0xFF, 0x8A, 0x1F);
inline const QColor kMark(0x22, 0xC5, 0xB0);
}  // namespace colour

// Window face: background, border and title band, inside a rounded outline.
void DrawWindowFace(QPainter& painter, QSize window, int titleHeight);
// The mask: black where the window is, pure white outside its rounded
// corners.
void DrawWindowMask(QPainter& painter, QSize window);
void DrawCard(QPainter& painter, const QRect& area);

// A key cap with its legend; a '\n' in the legend gives two lines.
void DrawKeycap(QPainter& painter, const QRect& area, const QString& legend, Look look);
// A command button whose text the program draws; only its body is ours.
void DrawButtonBody(QPainter& painter, const QRect& area, Look look);
// A button body with a legend of its own.
void DrawLabelledButton(QPainter& painter, const QRect& area, const QString& label, Look look);

enum class Glyph {
  kClose,
  kMinimise,
  kMenu,
  kHelp,
  kChevronDown,
  kChevronUp,
  kPlus,
  kMinus,
  kCross,
  kEraser,
  kKeyboard,
  kToTop,
  kUp,
  kDown,
  kToBottom,
  kList,
};
// A flat button that shows a glyph; its body appears under the pointer.
void DrawGlyphButton(QPainter& painter, const QRect& area, Glyph glyph, Look look);
void DrawGlyph(QPainter& painter, const QRectF& area, Glyph glyph, const QColor& colour);
// A status light with a short name.
void DrawIndicator(QPainter& painter, const QRect& area, const QString& name, Look look);
// A button with a rising row of bars, the n-th of a series.
void DrawBarsButton(QPainter& painter, const QRect& area, int bars, Look look);
// The maker's name mark.
void DrawWordmark(QPainter& painter, const QRect& area, Look look);
void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QColor& colour,
                 int pixelSize, bool bold);

}  // namespace mvk::skin
