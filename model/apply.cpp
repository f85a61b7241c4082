#include "model/apply.h"

#include <vector>

#include "model/first_failure.h"
#include "protocol/commands.h"

namespace mvk {
namespace {

void TakeSnapshot(ConfigState& config) {
  config.snapshotStrings = PackHostStrings(config.working.image, config.working.hostStrings);
  config.snapshot = config.working;
  RefreshFileHeader(config.snapshot.image.header,
                    static_cast<uint16_t>(config.snapshot.macros.size()),
                    config.snapshot.hostStrings.Total());
}

std::vector<int> ProfilesToWrite(const ConfigState& config, int currentProfile, bool allProfiles) {
  if (allProfiles || config.macroReferencesChanged) {
    return {0, 1, 2};
  }
  return {currentProfile};
}

}  // namespace

int ApplyKeyMaps(ConfigState& config, KeyboardLink& link, const KeyMatrix& defaults,
                 int currentProfile, bool allProfiles, ModelPrompts& prompts) {
  std::lock_guard configLock(config.ConfigLock);
  const std::vector<int> profiles = ProfilesToWrite(config, currentProfile, allProfiles);
  if (profiles.size() == 1 && (currentProfile < 0 || currentProfile >= kProfileCount)) {
    return kResultBadBank;
  }

  bool withNames = true;
  FirstFailure failure;
  {
    std::lock_guard macroLock(config.MacroLock);
    TakeSnapshot(config);
    const MacroAreaSize sizes = MacroAreaSizes(config.snapshot.macros);
    const uint32_t capacity = link.MacroCapacityBytes.load();
    if (capacity < sizes.withoutNames) {
      prompts.ShowNotice(kMacroTooLongText);
      return kResultNoMacroSpace;
    }
    withNames = capacity >= sizes.withNames;
    const auto area = EncodeMacroArea(config.snapshot.macros, withNames);
    if (!area) {
      return kResultNoMacroSpace;
    }

    std::vector<std::pair<int, KeyMatrix>> matrices;
    const auto macroIndexOfId = [&config](uint16_t id) { return MacroIndexOfId(config, id); };
    for (const int profile : profiles) {
      matrices.emplace_back(profile, KeyMatrixFromProfile(config.snapshot.image.profiles[profile],
                                                          defaults, macroIndexOfId));
    }

    failure.Note(KbBeginUpdate(link));
    failure.Note(KbWriteMacroMemory(link, area->data(), area->size()));
    for (const auto& [profile, matrix] : matrices) {
      failure.Note(KbWriteKeyMap(link, matrix.data(), profile));
    }
    failure.Note(KbEndUpdate(link));
    config.macroReferencesChanged = false;
  }
  if (!withNames) {
    prompts.ShowNotice(kProfileSpaceTightText);
  }
  return failure.Result();
}

int RestoreDefaultKeyMaps(ConfigState& config, KeyboardLink& link, const KeyMatrix& defaults,
                          std::span<const KeyIndex> buttonKeys) {
  ResetOnboardProfiles(config, buttonKeys);
  FirstFailure failure;
  for (int profile = 0; profile < kProfileCount; ++profile) {
    failure.Note(KbWriteKeyMap(link, defaults.data(), profile));
  }
  return failure.Result();
}

}  // namespace mvk
