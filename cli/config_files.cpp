#include "cli/config_files.h"

#include <QString>

#include <memory>
#include <mutex>
#include <system_error>

#include "cli/exit_codes.h"
#include "storage/config_file.h"

namespace mvk::cli {
namespace {

namespace fs = std::filesystem;

// Keeps the message the file check would show in a message box.
class CollectedMessage final : public FilePrompts {
 public:
  explicit CollectedMessage(const NameBook& names) : names_(names) {}
  std::optional<fs::path> AskOpenFile(const FileDialogOptions&) override { return std::nullopt; }
  std::optional<fs::path> AskSaveFile(const FileDialogOptions&) override { return std::nullopt; }
  void ShowMessage(std::string_view languageKey, std::u16string_view argument) override {
    const std::u16string text = QString::fromStdString(names_.Text(languageKey)).toStdU16String();
    message = QString::fromStdU16String(FillTextArgument(text, argument)).toStdString();
  }
  std::string message;

 private:
  const NameBook& names_;
};

std::optional<std::string> HeaderProblem(const fs::path& path, const NameBook& names) {
  CollectedMessage prompts(names);
  switch (ValidateConfigFile(path, prompts)) {
    case kConfigFileValid: return std::nullopt;
    case kConfigFileUnreadable: return "cannot be read";
    default: break;
  }
  if (!prompts.message.empty()) return prompts.message;
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return "too short for a configuration file (" + std::to_string(size) + " bytes, at least " +
         std::to_string(kConfigImageSize) + ")";
}

}  // namespace

std::optional<std::string> ConfigFileProblem(const fs::path& path, const NameBook& names) {
  std::error_code error;
  if (!fs::exists(path, error)) return "no such file";
  if (!fs::is_regular_file(path, error)) return "not a regular file";
  if (auto problem = HeaderProblem(path, names)) return problem;
  auto store = std::make_unique<ConfigStore>();
  if (!LoadConfigFile(path, *store)) {
    return "its macros or texts are damaged or cut short";
  }
  return std::nullopt;
}

int LoadConfig(const fs::path& path, const NameBook& names, ConfigStore& store) {
  if (const auto problem = ConfigFileProblem(path, names)) {
    return Fail(kExitBadFile, path.string() + ": " + *problem);
  }
  if (!LoadConfigFile(path, store)) {
    return Fail(kExitBadFile, path.string() + ": cannot be read");
  }
  return kExitOk;
}

int LoadOrCreateConfig(const fs::path& path, const NameBook& names, ConfigStore& store) {
  std::error_code error;
  if (!fs::exists(path, error) && !error) {
    CreateDefaultConfig(store);
    return kExitOk;
  }
  return LoadConfig(path, names, store);
}

int SaveConfig(ConfigState& config, const fs::path& path) {
  if (!SaveConfigFile(config, path)) {
    return Fail(kExitBadFile, path.string() + ": cannot be written; the file was left as it was");
  }
  return kExitOk;
}

void StandardErrorPrompts::ShowNotice(std::string_view languageKey) {
  shown_.insert(std::string(languageKey));
  Notice(names_.Text(languageKey));
}

bool StandardErrorPrompts::AskYesNo(std::string_view languageKey) {
  Notice(names_.Text(languageKey));
  return false;
}

}  // namespace mvk::cli
