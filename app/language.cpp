#include "app/language.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/ini.h"

namespace mvk {
namespace {

constexpr std::array<uint16_t, 1> kSupportedLanguages = {kDefaultLanguageId};

constexpr std::array<uint16_t, 12> kLanguagesReadAsEnglish = {
    0x0C04, 0x1004, 0x0809, 0x0C09, 0x1009, 0x1409,
    0x1809, 0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09,
};

struct LocaleRow {
  std::string_view language;
  std::string_view territory;
  uint16_t id;
};

// The first row of each language is also used when the locale names no
// territory, or one missing from this table.
constexpr LocaleRow kLocales[] = {
    {"en", "US", 0x0409}, {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009},
    {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09}, {"en", "JM", 0x2009},
    {"en", "BZ", 0x2809}, {"en", "TT", 0x2C09}, {"en", "PH", 0x3409}, {"en", "IN", 0x4009},
    {"en", "MY", 0x4409}, {"en", "SG", 0x4809},
    {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004},
    {"zh", "MO", 0x1404},
    {"de", "DE", 0x0407}, {"de", "CH", 0x0807}, {"de", "AT", 0x0C07}, {"de", "LU", 0x1007},
    {"de", "LI", 0x1407},
    {"fr", "FR", 0x040C}, {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C},
    {"fr", "LU", 0x140C},
    {"es", "ES", 0x0C0A}, {"es", "MX", 0x080A}, {"es", "AR", 0x2C0A}, {"es", "CL", 0x340A},
    {"es", "CO", 0x240A}, {"es", "US", 0x540A},
    {"it", "IT", 0x0410}, {"it", "CH", 0x0810},
    {"pt", "BR", 0x0416}, {"pt", "PT", 0x0816},
    {"nl", "NL", 0x0413}, {"nl", "BE", 0x0813},
    {"sv", "SE", 0x041D}, {"sv", "FI", 0x081D},
    {"ja", "JP", 0x0411}, {"ko", "KR", 0x0412}, {"ru", "RU", 0x0419}, {"uk", "UA", 0x0422},
    {"pl", "PL", 0x0415}, {"cs", "CZ", 0x0405}, {"sk", "SK", 0x041B}, {"hu", "HU", 0x040E},
    {"ro", "RO", 0x0418}, {"bg", "BG", 0x0402}, {"hr", "HR", 0x041A}, {"sl", "SI", 0x0424},
    {"el", "GR", 0x0408}, {"tr", "TR", 0x041F}, {"da", "DK", 0x0406}, {"fi", "FI", 0x040B},
    {"nb", "NO", 0x0414}, {"nn", "NO", 0x0814}, {"et", "EE", 0x0425}, {"lv", "LV", 0x0426},
    {"lt", "LT", 0x0427}, {"ca", "ES", 0x0403}, {"he", "IL", 0x040D}, {"ar", "SA", 0x0401},
    {"th", "TH", 0x041E}, {"vi", "VN", 0x042A}, {"id", "ID", 0x0421}, {"hi", "IN", 0x0439},
};

constexpr std::u16string_view kTextSection = u"TEXT";
constexpr std::u16string_view kLightSection = u"LIGHT";
constexpr std::u16string_view kModeSection = u"MODE";
constexpr std::string_view kProgramKeyPath = "";

std::u16string FromAscii(std::string_view text) { return {text.begin(), text.end()}; }

bool IsSupported(uint32_t languageId) {
  return std::find(kSupportedLanguages.begin(), kSupportedLanguages.end(), languageId) !=
         kSupportedLanguages.end();
}

}  // namespace

std::span<const uint16_t> SupportedLanguages() { return kSupportedLanguages; }

uint16_t LanguageIdOfLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  const size_t separator = name.find_first_of("_-");
  const std::string_view language = name.substr(0, separator);
  const std::string_view territory =
      separator == std::string_view::npos ? std::string_view() : name.substr(separator + 1);
  const LocaleRow* first = nullptr;
  for (const LocaleRow& row : kLocales) {
    if (row.language != language) continue;
    if (row.territory == territory) return row.id;
    if (first == nullptr) first = &row;
  }
  return first != nullptr ? first->id : kDefaultLanguageId;
}

uint16_t SystemLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LanguageIdOfLocale(value);
  }
  return kDefaultLanguageId;
}

uint16_t MapSystemLanguage(uint16_t languageId) {
  const bool readAsEnglish =
      std::find(kLanguagesReadAsEnglish.begin(), kLanguagesReadAsEnglish.end(), languageId) !=
      kLanguagesReadAsEnglish.end();
  return readAsEnglish ? kDefaultLanguageId : languageId;
}

uint32_t ResolveLanguage(RegistryStore& settings, uint16_t systemLanguage) {
  uint32_t language = 0;
  if (const auto stored = settings.GetNumber(kProgramKeyPath, kLanguageValueName)) {
    language = *stored;
  } else {
    settings.SetNumber(kProgramKeyPath, kLanguageValueName, 0);
  }
  if (language == 0) {
    const uint16_t mapped = MapSystemLanguage(systemLanguage);
    language = IsSupported(mapped) ? mapped : kDefaultLanguageId;
    settings.SetNumber(kProgramKeyPath, kLanguageValueName, language);
  }
  return language;
}

int LanguageIndex(RegistryStore& settings, uint16_t systemLanguage) {
  const uint32_t language = ResolveLanguage(settings, systemLanguage);
  const auto found = std::find(kSupportedLanguages.begin(), kSupportedLanguages.end(), language);
  return found != kSupportedLanguages.end() ? int(found - kSupportedLanguages.begin()) : 0;
}

LanguageTexts::LanguageTexts(std::filesystem::path programFolder)
    : programFolder_(std::move(programFolder)) {}

std::filesystem::path LanguageTexts::FilePath(int languageIndex) const {
  const bool listed = languageIndex >= 0 && size_t(languageIndex) < kSupportedLanguages.size();
  char name[16];
  std::snprintf(name, sizeof name, "Lang%04X.ini",
                unsigned(kSupportedLanguages[listed ? size_t(languageIndex) : 0]));
  return programFolder_ / name;
}

std::u16string LanguageTexts::Text(std::u16string_view section, std::string_view key,
                                   int languageIndex) const {
  return ReadIniString(FilePath(languageIndex), section, FromAscii(key), kMissingText);
}

std::u16string LanguageTexts::GetLangText(std::string_view key, int languageIndex) const {
  return Text(kTextSection, key, languageIndex);
}

std::u16string LanguageTexts::GetLightText(std::string_view key, int languageIndex) const {
  return Text(kLightSection, key, languageIndex);
}

std::u16string LanguageTexts::GetModeText(std::string_view key, int languageIndex) const {
  return Text(kModeSection, key, languageIndex);
}

KeyTextLookup LanguageTexts::KeyTexts(int languageIndex) const {
  return [texts = *this, languageIndex](std::string_view key) {
    return texts.GetLangText(key, languageIndex);
  };
}

}  // namespace mvk
