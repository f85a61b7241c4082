// The macro page's rules without widgets: row delays, loop count, typed
// delays, generated names and recording.
#include <gtest/gtest.h>

#include <vector>

#include "ui/assign/macro_editing.h"
#include "ui/assign/macro_recorder.h"

namespace mvk {
namespace {

constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;
constexpr uint32_t kVkA = 0x41;
constexpr uint32_t kKeyUp = 0xC0000001;  // previous state and transition bits
constexpr uint32_t kKeyDown = 0x00000001;
constexpr uint32_t kRepeat = 0x40000001;

MacroEvent Ev(uint32_t delay, KeyCode key, uint16_t action = kMacroPress) {
  return MacroEvent{delay, key, action};
}

TEST(InsertActionRow, TheWaitBeforeAnEventGoesToTheRowAbove) {
  std::vector<MacroEvent> rows;
  EXPECT_EQ(InsertActionRow(rows, std::nullopt, Ev(500, kA), true, false), 0u);
  EXPECT_EQ(InsertActionRow(rows, 0, Ev(120, kA, kMacroRelease), true, false), 1u);
  EXPECT_EQ(rows, (std::vector{Ev(120, kA), Ev(0, kA, kMacroRelease)}));

  // After the selected first row: the selected row's old delay moves onto the new row.
  EXPECT_EQ(InsertActionRow(rows, 0, Ev(30, kB), true, false), 1u);
  EXPECT_EQ(rows, (std::vector{Ev(30, kA), Ev(120, kB), Ev(0, kA, kMacroRelease)}));
}

TEST(InsertActionRow, LoadingKeepsDelaysAndFullListsRefuse) {
  std::vector<MacroEvent> rows;
  InsertActionRow(rows, std::nullopt, Ev(70, kA, 5), false, true);
  EXPECT_EQ(rows, std::vector{Ev(70, kA, kMacroPress)});  // unknown actions read as presses

  rows.assign(kMaxMacroEvents, Ev(0, kA));
  EXPECT_FALSE(InsertActionRow(rows, std::nullopt, Ev(10, kB), false, false));
  EXPECT_EQ(rows.size(), kMaxMacroEvents);
}

TEST(MoveActionRow, RowsMoveWithTheirDelays) {
  std::vector<MacroEvent> rows = {Ev(10, kA), Ev(20, kB), Ev(30, 0x02E)};
  EXPECT_EQ(MoveActionRow(rows, 2, 0), 0u);
  EXPECT_EQ(rows, (std::vector{Ev(30, 0x02E), Ev(10, kA), Ev(20, kB)}));
}

TEST(LoopCount, OutOfRangeTextsAreRewritten) {
  const struct {
    std::u16string_view text;
    std::optional<int> rewritten;
  } cases[] = {{u"", 1}, {u"0", 1}, {u"abc", 1}, {u"-4", 1}, {u"1", std::nullopt},
               {u"255", std::nullopt}, {u"256", 255}, {u"300", 255}, {u"99999999999999", 255}};
  for (const auto& c : cases) {
    EXPECT_EQ(CorrectedLoopCount(ParseLoopCount(c.text)), c.rewritten)
        << std::string(c.text.begin(), c.text.end());
  }
}

TEST(TypedDelay, CutToTheLimitAndToStepsOfTenMilliseconds) {
  const struct {
    std::u16string_view digits;
    uint32_t delay;
    bool overLimit;
  } cases[] = {{u"12345", 12340, false}, {u"9", 0, false},       {u"", 0, false},
               {u"40000", 40000, false}, {u"40001", 40000, true}, {u"99999999999999999999999", 40000, true}};
  for (const auto& c : cases) {
    const TypedDelay typed = CutTypedDelay(c.digits);
    EXPECT_EQ(typed.delayMs, c.delay) << std::string(c.digits.begin(), c.digits.end());
    EXPECT_EQ(typed.overLimit, c.overLimit) << std::string(c.digits.begin(), c.digits.end());
  }
}

TEST(NewMacroNames, SkipNamesThatAnExistingNameBeginsWith) {
  EXPECT_EQ(NextNameCounter(u"Macro #", 0, {}), 1);
  EXPECT_EQ(NewMacroName(u"Macro #", 1), u"Macro #1");
  // "Macro #1" is a prefix of "macro #10": the next free name is "Macro #2".
  EXPECT_EQ(NextNameCounter(u"Macro #", 0, {u"macro #10"}), 2);
  EXPECT_EQ(NextNameCounter(u"Macro #", 4, {u"Macro #5", u"Macro #6x"}), 7);
}

class Recorder : public ::testing::Test {
 protected:
  void Start(uint32_t flag) { recorder.Start(tick, flag); }
  bool Key(uint32_t vk, uint32_t flags, uint32_t wait, bool autoRepeat = false) {
    tick += wait;
    return recorder.OnKeyMessage({vk, flags}, autoRepeat, tick);
  }
  // Hands the recorded events to rows as the action list does.
  std::vector<MacroEvent> Rows() const {
    std::vector<MacroEvent> rows;
    for (const MacroEvent& event : handed) InsertActionRow(rows, std::nullopt, event, false, false);
    return rows;
  }

