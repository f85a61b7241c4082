#include "storage/keyboard_reload.h"

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "model/key_map.h"
#include "model/little_endian.h"
#include "model/settings_block.h"
#include "protocol/commands.h"
#include "storage/config_file.h"
#include "storage/replace_file.h"

namespace mvk {
namespace {

bool ReadKeyMaps(KeyboardSource& source, ConfigImage& image) {
  for (int profile = 0; profile < kProfileCount; ++profile) {
    KeyMatrix matrix{};
    if (KbReadKeyMap(source.link, matrix.data(), profile) != kResultOk) {
      return false;
    }
    image.profiles[profile] = ProfileFromKeyMatrix(matrix, source.defaults, profile);
  }
  return true;
}

bool ReadMacros(KeyboardSource& source, MacroList& macros) {
  std::vector<uint8_t> area(macro_area::kHeaderSize);
  if (KbReadMacroMemory(source.link, area.data(), area.size()) != kResultOk) {
    return false;
  }
  if (le::Get16(area, macro_area::kMagicOffset) != macro_area::kMagic) {
    macros.clear();
    return true;
  }
  const uint16_t total = le::Get16(area, macro_area::kTotalSize);
  if (total > area.size()) {
    area.resize(total);
    if (KbReadMacroMemory(source.link, area.data(), area.size()) != kResultOk) {
      return false;
    }
  }
  DecodeMacroArea(area, source.macroNamePrefix, macros);
  return true;
}

}  // namespace

bool ReadKeyboardToFile(const std::filesystem::path& path, KeyboardSource& source) {
  if (GetActiveProfile(source.link) < 0) {
    return false;
  }
  auto store = std::make_unique<ConfigStore>();
  if (!ReadKeyMaps(source, store->image) || !ReadMacros(source, store->macros)) {
    return false;
  }
  const auto bytes = EncodeConfigFile(*store);
  return bytes && ReplaceFileContents(path, *bytes);
}

void ReloadFromKeyboard(ConfigState& config, const ConfigFolder& folder, KeyboardSource& source,
                        ConfigWindow& window) {
  const std::filesystem::path workingFile = WorkingFilePath(folder);
  const bool read = GetActiveProfile(source.link) >= 0 && ReadKeyboardToFile(workingFile, source);
  {
    std::lock_guard lock(config.ConfigLock);
    CreateDefaultConfig(config.working);
    if (read) {
      LoadConfigFile(workingFile, config.working);
    }
    window.RefreshKeyButtons();
  }
  window.EnableApply(false);
}

}  // namespace mvk
