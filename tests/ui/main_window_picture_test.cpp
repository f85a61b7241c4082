#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <filesystem>

#include "model/key_map.h"
#include "ui/main/tray_icon.h"
#include "ui/main/window_messages.h"
#include "window_fixture.h"

namespace mvk {
namespace {

namespace fs = std::filesystem;

class MainWindowPictureTest : public test::WindowFixture {};

// Leaves a picture of the window in the build folder for a person to look at.
TEST_F(MainWindowPictureTest, WritesAScreenshotOfTheAttachedWindow) {
  Initialise();
  AttachAndWait();
  ASSERT_TRUE(window().isVisible());
  ASSERT_TRUE(WriteAssignment(services_.Config(), 0, 0x01E, kAssignKey, 0x030));
  ASSERT_TRUE(WriteAssignment(services_.Config(), 0, 0x100, kAssignDisabled, 0));
  window().RefreshKeyButtons();
  QApplication::processEvents();

  const QImage picture = window().grab().toImage();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), window().size());
  EXPECT_GT(picture.width(), 100);
  const fs::path file = fs::path(MORVAKIN_BUILD_DIR) / "main_window.png";
  EXPECT_TRUE(picture.save(QString::fromStdString(file.string())));
}

// A program folder with the skin file and the face pictures but without one
// of the key pictures.
class MissingPictureTest : public ::testing::Test {
 protected:
  MissingPictureTest() {
    const fs::path built(MORVAKIN_BUILD_DIR);
    fs::create_directories(folder_ / "Skins");
    for (const char* name : {"Skins/Main.ini", "Skins/main_normal.jpg", "Skins/main_mask.png",
                             "Lang0409.ini"}) {
      fs::copy_file(built / name, folder_ / name);
    }
  }
  test::TempUserFolders folders_;
  fs::path folder_ = folders_.Root() / "program";
};

TEST_F(MissingPictureTest, AMissingSkinPictureIsReportedByName) {
  test::Application();
  CMorvakinApp app({"morvakin"}, folder_ / "morvakin", [](CMorvakinApp&) { return 0; });
  app.InitInstance();
  ProgramServices services(app, std::make_unique<SimulatedHidBackend>(), nullptr);
  test::ScriptedPrompts prompts;
  QStringList missing;
  const auto previous =
      SetMissingSkinPictureHandler([&](const QString& file) { missing.append(file); });
  {
    MainWindowOptions options;
    options.namedEventPrefix = "/MorvakinMissing_";
    CMorvakinDlg window(services, prompts, options);
    window.InitDialog();
    EXPECT_FALSE(window.TrayIcon().IsAdded());
  }
  SetMissingSkinPictureHandler(previous);
  ASSERT_EQ(missing.size(), 1);
  EXPECT_TRUE(missing[0].endsWith("Skins/main_over.jpg")) << missing[0].toStdString();
}

}  // namespace
}  // namespace mvk
