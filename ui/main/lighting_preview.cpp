#include "ui/main/lighting_preview.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace mvk::preview {
namespace {

constexpr int kSegment = 32;

// The rising channel of a palette segment: 1, 3, 5, 7, … on a gentle curve
// through 81 at the middle entry and 248 one entry before 255.
int Rising(int entry) {
  constexpr double kA = 1135.0 / 4914.0;
  constexpr double kB = 83291.0 / 63882.0;
  constexpr double kC = 7.0 - 9.0 * kA - 3.0 * kB;
  const double value = kA * entry * entry + kB * entry + kC;
  return std::min(255, static_cast<int>(std::lround(value)));
}

// The falling channel mirrors the rising one, so the next segment starts
// where the last one reached 255.
int Falling(int entry) { return entry + 1 < kSegment ? Rising(kSegment - 2 - entry) : 0; }

std::array<Colour, kPaletteSize> MakePalette() {
  std::array<Colour, kPaletteSize> palette{};
  for (int i = 0; i < kSegment; ++i) {
    const auto up = static_cast<uint8_t>(Rising(i));
    const auto down = static_cast<uint8_t>(Falling(i));
    palette[i] = ColourOf(255, up, 0);
    palette[kSegment + i] = ColourOf(down, 255, 0);
    palette[2 * kSegment + i] = ColourOf(0, 255, up);
    palette[3 * kSegment + i] = ColourOf(0, down, 255);
    palette[4 * kSegment + i] = ColourOf(up, 0, 255);
    palette[5 * kSegment + i] = ColourOf(255, 0, down);
  }
  return palette;
}

template <std::size_t N, std::size_t Half>
constexpr std::array<uint8_t, N> Mirrored(const std::array<uint8_t, Half>& rising) {
  static_assert(N == 2 * Half);
  std::array<uint8_t, N> table{};
  for (std::size_t i = 0; i < Half; ++i) {
    table[i] = rising[i];
    table[N - 1 - i] = rising[i];
  }
  return table;
}

constexpr std::array<uint8_t, 48> kBreathing96Rise = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, 64> kBreathing128Rise = {
    3,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, 128> kPulse128 = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  94,  114, 134, 158, 182, 206, 234,
    255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158,
    152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,  81,  77,
    73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};

constexpr int X = kNoKey;
constexpr std::array<std::array<int, kGridColumns>, kGridRows> kGrid = {{
    {X, X, 0, 1, 2, 3, 4, X, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, X, X, X, X},
    {X, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 34, 35, 36, 37, 38, 39, 40, 41},
    {X, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, X, 56, 57, 58, 59, 60, 61, X},
    {X, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 76, 76, X, X, X, X, 80, 81, 82, 62},
    {84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, X, X, 97, 97, X, 99, X, 101, 102, 103, 104},
    {105, 106, 107, X, X, X, 108, X, X, 109, 109, 110, 111, X, 113, 113, 119, 120, 121, 123, 123,
     124, X},
}};

constexpr std::array<uint8_t, kSnakeLength> kSnake = {
    16,  15,  14,  12, 11, 10, 9,  8,  7,  6,  5,  4,  3,   2,   1,   0,   21,  42,
    63,  84,  105, 106, 107, 108, 109, 110, 111, 113, 119, 120, 121, 123, 124, 104, 62, 41,
    40,  39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,  24,  23,
    22,  43,  64,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  97,  99,  101, 102,
    103, 82,  61,  60,  59,  58,  57,  56,  55,  54,  53,  52,  51,  50,  49,  48,  47,  46,
    45,  44,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  76,  80};

constexpr std::array<uint8_t, 1> kRing0 = {51};
constexpr std::array<uint8_t, 6> kRing1 = {30, 50, 71, 72, 52, 31};
constexpr std::array<uint8_t, 10> kRing2 = {8, 29, 49, 70, 92, 93, 94, 73, 53, 32};
constexpr std::array<uint8_t, 11> kRing3 = {7, 28, 48, 69, 91, 109, 95, 74, 54, 33, 9};
constexpr std::array<uint8_t, 12> kRing4 = {6, 27, 47, 68, 90, 110, 97, 76, 55, 34, 10, 11};
constexpr std::array<uint8_t, 11> kRing5 = {5, 26, 46, 67, 89, 108, 111, 113, 56, 35, 12};
constexpr std::array<uint8_t, 10> kRing6 = {4, 25, 45, 66, 88, 119, 99, 57, 36, 14};
constexpr std::array<uint8_t, 11> kRing7 = {3, 24, 44, 65, 87, 120, 121, 58, 37, 16, 15};
constexpr std::array<uint8_t, 10> kRing8 = {2, 23, 43, 64, 86, 107, 101, 80, 59, 38};
constexpr std::array<uint8_t, 12> kRing9 = {1, 22, 42, 63, 84, 106, 123, 102, 81, 60, 39, 85};
constexpr std::array<uint8_t, 8> kRing10 = {0, 21, 105, 124, 103, 82, 61, 40};
constexpr std::array<uint8_t, 3> kRing11 = {104, 62, 41};
constexpr std::array<std::span<const uint8_t>, kRingCount> kRings = {
    kRing0, kRing1, kRing2, kRing3, kRing4, kRing5, kRing6, kRing7, kRing8, kRing9, kRing10, kRing11};

// Right Win lies in none of the tables but still lights with "every key".
constexpr int kRightWinLed = 112;

// The starlight effect walks the snake positions in this stride, which
// shares no factor with 104, so every key comes round in turn.
constexpr int kStarlightStride = 37;
constexpr int kStarsPerStep = 3;

constexpr int kMeteorLanes = 4;
constexpr int kMeteorGap = 6;
constexpr int kShowStageSteps = 24;
constexpr int kShowStages = 5;
constexpr int kScannerWidth = 3;

bool Forward(uint8_t direction) { return direction == kDirectionForward; }
int Mod(int value, int period) { return ((value % period) + period) % period; }

template <typename Visit>
void ForEachGridCell(Visit visit) {
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      if (kGrid[row][column] != kNoKey) visit(row, column, kGrid[row][column]);
    }
  }
}

