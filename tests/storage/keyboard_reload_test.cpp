#include "storage/keyboard_reload.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <mutex>

#include "model/key_map.h"
#include "model/settings_block.h"
#include "sim/simulated_keyboard.h"
#include "storage/config_file.h"
#include "storage/file_bytes.h"
#include "support/emulator_channel.h"
#include "support/packet_tap.h"
#include "support/scripted_file_prompts.h"

namespace mvk {
namespace {

constexpr int kPositionOfA = 19;
constexpr uint8_t kUsageOfB = 0x05;

MacroRecord PressA() {
  MacroRecord macro;
  macro.SetName(u"A1");
  macro.id = 1;
  macro.cycles = 2;
  macro.eventCount = 2;
  macro.events[0] = {100, 0x01E, kMacroPress};
  macro.events[1] = {0, 0x01E, kMacroRelease};
  return macro;
}

class KeyboardReloadTest : public ::testing::Test {
 protected:
  KeyboardReloadTest() {
    link_.DeviceConnected = 1;
    link_.pause = [](std::chrono::milliseconds) {};
    EXPECT_EQ(KbReadDefaultMatrix(link_, defaults_.data()), kResultOk);
  }

  std::filesystem::path Dir() const { return dir_.path().toStdString(); }

  // Puts B on the A key of profile 1 and one nameless macro on the keyboard.
  KeyMatrix SeedKeyboard() {
    KeyMatrix matrix = defaults_;
    SetActionAt(matrix, kPositionOfA, {action::kKeyboard, action::kUsage, kUsageOfB});
    EXPECT_EQ(KbWriteKeyMap(link_, matrix.data(), 1), kResultOk);
    const auto area = EncodeMacroArea({PressA()}, false);
    EXPECT_EQ(KbWriteMacroMemory(link_, area->data(), area->size()), kResultOk);
    return matrix;
  }

  QTemporaryDir dir_;
  ConfigFolder folder_{Dir() / "config", Dir() / "template.userd"};
  sim::SimulatedKeyboard keyboard_;
  test::EmulatorChannel emulator_{keyboard_};
  test::PacketTap tap_{emulator_};
  KeyboardLink link_{tap_};
  KeyMatrix defaults_{};
  KeyboardSource source_{link_, defaults_, u"Macro "};
  std::recursive_mutex configLock_;
  std::recursive_mutex macroLock_;
  std::unique_ptr<ConfigState> config_ = std::make_unique<ConfigState>(configLock_, macroLock_);
  test::ScriptedConfigWindow window_;
};

TEST_F(KeyboardReloadTest, ReadsKeyMapsAndMacrosIntoWorkingFileAndConfiguration) {
  const KeyMatrix matrix = SeedKeyboard();
  ReloadFromKeyboard(*config_, folder_, source_, window_);

  const ConfigStore& working = config_->working;
  EXPECT_EQ(working.image.profiles[1], ProfileFromKeyMatrix(matrix, defaults_, 1));
  EXPECT_EQ(working.image.profiles[1][0x1E].type, kAssignKey);
  EXPECT_EQ(working.image.profiles[0], NewProfileKeyMap(0));
  EXPECT_EQ(working.image.profiles[3], ProfileKeyMap{});
  ASSERT_EQ(working.macros.size(), 1u);
  EXPECT_EQ(working.macros[0].Name(), u"Macro 1");
  EXPECT_EQ(working.macros[0].cycles, 2);
  EXPECT_EQ(working.macros[0].eventCount, 2);
  EXPECT_EQ(test::ReadFileBytes(WorkingFilePath(folder_)).size(), 32832u + 32512);
  EXPECT_EQ(window_.refreshes, 1);
  EXPECT_EQ(window_.applyStates, std::vector<bool>{false});
}

TEST_F(KeyboardReloadTest, EmptyMacroMemoryGivesNoMacros) {
  keyboard_.SetMacroCapacity(8);
  ASSERT_TRUE(ReadKeyboardToFile(Dir() / "read.mvk", source_));
  test::ScriptedFilePrompts prompts;
  ASSERT_EQ(ValidateConfigFile(Dir() / "read.mvk", prompts), kConfigFileValid);
  EXPECT_EQ(test::ReadFileBytes(Dir() / "read.mvk").size(), 32832u);
}

class SilentKeyboardTest : public KeyboardReloadTest,
                           public ::testing::WithParamInterface<int> {};

TEST_P(SilentKeyboardTest, GivesDefaultConfigurationAndKeepsWorkingFile) {
  SeedKeyboard();
  const auto workingFile = WorkingFilePath(folder_);
  config_->working.macros = {PressA()};
  ASSERT_TRUE(SaveConfigFile(*config_, workingFile));
  const auto saved = test::ReadFileBytes(workingFile);
  config_->working.image.profiles[2][0x20].type = kAssignDisabled;

  keyboard_.InjectFault(sim::Fault::NoReply, GetParam());
  ReloadFromKeyboard(*config_, folder_, source_, window_);

  EXPECT_TRUE(config_->working.macros.empty());
  EXPECT_EQ(config_->working.image, DefaultConfigImage());
  EXPECT_EQ(config_->working.hostStrings.Total(), 0u);
  EXPECT_EQ(test::ReadFileBytes(workingFile), saved);
  EXPECT_EQ(window_.refreshes, 1);
  EXPECT_EQ(window_.applyStates, std::vector<bool>{false});
}

// Silent from the start, or from the middle of the key map reads.
INSTANTIATE_TEST_SUITE_P(AfterPackets, SilentKeyboardTest, ::testing::Values(0, 4));

}  // namespace
}  // namespace mvk
