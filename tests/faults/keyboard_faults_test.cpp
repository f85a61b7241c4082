// The keyboard failing under the program: pulled out in the middle of a
// write or a reload, refusing a command, never answering, or offering too
// little macro memory. In every case the call comes back with the failure,
// the user hears what he must know, and the working file still loads.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/apply.h"
#include "model/lighting.h"
#include "model/settings_block.h"
#include "protocol/commands.h"
#include "sim/simulated_keyboard.h"
#include "storage/config_file.h"
#include "storage/keyboard_reload.h"
#include "support/emulator_channel.h"
#include "support/scripted_file_prompts.h"
#include "support/scripted_model_prompts.h"
#include "support/test_macros.h"

namespace mvk {
namespace {

MacroRecord LongMacro(uint16_t id, uint16_t events) {
  const std::u16string name = u"Macro with a long name " + std::u16string(1, char16_t(u'A' + id));
  return test::PressReleaseMacro(id, events, name);
}

class KeyboardFaultTest : public ::testing::Test {
 protected:
  KeyboardFaultTest() {
    std::filesystem::create_directories(folder_.folder);
    link_.DeviceConnected = 1;
    link_.pause = [](std::chrono::milliseconds) {};
    EXPECT_EQ(KbReadDefaultMatrix(link_, defaults_.data()), kResultOk);
    EXPECT_EQ(ReadMacroCapacity(link_), kResultOk);
    config_->working.macros = {LongMacro(1, 40), LongMacro(2, 6)};
    config_->working.image.profiles[0][0x01E] = {kAssignMacro, 1, 1, 0, 0};
    config_->working.image.profiles[1][0x020] = {kAssignDisabled, 0, 0, 0, 0};
  }

  std::filesystem::path Dir() const { return dir_.path().toStdString(); }
  std::filesystem::path WorkingFile() const { return WorkingFilePath(folder_); }

  // What the Apply button does: save the working file, then write.
  int Apply() {
    EXPECT_TRUE(SaveConfigFile(*config_, WorkingFile()));
    return ApplyKeyMaps(*config_, link_, defaults_, 0, true, prompts_);
  }

  // The working file validates and holds what the working configuration held.
  void ExpectWorkingFileIntact(const ConfigStore& expected) {
    test::ScriptedFilePrompts filePrompts;
    ASSERT_EQ(ValidateConfigFile(WorkingFile(), filePrompts), kConfigFileValid);
    EXPECT_TRUE(filePrompts.messages.empty());
    auto loaded = std::make_unique<ConfigStore>();
    ASSERT_TRUE(LoadConfigFile(WorkingFile(), *loaded));
    EXPECT_EQ(loaded->image, expected.image);
    EXPECT_EQ(loaded->macros, expected.macros);
  }

  int PacketsOfCleanApply() {
    const int before = keyboard_.PacketCount();
    EXPECT_EQ(Apply(), kResultOk);
    return keyboard_.PacketCount() - before;
  }