// Every key the preview animates.
void ShowOnEveryKey(PreviewFrame& frame, Colour colour) {
  ForEachGridCell([&](int, int, int led) { frame[led] = colour; });
  frame[kRightWinLed] = colour;
}

void Decay(PreviewState& state, int (*decay)(int)) {
  for (auto& level : state.levels) level = static_cast<uint8_t>(decay(level));
}

void Light(PreviewState& state, int led, int paletteIndex) {
  state.levels[led] = 255;
  state.indexes[led] = static_cast<uint8_t>(paletteIndex);
}

Colour LitColour(const PreviewState& state, const PreviewInput& input, int led) {
  const Colour base = input.multiColour ? Palette()[state.indexes[led] % kPaletteSize]
                                        : input.colour;
  return AtLevel(base, state.levels[led]);
}

void DrawSnakeAtLevels(const PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  for (uint8_t led : kSnake) frame[led] = LitColour(state, input, led);
}

void DrawGridAtLevels(const PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  ForEachGridCell([&](int, int, int led) { frame[led] = LitColour(state, input, led); });
}

void Wave(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  const bool forward = Forward(input.direction);
  if (input.multiColour) {
    state.phase = Advance(forward, state.phase, 9, kPaletteSize);
    ForEachGridCell([&](int, int c, int led) {
      frame[led] = Palette()[(state.phase + 9 * c) % kPaletteSize];
    });
  } else {
    state.phase = Advance(forward, state.phase, 7, 96);
    ForEachGridCell([&](int, int c, int led) {
      frame[led] = AtLevel(input.colour, Breathing96()[(state.phase + 7 * c) % 96]);
    });
  }
}

void Flow(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  const bool forward = Forward(input.direction);
  if (input.multiColour) {
    state.phase = Advance(forward, state.phase, 4, kPaletteSize);
    ForEachGridCell([&](int, int c, int led) {
      frame[led] = Palette()[(state.phase + 5 * c) % kPaletteSize];
    });
  } else {
    state.phase = Advance(true, state.phase, 4, 128);
    const int sign = forward ? 1 : -1;
    ForEachGridCell([&](int, int c, int led) {
      frame[led] = AtLevel(input.colour, Pulse128()[Mod(state.phase + sign * 5 * (c + 1), 128)]);
    });
  }
}

void Snake(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  const bool forward = Forward(input.direction);
  const int period = input.multiColour ? kPaletteSize : 96;
  state.phase = Advance(forward, state.phase, 4, period);
  for (int k = 0; k < kSnakeLength; ++k) {
    const int at = (state.phase + 5 * k) % period;
    frame[kSnake[k]] =
        input.multiColour ? Palette()[at] : AtLevel(input.colour, Breathing96()[at]);
  }
}

