// The lighting preview: how the on-screen keys imitate each lighting effect,
// one step every timer tick. Plain functions over a small state, so that a
// step depends only on its inputs (the step count, and for the starlight
// effect the random seed) and can be checked key by key.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "model/lighting.h"

namespace mvk::preview {

inline constexpr int kPaletteSize = 192;
inline constexpr int kRandomPaletteSize = 256;
inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 23;
inline constexpr int kSnakeLength = 104;
inline constexpr int kRingCount = 12;
inline constexpr int kNoKey = -1;
inline constexpr uint8_t kDirectionForward = 255;

// The colour wheel, red → yellow → green → cyan → blue → magenta → red.
const std::array<Colour, kPaletteSize>& Palette();
// The wheel with its first 64 entries repeated, for random indexes 0 to 255.
const std::array<Colour, kRandomPaletteSize>& RandomPalette();

const std::array<uint8_t, 96>& Breathing96();
const std::array<uint8_t, 128>& Pulse128();
const std::array<uint8_t, 128>& Breathing128();

// LED indexes by row and column; kNoKey for an empty cell. Wide keys fill
// two cells.
const std::array<std::array<int, kGridColumns>, kGridRows>& Grid();
// The keys in the order of the snake effect.
const std::array<uint8_t, kSnakeLength>& SnakeOrder();
// The rings around the O key, innermost first.
std::span<const uint8_t> Ring(int ring);

int Advance(bool forward, int phase, int step, int period);
// Each channel scaled by level / 255, rounded down.
Colour AtLevel(Colour colour, int level);
// One step of the level decay of the effects that keep per-key levels.
int DecayLevel(int level);
// The faster decay of the light show.
int DecayLevelFast(int level);

struct PreviewInput {
  uint8_t effect = 0;
  bool multiColour = false;
  Colour colour = 0;
  uint8_t direction = 0;
  // Steps run since the preview was last re-initialised (0 for the first).
  int step = 0;
  // The random source of the starlight effect is seeded with this at
  // every step.
  uint32_t seed = 0;
  // The per-key colours, shown by the user lighting mode.
  const KeyColourTable* keyColours = nullptr;
};

struct PreviewState {
  int phase = 0;
  int starlightPosition = 0;
  std::array<uint8_t, kLedCount> levels{};
  std::array<uint8_t, kLedCount> indexes{};
};

// The colour each key shows after a step, by LED index; keys the step does
// not touch are empty.
using PreviewFrame = std::array<std::optional<Colour>, kLedCount>;

PreviewFrame PreviewStep(PreviewState& state, const PreviewInput& input);

}  // namespace mvk::preview
