#include "ui/skin/png_button.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <vector>

#include "support/qt_application.h"
#include "ui/skin/state_picture.h"

namespace mvk {
namespace {

TEST(ChooseButtonFaceTest, FirstMatchingStateWins) {
  struct Row {
    const char* name;
    ButtonFlags flags;
    ButtonFace face;
  };
  const Row rows[] = {
      {"nothing", {}, ButtonFace::kNormal},
      {"assigned", {.assigned = true}, ButtonFace::kAssigned},
      {"assigned under the mouse", {.hover = true, .assigned = true}, ButtonFace::kHover},
      {"pressed under the mouse", {.pressed = true, .hover = true}, ButtonFace::kPressed},
      {"pressed and assigned", {.pressed = true, .assigned = true}, ButtonFace::kPressed},
      {"switch mode, mark off", {.switchMode = true, .pressed = true}, ButtonFace::kMarkOff},
      {"switch mode, mark on", {.switchMode = true, .markSet = true, .hover = true},
       ButtonFace::kMarkOn},
      {"disabled in switch mode", {.enabled = false, .switchMode = true, .markSet = true},
       ButtonFace::kDisabled},
      {"disabled, pressed and hovered", {.enabled = false, .pressed = true, .hover = true},
       ButtonFace::kDisabled},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ChooseButtonFace(row.flags), row.face) << row.name;
  }
}

QImage Solid(QSize size, const QColor& colour) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

// Every pixel tells where it came from: red is x, green is y.
QImage CoordinatePicture(QSize size) {
  QImage picture(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) picture.setPixel(x, y, qRgb(x, y, 0));
  }
  return picture;
}

void SendEnter(QWidget& widget) {
  QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)));
  QCoreApplication::sendEvent(&widget, &event);
}

void SendLeave(QWidget& widget) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(&widget, &event);
}

void SendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButtons buttons) {
  const QPointF local(3, 3);
  QMouseEvent event(type, local, widget.mapToGlobal(local), Qt::LeftButton, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

// Pictures need the application before the fixture's members are made.
struct WithGuiApplication {
  WithGuiApplication() { test::Application(); }
};

class PngButtonTest : public ::testing::Test, private WithGuiApplication {
 protected:

  QColor Shown(CPngButton& button) { return button.grab().toImage().pixelColor(5, 5); }

  const QColor normal_{10, 10, 10};
  const QColor hover_{20, 200, 20};
  const QColor pressed_{200, 20, 20};
  const QColor disabled_{90, 90, 90};
  const QColor assigned_{20, 20, 200};
  const QColor markOff_{200, 200, 20};
  const QColor markOn_{20, 200, 200};
  const QSize window_{300, 200};
  SkinStateImages pictures_{Solid(window_, normal_), Solid(window_, hover_), Solid(window_, pressed_),
                          Solid(window_, disabled_), Solid(window_, assigned_)};
};

TEST_F(PngButtonTest, FaceIsCutOnePixelUpAndLeftOfTheOrigin) {
  CPngButton button;
  button.setGeometry(100, 40, 20, 10);
  const QImage picture = PrepareStatePicture(CoordinatePicture(QSize(200, 100)), QSize(200, 100));
  button.SetOriginAndPictures(100, 40, picture, picture, picture, picture, picture);

  const QImage shown = button.grab().toImage();

  EXPECT_EQ(shown.pixelColor(0, 0), QColor(99, 39, 0));
  EXPECT_EQ(shown.pixelColor(19, 9), QColor(118, 48, 0));
}

TEST_F(PngButtonTest, ShowsThePictureOfItsState) {
  CPngButton button;
  button.resize(20, 10);
  button.SetOriginAndPictures(QPoint(30, 30), pictures_, true);
  EXPECT_EQ(Shown(button), normal_);

  button.SetAssigned(true);
  EXPECT_EQ(Shown(button), assigned_);

  SendEnter(button);
  EXPECT_TRUE(button.IsHovered());
  EXPECT_EQ(Shown(button), hover_) << "an assigned button under the mouse shows hover";

  button.setDown(true);
  EXPECT_EQ(Shown(button), pressed_) << "pressed while hovered shows pressed";

  button.SetSwitchMode(Solid(window_, markOff_), Solid(window_, markOn_), true, 1);
  EXPECT_EQ(Shown(button), markOn_);
  button.SetSwitchMode(Solid(window_, markOff_), Solid(window_, markOn_), true, 0);
  EXPECT_EQ(Shown(button), markOff_);

  button.setEnabled(false);
  EXPECT_EQ(Shown(button), disabled_) << "disabled wins over switch mode";

  button.setEnabled(true);
  button.setDown(false);
  button.SetSwitchMode(QImage(), QImage(), false, 0);
  SendLeave(button);
  EXPECT_FALSE(button.IsHovered());
  EXPECT_EQ(Shown(button), assigned_);
}

TEST_F(PngButtonTest, ColourFrameReplacesThePicture) {
  CPngButton button;
  button.resize(20, 12);
  button.SetOriginAndPictures(QPoint(30, 30), pictures_, true);

  button.SetColourFrame(QColor(250, 0, 250), 150, true);

  const QImage shown = button.grab().toImage();
  EXPECT_EQ(shown.pixelColor(1, 1), QColor(250, 0, 250));
  EXPECT_EQ(shown.pixelColor(18, 10), QColor(250, 0, 250));
  EXPECT_NE(shown.pixelColor(10, 6), QColor(250, 0, 250));
  EXPECT_NE(shown.pixelColor(10, 6), normal_);
  EXPECT_EQ(button.ColourFramePercentage(), 100);
}

TEST_F(PngButtonTest, PictureModeDrawsTheOutlinePictureAndCanShapeTheButton) {
  CPngButton button;
  button.resize(20, 20);
  QImage outline(20, 20, QImage::Format_RGB32);
  outline.fill(Qt::white);
  QPainter(&outline).fillRect(5, 5, 10, 10, QColor(0, 0, 255));

  button.SetPictureMode(outline, true);

  EXPECT_TRUE(button.mask().contains(QPoint(10, 10)));
  EXPECT_FALSE(button.mask().contains(QPoint(2, 2)));
  EXPECT_EQ(button.grab().toImage().pixelColor(10, 10), QColor(0, 0, 255));
}

// Bounding box of the pixels that are not black.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (QColor(image.pixel(x, y)).lightness() > 60) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

TEST_F(PngButtonTest, TextTakesTheColourOfTheState) {
  const QSize window(200, 100);
  const SkinStateImages black{Solid(window, Qt::black), Solid(window, Qt::black),
                            Solid(window, Qt::black), Solid(window, Qt::black),
                            Solid(window, Qt::black)};
  CPngButton button;
  button.resize(80, 30);
  button.setText("WWW");
  button.SetOriginAndPictures(QPoint(1, 1), black, true);
  button.SetText(true, 14, "DejaVu Sans", kLanguageTextColours);

  auto hasInkOf = [&](const QColor& colour) {
    const QImage shown = button.grab().toImage();
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        if (shown.pixelColor(x, y) == colour) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(hasInkOf(kLanguageTextColours.normal));
  SendEnter(button);
  EXPECT_TRUE(hasInkOf(kLanguageTextColours.hover));
  EXPECT_FALSE(hasInkOf(kLanguageTextColours.normal));
}

TEST_F(PngButtonTest, HeavyRotatedTextIsCentred) {
  const QSize window(200, 200);
  const QImage black = Solid(window, Qt::black);
  CPngButton button;
  button.resize(40, 120);
  button.setText("MMMM");
  button.SetOriginAndPictures(1, 1, black, black, black, black, black);
  button.SetText(true, 12, "DejaVu Sans", kLanguageTextColours);
  button.SetRotation(900, true);

  const QRect ink = InkBounds(button.grab().toImage());

  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.height(), ink.width()) << "the text runs upwards";
  EXPECT_NEAR(ink.center().x(), 20, 3);
  EXPECT_NEAR(ink.center().y(), 60, 3);
}

TEST_F(PngButtonTest, TextOffsetsMoveTheTextRectangle) {
  const QImage black = Solid(QSize(200, 100), Qt::black);
  CPngButton button;
  button.resize(120, 30);
  button.setText("W");
  button.SetOriginAndPictures(1, 1, black, black, black, black, black);
  button.SetText(true, 12, "DejaVu Sans", kLanguageTextColours,
                 kDrawLeft | kDrawVerticalCentre | kDrawSingleLine);
  EXPECT_LT(InkBounds(button.grab().toImage()).left(), 5);

  button.SetTextOffsets(60, 0, 0, 0);
  const QRect moved = InkBounds(button.grab().toImage());
  EXPECT_GE(moved.left(), 60);
  EXPECT_LT(moved.left(), 65);
}

TEST_F(PngButtonTest, DoubleClickCountsAsASecondClick) {
  CPngButton button;
  button.resize(20, 10);
  int clicks = 0;
  QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });

  SendMouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
  SendMouse(button, QEvent::MouseButtonRelease, Qt::NoButton);
  SendMouse(button, QEvent::MouseButtonDblClick, Qt::LeftButton);
  SendMouse(button, QEvent::MouseButtonRelease, Qt::NoButton);

  EXPECT_EQ(clicks, 2);
}

