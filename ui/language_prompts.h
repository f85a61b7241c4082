// Message boxes and file dialogs named by language key, for the layers below
// the windows (configuration files, the model's notices and questions),
// shown through the window's Prompts so tests can answer them.
#pragma once

#include "model/model_prompts.h"
#include "storage/file_prompts.h"

#include <QString>

class QWidget;

namespace mvk {

class ProgramServices;
class Prompts;

class LanguagePrompts final : public FilePrompts, public ModelPrompts {
 public:
  LanguagePrompts(ProgramServices& services, Prompts& prompts, QWidget* parent = nullptr);
  void SetParent(QWidget* parent) { parent_ = parent; }

  std::optional<std::filesystem::path> AskOpenFile(const FileDialogOptions& options) override;
  std::optional<std::filesystem::path> AskSaveFile(const FileDialogOptions& options) override;
  void ShowMessage(std::string_view languageKey, std::u16string_view argument = {}) override;
  void ShowNotice(std::string_view languageKey) override;
  bool AskYesNo(std::string_view languageKey) override;

 private:
  ProgramServices& services_;
  Prompts& prompts_;
  QWidget* parent_;
};

// A "description|pattern|…||" filter as the file dialogs take it.
QString QtFileFilter(std::u16string_view filter);

}  // namespace mvk
