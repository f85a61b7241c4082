#include "tools/skin_pictures/window_pictures.h"

#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <functional>

#include "tools/skin_pictures/drawing.h"
#include "tools/skin_pictures/key_legends.h"
#include "ui/skin/skin_picture_names.h"

namespace mvk::skin {
namespace {

using ControlPainter = std::function<void(QPainter&, const Control&, const QRect& face, Look)>;

// Where a control's face goes in the pictures.
QRect FaceRect(const QRect& control) { return control.translated(-1, -1); }

QImage BlankWindow(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour::kWindow);
  return image;
}

int TitleHeight(const SkinLayout& layout, std::initializer_list<const char*> titleControls,
                int fallback) {
  int bottom = 0;
  for (const char* key : titleControls) {
    if (const auto rect = layout.Find(key)) bottom = std::max(bottom, rect->bottom() + 1);
  }
  return bottom > 0 ? bottom + 8 : fallback;
}

QRect Union(const SkinLayout& layout, const std::function<bool(const QString&)>& belongs) {
  QRect area;
  for (const Control& control : layout.controls) {
    if (belongs(control.key)) area |= FaceRect(control.rect);
  }
  return area;
}

void DrawControls(QPainter& painter, const SkinLayout& layout, Look look,
                  const ControlPainter& draw) {
  for (const Control& control : layout.controls) draw(painter, control, FaceRect(control.rect), look);
}

bool StartsWith(const QString& key, const char* prefix) {
  return key.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

bool Is(const QString& key, const char* name) {
  return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

void DrawGlyphOnBody(QPainter& painter, const QRect& face, Glyph glyph, Look look) {
  DrawButtonBody(painter, face, look);
  const QColor ink = look == Look::kDown ? QColor(0x16, 0x18, 0x1D)
                     : look == Look::kDimmed ? QColor(0x5A, 0x60, 0x6B)
                                             : colour::kText;
  DrawGlyph(painter, QRectF(face), glyph, ink);
}

// Main window ------------------------------------------------------------

bool IsKeyboardControl(const QString& key) {
  return StartsWith(key, "KEY_") || StartsWith(key, "FUNC_G") || StartsWith(key, "LOCK_") ||
         StartsWith(key, "FLIP_");
}

bool IsLightingControl(const QString& key) {
  static const QRegularExpression other(
      "^CONTROL_(OK|CANCEL|HELP|CLOSE|MINIMIZE|MENU|BUSY|UsbStatic)$",
      QRegularExpression::CaseInsensitiveOption);
  return StartsWith(key, "COLOR_") || (StartsWith(key, "CONTROL_") && !other.match(key).hasMatch());
}

const std::pair<const char*, const char*> kIndicators[] = {
    {"LOCK_NUM", "NUM"}, {"LOCK_CAPS", "CAPS"}, {"LOCK_SCROLL", "SCRL"}, {"LOCK_AB", "AB"},
    {"FLIP_0", "P1"},    {"FLIP_1", "P2"},      {"FLIP_2", "P3"},
};

const std::pair<const char*, Glyph> kMainGlyphButtons[] = {
    {"CONTROL_CLOSE", Glyph::kClose},
    {"CONTROL_MINIMIZE", Glyph::kMinimise},
    {"CONTROL_MENU", Glyph::kMenu},
    {"CONTROL_HELP", Glyph::kHelp},
};

// Buttons whose captions the program draws over them.
const char* const kMainTextButtons[] = {
    "FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_MACRO",
    "FUNC_SWITCH",   "CONTROL2_APPLY", "CONTROL_OK",   "CONTROL_CANCEL",
};

// Key and G buttons are the only ones with switch marks; the others keep
// their normal look in those two pictures.
Look NonKeyLook(Look look) {
  return look == Look::kMarkOff || look == Look::kMarkOn ? Look::kNormal : look;
}

bool DrawMainKey(QPainter& painter, const Control& control, const QRect& face, Look look) {
  if (const auto index = KeyIndexOfSkinKey(control.key)) {
    DrawKeycap(painter, face, KeyLegend(*index), look);
    return true;
  }
  static const QRegularExpression gKey("^FUNC_G([1-9])$", QRegularExpression::CaseInsensitiveOption);
  if (const auto match = gKey.match(control.key); match.hasMatch()) {
    DrawKeycap(painter, face, "G" + match.captured(1), look);
    return true;
  }
  if (Is(control.key, "KEY_FN")) {
    DrawKeycap(painter, face, "Fn", look);
    return true;
  }
  return false;
}

void DrawMainControl(QPainter& painter, const Control& control, const QRect& face, Look look) {
  if (DrawMainKey(painter, control, face, look)) return;
  look = NonKeyLook(look);
  const QString& key = control.key;
  for (const auto& [name, label] : kIndicators) {
    if (Is(key, name)) return DrawIndicator(painter, face, label, look);
  }
  for (const auto& [name, glyph] : kMainGlyphButtons) {
    if (Is(key, name)) return DrawGlyphButton(painter, face, glyph, look);
  }
  for (const char* name : kMainTextButtons) {
    if (Is(key, name)) return DrawButtonBody(painter, face, look);
  }
  static const QRegularExpression report("^FUNC_REPORT([1-4])$",
                                         QRegularExpression::CaseInsensitiveOption);
  if (const auto match = report.match(key); match.hasMatch()) {
    return DrawBarsButton(painter, face, match.captured(1).toInt(), look);
  }
  if (Is(key, "FUNC_PROFILES")) return DrawGlyphOnBody(painter, face, Glyph::kList, look);
  if (Is(key, "FUNC_PROFILE_MENU")) return DrawGlyphOnBody(painter, face, Glyph::kChevronDown, look);
  if (Is(key, "TALVOR_LINK")) return DrawWordmark(painter, face, look);
  if (Is(key, "TALVOR_VER")) {
    return DrawCaption(painter, face, "Gaming Keyboard", colour::kQuietText, 12, false);
  }
}

QImage DrawMainWindow(const SkinLayout& layout, Look look) {
  QImage image = BlankWindow(layout.windowSize);
  QPainter painter(&image);
  DrawWindowFace(painter, layout.windowSize,
                 TitleHeight(layout, {"TALVOR_LINK", "CONTROL_CLOSE", "CONTROL_HELP"}, 0));
  for (const auto& belongs : {std::function<bool(const QString&)>(IsKeyboardControl),
                              std::function<bool(const QString&)>(IsLightingControl)}) {
    const QRect card = Union(layout, belongs);
    if (!card.isEmpty()) DrawCard(painter, card.adjusted(-8, -8, 8, 8));
  }
  DrawControls(painter, layout, look, DrawMainControl);
  return image;
}

// Dialogs ----------------------------------------------------------------

enum class Page { kKey, kMacro, kMedia, kFunction };

const char* const kPageTabs[] = {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA",
                                 "CONTROL_FUNCTION"};

const std::pair<const char*, Glyph> kCompositeGlyphButtons[] = {
    {"CONTROL_CLEAR", Glyph::kEraser},          {"FUNC_MACRO_ADD", Glyph::kPlus},
    {"FUNC_MACRO_DELETE", Glyph::kMinus},       {"FUNC_MACRO_DELETE2", Glyph::kCross},
    {"FUNC_MACRO_CLEAR", Glyph::kEraser},       {"FUNC_MACRO_UP_TOP", Glyph::kToTop},
    {"FUNC_MACRO_UP", Glyph::kUp},              {"FUNC_MACRO_DOWN", Glyph::kDown},
    {"FUNC_MACRO_DOWN_BOTTOM", Glyph::kToBottom},
};

const char* const kDialogTextButtons[] = {
    "CONTROL_KEY",    "CONTROL_MACRO",  "CONTROL_MEDIA", "CONTROL_FUNCTION", "FUNC_MACRO_RECORD",
    "CONTROL2_APPLY", "CONTROL_OK",     "CONTROL_CANCEL", "FUNC_ADD",        "FUNC_LOAD",
    "FUNC_DELETE",    "CONTROL_OPENButton", "CONTROL_BACKUPButton", "CONTROL_UPButton",
    "CONTROL_CUPButton",
};

bool IsMacroPageButton(const QString& key) {
  return StartsWith(key, "FUNC_MACRO_");
}

// The thin strip under the page buttons, lit under the page shown.
void DrawPageStrip(QPainter& painter, const SkinLayout& layout, const QRect& face, Page page) {
  painter.fillRect(face, colour::kWindow);
  painter.fillRect(QRect(face.left(), face.center().y() - 1, face.width(), 2), colour::kEdge);
  if (const auto tab = layout.Find(kPageTabs[static_cast<int>(page)])) {
    const QRect lit(tab->left() - 1, face.center().y() - 2, tab->width(), 4);
    painter.fillRect(lit, colour::kAccent);
  }
}

void DrawDialogControl(QPainter& painter, const Control& control, const QRect& face, Look look) {
  for (const auto& [name, glyph] : kCompositeGlyphButtons) {
    if (Is(control.key, name)) return DrawGlyphOnBody(painter, face, glyph, look);
  }
  for (const char* name : kDialogTextButtons) {
    if (Is(control.key, name)) return DrawButtonBody(painter, face, look);
  }
  if (Is(control.key, "CONTROL_OSK")) return DrawGlyphButton(painter, face, Glyph::kKeyboard, look);
  if (Is(control.key, "PROGRAM_LIST")) return DrawCard(painter, face);
}

void DrawDialogTitle(QPainter& painter, const QRect& area, Glyph glyph, const QString& title) {
  constexpr int kGlyphSide = 30;
  const QRectF glyphArea(area.left() - 4, area.center().y() - kGlyphSide / 2.0, kGlyphSide,
                         kGlyphSide);
  DrawGlyph(painter, glyphArea, glyph, colour::kAccent);
  DrawCaption(painter, area.adjusted(kGlyphSide, 0, 0, 0), title, colour::kText, 15, true);
}

struct CompositeSet {
  const char* prefix;
  Page page;
  bool macroPage;   // holds the macro page's buttons
  bool macroOnly;   // the frame of the macro editor opened on its own
  bool hasDisabled;
};

QImage DrawCompositeWindow(const SkinLayout& layout, const CompositeSet& set, Look look) {
  QImage image = BlankWindow(layout.windowSize);
  QPainter painter(&image);
  const int title = TitleHeight(layout, {"CONTROL_TITLE", "CONTROL_OSK"}, 0);
  DrawWindowFace(painter, layout.windowSize, title);
  const auto strip = layout.Find("CONTROL_MASK");
  const auto ok = layout.Find("CONTROL_OK");
  if (strip && ok) {
    DrawCard(painter, QRect(QPoint(strip->left() - 9, strip->bottom() + 8),
                            QPoint(strip->right() + 7, ok->top() - 14)));
  }
  for (const Control& control : layout.controls) {
    const QRect face = FaceRect(control.rect);
    if (Is(control.key, "CONTROL_MASK")) {
      DrawPageStrip(painter, layout, face, set.page);
    } else if (Is(control.key, "CONTROL_TITLE")) {
      DrawDialogTitle(painter, face, set.macroOnly ? Glyph::kList : Glyph::kKeyboard,
                      set.macroOnly ? "Macro Editor" : "Key Assignment");
    } else if (!IsMacroPageButton(control.key) || set.macroPage) {
      DrawDialogControl(painter, control, face, look);
    }
  }
  return image;
}

QImage DrawSimpleDialog(const SkinLayout& layout, Look look, Glyph glyph, const QString& title) {
  QImage image = BlankWindow(layout.windowSize);
  QPainter painter(&image);
  constexpr int kTitleHeight = 36;
  DrawWindowFace(painter, layout.windowSize, kTitleHeight);
  DrawDialogTitle(painter, QRect(16, 8, layout.windowSize.width() - 32, kTitleHeight - 16), glyph,
                  title);
  DrawControls(painter, layout, look, DrawDialogControl);
  return image;
}

void DrawSpinnerFrame(QPainter& painter, const QRectF& area, int frame, int frames) {
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal pen = std::max<qreal>(2, area.width() / 8);
  const QRectF ring = area.adjusted(pen, pen, -pen, -pen);
  painter.setPen(QPen(colour::kEdge, pen));
  painter.drawEllipse(ring);
  painter.setPen(QPen(colour::kAccent, pen, Qt::SolidLine, Qt::RoundCap));
  const int start = 90 * 16 - frame * 360 * 16 / frames;
  painter.drawArc(ring, start, -100 * 16);
}

QImage DrawTrayIcon(const QColor& body, bool alternate) {
  constexpr int kSide = 64;
  QImage icon(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(body);
  painter.drawRoundedRect(QRectF(3, 14, 58, 36), 8, 8);
  painter.setBrush(colour::kWindow);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 6; ++column) {
      painter.drawRoundedRect(QRectF(9 + column * 8.2, 20 + row * 9, 6, 6), 1.5, 1.5);
    }
  }
  painter.drawRoundedRect(QRectF(17, 39, 30, 6), 1.5, 1.5);
  if (alternate) {
    painter.setBrush(colour::kMark);
    painter.setPen(QPen(colour::kWindow, 3));
    painter.drawEllipse(QPointF(52, 14), 10, 10);
  }
  return icon;
}

QString FileName(std::u16string_view path) {
  return QFileInfo(QString::fromStdU16String(std::u16string(path))).fileName();
}

}  // namespace

std::vector<Picture> MainPictures(const SkinLayout& main) {
  const std::pair<const char*, Look> kSet[] = {
      {"main_normal.jpg", Look::kNormal},    {"main_over.jpg", Look::kOver},
      {"main_down.jpg", Look::kDown},        {"main_disable.jpg", Look::kAssigned},
      {"main_color0.jpg", Look::kMarkOff},   {"main_color1.jpg", Look::kMarkOn},
  };
  std::vector<Picture> pictures;
  for (const auto& [name, look] : kSet) pictures.push_back({name, DrawMainWindow(main, look)});
  return pictures;
}

Picture ArrowPicture(const SkinLayout& main) {
  QRect extent;
  for (const Control& origin : main.pictureOrigins) extent |= origin.rect;
  QImage image(std::max(1, extent.right() + 1), std::max(1, extent.bottom() + 1),
               QImage::Format_RGB32);
  image.fill(colour::kWindow);
  QPainter painter(&image);
  for (const Control& origin : main.pictureOrigins) {
    const Glyph glyph = StartsWith(origin.key, "UP_") ? Glyph::kChevronUp : Glyph::kChevronDown;
    DrawGlyph(painter, QRectF(FaceRect(origin.rect)), glyph, colour::kAccent);
  }
  return {"Arrow.jpg", image};
}

std::vector<Picture> CompositePictures(const SkinLayout& composite) {
  const CompositeSet kSets[] = {
      {"key", Page::kKey, false, false, false},
      {"macro", Page::kMacro, true, false, true},
      {"media", Page::kMedia, false, false, false},
      {"function", Page::kFunction, false, false, false},
      {"macro2", Page::kMacro, false, true, true},
  };
  const std::pair<const char*, Look> kLooks[] = {
      {"normal", Look::kNormal}, {"over", Look::kOver}, {"down", Look::kDown},
      {"disable", Look::kDimmed}};
  std::vector<Picture> pictures;
  for (const CompositeSet& set : kSets) {
    for (const auto& [state, look] : kLooks) {
      if (look == Look::kDimmed && !set.hasDisabled) continue;
      pictures.push_back({QString("%1_%2.jpg").arg(set.prefix, state),
                          DrawCompositeWindow(composite, set, look)});
    }
  }
  return pictures;
}

std::vector<Picture> ProfilePictures(const SkinLayout& profile) {
  std::vector<Picture> pictures;
  for (const auto& [name, look] : {std::pair{"Profile_normal.jpg", Look::kNormal},
                                   std::pair{"Profile_over.jpg", Look::kOver},
                                   std::pair{"Profile_down.jpg", Look::kDown}}) {
    pictures.push_back({name, DrawSimpleDialog(profile, look, Glyph::kList, "Profiles")});
  }
  return pictures;
}

std::vector<Picture> UpdatePictures(const SkinLayout& update) {
  std::vector<Picture> pictures;
  for (const auto& [name, look] : {std::pair{"update_normal.jpg", Look::kNormal},
                                   std::pair{"update_over.jpg", Look::kOver}}) {
    pictures.push_back({name, DrawSimpleDialog(update, look, Glyph::kDown, "Firmware Update")});
  }
  return pictures;
}

std::vector<Picture> MaskPicture(const SkinLayout& layout) {
  if (layout.maskPicture == layout.facePicture) return {};
  QImage mask(layout.windowSize, QImage::Format_RGB32);
  QPainter painter(&mask);
  DrawWindowMask(painter, layout.windowSize);
  return {{layout.maskPicture, mask}};
}

std::vector<Picture> BusyPictures(const SkinLayout& main) {
  const QSize size = main.Find("CONTROL_BUSY").value_or(QRect(0, 0, 24, 24)).size();
  std::vector<Picture> pictures;
  const int frames = static_cast<int>(kBusyPictureNames.size());
  for (int frame = 0; frame < frames; ++frame) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawSpinnerFrame(painter, QRectF(QPointF(0, 0), QSizeF(size)), frame, frames);
    painter.end();
    pictures.push_back({FileName(kBusyPictureNames[frame]), image});
  }
  return pictures;
}

std::vector<Picture> TrayIcons() {
  std::vector<Picture> icons;
  for (const TrayIconName& tray : kTrayIconNames) {
    const QColor body = tray.resource == 128 ? QColor(0x7A, 0x82, 0x90) : colour::kAccent;
    icons.push_back({FileName(tray.file), DrawTrayIcon(body, tray.resource == 142)});
  }
  return icons;
}

}  // namespace mvk::skin
