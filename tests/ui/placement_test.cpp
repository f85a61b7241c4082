#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <fstream>

#include "ui/skin/placement.h"
#include "ui/skin/skin_image.h"

namespace mvk {
namespace {

class FakeImageButton : public QWidget, public SkinImageButton {
 public:
  QWidget* Widget() override { return this; }
  void SetOriginAndPictures(QPoint origin, const SkinStateImages& images, bool) override {
    origin_ = origin;
    images_ = images;
  }
  QPoint origin_{-1, -1};
  SkinStateImages images_;
};

class PlacementTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
  }
  void SetUp() override {
    std::ofstream(skin_) << "[BUTTONINFO]\n"
                            "FUNC_PROFILE1=100,40,30,20\n"
                            "CONTROL_OK=1,1,80,20\n"
                            "COLOR_R=10,20,30,40,extra\n"
                            "[IMAGE]\n"
                            "COLOR_R=5,6,0,0\n";
  }
  static QImage Picture(QColor colour) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    return image;
  }

  QTemporaryDir dir_;
  std::filesystem::path skin_ = dir_.filePath("Main.ini").toStdString();
};

TEST_F(PlacementTest, SkinButtonTakesPositionOriginAndPictures) {
  FakeImageButton button;
  const SkinStateImages images{Picture(Qt::red), Picture(Qt::green), Picture(Qt::blue),
                               Picture(Qt::gray), Picture(Qt::yellow)};
  PlaceSkinButton(button, skin_, u"BUTTONINFO", u"FUNC_PROFILE1", images);
  EXPECT_EQ(button.geometry(), QRect(100, 40, 30, 20));
  EXPECT_EQ(button.origin_, QPoint(100, 40));
  EXPECT_EQ(button.images_.pressed, images.pressed);
  EXPECT_EQ(button.images_.assigned, images.assigned);
  EXPECT_TRUE(button.isEnabled());
}

TEST_F(PlacementTest, SkinButtonParkedAtOneOneIsDisabled) {
  const struct {
    const char16_t* key;
    QRect geometry;
  } rows[] = {
      {u"CONTROL_OK", QRect(1, 1, 80, 20)},  // size given, still parked
      {u"MISSING", QRect(1, 1, 1, 1)},
  };
  for (const auto& row : rows) {
    FakeImageButton button;
    PlaceSkinButton(button, skin_, u"BUTTONINFO", row.key, {});
    EXPECT_EQ(button.geometry(), row.geometry);
    EXPECT_FALSE(button.isEnabled());
  }
}

TEST_F(PlacementTest, PlaceAndMoveControls) {
  QWidget control;
  control.resize(7, 9);
  MoveControl(control, skin_, u"BUTTONINFO", u"COLOR_R");
  EXPECT_EQ(control.geometry(), QRect(10, 20, 7, 9));
  PlaceControl(control, skin_, u"buttoninfo", u"color_r");
  EXPECT_EQ(control.geometry(), QRect(10, 20, 30, 40));
  PlaceControl(control, skin_, u"BUTTONINFO", u"MISSING");
  EXPECT_EQ(control.geometry(), QRect(1, 1, 1, 1));
  EXPECT_TRUE(control.isEnabled());
}

TEST_F(PlacementTest, ImageControlTakesOriginFromSecondEntry) {
  FakeImageButton control;
  const QImage picture = Picture(Qt::cyan);
  PlaceImageControl(control, skin_, u"BUTTONINFO", u"COLOR_R", u"IMAGE", u"COLOR_R", picture);
  EXPECT_EQ(control.geometry(), QRect(10, 20, 30, 40));
  EXPECT_EQ(control.origin_, QPoint(5, 6));
  for (const QImage* state : {&control.images_.normal, &control.images_.hover, &control.images_.pressed,
                              &control.images_.disabled, &control.images_.assigned}) {
    EXPECT_EQ(*state, picture);
  }
}

TEST_F(PlacementTest, LoadSkinImageResolvesAgainstProgramFolder) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Skins"));
  ASSERT_TRUE(Picture(Qt::magenta).save(dir_.filePath("Skins/main_normal.png")));
  const std::filesystem::path folder = dir_.path().toStdString();
  const QImage loaded = LoadSkinImage(folder, u"Skins\\main_normal.png");
  ASSERT_FALSE(loaded.isNull());
  EXPECT_EQ(loaded.pixelColor(0, 0), QColor(Qt::magenta));
  EXPECT_TRUE(LoadSkinImage(folder, u"Skins/main_over.png").isNull());
  EXPECT_TRUE(LoadSkinImage(folder, u"Main.ini").isNull());  // not a picture
}

}  // namespace
}  // namespace mvk
