// The keyboard's 44-byte settings block: active profile, macro capacity and
// the lighting effects it offers, and the small operations built on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/commands.h"
#include "protocol/keyboard_link.h"

namespace mvk {

namespace settings {
inline constexpr std::size_t kReserved = 0;
inline constexpr std::size_t kReservedSize = 10;
inline constexpr std::size_t kActiveProfile = 10;
inline constexpr std::size_t kMacroCapacity = 11;
inline constexpr std::size_t kLightingModes = 12;
inline constexpr std::size_t kLightingModeSlots = 32;
}  // namespace settings
static_assert(settings::kLightingModes + settings::kLightingModeSlots == kSettingsBlockSize);

inline constexpr uint32_t kMacroCapacityUnit = 128;
// The effect code of the user lighting mode (per-key colours).
inline constexpr uint8_t kUserLightingMode = 20;

struct SettingsBlock {
  // Not the program's business; written back as read.
  std::array<uint8_t, settings::kReservedSize> reserved{};
  uint8_t activeProfile = 0;
  // In units of 128 bytes.
  uint8_t macroCapacity = 0;
  // Effect codes in list order; 0 marks an empty slot.
  std::array<uint8_t, settings::kLightingModeSlots> lightingModes{};

  bool operator==(const SettingsBlock&) const = default;
};

SettingsBlock DecodeSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> bytes);
void EncodeSettingsBlock(const SettingsBlock& block, std::span<uint8_t, kSettingsBlockSize> bytes);

uint32_t MacroCapacityBytes(const SettingsBlock& block);
// The offered effect codes in list order, empty slots skipped.
std::vector<uint8_t> LightingModeList(const SettingsBlock& block);
// Whether the keyboard offers the per-key colour effect.
bool HasUserLightingMode(const SettingsBlock& block);

// Reads and decodes the block; on failure `block` is left as it was.
int ReadSettingsBlock(KeyboardLink& link, SettingsBlock& block);
int WriteSettingsBlock(KeyboardLink& link, const SettingsBlock& block);

// Reads the block and keeps its macro capacity in link.MacroCapacityBytes;
// after a failed read the capacity keeps its previous value.
int ReadMacroCapacity(KeyboardLink& link);

// The keyboard's active profile 0 to 2, from the cache when it is known;
// -1 when it cannot be learned.
int GetActiveProfile(KeyboardLink& link);
// Makes profile `index` (0 to 2) the keyboard's active one; other indexes
// send nothing. A failed write forgets the cached profile.
void SetActiveProfile(KeyboardLink& link, int index);
// Forgets the cached profile, so that the next GetActiveProfile asks.
void ForgetActiveProfile(KeyboardLink& link);

}  // namespace mvk
