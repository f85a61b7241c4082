// The simulated keyboard's memory areas, their factory contents and the file
// that keeps them between runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace mvk::sim {

inline constexpr std::size_t kSettingsSize = 44;
inline constexpr std::size_t kSettingsActiveProfile = 10;
inline constexpr std::size_t kSettingsMacroCapacity = 11;
inline constexpr std::size_t kSettingsLightingModes = 12;
inline constexpr std::size_t kProfiles = 3;
inline constexpr std::size_t kLightingRecordSize = 42;
// Room for the program's 56-byte read of the last record.
inline constexpr std::size_t kLightingAreaSize = 140;
inline constexpr std::size_t kBankSize = 512;
inline constexpr std::size_t kBankedAreaSize = kProfiles * kBankSize;
inline constexpr std::size_t kMatrixSize = 378;
inline constexpr std::size_t kLedCount = 126;
inline constexpr std::size_t kMacroUnit = 128;
inline constexpr uint8_t kFactoryMacroCapacity = 64;
inline constexpr std::size_t kMacroHeaderSize = 16;

struct KeyboardMemory {
  std::array<uint8_t, kSettingsSize> settings{};
  std::array<uint8_t, kLightingAreaSize> lighting{};
  // Profile bank × 512 + byte position.
  std::array<uint8_t, kBankedAreaSize> keyMaps{};
  std::array<uint8_t, kBankedAreaSize> keyColours{};
  std::array<uint8_t, kMatrixSize> defaultMatrix{};
  // Macro capacity × 128 bytes.
  std::vector<uint8_t> macros;

  bool operator==(const KeyboardMemory&) const = default;
};

// The key matrix the keyboard assigns to its positions by itself.
const std::array<uint8_t, kMatrixSize>& FactoryDefaultMatrix();

// A keyboard as it leaves the factory, with a macro memory of
// `macroCapacity` units of 128 bytes.
KeyboardMemory FactoryMemory(uint8_t macroCapacity = kFactoryMacroCapacity);

// Writes the areas the keyboard can change (not the default matrix) to a new
// file that then replaces `file`.
bool SaveMemory(const KeyboardMemory& memory, const std::filesystem::path& file);
// nullopt when the file is missing, unreadable or not a valid memory file.
std::optional<KeyboardMemory> LoadMemory(const std::filesystem::path& file);

}  // namespace mvk::sim
