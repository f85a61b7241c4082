#include "storage/config_transfer.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <mutex>

#include "model/little_endian.h"
#include "sim/simulated_keyboard.h"
#include "storage/config_file.h"
#include "storage/file_bytes.h"
#include "support/emulator_channel.h"
#include "support/packet_tap.h"
#include "support/scripted_file_prompts.h"
#include "support/scripted_model_prompts.h"

namespace mvk {
namespace {

constexpr int kPositionOfA = 19;
constexpr KeyCode kKeyB = 0x030;

MacroRecord Macro(std::u16string_view name, uint16_t id) {
  MacroRecord macro;
  macro.SetName(name);
  macro.id = id;
  macro.cycles = 1;
  return macro;
}

class ConfigTransferTest : public ::testing::Test {
 protected:
  ConfigTransferTest() {
    link_.DeviceConnected = 1;
    link_.pause = [](std::chrono::milliseconds) {};
    link_.MacroCapacityBytes = 64 * 128;
  }

  std::filesystem::path Dir() const { return dir_.path().toStdString(); }

  // A file whose profile 1 puts B on the A key, with two macros.
  std::filesystem::path ImportableFile() {
    std::recursive_mutex configLock, macroLock;
    auto other = std::make_unique<ConfigState>(configLock, macroLock);
    other->working.image.profiles[1][0x1E] = {kAssignKey, 0, kKeyB, 0, 0};
    other->working.macros = {Macro(u"One", 1), Macro(u"Two", 2)};
    const auto path = Dir() / "import.mvk";
    EXPECT_TRUE(SaveConfigFile(*other, path));
    return path;
  }

  bool Import() { return ImportConfigFile(*config_, folder_, target_, prompts_, window_); }

  QTemporaryDir dir_;
  ConfigFolder folder_{Dir() / "config", Dir() / "template.userd"};
  sim::SimulatedKeyboard keyboard_;
  test::EmulatorChannel emulator_{keyboard_};
  test::PacketTap tap_{emulator_};
  KeyboardLink link_{tap_};
  test::ScriptedModelPrompts modelPrompts_;
  KeyboardTarget target_{link_, BuiltInDefaultMatrix(), modelPrompts_};
  test::ScriptedFilePrompts prompts_;
  test::ScriptedConfigWindow window_;
  std::recursive_mutex configLock_;
  std::recursive_mutex macroLock_;
  std::unique_ptr<ConfigState> config_ = std::make_unique<ConfigState>(configLock_, macroLock_);
};

TEST_F(ConfigTransferTest, ExportWritesWorkingConfigurationToChosenFile) {
  config_->working.macros = {Macro(u"Out", 5)};
  EXPECT_FALSE(ExportConfigFile(*config_, prompts_)) << "cancelled";
  prompts_.chosenFile = Dir() / "backup.mvk";
  ASSERT_TRUE(ExportConfigFile(*config_, prompts_));

  ASSERT_EQ(prompts_.dialogs.size(), 2u);
  EXPECT_EQ(prompts_.dialogs[1].defaultExtension, u"mvk");
  EXPECT_EQ(prompts_.dialogs[1].initialName, u"*.mvk");
  EXPECT_EQ(prompts_.dialogs[1].filter, u"(*.mvk)|*.mvk|(*.*)|*.*||");
  EXPECT_TRUE(prompts_.dialogs[1].overwritePrompt);
  ConfigStore saved;
  ASSERT_TRUE(LoadConfigFile(Dir() / "backup.mvk", saved));
  EXPECT_EQ(saved.macros, config_->working.macros);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(ConfigTransferTest, ImportReplacesWorkingConfigurationAndWritesKeyboard) {
  prompts_.chosenFile = ImportableFile();
  std::filesystem::permissions(*prompts_.chosenFile, std::filesystem::perms::owner_read);
  ASSERT_TRUE(CreateDefaultConfig(WorkingFilePath(folder_)));

  ASSERT_TRUE(Import());
  EXPECT_FALSE(prompts_.dialogs[0].overwritePrompt);
  EXPECT_EQ(config_->working.macros.size(), 2u);
  EXPECT_EQ(config_->working.image.profiles[1][0x1E].value, kKeyB);
  EXPECT_EQ(test::ReadFileBytes(WorkingFilePath(folder_)),
            test::ReadFileBytes(*prompts_.chosenFile));
  const auto memory = keyboard_.Memory();
  const std::size_t a = 512 + kPositionOfA * 3;
  EXPECT_EQ(std::vector<uint8_t>(memory.keyMaps.begin() + a, memory.keyMaps.begin() + a + 3),
            (std::vector<uint8_t>{0x02, 0x02, 0x05}));
  EXPECT_EQ(le::Get16(memory.macros, 4), 2) << "both macros sent";
  EXPECT_EQ(window_.refreshes, 1);
  EXPECT_EQ(window_.applyStates, std::vector<bool>{false});
  EXPECT_TRUE(prompts_.messages.empty());
}

struct RefusedImport {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> spoil;
  std::vector<std::string> messages;
  friend void PrintTo(const RefusedImport& c, std::ostream* os) { *os << c.name; }
};

class RefusedImportTest : public ConfigTransferTest,
                          public ::testing::WithParamInterface<RefusedImport> {};

TEST_P(RefusedImportTest, ChangesNothing) {
  const auto path = ImportableFile();
  auto bytes = test::ReadFileBytes(path);
  GetParam().spoil(bytes);
  test::WriteFileBytes(path, bytes);
  prompts_.chosenFile = path;
  config_->working.macros = {Macro(u"Mine", 9)};
  config_->working.image.profiles[0][0x10].type = kAssignDisabled;
  ASSERT_TRUE(SaveConfigFile(*config_, WorkingFilePath(folder_)));
  const auto workingFile = test::ReadFileBytes(WorkingFilePath(folder_));
  const ConfigImage image = config_->working.image;

  EXPECT_FALSE(Import());
  EXPECT_EQ(prompts_.messages, GetParam().messages);
  EXPECT_EQ(config_->working.image, image);
  ASSERT_EQ(config_->working.macros.size(), 1u);
  EXPECT_EQ(config_->working.macros[0].Name(), u"Mine");
  EXPECT_EQ(test::ReadFileBytes(WorkingFilePath(folder_)), workingFile);
  EXPECT_TRUE(tap_.written.empty());
  EXPECT_EQ(window_.refreshes, 0);
  EXPECT_TRUE(window_.applyStates.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedImportTest,
    ::testing::Values(
        RefusedImport{"BadHeader", [](auto& b) { b[file_header::kChecksum] ^= 1; },
                      {"PROFILE_FORMAT_ERROR", "MAIN_PROMPT_INPORT"}},
        RefusedImport{"OneByteShort", [](auto& b) { b.resize(32831); }, {"MAIN_PROMPT_INPORT"}},
        RefusedImport{"ShorterThanDeclared", [](auto& b) { b.resize(b.size() - 1); },
                      {"MAIN_PROMPT_INPORT"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTransferTest, CancelledImportAsksNothingMore) {
  EXPECT_FALSE(Import());
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_TRUE(tap_.written.empty());
  EXPECT_TRUE(window_.applyStates.empty());
}

}  // namespace
}  // namespace mvk