  QTemporaryDir dir_;
  ConfigFolder folder_{Dir() / "config", Dir() / "template.userd"};
  sim::SimulatedKeyboard keyboard_;
  test::EmulatorChannel emulator_{keyboard_};
  KeyboardLink link_{emulator_};
  KeyMatrix defaults_{};
  std::recursive_mutex configLock_;
  std::recursive_mutex macroLock_;
  std::unique_ptr<ConfigState> config_ = std::make_unique<ConfigState>(configLock_, macroLock_);
  test::ScriptedModelPrompts prompts_;
};

TEST_F(KeyboardFaultTest, UnplugDuringApplyFailsKeepsFileAndRecoversAfterReplug) {
  const int packets = PacketsOfCleanApply();
  ASSERT_GT(packets, 4);
  // Pulled out before the bracket, inside the macro area, inside the key
  // matrices and at the closing command.
  for (const int after : {0, 2, packets / 2, packets - 1}) {
    SCOPED_TRACE(after);
    keyboard_.InjectFault(sim::Fault::Unplug, after);
    EXPECT_EQ(Apply(), kResultWriteFailed);
    EXPECT_FALSE(emulator_.Plugged());
    ExpectWorkingFileIntact(config_->working);

    emulator_.Replug();
    EXPECT_EQ(Apply(), kResultOk);
  }
  const auto area = EncodeMacroArea(config_->working.macros, true);
  const auto memory = keyboard_.Memory();
  EXPECT_TRUE(std::equal(area->begin(), area->end(), memory.macros.begin()));
}

// Status 0xFF from the first packet of each command of an apply on: the
// failure is the refusal, whichever command met it first.
TEST_F(KeyboardFaultTest, RefusalOfEachCommandInTurnIsReported) {
  const int packets = PacketsOfCleanApply();
  for (int after = 0; after < packets; ++after) {
    SCOPED_TRACE(after);
    keyboard_.InjectFault(sim::Fault::Refused, after);
    EXPECT_EQ(Apply(), kResultRefused);
    keyboard_.ClearFault();
    ExpectWorkingFileIntact(config_->working);
  }
  EXPECT_EQ(Apply(), kResultOk);
}

struct CommandRefusal {
  const char* name;
  int (*run)(KeyboardLink& link);
};

// Every command the program sends on its own, refused.
TEST_F(KeyboardFaultTest, RefusalOfSingleCommandsIsReported) {
  static const CommandRefusal kCommands[] = {
      {"begin update", [](KeyboardLink& l) { return KbBeginUpdate(l); }},
      {"end update", [](KeyboardLink& l) { return KbEndUpdate(l); }},
      {"read settings", [](KeyboardLink& l) { return ReadMacroCapacity(l); }},
      {"write settings",
       [](KeyboardLink& l) { return WriteSettingsBlock(l, SettingsBlock{}); }},
      {"read default matrix",
       [](KeyboardLink& l) {
         KeyMatrix matrix{};
         return KbReadDefaultMatrix(l, matrix.data());
       }},
      {"write lighting field",
       [](KeyboardLink& l) {
         const uint8_t brightness[] = {3};
         return WriteLightingField(l, 0, lighting_field::kBrightness, brightness);
       }},
  };
  keyboard_.InjectFault(sim::Fault::Refused);
  for (const CommandRefusal& command : kCommands) {
    EXPECT_EQ(command.run(link_), kResultRefused) << command.name;
  }
  keyboard_.ClearFault();
  EXPECT_EQ(ReadMacroCapacity(link_), kResultOk);
  EXPECT_EQ(link_.MacroCapacityBytes.load(), 64u * 128u);
}

TEST_F(KeyboardFaultTest, RepliesThatNeverComeEndTheApplyWithNoReply) {
  keyboard_.InjectFault(sim::Fault::NoReply, 3);
  EXPECT_EQ(Apply(), kResultNoReply);
  keyboard_.ClearFault();
  ExpectWorkingFileIntact(config_->working);
  EXPECT_EQ(Apply(), kResultOk);
}

TEST_F(KeyboardFaultTest, MacroMemoryTooSmallForMacrosSendsNothingAndSaysSo) {
  keyboard_.SetMacroCapacity(1);
  ASSERT_EQ(ReadMacroCapacity(link_), kResultOk);
  const int before = keyboard_.PacketCount();

  EXPECT_EQ(Apply(), kResultNoMacroSpace);
  EXPECT_EQ(prompts_.shown, std::vector<std::string>{std::string(kMacroTooLongText)});
  EXPECT_EQ(keyboard_.PacketCount(), before);
  ExpectWorkingFileIntact(config_->working);
}

TEST_F(KeyboardFaultTest, MacroMemoryTooSmallForNamesWritesWithoutThemAndSaysSo) {
  const MacroAreaSize sizes = MacroAreaSizes(config_->working.macros);
  keyboard_.SetMacroCapacity(static_cast<uint8_t>((sizes.withoutNames + 127) / 128));
  ASSERT_EQ(ReadMacroCapacity(link_), kResultOk);
  ASSERT_LT(link_.MacroCapacityBytes.load(), sizes.withNames);

  EXPECT_EQ(Apply(), kResultOk);
  EXPECT_EQ(prompts_.shown, std::vector<std::string>{std::string(kProfileSpaceTightText)});
  const auto area = EncodeMacroArea(config_->working.macros, false);
  const auto memory = keyboard_.Memory();
  EXPECT_TRUE(std::equal(area->begin(), area->end(), memory.macros.begin()));
}

// The reload after an attach meets a keyboard that goes away, refuses or
// stays silent: the working configuration becomes the default one and the
// working file keeps what it held.
struct ReloadFault {
  const char* name;
  sim::Fault fault;
  int afterPackets;
};

class ReloadFaultTest : public KeyboardFaultTest,
                        public ::testing::WithParamInterface<ReloadFault> {};

TEST_P(ReloadFaultTest, GivesDefaultConfigurationAndKeepsWorkingFile) {
  ASSERT_EQ(Apply(), kResultOk);
  const auto saved = std::make_unique<ConfigStore>(config_->working);
  KeyboardSource source{link_, defaults_, u"Macro "};
  test::ScriptedConfigWindow window;

  keyboard_.InjectFault(GetParam().fault, GetParam().afterPackets);
  ReloadFromKeyboard(*config_, folder_, source, window);

  EXPECT_EQ(config_->working.image, DefaultConfigImage());
  EXPECT_TRUE(config_->working.macros.empty());
  EXPECT_EQ(window.refreshes, 1);
  EXPECT_EQ(window.applyStates, std::vector<bool>{false});
  ExpectWorkingFileIntact(*saved);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReloadFaultTest,
    ::testing::Values(ReloadFault{"UnplugAtStart", sim::Fault::Unplug, 0},
                      ReloadFault{"UnplugInKeyMaps", sim::Fault::Unplug, 9},
                      ReloadFault{"UnplugInMacros", sim::Fault::Unplug, 22},
                      ReloadFault{"RefusedInKeyMaps", sim::Fault::Refused, 3},
                      ReloadFault{"RefusedInMacros", sim::Fault::Refused, 21},
                      ReloadFault{"FailedInKeyMaps", sim::Fault::Failed, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardFaultTest, UnplugDuringColourTableWriteFailsAndLeavesTableForRetry) {
  LightingConfig lighting;
  for (std::size_t i = 0; i < kKeyColourTableSize; ++i) {
    lighting.keyColours[1][i] = static_cast<uint8_t>(i * 7);
  }
  const KeyColourTable table = lighting.keyColours[1];

  keyboard_.InjectFault(sim::Fault::Unplug, 3);
  EXPECT_EQ(WriteKeyColourTable(link_, lighting, 1), kResultWriteFailed);
  EXPECT_EQ(lighting.keyColours[1], table);

  emulator_.Replug();
  ASSERT_EQ(WriteKeyColourTable(link_, lighting, 1), kResultOk);
  const auto memory = keyboard_.Memory();
  EXPECT_TRUE(std::equal(table.begin(), table.end(), memory.keyColours.begin() + 512));
}

}  // namespace
}  // namespace mvk
