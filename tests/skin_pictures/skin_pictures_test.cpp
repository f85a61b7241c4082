// Runs the skin picture generator over the real skin files and checks that
// every picture the windows load is there, has its window's size, and puts
// each key's face exactly under its button.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "support/qt_application.h"
#include "ui/skin/placement.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_picture_names.h"
#include "ui/skin/state_picture.h"

namespace mvk {
namespace {

const QString kBuildDir = QStringLiteral(MORVAKIN_BUILD_DIR);
const QString kGenerator = kBuildDir + "/tools/morvakin_skin_pictures";

struct WindowSkin {
  const char* skinFile;
  std::vector<const char*> pictures;
};

// The pictures each window loads by name.
const std::vector<WindowSkin> kWindows = {
    {"Main.ini",
     {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg", "main_color0.jpg",
      "main_color1.jpg"}},
    {"Composite.ini",
     {"key_normal.jpg", "key_over.jpg", "key_down.jpg", "macro_normal.jpg", "macro_over.jpg",
      "macro_down.jpg", "macro_disable.jpg", "media_normal.jpg", "media_over.jpg",
      "media_down.jpg", "function_normal.jpg", "function_over.jpg", "function_down.jpg",
      "macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg"}},
    {"Profile.ini", {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"}},
    {"UpdateDlg.ini", {"update_normal.jpg", "update_over.jpg"}},
};

class SkinPicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::Application();
    output_ = new QTemporaryDir;
    QProcess generator;
    generator.start(kGenerator, {SkinFolder(), output_->path()});
    ASSERT_TRUE(generator.waitForFinished(120000)) << generator.errorString().toStdString();
    ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
  }
  static void TearDownTestSuite() {
    delete output_;
    output_ = nullptr;
  }

  static QString SkinFolder() { return kBuildDir + "/Skins"; }
  static std::filesystem::path SkinFile(const char* name) {
    return (SkinFolder() + "/" + name).toStdString();
  }
  static QString Screen(const char* skinFile, std::u16string_view key) {
    return QString::fromStdU16String(ReadIniString(SkinFile(skinFile), u"SCREEN", key, u""));
  }
  static QSize WindowSize(const char* skinFile) {
    return QSize(Screen(skinFile, u"Width").toInt(), Screen(skinFile, u"Height").toInt());
  }
  static QImage Generated(const QString& name) { return QImage(output_->filePath(name)); }

  static QTemporaryDir* output_;
};

QTemporaryDir* SkinPicturesTest::output_ = nullptr;

TEST_F(SkinPicturesTest, EveryWindowPictureHasTheWindowsSize) {
  for (const WindowSkin& window : kWindows) {
    const QSize size = WindowSize(window.skinFile);
    ASSERT_FALSE(size.isEmpty()) << window.skinFile;
    QStringList names{Screen(window.skinFile, u"Main"), Screen(window.skinFile, u"Mask")};
    for (const char* name : window.pictures) names << name;
    for (const QString& name : names) {
      const QImage picture = Generated(name);
      EXPECT_FALSE(picture.isNull()) << name.toStdString();
      EXPECT_EQ(picture.size(), size) << name.toStdString();
    }
  }
}

TEST_F(SkinPicturesTest, MasksRoundTheCornersAndCoverTheRest) {
  for (const WindowSkin& window : kWindows) {
    const QImage mask = Generated(Screen(window.skinFile, u"Mask"));
    ASSERT_FALSE(mask.isNull()) << window.skinFile;
    const int right = mask.width() - 1;
    const int bottom = mask.height() - 1;
    for (QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
      EXPECT_EQ(mask.pixel(corner), qRgb(255, 255, 255)) << window.skinFile;
    }
    for (QPoint inside : {QPoint(right / 2, 0), QPoint(0, bottom / 2), QPoint(right / 2, bottom / 2)}) {
      EXPECT_EQ(mask.pixel(inside), qRgb(0, 0, 0)) << window.skinFile;
    }
  }
}

TEST_F(SkinPicturesTest, ArrowPictureHoldsEveryArrowOrigin) {
  const QImage arrows = Generated("Arrow.jpg");
  ASSERT_FALSE(arrows.isNull());
  const std::filesystem::path main = SkinFile("Main.ini");
  const std::vector<std::u16string> origins = ReadIniKeys(main, u"BUTTONINFO2");
  ASSERT_FALSE(origins.empty());
  for (const std::u16string& key : origins) {
    const QStringList numbers =
        QString::fromStdU16String(ReadIniString(main, u"BUTTONINFO2", key, u"")).split(',');
    ASSERT_GE(numbers.size(), 4);
    const QRect face(numbers[0].toInt() - 1, numbers[1].toInt() - 1, numbers[2].toInt(),
                     numbers[3].toInt());
    EXPECT_TRUE(QRect(QPoint(-1, -1), arrows.size() + QSize(1, 1)).contains(face))
        << QString::fromStdU16String(key).toStdString();
  }
}

TEST_F(SkinPicturesTest, BusyFramesAndTrayIconsExist) {
  const QStringList busy = QString::fromStdU16String(
      ReadIniString(SkinFile("Main.ini"), u"BUTTONINFO", u"CONTROL_BUSY", u"")).split(',');
  ASSERT_GE(busy.size(), 4);
  for (std::u16string_view name : kBusyPictureNames) {
    const QImage frame = Generated(QFileInfo(QString::fromStdU16String(std::u16string(name))).fileName());
    EXPECT_EQ(frame.size(), QSize(busy[2].toInt(), busy[3].toInt()));
  }
  for (const TrayIconName& tray : kTrayIconNames) {
    const QImage icon = Generated(QFileInfo(QString::fromStdU16String(std::u16string(tray.file))).fileName());
    EXPECT_FALSE(icon.isNull()) << tray.resource;
    EXPECT_EQ(icon.width(), icon.height()) << tray.resource;
  }
}

bool IsBackground(const QColor& colour) { return colour.lightness() < 90; }
bool IsPressedFace(const QColor& colour) { return colour.red() > 180 && colour.blue() < 140; }

// Each key and G button, placed from the skin file as the main window
// places it and pressed, shows a whole cap with a one-pixel margin: a face
// drawn a pixel off would touch one edge of the button.
TEST_F(SkinPicturesTest, KeyFacesSitExactlyUnderTheirButtons) {
  const QSize window = WindowSize("Main.ini");
  const auto prepare = [&](const char* name) {
    return PrepareStatePicture(Generated(name), window);
  };
  const QImage normal = prepare("main_normal.jpg");
  const SkinStateImages images{normal, prepare("main_over.jpg"), prepare("main_down.jpg"), normal,
                               prepare("main_disable.jpg")};
  const std::filesystem::path main = SkinFile("Main.ini");
  static const QRegularExpression keyButton("^(KEY_[0-9A-F]{3}|KEY_FN|FUNC_G[1-9])$");
  int checked = 0;
  for (const std::u16string& key : ReadIniKeys(main, u"BUTTONINFO")) {
    const QString name = QString::fromStdU16String(key);
    if (!keyButton.match(name).hasMatch()) continue;
    SCOPED_TRACE(name.toStdString());
    CPngButton button;
    PlaceSkinButton(button, main, u"BUTTONINFO", key, images);
    button.setDown(true);
    const QImage face = button.grab().toImage();
    const int midX = face.width() / 2;
    const int midY = face.height() / 2;

    EXPECT_TRUE(IsBackground(face.pixelColor(0, midY)));
    EXPECT_TRUE(IsBackground(face.pixelColor(face.width() - 1, midY)));
    EXPECT_TRUE(IsBackground(face.pixelColor(midX, 0)));
    EXPECT_TRUE(IsBackground(face.pixelColor(midX, face.height() - 1)));
    EXPECT_TRUE(IsPressedFace(face.pixelColor(4, midY)));
    EXPECT_TRUE(IsPressedFace(face.pixelColor(face.width() - 5, midY)));
    ++checked;
  }
  EXPECT_GT(checked, 100) << "the main skin file should place every key";
}

TEST(SkinPictureGeneratorTest, MissingSkinFilesAreReported) {
  test::Application();
  QTemporaryDir empty;
  QProcess generator;
  generator.start(kGenerator, {empty.path(), empty.filePath("out")});
  ASSERT_TRUE(generator.waitForFinished(120000));
  EXPECT_NE(generator.exitCode(), 0);
  EXPECT_TRUE(generator.readAllStandardError().contains("Main.ini"));
}

}  // namespace
}  // namespace mvk