TEST_F(PngButtonTest, PostDrawCallbackLearnsWhetherTheNormalPictureWasUsed) {
  CPngButton button;
  button.resize(20, 10);
  button.SetOriginAndPictures(QPoint(30, 30), pictures_, true);
  std::vector<bool> calls;
  button.SetPostDrawCallback([&](CPngButton& drawn, bool normal) {
    EXPECT_EQ(&drawn, &button);
    calls.push_back(normal);
  });

  button.grab();
  SendEnter(button);
  button.grab();

  EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

TEST_F(PngButtonTest, TooltipAppearsWhileThePointerRestsOnTheButton) {
  CPngButton button;
  button.resize(20, 10);
  button.SetTooltip("Close the window", true);
  button.show();

  SendEnter(button);
  EXPECT_TRUE(test::WaitUntil(
      [] { return QToolTip::isVisible() && QToolTip::text() == "Close the window"; }));

  SendLeave(button);
  EXPECT_TRUE(test::WaitUntil([] { return !QToolTip::isVisible(); }));
}

TEST(PrepareStatePictureTest, PictureIsDrawnUnscaledWithRoomAroundTheClientArea) {
  test::Application();
  QImage picture(50, 40, QImage::Format_RGB32);
  picture.fill(QColor(1, 2, 3));
  picture.setPixelColor(49, 39, QColor(200, 100, 0));

  const QImage prepared = PrepareStatePicture(picture, QSize(60, 30));

  EXPECT_EQ(prepared.size(), QSize(160, 130));
  EXPECT_EQ(prepared.pixelColor(0, 0), QColor(1, 2, 3));
  EXPECT_EQ(prepared.pixelColor(49, 39), QColor(200, 100, 0));
  EXPECT_EQ(prepared.pixelColor(50, 39).alpha(), 0);
}

}  // namespace
}  // namespace mvk
