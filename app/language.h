// The program's words: which language is chosen (the "LANGUAGE" value of
// the settings store, else the system's language) and texts by key from the
// language file "Lang%04X.ini" in the program folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "model/keys.h"
#include "platform/registry.h"

namespace mvk {

inline constexpr uint16_t kDefaultLanguageId = 0x0409;
inline constexpr std::string_view kLanguageValueName = "LANGUAGE";

// Sent to every window that shows language texts; lParam is the index.
inline constexpr uint32_t kLanguageChangeMessage = 0x5041;
inline constexpr uint32_t kLanguageChangeTag = 0x4C414E47;  // "LANG"

// Shown where a text is missing from the language file.
inline constexpr std::u16string_view kMissingText = u"#Error";

std::span<const uint16_t> SupportedLanguages();

// Windows language identifier of a POSIX locale name such as "de_DE.UTF-8";
// C, POSIX and unknown locales give 0x0409.
uint16_t LanguageIdOfLocale(std::string_view locale);

// The first non-empty of LC_ALL, LC_MESSAGES and LANG, as an identifier.
uint16_t SystemLanguage();

// Regional variants of English and Chinese that have no file of their own
// fall back to 0x0409; every other identifier maps to itself.
uint16_t MapSystemLanguage(uint16_t languageId);

// Makes sure "LANGUAGE" holds a usable identifier and returns it: a missing
// or non-numeric value becomes 0, and 0 becomes the system language when it
// is supported, else 0x0409.
uint32_t ResolveLanguage(RegistryStore& settings, uint16_t systemLanguage = SystemLanguage());

// Position of the resolved language in the supported list, 0 when absent.
int LanguageIndex(RegistryStore& settings, uint16_t systemLanguage = SystemLanguage());

// Texts of the language files in one program folder.
class LanguageTexts {
 public:
  explicit LanguageTexts(std::filesystem::path programFolder);

  // Any index outside the supported list reads the first language's file.
  std::filesystem::path FilePath(int languageIndex) const;

  // Texts from the sections "TEXT", "LIGHT" and "MODE": "#Error" when the
  // file or the key is missing, empty when the key has an empty value.
  std::u16string GetLangText(std::string_view key, int languageIndex) const;
  std::u16string GetLightText(std::string_view key, int languageIndex) const;
  std::u16string GetModeText(std::string_view key, int languageIndex) const;

  // GetLangText bound to an index, for the key tables' names.
  KeyTextLookup KeyTexts(int languageIndex) const;

 private:
  std::u16string Text(std::u16string_view section, std::string_view key, int languageIndex) const;

  std::filesystem::path programFolder_;
};

}  // namespace mvk
