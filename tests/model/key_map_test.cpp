#include "model/key_map.h"

#include <gtest/gtest.h>

#include <mutex>

#include "support/scripted_prompts.h"

namespace mvk {
namespace {

constexpr KeyCode kKeyA = 0x01E;
constexpr KeyIndex kG1 = 0x100;

// A few positions, one per kind of default action.
constexpr int kPosA = 0;       // 02 02 04
constexpr int kPosG1 = 1;      // 06 A2 01
constexpr int kPosCtrl = 2;    // 02 01 01
constexpr int kPosMute = 3;    // 03 E2 00
constexpr int kPosLeft = 4;    // 01 01 01
constexpr int kPosNoKey = 5;   // 05 00 00

KeyMatrix SmallDefaults() {
  KeyMatrix m{};
  SetActionAt(m, kPosA, {0x02, 0x02, 0x04});
  SetActionAt(m, kPosG1, {0x06, 0xA2, 0x01});
  SetActionAt(m, kPosCtrl, {0x02, 0x01, 0x01});
  SetActionAt(m, kPosMute, {0x03, 0xE2, 0x00});
  SetActionAt(m, kPosLeft, {0x01, 0x01, 0x01});
  SetActionAt(m, kPosNoKey, {0x05, 0x00, 0x00});
  return m;
}

class KeyMapTest : public ::testing::Test {
 protected:
  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  ConfigState config{configLock, macroLock};
  test::ScriptedPrompts prompts;