  uint32_t tick = 5000;
  std::vector<MacroEvent> handed;
  MacroRecorder recorder{[this](const MacroEvent& event) { handed.push_back(event); }};
};

TEST_F(Recorder, PressAndReleaseWithMeasuredOrFixedDelaysAndNoRepeats) {
  const struct {
    uint32_t flag;
    std::vector<MacroEvent> rows;
  } cases[] = {
      {1, {Ev(300, kA), Ev(120, kA, kMacroRelease), Ev(0, kB)}},
      {0, {Ev(50, kA), Ev(50, kA, kMacroRelease), Ev(0, kB)}},
      {7, {Ev(0, kA), Ev(0, kA, kMacroRelease), Ev(0, kB)}},
  };
  for (const auto& c : cases) {
    handed.clear();
    Start(c.flag);
    EXPECT_TRUE(Key(kVkA, kKeyDown, 40));
    EXPECT_TRUE(Key(kVkA, kRepeat, 100));            // Windows-style repeat
    EXPECT_TRUE(Key(kVkA, kKeyDown, 100, true));     // auto-repeat of this system
    EXPECT_TRUE(Key(kVkA, kKeyUp, 100));
    EXPECT_TRUE(Key(0x42, kKeyDown, 120));
    EXPECT_EQ(Rows(), c.rows) << c.flag;
  }
}

TEST_F(Recorder, MultimediaKeysAndUnknownKeysPassUnrecorded) {
  Start(1);
  EXPECT_FALSE(Key(0xAF, kKeyDown | 0x01300000, 10));  // volume up, E0 30
  EXPECT_FALSE(Key(0, kKeyDown, 10));
  EXPECT_TRUE(handed.empty());
}

TEST_F(Recorder, AReleaseOnlyKeyGetsItsPressButAReportedPressIsNotDoubled) {
  Start(1);
  constexpr uint32_t kPrintScreenUp = kKeyUp | 0x01370000;  // E0 37
  Key(0x2C, kPrintScreenUp, 90);
  EXPECT_EQ(handed, (std::vector{Ev(90, 0x137), Ev(2, 0x137, kMacroRelease)}));

  handed.clear();
  Key(0x2C, kKeyDown | 0x01370000, 10);
  Key(0x2C, kPrintScreenUp, 20);
  EXPECT_EQ(handed, (std::vector{Ev(10, 0x137), Ev(20, 0x137, kMacroRelease)}));
}

TEST_F(Recorder, WindowsKeysAreRecordedOnceWhileHeldAndAlwaysSwallowed) {
  Start(1);
  tick += 10;
  EXPECT_TRUE(recorder.OnWindowsKeyEvent(0x5B, true, false, tick));
  tick += 500;
  EXPECT_TRUE(recorder.OnWindowsKeyEvent(0x5B, true, false, tick));  // held
  tick += 30;
  EXPECT_TRUE(recorder.OnWindowsKeyEvent(0x5B, false, false, tick));
  EXPECT_FALSE(recorder.OnWindowsKeyEvent(kVkA, true, false, tick));
  EXPECT_EQ(handed, (std::vector{Ev(10, 0x15B), Ev(530, 0x15B, kMacroRelease)}));
}

}  // namespace
}  // namespace mvk
