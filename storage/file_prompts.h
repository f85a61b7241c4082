// What the configuration files need of the user interface: file dialogs and
// message boxes (FilePrompts), and the main window's key buttons and Apply
// button (ConfigWindow). The windows implement both; tests script them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mvk {

inline constexpr std::string_view kProfileFormatErrorText = "PROFILE_FORMAT_ERROR";
inline constexpr std::string_view kImportFailedText = "MAIN_PROMPT_INPORT";

// A file dialog as the configuration commands open it: the read-only check
// box is always hidden.
struct FileDialogOptions {
  std::u16string defaultExtension;
  std::u16string initialName;
  // Pairs of description and pattern, "|"-separated, ending in "||".
  std::u16string filter;
  bool overwritePrompt = false;
};

class FilePrompts {
 public:
  virtual ~FilePrompts() = default;
  // The chosen file, or nullopt when the user cancelled.
  virtual std::optional<std::filesystem::path> AskOpenFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::filesystem::path> AskSaveFile(const FileDialogOptions& options) = 0;
  // An OK message box with the language text of `languageKey`; a "%s" in
  // that text stands for `argument` (see FillTextArgument).
  virtual void ShowMessage(std::string_view languageKey, std::u16string_view argument = {}) = 0;
};

class ConfigWindow {
 public:
  virtual ~ConfigWindow() = default;
  // Redraws every key button from the working configuration.
  virtual void RefreshKeyButtons() = 0;
  virtual void EnableApply(bool enable) = 0;
};

// Puts `argument` in place of the first "%s" of a language text; "%%" gives
// "%". Other conversions are left as they stand: the text comes from a file
// and is never handed to printf.
std::u16string FillTextArgument(std::u16string_view text, std::u16string_view argument);

}  // namespace mvk
