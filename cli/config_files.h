// Configuration files as the tool reads and writes them: checked the way
// the program checks an import, and written the way the program writes (a
// complete new file renamed over the old one).
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "cli/names.h"
#include "model/config_store.h"
#include "model/model_prompts.h"

namespace mvk::cli {

// The working configuration and apply snapshot of one run, with their locks.
struct ToolConfig {
  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  ConfigState state{configLock, macroLock};
};

// Why a file is refused, or nullopt when it is a sound configuration file.
std::optional<std::string> ConfigFileProblem(const std::filesystem::path& path,
                                             const NameBook& names);

// Loads a sound file into `store`; kExitBadFile with the reason otherwise.
int LoadConfig(const std::filesystem::path& path, const NameBook& names, ConfigStore& store);

// For files being edited: a missing file starts as the default configuration.
int LoadOrCreateConfig(const std::filesystem::path& path, const NameBook& names,
                       ConfigStore& store);

// Writes the store over `path`; kExitBadFile when that fails.
int SaveConfig(ConfigState& config, const std::filesystem::path& path);

// The model's notices printed on standard error with their language texts;
// its questions are answered No, since nobody is there to be asked.
class StandardErrorPrompts final : public ModelPrompts {
 public:
  explicit StandardErrorPrompts(const NameBook& names) : names_(names) {}
  void ShowNotice(std::string_view languageKey) override;
  bool AskYesNo(std::string_view languageKey) override;
  // Whether a notice with this key was shown.
  bool Shown(std::string_view languageKey) const {
    return shown_.contains(std::string(languageKey));
  }

 private:
  const NameBook& names_;
  std::set<std::string> shown_;
};

}  // namespace mvk::cli
