#include "ui/update/update_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <fstream>

#include "storage/config_file.h"
#include "support/qt_application.h"
#include "support/scripted_file_prompts.h"
#include "support/scripted_prompts.h"
#include "support/simulated_program.h"

namespace mvk {
namespace {

class UpdateDialogTest : public ::testing::Test {
 protected:
  UpdateDialogTest() { dialog_.show(); }

  std::filesystem::path Root() const { return program_.Folders().Root(); }

  // A small updater that leaves a mark when it runs.
  std::filesystem::path WriteUpdater() {
    const auto updater = Root() / "updater.sh";
    std::ofstream(updater) << "#!/bin/sh\ntouch '" << Marker().string() << "'\n";
    std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
    return updater;
  }
  std::filesystem::path Marker() const { return Root() / "updater-ran"; }

  void Click(const char* skinKey) {
    auto* button = dialog_.findChild<QAbstractButton*>(skinKey);
    ASSERT_NE(button, nullptr) << skinKey;
    button->click();
  }
  void Choose(std::optional<std::filesystem::path> updater) {
    files_.chosenFile = std::move(updater);
    Click("CONTROL_OPENButton");
  }
  QStringList Said(std::initializer_list<const char16_t*> texts) {
    QStringList said;
    for (const char16_t* text : texts) said << QString::fromUtf16(text);
    return said;
  }

  QApplication& application_ = test::Application();
  test::SimulatedProgram program_{MORVAKIN_BUILD_DIR};
  test::ScriptedPrompts prompts_;
  test::ScriptedFilePrompts files_;
  CMorvakin_DlgUpdate dialog_{program_.Services(), prompts_, files_};
};

TEST_F(UpdateDialogTest, UpdateWithoutAnUpdaterFileSaysSoAndSendsNothing) {
  std::filesystem::create_directories(Root() / "folder");
  const int packets = program_.Keyboard().PacketCount();
  for (const auto& path : {std::filesystem::path(), Root() / "missing", Root() / "folder"}) {
    prompts_.messages.clear();
    if (!path.empty()) Choose(path);
    Click("CONTROL_UPButton");
    EXPECT_EQ(prompts_.messages, Said({kChooseUpdaterText})) << path;
  }
  EXPECT_EQ(program_.Keyboard().PacketCount(), packets);
  EXPECT_TRUE(program_.Keyboard().IsPlugged());
  EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(UpdateDialogTest, OpenShowsTheChoiceAndACancelledOpenForgetsIt) {
  const auto updater = WriteUpdater();
  Choose(updater);
  ASSERT_EQ(files_.dialogs.size(), 1u);
  EXPECT_EQ(files_.dialogs[0].defaultExtension, u"exe");
  EXPECT_EQ(files_.dialogs[0].initialName,
            (program_.Services().Paths().PackageFolder / "*.exe").u16string());
  EXPECT_EQ(dialog_.UpdaterPath(), updater);
  EXPECT_EQ(dialog_.ShownPath(), QString::fromStdString(updater.string()));

  Choose(std::nullopt);
  EXPECT_TRUE(dialog_.UpdaterPath().empty());
  EXPECT_TRUE(dialog_.ShownPath().isEmpty());
}

TEST_F(UpdateDialogTest, UpdateEntersBootModeStartsTheUpdaterAndCloses) {
  Choose(WriteUpdater());
  Click("CONTROL_UPButton");

  EXPECT_TRUE(prompts_.messages.isEmpty());
  EXPECT_FALSE(program_.Keyboard().IsPlugged()) << "the keyboard left for its boot mode";
  EXPECT_TRUE(test::WaitUntil([&] { return std::filesystem::exists(Marker()); }));
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_TRUE(dialog_.UpdaterPath().empty());

  dialog_.show();
  Click("CONTROL_UPButton");
  EXPECT_EQ(prompts_.messages, Said({kChooseUpdaterText}));
}

TEST_F(UpdateDialogTest, AFailedBootModeWriteKeepsTheChoiceForAnotherTry) {
  const auto updater = WriteUpdater();
  Choose(updater);
  program_.Keyboard().InjectFault(sim::Fault::WriteFails);
  Click("CONTROL_UPButton");

  EXPECT_EQ(prompts_.messages, Said({kBootModeFailedText}));
  EXPECT_EQ(dialog_.UpdaterPath(), updater);
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_FALSE(std::filesystem::exists(Marker()));
}

TEST_F(UpdateDialogTest, AnUpdaterThatCannotRunIsReportedAndForgotten) {
  const auto notRunnable = Root() / "firmware.bin";
  std::ofstream(notRunnable) << "data";
  Choose(notRunnable);
  Click("CONTROL_UPButton");

  EXPECT_EQ(prompts_.messages, Said({kUpdaterFailedText}));
  EXPECT_FALSE(program_.Keyboard().IsPlugged());
  EXPECT_TRUE(dialog_.UpdaterPath().empty());
  EXPECT_TRUE(dialog_.ShownPath().isEmpty());
  EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(UpdateDialogTest, TheChoiceOutlivesTheCloseBoxButNotCancelUpdate) {
  const auto updater = WriteUpdater();
  Choose(updater);
  dialog_.reject();
  dialog_.show();
  EXPECT_EQ(dialog_.UpdaterPath(), updater);
  EXPECT_EQ(dialog_.ShownPath(), QString::fromStdString(updater.string()));

  Click("CONTROL_CUPButton");
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_TRUE(dialog_.UpdaterPath().empty());
  EXPECT_TRUE(program_.Keyboard().IsPlugged());
}

TEST_F(UpdateDialogTest, BackupSaysWhetherTheWorkingConfigurationWasWritten) {
  const auto plainFile = Root() / "plain-file";
  std::ofstream(plainFile) << "not a folder";
  struct Case {
    std::optional<std::filesystem::path> file;
    QStringList said;
  };
  const Case cases[] = {
      {Root() / "backup.mvk", Said({kBackupDoneText})},
      {plainFile / "backup.mvk", Said({kBackupFailedText})},
      {std::nullopt, {}},
  };
  for (const Case& c : cases) {
    prompts_.messages.clear();
    files_.chosenFile = c.file;
    Click("CONTROL_BACKUPButton");
    EXPECT_EQ(prompts_.messages, c.said);
    EXPECT_TRUE(files_.dialogs.back().overwritePrompt);
  }
  ConfigStore saved;
  ASSERT_TRUE(LoadConfigFile(Root() / "backup.mvk", saved));
  EXPECT_EQ(saved.image.profiles, program_.Services().Config().working.image.profiles);
  EXPECT_TRUE(dialog_.isVisible());
}

}  // namespace
}  // namespace mvk
