// Assignments and macros applied to the simulated keyboard and read back.
#include <gtest/gtest.h>

#include <mutex>

#include "model/apply.h"
#include "model/settings_block.h"
#include "sim/simulated_keyboard.h"
#include "support/emulator_channel.h"
#include "support/scripted_prompts.h"

namespace mvk {
namespace {

MacroRecord Macro(std::u16string_view name, uint16_t id, uint8_t cycles,
                  std::vector<MacroEvent> events) {
  MacroRecord record;
  record.SetName(name);
  record.id = id;
  record.cycles = cycles;
  record.eventCount = static_cast<uint16_t>(events.size());
  std::copy(events.begin(), events.end(), record.events.begin());
  return record;
}

class KeyboardRoundTrip : public ::testing::Test {
 protected:
  KeyboardRoundTrip() {
    link.DeviceConnected = 1;
    link.pause = [](std::chrono::milliseconds) {};
  }

  void SetUp() override {
    ASSERT_EQ(ReadMacroCapacity(link), kResultOk);
    ASSERT_EQ(KbReadDefaultMatrix(link, defaults.data()), kResultOk);
    config.working.macros = {
        Macro(u"Copy all", 5, 1, {{30, 0x01D, kMacroPress}, {120, 0x01E, kMacroPress},
                                  {0, 0x01E, kMacroRelease}, {40000, 0x01D, kMacroRelease}}),
        Macro(u"Clicks, a wheel step and Mute", 2, 3, {{10, 0x171, kMacroPress}, {10, 0x171, kMacroRelease},
                                {0, 0x162, kMacroPress}, {0, 0x120, kMacroPress},
                                {0, 0x15E, kMacroRelease}}),
        Macro(u"", 9, 255, {}),
    };
  }

  // Assigns, in `profile`, one key of every assignment type and returns what
  // the keyboard is expected to give back: macro ids become positions + 1,
  // loop counts are not kept, launch-program slots read back as default and
  // text blocks as disabled.
  ProfileKeyMap Assign(int profile) {
    ProfileKeyMap expected = NewProfileKeyMap(profile);
    const auto assign = [&](KeyIndex key, uint16_t type, uint32_t value, uint16_t backType,
                            uint32_t backValue) {
      ASSERT_TRUE(WriteAssignment(config, profile, key, type, value,
                                  type == kAssignMacro ? std::optional<uint16_t>(7) : std::nullopt));
      expected[key].type = backType;
      expected[key].value = backValue;
    };
    assign(0x01E, kAssignKey, 0x030, kAssignKey, 0x030);             // A acts as B
    assign(0x030, kAssignKey, 0x138, kAssignKey, 0x138);             // B as Right Alt
    assign(0x02E, kAssignKey, 0x172, kAssignKey, 0x172);             // C as the right button
    assign(0x020, kAssignKey, 0x161 + profile % 2, kAssignKey, 0x161 + profile % 2);
    assign(0x012, kAssignDisabled, 0, kAssignDisabled, 0);           // E
    assign(0x021, kAssignMacro, 9, kAssignMacro, 3);                 // F plays "" (position 2)
    assign(0x022, kAssignMacro, 5, kAssignMacro, 1);                 // G plays "Copy all"
    assign(0x023, kAssignStopMacro, 0, kAssignStopMacro, 0);         // H
    assign(0x017, kAssignMultimedia, 7 + profile, kAssignMultimedia, 7 + profile);  // I
    assign(0x024, kAssignFunction, 10, kAssignFunction, 10);         // J
    assign(0x025, kAssignLaunch, 0, kAssignDefault, 0);              // K
    assign(0x026, kAssignText, 0, kAssignDisabled, 0);               // L
    assign(0x100, kAssignKey, 0x01D, kAssignKey, 0x01D);             // G1 as Left Ctrl
    return expected;
  }

  ProfileKeyMap ReadBack(int profile) {
    KeyMatrix matrix{};
    EXPECT_EQ(KbReadKeyMap(link, matrix.data(), profile), kResultOk);
    return ProfileFromKeyMatrix(matrix, defaults, profile);
  }

  MacroList ReadMacros() {
    std::vector<uint8_t> area(16);
    EXPECT_EQ(KbReadMacroMemory(link, area.data(), area.size()), kResultOk);
    area.resize(static_cast<std::size_t>(area[2] | area[3] << 8));
    EXPECT_EQ(KbReadMacroMemory(link, area.data(), area.size()), kResultOk);
    MacroList macros;
    DecodeMacroArea(area, u"Macro ", macros);
    return macros;
  }

  void ExpectMacrosBack(bool withNames) {
    const MacroList back = ReadMacros();
    const MacroList& sent = config.working.macros;
    ASSERT_EQ(back.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
      EXPECT_EQ(back[i].id, i + 1);
      EXPECT_EQ(back[i].cycles, sent[i].cycles);
      const bool named = withNames && !sent[i].Name().empty();
      EXPECT_EQ(back[i].Name(), named ? sent[i].Name() : u"Macro " + std::u16string(1, u'1' + i));
      ASSERT_EQ(back[i].eventCount, sent[i].eventCount);
      for (std::size_t e = 0; e < sent[i].eventCount; ++e) {
        EXPECT_EQ(back[i].events[e], sent[i].events[e]) << i << " " << e;
      }
    }
  }

  sim::SimulatedKeyboard keyboard;
  test::EmulatorChannel channel{keyboard};
  KeyboardLink link{channel};
  KeyMatrix defaults{};
  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  ConfigState config{configLock, macroLock};
  test::ScriptedPrompts prompts;
};

TEST_F(KeyboardRoundTrip, EveryAssignmentTypeAndTheMacrosComeBack) {
  std::vector<ProfileKeyMap> expected;
  for (int profile = 0; profile < kProfileCount; ++profile) {
    expected.push_back(Assign(profile));
  }
  ASSERT_EQ(ApplyKeyMaps(config, link, defaults, 0, true, prompts), kResultOk);
  EXPECT_TRUE(prompts.shown.empty());
  for (int profile = 0; profile < kProfileCount; ++profile) {
    EXPECT_EQ(ReadBack(profile), expected[static_cast<std::size_t>(profile)]) << profile;
  }
  ExpectMacrosBack(true);
}

TEST_F(KeyboardRoundTrip, MacrosWithoutRoomForNamesComeBackNumbered) {
  keyboard.SetMacroCapacity(1);  // 128 bytes: 70 without names, 144 with
  ASSERT_EQ(ReadMacroCapacity(link), kResultOk);
  const MacroAreaSize sizes = MacroAreaSizes(config.working.macros);
  ASSERT_LE(sizes.withoutNames, 128u);
  ASSERT_GT(sizes.withNames, 128u);
  const ProfileKeyMap expected = Assign(1);

  ASSERT_EQ(ApplyKeyMaps(config, link, defaults, 1, false, prompts), kResultOk);
  EXPECT_EQ(prompts.shown, std::vector<std::string>{"EXTRA_PROFILE_SPACE_TIGHT"});
  EXPECT_EQ(ReadBack(1), expected);
  ExpectMacrosBack(false);
}

}  // namespace
}  // namespace mvk