void Spectrum(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  state.phase = Advance(Forward(input.direction), state.phase, 2, kPaletteSize);
  ShowOnEveryKey(frame, Palette()[state.phase]);
}

void Breathing(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  state.phase = Advance(true, state.phase, 2, 128);
  const int level = Breathing128()[state.phase];
  ForEachGridCell([&](int, int c, int led) {
    const Colour base = input.multiColour ? Palette()[7 * c] : input.colour;
    frame[led] = AtLevel(base, level);
  });
}

void Static(const PreviewInput& input, PreviewFrame& frame) {
  if (!input.multiColour) {
    ShowOnEveryKey(frame, input.colour);
    return;
  }
  ForEachGridCell([&](int, int c, int led) {
    frame[led] = Palette()[9 * c < kPaletteSize ? 9 * c : 0];
  });
}

void Starlight(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  std::mt19937 random(input.seed);
  for (int star = 0; star < kStarsPerStep; ++star) {
    const int led = kSnake[(state.starlightPosition * kStarlightStride) % kSnakeLength];
    state.starlightPosition = (state.starlightPosition + 1) % kSnakeLength;
    Light(state, led, static_cast<int>(random() % (kRandomPaletteSize - 1)));
  }
  Decay(state, DecayLevel);
  for (uint8_t led : kSnake) {
    frame[led] = AtLevel(RandomPalette()[state.indexes[led]], state.levels[led]);
  }
}

// Code 11 keeps one palette phase per key, in `indexes`.
void ColourSpots(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  if (input.step == 0) {
    for (int k = 0; k < kSnakeLength; ++k) {
      state.indexes[kSnake[k]] = static_cast<uint8_t>((33 * (k + 1)) % kPaletteSize);
    }
  }
  for (uint8_t led : kSnake) {
    const int next = state.indexes[led] + 3;
    state.indexes[led] = static_cast<uint8_t>(next >= kPaletteSize ? 0 : next);
    frame[led] = Palette()[state.indexes[led]];
  }
}

void VerticalWave(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  state.phase = Advance(Forward(input.direction), state.phase, 3, kPaletteSize);
  ForEachGridCell([&](int r, int, int led) {
    frame[led] = Palette()[(state.phase + 32 * r) % kPaletteSize];
  });
}

// Meteors: one lit head per lane (the rows of letter and number keys),
// running left to right with a fading tail; the lanes start staggered.
void Meteor(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  Decay(state, DecayLevel);
  for (int lane = 0; lane < kMeteorLanes; ++lane) {
    const auto& row = kGrid[lane + 1];
    const int head = (input.step + 5 * lane) % (kGridColumns + kMeteorGap);
    if (head < kGridColumns && row[head] != kNoKey) {
      Light(state, row[head], (48 * lane + 2 * input.step) % kPaletteSize);
    }
  }
  DrawSnakeAtLevels(state, input, frame);
}

// Raindrops: four drops at a time fall down the grid, one row a step; each
// fall picks four new columns.
void Raindrops(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  Decay(state, DecayLevel);
  const int fall = input.step / kGridRows;
  const int row = input.step % kGridRows;
  for (int lane = 0; lane < kMeteorLanes; ++lane) {
    const int column = (7 * fall + 6 * lane + 2) % kGridColumns;
    const int led = kGrid[row][column];
    if (led != kNoKey) Light(state, led, (8 * column) % kPaletteSize);
  }
  DrawSnakeAtLevels(state, input, frame);
}

// The light show: five scripted stages of 24 steps each, rows from the
// top, columns from the left, rings from the O key, the snake, and three
// flashes of every key.
void LightShow(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  Decay(state, DecayLevelFast);
  const int stage = (input.step / kShowStageSteps) % kShowStages;
  const int t = input.step % kShowStageSteps;
  const int index = (38 * stage + 4 * t) % kPaletteSize;
  switch (stage) {
    case 0:
      ForEachGridCell([&](int r, int, int led) {
        if (r == t / 4) Light(state, led, index);
      });
      break;
    case 1:
      ForEachGridCell([&](int, int c, int led) {
        if (c == t) Light(state, led, index);
      });
      break;
    case 2:
      for (uint8_t led : Ring(t / 2)) Light(state, led, index);
      break;
    case 3:
      for (int k = t * kSnakeLength / kShowStageSteps; k < (t + 1) * kSnakeLength / kShowStageSteps;
           ++k) {
        Light(state, kSnake[k], index);
      }
      break;
    default:
      if (t % 8 == 0) ForEachGridCell([&](int, int, int led) { Light(state, led, index); });
      break;
  }
  DrawGridAtLevels(state, input, frame);
}

