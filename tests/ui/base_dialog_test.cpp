#include "ui/skin/base_dialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "support/qt_application.h"
#include "ui/skin/missing_picture.h"
#include "ui/skin/outline.h"

namespace mvk {
namespace {

const QColor kFace(20, 30, 60);

QImage SolidPicture(QSize size, const QColor& colour) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

// White everywhere but a black disc in the middle.
QImage DiscMask(int side, int radius) {
  QImage mask = SolidPicture(QSize(side, side), Qt::white);
  QPainter painter(&mask);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPoint(side / 2, side / 2), radius, radius);
  return mask;
}

class BaseDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::Application();
    previous_ = SetMissingSkinPictureHandler(
        [this](const QString& file) { missing_.push_back(file.toStdString()); });
  }
  void TearDown() override { SetMissingSkinPictureHandler(previous_); }

  std::filesystem::path Folder() const { return dir_.path().toStdString(); }
  std::filesystem::path SkinFile() const { return Folder() / "Skin.ini"; }

  void WriteSkin(const std::string& screenSection) {
    QFile file(QString::fromStdString(SkinFile().string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[SCREEN]\n" + screenSection).c_str());
  }
  void SavePicture(const QImage& picture, const char* name) {
    ASSERT_TRUE(picture.save(dir_.filePath(name)));
  }

  QTemporaryDir dir_;
  std::vector<std::string> missing_;
  MissingPictureHandler previous_;
};

TEST_F(BaseDialogTest, MaskWithBlackDiscGivesCircularWindow) {
  SavePicture(SolidPicture(QSize(60, 60), kFace), "face.png");
  SavePicture(DiscMask(60, 25), "mask.png");
  WriteSkin("Main=face.png\nMask=mask.png\n");
  CBaseDialog dialog(nullptr, SkinFile(), Folder());

  ASSERT_TRUE(dialog.LoadSkin());

  EXPECT_EQ(dialog.size(), QSize(60, 60));
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  const QRegion outline = dialog.mask();
  for (QPoint inside : {QPoint(30, 30), QPoint(30, 6), QPoint(54, 30)}) {
    EXPECT_TRUE(outline.contains(inside)) << inside.x() << "," << inside.y();
  }
  for (QPoint corner : {QPoint(0, 0), QPoint(59, 0), QPoint(0, 59), QPoint(59, 59), QPoint(9, 9)}) {
    EXPECT_FALSE(outline.contains(corner)) << corner.x() << "," << corner.y();
  }
  EXPECT_TRUE(missing_.empty());
}

TEST_F(BaseDialogTest, WithoutMaskTheFacePictureCutsTheOutline) {
  QImage face = SolidPicture(QSize(40, 30), kFace);
  QPainter(&face).fillRect(0, 0, 10, 30, Qt::white);
  SavePicture(face, "face.png");
  for (const char* screen : {"Main=face.png\n", "Main=face.png\nMask=\n"}) {
    SCOPED_TRACE(screen);
    WriteSkin(screen);
    CBaseDialog dialog(nullptr, SkinFile(), Folder());

    ASSERT_TRUE(dialog.LoadSkin());

    EXPECT_FALSE(dialog.mask().contains(QPoint(5, 15)));
    EXPECT_TRUE(dialog.mask().contains(QPoint(25, 15)));
    EXPECT_EQ(dialog.grab().toImage().pixelColor(25, 15), kFace);
  }
}

TEST_F(BaseDialogTest, MissingOrUnreadablePictureIsReportedAndChangesNothing) {
  SavePicture(SolidPicture(QSize(40, 30), kFace), "face.png");
  QFile garbage(dir_.filePath("garbage.png"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not a picture");
  garbage.close();

  struct Case {
    const char* screen;
    const char* reported;
  };
  const Case cases[] = {
      {"Main=absent.png\n", "absent.png"},
      {"Main=face.png\nMask=absent.png\n", "absent.png"},
      {"Main=garbage.png\nMask=face.png\n", "garbage.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    missing_.clear();
    WriteSkin(c.screen);
    CBaseDialog dialog(nullptr, SkinFile(), Folder());
    dialog.resize(17, 13);

    EXPECT_FALSE(dialog.LoadSkin());

    ASSERT_EQ(missing_.size(), 1u);
    EXPECT_EQ(missing_[0], (Folder() / c.reported).string());
    EXPECT_EQ(dialog.size(), QSize(17, 13));
    EXPECT_TRUE(dialog.mask().isEmpty());
    EXPECT_TRUE(dialog.Background().isNull());
  }
}

TEST_F(BaseDialogTest, SkinFileWithoutMainIsReported) {
  WriteSkin("Mask=face.png\n");
  CBaseDialog dialog(nullptr, SkinFile(), Folder());

  EXPECT_FALSE(dialog.LoadSkin());
  EXPECT_EQ(missing_.size(), 1u);
}

TEST_F(BaseDialogTest, ShowingLoadsTheSkinAndClosingReleasesIt) {
  SavePicture(SolidPicture(QSize(40, 30), kFace), "face.png");
  WriteSkin("Main=face.png\n");
  CBaseDialog dialog(nullptr, SkinFile(), Folder());

  dialog.show();
  EXPECT_EQ(dialog.size(), QSize(40, 30));
  EXPECT_FALSE(dialog.Background().isNull());

  dialog.accept();
  EXPECT_TRUE(dialog.Background().isNull());

  dialog.show();
  EXPECT_FALSE(dialog.Background().isNull());
  dialog.reject();
}

void SendMouse(QWidget& target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
  const QPointF global = target.mapToGlobal(QPointF(local));
  QMouseEvent event(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &event);
}

TEST_F(BaseDialogTest, DraggingTheFaceMovesTheWindowButNotFromAControl) {
  SavePicture(SolidPicture(QSize(80, 60), kFace), "face.png");
  WriteSkin("Main=face.png\n");
  CBaseDialog dialog(nullptr, SkinFile(), Folder());
  QPushButton control(&dialog);
  control.setGeometry(50, 40, 20, 10);
  dialog.move(100, 100);
  dialog.show();

  SendMouse(dialog, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton);
  const QPoint global = dialog.mapToGlobal(QPoint(10, 10));
  QMouseEvent drag(QEvent::MouseMove, QPointF(10, 10), QPointF(global + QPoint(30, 20)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &drag);
  SendMouse(dialog, QEvent::MouseButtonRelease, QPoint(40, 30), Qt::NoButton);
  EXPECT_EQ(dialog.pos(), QPoint(130, 120));

  SendMouse(control, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
  SendMouse(control, QEvent::MouseMove, QPoint(25, 25), Qt::LeftButton);
  SendMouse(control, QEvent::MouseButtonRelease, QPoint(25, 25), Qt::NoButton);
  EXPECT_EQ(dialog.pos(), QPoint(130, 120));
  dialog.reject();
}

TEST(MissingPictureDeathTest, ByDefaultTheProcessEndsWithCodeZeroNamingTheFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  SetMissingSkinPictureHandler({});
  EXPECT_EXIT(ReportMissingSkinPicture("/skins/absent.png"), ::testing::ExitedWithCode(0),
              "/skins/absent\\.png");
}

}  // namespace
}  // namespace mvk
