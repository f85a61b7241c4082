#include "model/settings_block.h"

#include <algorithm>

namespace mvk {
namespace {

constexpr int kUnknownProfile = -1;

bool IsProfile(int index) { return index >= 0 && index < kProfileCount; }

}  // namespace

SettingsBlock DecodeSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> bytes) {
  SettingsBlock block;
  std::copy_n(bytes.begin() + settings::kReserved, settings::kReservedSize,
              block.reserved.begin());
  block.activeProfile = bytes[settings::kActiveProfile];
  block.macroCapacity = bytes[settings::kMacroCapacity];
  std::copy_n(bytes.begin() + settings::kLightingModes, settings::kLightingModeSlots,
              block.lightingModes.begin());
  return block;
}

void EncodeSettingsBlock(const SettingsBlock& block,
                         std::span<uint8_t, kSettingsBlockSize> bytes) {
  std::copy(block.reserved.begin(), block.reserved.end(), bytes.begin() + settings::kReserved);
  bytes[settings::kActiveProfile] = block.activeProfile;
  bytes[settings::kMacroCapacity] = block.macroCapacity;
  std::copy(block.lightingModes.begin(), block.lightingModes.end(),
            bytes.begin() + settings::kLightingModes);
}

uint32_t MacroCapacityBytes(const SettingsBlock& block) {
  return uint32_t{block.macroCapacity} * kMacroCapacityUnit;
}

std::vector<uint8_t> LightingModeList(const SettingsBlock& block) {
  std::vector<uint8_t> modes;
  std::copy_if(block.lightingModes.begin(), block.lightingModes.end(),
               std::back_inserter(modes), [](uint8_t code) { return code != 0; });
  return modes;
}

bool HasUserLightingMode(const SettingsBlock& block) {
  return std::ranges::find(block.lightingModes, kUserLightingMode) != block.lightingModes.end();
}

int ReadSettingsBlock(KeyboardLink& link, SettingsBlock& block) {
  std::array<uint8_t, kSettingsBlockSize> bytes{};
  const int result = KbReadSettings(link, bytes.data());
  if (result == kResultOk) {
    block = DecodeSettingsBlock(bytes);
  }
  return result;
}

int WriteSettingsBlock(KeyboardLink& link, const SettingsBlock& block) {
  std::array<uint8_t, kSettingsBlockSize> bytes{};
  EncodeSettingsBlock(block, bytes);
  return KbWriteSettings(link, bytes.data());
}

int ReadMacroCapacity(KeyboardLink& link) {
  SettingsBlock block;
  const int result = ReadSettingsBlock(link, block);
  if (result == kResultOk) {
    link.MacroCapacityBytes = MacroCapacityBytes(block);
  }
  return result;
}

int GetActiveProfile(KeyboardLink& link) {
  const int cached = link.ActiveProfileCache.load();
  if (cached != kUnknownProfile) {
    return cached;
  }
  SettingsBlock block;
  if (ReadSettingsBlock(link, block) != kResultOk) {
    return kUnknownProfile;
  }
  // A profile number the program has no room for counts as unknown rather
  // than being used to index the three profiles.
  if (!IsProfile(block.activeProfile)) {
    return kUnknownProfile;
  }
  link.ActiveProfileCache = block.activeProfile;
  return block.activeProfile;
}

void SetActiveProfile(KeyboardLink& link, int index) {
  if (!IsProfile(index)) {
    return;
  }
  SettingsBlock block;
  if (ReadSettingsBlock(link, block) != kResultOk) {
    return;
  }
  block.activeProfile = static_cast<uint8_t>(index);
  link.ActiveProfileCache = WriteSettingsBlock(link, block) == kResultOk ? index : kUnknownProfile;
}

void ForgetActiveProfile(KeyboardLink& link) { link.ActiveProfileCache = kUnknownProfile; }

}  // namespace mvk