  MacroRecord& AddMacro(uint16_t id, uint16_t isNew = 0) {
    MacroRecord record;
    record.id = id;
    record.isNew = isNew;
    return config.working.macros.emplace_back(record);
  }
  KeySlot& Slot(int profile, int key) { return config.working.image.profiles[profile][key]; }
};

TEST(KeyCodeOfAction, NamesTheKeyOfEachClass) {
  const struct {
    KeyAction action;
    KeyCode code;
  } rows[] = {
      {{0x01, 0x01, 0x01}, 0x171}, {{0x01, 0x01, 0x02}, 0x172}, {{0x01, 0x01, 0x04}, 0x173},
      {{0x01, 0x05, 0x01}, 0x161}, {{0x01, 0x05, 0xFF}, 0x162}, {{0x01, 0x01, 0x08}, 0},
      {{0x02, 0x02, 0x04}, kKeyA}, {{0x02, 0x02, 0xE5}, 0x036}, {{0x02, 0x01, 0x00}, 0},
      {{0x02, 0x01, 0x30}, 0x11D}, {{0x02, 0x07, 0x80}, 0x15C}, {{0x03, 0xCD, 0x00}, 0x122},
      {{0x04, 0x82, 0x00}, 0x15F}, {{0x06, 0xA2, 0x09}, 0x208}, {{0x06, 0xA1, 0x01}, 0},
      {{0x05, 0x00, 0x00}, 0},     {{0x00, 0x00, 0x00}, 0},     {{0x07, 0x02, 0x04}, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KeyCodeOfAction(row.action), row.code)
        << int(row.action.cls) << " " << int(row.action.sub) << " " << int(row.action.value);
  }
}

TEST(ProfileFromKeyMatrix, TurnsEachActionClassIntoAnAssignment) {
  const struct {
    KeyAction read;
    uint16_t type;
    uint32_t value;
  } rows[] = {
      {{0x05, 0x01, 0x02}, kAssignMacro, 3},       {{0x05, 0x02, 0x07}, kAssignStopMacro, 0},
      {{0x05, 0x05, 0x04}, kAssignFunction, 4},    {{0x05, 0x03, 0x00}, kAssignDisabled, 0},
      {{0x03, 0xE2, 0x00}, kAssignMultimedia, 7},  {{0x03, 0x00, 0x00}, kAssignDisabled, 0},
      {{0x01, 0x01, 0x02}, kAssignKey, 0x172},     {{0x01, 0x05, 0xFF}, kAssignKey, 0x162},
      {{0x01, 0x01, 0x08}, kAssignDisabled, 0},    {{0x02, 0x02, 0x05}, kAssignKey, 0x030},
      {{0x02, 0x02, 0x00}, kAssignDisabled, 0},    {{0x02, 0x01, 0x06}, kAssignKey, 0x02A},
      {{0x02, 0x01, 0x00}, kAssignDisabled, 0},    {{0x04, 0x81, 0x00}, kAssignDisabled, 0},
      {{0x06, 0xA2, 0x01}, kAssignDisabled, 0},    {{0x00, 0x00, 0x00}, kAssignDisabled, 0},
  };
  const KeyMatrix defaults = SmallDefaults();
  for (const auto& row : rows) {
    KeyMatrix read = defaults;
    SetActionAt(read, kPosA, row.read);
    const ProfileKeyMap map = ProfileFromKeyMatrix(read, defaults, 1);
    EXPECT_EQ(map[kKeyA], (KeySlot{row.type, 0, row.value, 0, 0}))
        << int(row.read.cls) << " " << int(row.read.sub) << " " << int(row.read.value);
  }
}

TEST(ProfileFromKeyMatrix, LeavesDefaultPositionsAndKeepsGWordsOfProfileZero) {
  const KeyMatrix defaults = SmallDefaults();
  KeyMatrix read = defaults;
  SetActionAt(read, kPosG1, {0x05, 0x01, 0x00});
  SetActionAt(read, kPosNoKey, {0x00, 0x00, 0x00});  // a position without a key changes nothing

  const ProfileKeyMap first = ProfileFromKeyMatrix(read, defaults, 0);
  EXPECT_EQ(first[kG1], (KeySlot{kAssignMacro, 0x0301, 1, 0, 0}));
  EXPECT_EQ(first[kKeyA], KeySlot{});
  EXPECT_EQ(ProfileFromKeyMatrix(read, defaults, 2)[kG1].extra, 0);
  EXPECT_EQ(ProfileFromKeyMatrix(defaults, defaults, 0), NewProfileKeyMap(0));
}

TEST(KeyMatrixFromProfile, WritesEachAssignmentType) {
  const KeyAction standard{0x02, 0x02, 0x04};
  const struct {
    KeySlot slot;
    KeyAction written;
  } rows[] = {
      {{kAssignDefault, 0, 0x30, 0, 0}, standard},
      {{kAssignDisabled, 0, 0, 0, 0}, {0x00, 0x00, 0x00}},
      {{kAssignLaunch, 0, 12, 0, 0}, standard},
      {{kAssignText, 0, 12, 0, 0}, {0x00, 0x00, 0x00}},
      {{kAssignKey, 0, 0x01D, 0, 0}, {0x02, 0x01, 0x01}},
      {{kAssignKey, 0, 0x138, 0, 0}, {0x02, 0x01, 0x40}},
      {{kAssignKey, 0, 0x15C, 0, 0}, {0x02, 0x01, 0x80}},
      {{kAssignKey, 0, 0x161, 0, 0}, {0x01, 0x05, 0x01}},
      {{kAssignKey, 0, 0x162, 0, 0}, {0x01, 0x05, 0xFF}},
      {{kAssignKey, 0, 0x173, 0, 0}, {0x01, 0x01, 0x04}},
      {{kAssignKey, 0, 0x030, 0, 0}, {0x02, 0x02, 0x05}},
      {{kAssignKey, 0, kKeyA, 0, 0}, standard},            // its own code sends its own usage
      {{kAssignKey, 0, 0x120, 0, 0}, {0x02, 0x02, 0xCD}},  // Mute as a key: its device usage
      {{kAssignKey, 0, 0x15E, 0, 0}, {0x02, 0x02, 0x00}},  // Power: not a keyboard usage
      {{kAssignMacro, 3, 7, 0, 0}, {0x05, 0x01, 0x02}},
      {{kAssignMacro, 3, 99, 0, 0}, {0x05, 0x01, 0x00}},   // no such macro: macro 0
      {{kAssignStopMacro, 0, 5, 0, 0}, {0x05, 0x02, 0x00}},
      {{kAssignMultimedia, 0, 7, 0, 0}, {0x03, 0xE2, 0x00}},
      {{kAssignMultimedia, 0, 8, 0, 0}, {0x03, 0x23, 0x02}},
      {{kAssignMultimedia, 0, 18, 0, 0}, standard},        // past the list: left as it was
      {{kAssignFunction, 0, 0x10A, 0, 0}, {0x05, 0x05, 0x0A}},
      {{9, 0, 1, 0, 0}, standard},
  };
  const KeyMatrix defaults = SmallDefaults();
  const auto macroIndexOfId = [](uint16_t id) -> uint16_t { return id == 7 ? 2 : 0; };
  for (const auto& row : rows) {
    ProfileKeyMap map = NewProfileKeyMap(0);
    map[kKeyA] = row.slot;
    const KeyMatrix matrix = KeyMatrixFromProfile(map, defaults, macroIndexOfId);
    EXPECT_EQ(ActionAt(matrix, kPosA), row.written) << row.slot.type << " " << row.slot.value;
    KeyMatrix rest = matrix;
    SetActionAt(rest, kPosA, standard);
    EXPECT_EQ(rest, defaults);
  }
}

TEST(KeyMatrixFromProfile, ConvertsBackToTheSameAssignments) {
  const KeyMatrix& defaults = BuiltInDefaultMatrix();
  ProfileKeyMap map = NewProfileKeyMap(1);
  map[0x01E] = {kAssignKey, 0, 0x171, 0, 0};         // A
  map[0x01D] = {kAssignKey, 0, 0x030, 0, 0};         // Left Ctrl
  map[0x010] = {kAssignMacro, 0, 3, 0, 0};           // Q
  map[0x03B] = {kAssignMultimedia, 0, 16, 0, 0};     // F1
  map[0x001] = {kAssignDisabled, 0, 0, 0, 0};        // Esc
  map[0x002] = {kAssignFunction, 0, 10, 0, 0};       // 1
  map[0x03A] = {kAssignStopMacro, 0, 0, 0, 0};       // Caps Lock
  const auto positionOfId = [](uint16_t id) { return static_cast<uint16_t>(id - 1); };
  const KeyMatrix matrix = KeyMatrixFromProfile(map, defaults, positionOfId);
  EXPECT_EQ(ProfileFromKeyMatrix(matrix, defaults, 1), map);
}

TEST_F(KeyMapTest, WriteAssignmentStoresTheSlotAndKeepsTheSwitchMark) {
  Slot(0, kKeyA) = {kAssignDisabled, 0, 0, 1, 0xDEAD};
  ASSERT_TRUE(WriteAssignment(config, 0, kKeyA, kAssignKey, 0x030));
  EXPECT_EQ(*ReadAssignment(config, 0, kKeyA), (KeySlot{kAssignKey, 0, 0x030, 1, 0}));

  ASSERT_TRUE(WriteAssignment(config, 1, kG1 + 2, kAssignStopMacro, 0));
  EXPECT_EQ(ReadAssignment(config, 1, kG1 + 2)->extra, 0x0303);
  ASSERT_TRUE(WriteAssignment(config, 1, kG1 + 2, kAssignMacro, 4, uint16_t{12}));
  EXPECT_EQ(*ReadAssignment(config, 1, kG1 + 2), (KeySlot{kAssignMacro, 12, 4, 0, 0}));
}

TEST_F(KeyMapTest, RefusesAnUnknownProfileOrKey) {
  const ConfigImage before = config.working.image;
  for (const auto& [profile, key] : {std::pair{-1, 0x1E}, {4, 0x1E}, {0, 512}, {0, -1}}) {
    EXPECT_FALSE(ReadAssignment(config, profile, key).has_value()) << profile << " " << key;
    EXPECT_FALSE(WriteAssignment(config, profile, key, kAssignDisabled, 0)) << profile;
  }
  EXPECT_FALSE(ResetProfileAssignments(config, -1, {}));
  EXPECT_EQ(config.working.image, before);
}

TEST_F(KeyMapTest, WriteAssignmentFreesOnlyItsOwnSlotsText) {
  HostStringTable& strings = config.working.hostStrings;
  Slot(0, kKeyA) = {kAssignLaunch, 0, 0, 0, 0};
  Slot(2, kKeyA) = {kAssignText, 0, 0, 0, 0};
  strings.Set(HostStringTable::EntryOf(0, kKeyA), u"first profile");
  strings.Set(HostStringTable::EntryOf(2, kKeyA), u"third");

  ASSERT_TRUE(WriteAssignment(config, 2, kKeyA, kAssignDisabled, 0));
  EXPECT_EQ(strings.Text(HostStringTable::EntryOf(0, kKeyA)), u"first profile");
  EXPECT_EQ(strings.Size(HostStringTable::EntryOf(2, kKeyA)), 0u);
  EXPECT_EQ(strings.Total(), 28u);
}

TEST_F(KeyMapTest, ResetClearsGKeysAndButtonsOnly) {
  const KeyIndex buttons[] = {0x01E, 0x0C5};
  for (const int key : {0x01E, 0x0C5, 0x030, int{kG1}, int{kG1} + 8, int{kG1} + 9}) {
    Slot(1, key) = {kAssignDisabled, 7, 3, 1, 2};
  }
  Slot(0, kKeyA) = {kAssignDisabled, 0, 0, 0, 0};
  ASSERT_TRUE(ResetProfileAssignments(config, 1, buttons));
  for (const int key : {0x01E, 0x0C5, int{kG1}, int{kG1} + 8}) {
    EXPECT_EQ(Slot(1, key), KeySlot{}) << key;
  }
  EXPECT_EQ(Slot(1, 0x030).type, kAssignDisabled);
  EXPECT_EQ(Slot(1, kG1 + 9).type, kAssignDisabled);
  EXPECT_EQ(Slot(0, kKeyA).type, kAssignDisabled);
}

TEST_F(KeyMapTest, MacroUsedByKeysAsksOnlyWhenKeysPlayTheMacro) {
  const MacroRecord used = AddMacro(4);
  const MacroRecord unused = AddMacro(5);
  const MacroRecord fresh = AddMacro(6, 1);
  Slot(3, 0x030) = {kAssignMacro, 1, 4, 0, 0};
  Slot(0, 0x031) = {kAssignLaunch, 0, 6, 0, 0};
  Slot(0, 0x032) = {kAssignMacro, 1, 6, 0, 0};

  EXPECT_TRUE(MacroUsedByKeys(config, unused, prompts));
  EXPECT_TRUE(MacroUsedByKeys(config, fresh, prompts));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_FALSE(config.macroReferencesChanged);

  EXPECT_FALSE(MacroUsedByKeys(config, used, prompts));
  EXPECT_EQ(prompts.shown, std::vector<std::string>{"MACRO_DELETE_CONFIRM_OF_KEYS"});
  EXPECT_TRUE(config.macroReferencesChanged);
  prompts.answerYes = true;
  EXPECT_TRUE(MacroUsedByKeys(config, used, prompts));
}

TEST_F(KeyMapTest, MacroUsedByKeysSeesTheFirstGKeyOfTheFirstProfile) {
  const MacroRecord used = AddMacro(2);
  Slot(0, kG1) = {kAssignMacro, 1, 2, 0, 0};
  EXPECT_FALSE(MacroUsedByKeys(config, used, prompts));
  EXPECT_TRUE(config.macroReferencesChanged);
}

TEST_F(KeyMapTest, ReconcileDropsDanglingReferencesAndFillsEmptyOnes) {
  Slot(0, 0x10) = {kAssignMacro, 1, 1, 0, 0};  // kept
  Slot(1, 0x11) = {kAssignMacro, 1, 2, 0, 0};  // macro deleted
  Slot(2, 0x12) = {kAssignMacro, 1, 3, 0, 0};  // id taken by a new macro
  Slot(3, 0x13) = {kAssignMacro, 1, 0, 0, 0};  // no macro yet
  MacroList list(2);
  list[0].id = 1;
  list[1].id = 3;
  list[1].isNew = 1;

  EXPECT_TRUE(ReconcileMacroReferences(config, list));
  EXPECT_EQ(Slot(0, 0x10), (KeySlot{kAssignMacro, 1, 1, 0, 0}));
  EXPECT_EQ(Slot(1, 0x11).type, kAssignDefault);
  EXPECT_EQ(Slot(2, 0x12).type, kAssignDefault);
  EXPECT_EQ(Slot(3, 0x13), (KeySlot{kAssignMacro, 1, 1, 0, 0}));
  EXPECT_FALSE(ReconcileMacroReferences(config, list));
}

TEST_F(KeyMapTest, MacroIndexOfIdLooksInTheWorkingList) {
  AddMacro(5);
  AddMacro(2);
  EXPECT_EQ(MacroIndexOfId(config, 2), 1);
  EXPECT_EQ(MacroIndexOfId(config, 5), 0);
  EXPECT_EQ(MacroIndexOfId(config, 9), 0);
}

}  // namespace
}  // namespace mvk