// The scanner: a band of three columns jumps across the grid.
void Scanner(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  Decay(state, DecayLevel);
  const int positions = (kGridColumns + kScannerWidth - 1) / kScannerWidth;
  const int first = kScannerWidth * (input.step % positions);
  ForEachGridCell([&](int, int c, int led) {
    if (c >= first && c < first + kScannerWidth) Light(state, led, (9 * c) % kPaletteSize);
  });
  DrawGridAtLevels(state, input, frame);
}

void CircleWave(PreviewState& state, const PreviewInput& input, PreviewFrame& frame) {
  state.phase = Mod(state.phase + (Forward(input.direction) ? 2 : -2), kPaletteSize);
  for (int ring = 0; ring < kRingCount; ++ring) {
    for (uint8_t led : Ring(ring)) {
      frame[led] = Palette()[(state.phase + 21 * (ring + 1)) % kPaletteSize];
    }
  }
}

void UserColours(const PreviewInput& input, PreviewFrame& frame) {
  if (input.keyColours == nullptr) return;
  const auto& table = *input.keyColours;
  for (int led = 0; led < kLedCount; ++led) {
    frame[led] = ColourOf(table[led * 3], table[led * 3 + 1], table[led * 3 + 2]);
  }
}

}  // namespace

const std::array<Colour, kPaletteSize>& Palette() {
  static const auto palette = MakePalette();
  return palette;
}

const std::array<Colour, kRandomPaletteSize>& RandomPalette() {
  static const auto palette = [] {
    std::array<Colour, kRandomPaletteSize> copy{};
    for (int i = 0; i < kRandomPaletteSize; ++i) copy[i] = Palette()[i % kPaletteSize];
    return copy;
  }();
  return palette;
}

const std::array<uint8_t, 96>& Breathing96() {
  static constexpr auto table = Mirrored<96>(kBreathing96Rise);
  return table;
}

const std::array<uint8_t, 128>& Pulse128() { return kPulse128; }

const std::array<uint8_t, 128>& Breathing128() {
  static constexpr auto table = Mirrored<128>(kBreathing128Rise);
  return table;
}

const std::array<std::array<int, kGridColumns>, kGridRows>& Grid() { return kGrid; }

const std::array<uint8_t, kSnakeLength>& SnakeOrder() { return kSnake; }

std::span<const uint8_t> Ring(int ring) {
  return ring >= 0 && ring < kRingCount ? kRings[ring] : std::span<const uint8_t>{};
}

int Advance(bool forward, int phase, int step, int period) {
  return Mod(forward ? phase + step : phase - step, period);
}

Colour AtLevel(Colour colour, int level) {
  const auto bytes = ColourBytes(colour);
  const auto scale = [level](uint8_t channel) {
    return static_cast<uint8_t>(channel * level / 255);
  };
  return ColourOf(scale(bytes[0]), scale(bytes[1]), scale(bytes[2]));
}

int DecayLevel(int level) {
  if (level >= 128) return level - 20;
  if (level >= 64) return level - 16;
  if (level >= 32) return level - 10;
  if (level >= 17) return level - 5;
  return level > 0 ? level - 1 : 0;
}

int DecayLevelFast(int level) {
  if (level >= 128) return level - 30;
  if (level >= 64) return level - 20;
  if (level >= 32) return level - 10;
  if (level >= 17) return level - 5;
  return level > 0 ? level - 1 : 0;
}

PreviewFrame PreviewStep(PreviewState& state, const PreviewInput& input) {
  PreviewFrame frame{};
  switch (input.effect) {
    case 1: Wave(state, input, frame); break;
    case 2: Flow(state, input, frame); break;
    case 3: Snake(state, input, frame); break;
    case 4: Spectrum(state, input, frame); break;
    case 5: Breathing(state, input, frame); break;
    case 6: Static(input, frame); break;
    case 10: Starlight(state, input, frame); break;
    case 11: ColourSpots(state, input, frame); break;
    case 12: VerticalWave(state, input, frame); break;
    case 13: Meteor(state, input, frame); break;
    case 14: LightShow(state, input, frame); break;
    case 15: Scanner(state, input, frame); break;
    case 16: Raindrops(state, input, frame); break;
    case 18: CircleWave(state, input, frame); break;
    case kUserLightingMode: UserColours(input, frame); break;
    default: break;  // still effects keep the plain colour look
  }
  return frame;
}

}  // namespace mvk::preview
