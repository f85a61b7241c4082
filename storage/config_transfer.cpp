#include "storage/config_transfer.h"

#include <memory>
#include <mutex>

#include "model/apply.h"
#include "storage/config_file.h"

namespace mvk {

FileDialogOptions ConfigFileDialog(bool save) {
  return {.defaultExtension = u"mvk",
          .initialName = u"*.mvk",
          .filter = u"(*.mvk)|*.mvk|(*.*)|*.*||",
          .overwritePrompt = save};
}

bool ExportConfigFile(ConfigState& config, FilePrompts& prompts) {
  const auto path = prompts.AskSaveFile(ConfigFileDialog(true));
  return path && SaveConfigFile(config, *path);
}

bool ImportConfigFile(ConfigState& config, const ConfigFolder& folder, KeyboardTarget& target,
                      FilePrompts& prompts, ConfigWindow& window) {
  const auto path = prompts.AskOpenFile(ConfigFileDialog(false));
  if (!path) {
    return false;
  }
  auto imported = std::make_unique<ConfigStore>();
  if (ValidateConfigFile(*path, prompts) != kConfigFileValid ||
      !LoadConfigFile(*path, *imported)) {
    prompts.ShowMessage(kImportFailedText);
    return false;
  }
  {
    std::lock_guard lock(config.ConfigLock);
    config.working = std::move(*imported);
    SaveWorkingFile(config, folder);
    ApplyKeyMaps(config, target.link, target.defaults, target.link.ActiveProfileCache.load(),
                 true, target.prompts);
    window.RefreshKeyButtons();
  }
  window.EnableApply(false);
  return true;
}

}  // namespace mvk
