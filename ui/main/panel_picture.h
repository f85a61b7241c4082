// The lighting panel's small picture controls, drawn rather than cut from
// the skin: on/off switches, colour swatches, direction arrows, option and
// tool pictures, and the profile and report-rate buttons.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

namespace mvk {

class CPanelPicture : public QAbstractButton {
  Q_OBJECT

 public:
  enum class Kind {
    kSwitch,        // on/off pill
    kSwatch,        // a colour, framed when selected
    kArrowLeft,
    kArrowRight,
    kArrowUp,
    kArrowDown,
    kCircleOut,
    kCircleIn,
    kToolColour,    // brush
    kToolMark,      // marking brush
    kTextButton,    // a caption, lit when selected
  };

  CPanelPicture(Kind kind, QWidget* parent = nullptr);

  Kind PictureKind() const { return kind_; }
  void SetKind(Kind kind);
  // Selected: the switch's on picture, the chosen option or tool.
  void SetSelected(bool selected);
  bool Selected() const { return selected_; }
  void SetFill(const QColor& fill);
  QColor Fill() const { return fill_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Kind kind_;
  bool selected_ = false;
  QColor fill_ = Qt::white;
};

}  // namespace mvk
