#include "ui/main/lighting_preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace mvk::preview {
namespace {

constexpr Colour kWhite = ColourOf(255, 255, 255);
constexpr uint8_t kBackward = 0;

// LED indexes of keys the checks look at.
constexpr int kEsc = 0;
constexpr int kF3 = 3;
constexpr int kF5 = 5;
constexpr int kF8 = 8;
constexpr int kF11 = 11;
constexpr int kScrollLock = 15;
constexpr int kPause = 16;
constexpr int kGrave = 21;
constexpr int kSeven = 28;
constexpr int kSix = 27;
constexpr int kKeypadMinus = 41;
constexpr int kTab = 42;
constexpr int kR = 46;
constexpr int kO = 51;
constexpr int kLeftShift = 84;
constexpr int kX = 87;
constexpr int kRightWin = 112;
constexpr int kLeft = 119;

PreviewFrame RunSteps(uint8_t effect, bool multi, uint8_t direction, int steps,
                 Colour colour = kWhite) {
  PreviewState state;
  PreviewFrame frame{};
  for (int step = 0; step < steps; ++step) {
    frame = PreviewStep(state, {.effect = effect, .multiColour = multi, .colour = colour,
                                .direction = direction, .step = step});
  }
  return frame;
}

TEST(PreviewData, PaletteMeetsItsFixedEntries) {
  const auto& palette = Palette();
  const std::pair<int, Colour> fixed[] = {
      {0, ColourOf(255, 1, 0)},    {1, ColourOf(255, 3, 0)},   {2, ColourOf(255, 5, 0)},
      {3, ColourOf(255, 7, 0)},    {16, ColourOf(255, 81, 0)}, {31, ColourOf(255, 255, 0)},
      {32, ColourOf(248, 255, 0)}, {63, ColourOf(0, 255, 0)},  {95, ColourOf(0, 255, 255)},
      {127, ColourOf(0, 0, 255)},  {159, ColourOf(255, 0, 255)}, {191, ColourOf(255, 0, 0)}};
  for (const auto& [entry, colour] : fixed) EXPECT_EQ(palette[entry], colour) << "entry " << entry;
  EXPECT_EQ(RandomPalette()[200], palette[8]);
  EXPECT_EQ(RandomPalette()[191], palette[191]);
}

TEST(PreviewData, TablesRiseAndFallBack) {
  EXPECT_EQ(Breathing96()[0], 22);
  EXPECT_EQ(Breathing96()[47], 255);
  EXPECT_EQ(Breathing96()[48], 255);
  EXPECT_EQ(Breathing96()[95], 22);
  EXPECT_EQ(Breathing128()[63], 255);
  EXPECT_EQ(Breathing128()[127], 3);
  EXPECT_EQ(Pulse128()[16], 255);
  EXPECT_EQ(Pulse128()[79], 1);
  EXPECT_EQ(Pulse128()[80], 0);
  EXPECT_EQ(Pulse128()[127], 0);
}

TEST(PreviewData, KeyOrdersCoverTheKeyboard) {
  std::set<int> snake(SnakeOrder().begin(), SnakeOrder().end());
  EXPECT_EQ(snake.size(), 104u) << "no key twice";
  std::set<int> rings;
  for (int ring = 0; ring < kRingCount; ++ring) {
    for (uint8_t led : Ring(ring)) EXPECT_TRUE(rings.insert(led).second) << int(led);
  }
  EXPECT_EQ(rings.size(), 105u);
  EXPECT_EQ(Grid()[1][14], 34) << "Backspace fills two cells";
  EXPECT_EQ(Grid()[1][15], 34);
}

TEST(PreviewData, LevelArithmetic) {
  EXPECT_EQ(AtLevel(ColourOf(200, 100, 0), 99), ColourOf(77, 38, 0));
  const std::pair<int, int> decays[] = {{255, 235}, {128, 108}, {127, 111}, {64, 48}, {63, 53},
                                        {32, 22},   {31, 26},   {17, 12},   {16, 15}, {1, 0},
                                        {0, 0}};
  for (const auto& [level, next] : decays) EXPECT_EQ(DecayLevel(level), next) << level;
  EXPECT_EQ(DecayLevelFast(255), 225);
  EXPECT_EQ(DecayLevelFast(64), 44);
  EXPECT_EQ(Advance(false, 1, 9, 192), 184);
  EXPECT_EQ(Advance(true, 190, 4, 192), 2);
}

struct StepCase {
  const char* name;
  uint8_t effect;
  bool multi;
  uint8_t direction;
  int steps;
  Colour colour;
  int led;
  Colour expected;
};

class PreviewStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(PreviewStepTest, KeyShowsWorkedOutColour) {
  const StepCase& c = GetParam();
  const PreviewFrame frame = RunSteps(c.effect, c.multi, c.direction, c.steps, c.colour);
  ASSERT_TRUE(frame[c.led].has_value());
  EXPECT_EQ(*frame[c.led], c.expected);
}

// Worked by hand: phase after the steps, then the key's column, row, snake
// position or ring.
INSTANTIATE_TEST_SUITE_P(
    Effects, PreviewStepTest,
    ::testing::Values(
        // 1 multi backward: phase 183; column 1 → 183 + 9 = 0, column 8 → 63.
        StepCase{"WaveMultiColumn1", 1, true, kBackward, 1, kWhite, kGrave, ColourOf(255, 1, 0)},
        StepCase{"WaveMultiColumn8", 1, true, kBackward, 1, kWhite, kSeven, ColourOf(0, 255, 0)},
        // 1 single forward: phase 7; Esc in column 2 → B96[21] = 99.
        StepCase{"WaveSingle", 1, false, kDirectionForward, 1, ColourOf(200, 100, 0), kEsc,
                 ColourOf(77, 38, 0)},
        // 2 multi backward: phase 188; column 1 → 193 mod 192 = 1.
        StepCase{"FlowMulti", 2, true, kBackward, 1, kWhite, kTab, ColourOf(255, 3, 0)},
        // 2 single: phase 4 either way; Esc column 2: forward P128[19] = 234, backward
        // P128[117] = 0.
        StepCase{"FlowSingleForward", 2, false, kDirectionForward, 1, kWhite, kEsc,
                 ColourOf(234, 234, 234)},
        StepCase{"FlowSingleBackward", 2, false, kBackward, 1, kWhite, kEsc, ColourOf(0, 0, 0)},
        // 3 multi backward: phase 188; Scroll Lock is snake key 1 → 1.
        StepCase{"SnakeMulti", 3, true, kBackward, 1, kWhite, kScrollLock, ColourOf(255, 3, 0)},
        // 3 single forward: phase 4; Pause is snake key 0 → B96[4] = 33.
        StepCase{"SnakeSingle", 3, false, kDirectionForward, 1, kWhite, kPause,
                 ColourOf(33, 33, 33)},
        // 4: phase 2 forward, 190 backward, on every key.
        StepCase{"SpectrumForward", 4, false, kDirectionForward, 1, kWhite, kRightWin,
                 ColourOf(255, 5, 0)},
        StepCase{"SpectrumBackward", 4, false, kBackward, 1, kWhite, kEsc, ColourOf(255, 0, 1)},
        // 5: phase 2 → B128[2] = 4; after 32 steps phase 64 → 255 on palette[0].
        StepCase{"BreathingSingle", 5, false, kBackward, 1, kWhite, kEsc, ColourOf(4, 4, 4)},
        StepCase{"BreathingMultiPeak", 5, true, kBackward, 32, kWhite, kLeftShift,
                 ColourOf(255, 1, 0)},
        // 6 multi: column 7 → palette[63]; column 22 → 198 is past the wheel → palette[0].
        StepCase{"StaticMulti", 6, true, kBackward, 1, kWhite, kSix, ColourOf(0, 255, 0)},
        StepCase{"StaticMultiLastColumn", 6, true, kBackward, 1, kWhite, kKeypadMinus,
                 ColourOf(255, 1, 0)},
        StepCase{"StaticSingle", 6, false, kBackward, 1, ColourOf(1, 2, 3), kO, ColourOf(1, 2, 3)},
        // 11: snake key 59 (X) starts at 33 × 60 mod 192 = 60, + 3 = 63; snake key
        // 28 (Left) starts at 189 and wraps to 0.
        StepCase{"SpotsStart", 11, true, kBackward, 1, kWhite, kX, ColourOf(0, 255, 0)},
        StepCase{"SpotsWrap", 11, true, kBackward, 1, kWhite, kLeft, ColourOf(255, 1, 0)},
        // 12 forward: phase 3; row 0 → palette[3].
        StepCase{"VerticalWave", 12, true, kDirectionForward, 1, kWhite, kEsc,
                 ColourOf(255, 7, 0)},
        // 18 forward: five steps → phase 10; ring 0 (O) → 10 + 21 = 31.
        StepCase{"CircleWave", 18, true, kDirectionForward, 5, kWhite, kO,
                 ColourOf(255, 255, 0)},
        // 13: lane 1 (row 2) starts at column 5, the R key, at full level.
        StepCase{"MeteorHead", 13, false, kBackward, 1, kWhite, kR, kWhite},
        // 14: the show opens with row 0 at full level.
        StepCase{"LightShowFirstRow", 14, false, kBackward, 1, kWhite, kEsc, kWhite},
        // 15: columns 0 to 2 lit, then they fade by one decay step (255 → 235)
        // while columns 3 to 5 light up.
        StepCase{"ScannerFades", 15, false, kBackward, 2, kWhite, kLeftShift,
                 ColourOf(235, 235, 235)},
        StepCase{"ScannerMoves", 15, false, kBackward, 2, kWhite, kF3, kWhite},
        // 16: the first drops fall in columns 2, 8, 14 and 20 of row 0.
        StepCase{"RaindropsStart", 16, false, kBackward, 1, kWhite, kF11, kWhite}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(PreviewStep, StillEffectsTouchNoKey) {
  for (uint8_t effect : {7, 8, 9, 17, 19}) {
    const PreviewFrame frame = RunSteps(effect, true, kBackward, 3);
    EXPECT_TRUE(std::none_of(frame.begin(), frame.end(), [](const auto& c) { return c.has_value(); }))
        << int(effect);
  }
}

TEST(PreviewStep, UserModeShowsPerKeyColours) {
  KeyColourTable table{};
  table[kGKeyLedIndex * 3 + 2] = 9;
  table[kEsc * 3] = 7;
  PreviewState state;
  const PreviewFrame frame = PreviewStep(state, {.effect = 20, .keyColours = &table});
  EXPECT_EQ(frame[kGKeyLedIndex], ColourOf(0, 0, 9));
  EXPECT_EQ(frame[kEsc], ColourOf(7, 0, 0));
}

TEST(PreviewStep, StarlightLightsThreeKeysInTurnFromItsSeed) {
  PreviewState first;
  PreviewState again;
  const PreviewInput input{.effect = 10, .seed = 1234};
  const PreviewFrame frame = PreviewStep(first, input);
  EXPECT_TRUE(PreviewStep(again, input) == frame) << "the same seed gives the same stars";
  // Snake positions 0, 37 and 74: Pause, keypad / and keypad 9, lit and
  // decayed once.
  for (int led : {kPause, 39, 61}) {
    EXPECT_EQ(first.levels[led], 235) << led;
    EXPECT_LT(first.indexes[led], 255) << led;
    EXPECT_EQ(frame[led], AtLevel(RandomPalette()[first.indexes[led]], 235)) << led;
  }
  EXPECT_EQ(frame[kEsc], ColourOf(0, 0, 0));
  const PreviewFrame second = PreviewStep(first, {.effect = 10, .step = 1, .seed = 99});
  EXPECT_EQ(first.levels[kPause], 215) << "the first stars fade";
  // Next in turn: snake positions 3 × 37 mod 104 = 7 (F8) and so on.
  EXPECT_EQ(first.levels[kF8], 235);
  EXPECT_TRUE(second[kF8].has_value());
}

TEST(PreviewStep, RaindropsFallOneRowAStep) {
  PreviewState state;
  PreviewStep(state, {.effect = 16, .colour = kWhite, .step = 0});
  const PreviewFrame frame = PreviewStep(state, {.effect = 16, .colour = kWhite, .step = 1});
  // Row 1, column 2: the 1 key, under Esc.
  EXPECT_EQ(frame[22], kWhite);
  EXPECT_EQ(frame[kEsc], ColourOf(235, 235, 235));
}

}  // namespace
}  // namespace mvk::preview
