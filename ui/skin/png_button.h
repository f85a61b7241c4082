// The image button of every skinned window. It has no picture of its own:
// for each of its states it shows the part of a full-window picture that
// lies under it, cut at its image origin.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <functional>
#include <span>

#include "ui/skin/placement.h"

namespace mvk {

// Which of its pictures a button shows.
enum class ButtonFace { kNormal, kHover, kPressed, kDisabled, kAssigned, kMarkOff, kMarkOn };

struct ButtonFlags {
  bool enabled = true;
  bool switchMode = false;
  bool markSet = false;
  bool pressed = false;
  bool hover = false;
  bool assigned = false;
};

// First match wins: disabled; switch mode (mark on or off); pressed; hover;
// assigned; normal.
ButtonFace ChooseButtonFace(const ButtonFlags& flags);

struct ButtonTextColours {
  QColor normal;
  QColor hover;
  QColor pressed;
  QColor disabled;
  QColor assigned;
};

// The colours of the language-text buttons of the dialogs.
inline const ButtonTextColours kLanguageTextColours{
    QColor(255, 255, 255), QColor(255, 130, 0), QColor(255, 155, 4), QColor(127, 127, 127),
    QColor(0, 100, 255)};

// Text format bits as the skin data gives them.
enum DrawFormat : unsigned {
  kDrawLeft = 0x00,
  kDrawCentre = 0x01,
  kDrawRight = 0x02,
  kDrawVerticalCentre = 0x04,
  kDrawBottom = 0x08,
  kDrawWordBreak = 0x10,
  kDrawSingleLine = 0x20,
};
// One line, centred both ways.
inline constexpr unsigned kDrawCentredLine = kDrawCentre | kDrawVerticalCentre | kDrawSingleLine;

int AlignmentFromDrawFormat(unsigned format);

class CPngButton : public QAbstractButton, public SkinImageButton {
  Q_OBJECT

 public:
  using PostDrawCallback = std::function<void(CPngButton& button, bool normalPicture)>;

  explicit CPngButton(QWidget* parent = nullptr);

  // The origin is the point of the full-window pictures that corresponds to
  // the button's top-left corner.
  // The pictures are shared, not copied: hand in prepared pictures
  // (PrepareStatePicture) so that drawing is a single block copy.
  void SetOriginAndPictures(int x, int y, const QImage& normal, const QImage& hover,
                            const QImage& pressed, const QImage& disabled, const QImage& assigned,
                            bool redraw = true);
  void SetPictures(const QImage& normal, const QImage& hover, const QImage& pressed,
                   const QImage& disabled, const QImage& assigned, bool redraw = true);
  void SetOrigin(int x, int y, bool redraw = true);
  void SetAssigned(bool assigned, bool redraw = true);
  void SetSwitchMode(const QImage& markOff, const QImage& markOn, bool on, int markValue,
                     bool redraw = true);
  // The percentage is kept at 100 at most.
  void SetColourFrame(const QColor& colour, int percentage, bool on);
  void SetText(bool on, double pointSize, const QString& faceName,
               const ButtonTextColours& colours, unsigned format = kDrawCentredLine);
  // Added to the left, right, top and bottom edges of the text rectangle.
  void SetTextOffsets(int left, int right, int top, int bottom);
  // Escapement in tenths of a degree, counter-clockwise; heavy-rotated text
  // is bold and centred as a whole once turned.
  void SetRotation(int escapement, bool heavyRotated);
  // Shown 300 ms after the pointer comes to rest on the button.
  void SetTooltip(const QString& text, bool activate);
  void SetPostDrawCallback(PostDrawCallback callback);
  // Draws the outline picture over the whole button instead of a cut-out;
  // with applyOutline its non-white pixels become the button's shape.
  void SetPictureMode(const QImage& outline, bool applyOutline);

  // Placement from skin entries.
  QWidget* Widget() override { return this; }
  void SetOriginAndPictures(QPoint origin, const SkinStateImages& images, bool redraw) override;

  QPoint Origin() const { return origin_; }
  bool IsAssigned() const { return assigned_; }
  bool IsHovered() const { return hover_; }
  int ColourFramePercentage() const { return framePercentage_; }
  bool ColourFrameOn() const { return frameOn_; }
  QColor ColourFrameColour() const { return frameColour_; }
  QString TooltipText() const { return tooltipText_; }
  ButtonFace CurrentFace() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const QImage& PictureFor(ButtonFace face) const;
  const QColor& TextColourFor(ButtonFace face) const;
  void DrawFace(QPainter& painter, ButtonFace face) const;
  void DrawLabel(QPainter& painter, ButtonFace face) const;
  void ApplyPictureOutline();
  void Redraw(bool redraw);
  void ShowTooltip();

  QPoint origin_;
  SkinStateImages pictures_;
  bool hover_ = false;
  bool assigned_ = false;

  bool switchMode_ = false;
  QImage markOff_;
  QImage markOn_;
  int markValue_ = 0;

  bool frameOn_ = false;
  QColor frameColour_;
  int framePercentage_ = 0;

  bool pictureMode_ = false;
  bool applyOutline_ = false;
  QImage outlinePicture_;

  bool textOn_ = false;
  double pointSize_ = 8;
  QString faceName_ = QStringLiteral("Tahoma Unicode MS");
  ButtonTextColours textColours_;
  unsigned format_ = kDrawCentredLine;
  int offsetLeft_ = 0;
  int offsetRight_ = 0;
  int offsetTop_ = 0;
  int offsetBottom_ = 0;
  int escapement_ = 0;
  bool heavyRotated_ = false;

  QString tooltipText_;
  bool tooltipActive_ = false;
  QTimer tooltipTimer_;

  PostDrawCallback postDraw_;
};

// The look of a group of check-style buttons with one checked: the button
// at `index` is drawn assigned, the others not.
void ShowOnlyAssigned(std::span<CPngButton* const> buttons, int index);

}  // namespace mvk
