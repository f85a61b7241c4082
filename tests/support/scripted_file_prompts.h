// File dialogs and message boxes answered from a script, and a main window
// stand-in that counts what it was asked to do.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_prompts.h"

namespace mvk::test {

class ScriptedFilePrompts : public FilePrompts {
 public:
  std::optional<std::filesystem::path> AskOpenFile(const FileDialogOptions& options) override {
    dialogs.push_back(options);
    return chosenFile;
  }
  std::optional<std::filesystem::path> AskSaveFile(const FileDialogOptions& options) override {
    dialogs.push_back(options);
    return chosenFile;
  }
  void ShowMessage(std::string_view languageKey, std::u16string_view argument) override {
    messages.emplace_back(languageKey);
    arguments.emplace_back(argument);
  }

  // The file every dialog returns; nullopt answers Cancel.
  std::optional<std::filesystem::path> chosenFile;
  std::vector<FileDialogOptions> dialogs;
  std::vector<std::string> messages;
  std::vector<std::u16string> arguments;
};

class ScriptedConfigWindow : public ConfigWindow {
 public:
  void RefreshKeyButtons() override { ++refreshes; }
  void EnableApply(bool enable) override { applyStates.push_back(enable); }

  int refreshes = 0;
  std::vector<bool> applyStates;
};

}  // namespace mvk::test
