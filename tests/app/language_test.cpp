#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "app/language.h"

namespace mvk {
namespace {

class LanguageTest : public ::testing::Test {
 protected:
  std::filesystem::path Folder() const { return dir_.path().toStdString(); }
  RegistryStore Settings() const { return RegistryStore(Folder() / "settings"); }
  void WriteLanguageFile(const std::string& name, const std::string& text) const {
    std::ofstream(Folder() / name, std::ios::binary) << text;
  }

  QTemporaryDir dir_;
};

TEST_F(LanguageTest, ResolveMakesTheStoredValueUsable) {
  const struct {
    const char* what;
    std::optional<uint32_t> storedNumber;
    std::optional<std::u16string> storedText;
    uint16_t system;
    uint32_t resolved;
  } rows[] = {
      {"first run on a Chinese system", std::nullopt, std::nullopt, 0x0804, 0x0409},
      {"first run on a British system", std::nullopt, std::nullopt, 0x0809, 0x0409},
      {"zero means not chosen", 0, std::nullopt, 0x0407, 0x0409},
      {"set by hand stays", 0x0804, std::nullopt, 0x0409, 0x0804},
      {"stored as text", std::nullopt, u"1033", 0x0804, 0x0409},
  };
  for (const auto& row : rows) {
    std::filesystem::remove(Folder() / "settings");
    RegistryStore settings = Settings();
    if (row.storedNumber) settings.SetNumber("", "LANGUAGE", *row.storedNumber);
    if (row.storedText) settings.SetText("", "LANGUAGE", *row.storedText);
    EXPECT_EQ(ResolveLanguage(settings, row.system), row.resolved) << row.what;
    EXPECT_EQ(settings.GetNumber("", "LANGUAGE"), row.resolved) << row.what;
    EXPECT_EQ(LanguageIndex(settings, row.system), 0) << row.what;
  }
}

TEST_F(LanguageTest, ClosedSettingsStillResolve) {
  RegistryStore closed{std::filesystem::path()};
  EXPECT_EQ(ResolveLanguage(closed, 0x0804), 0x0409u);
  EXPECT_EQ(LanguageIndex(closed, 0x0804), 0);
}

TEST(LanguageIdOfLocale, MapsPosixLocaleNames) {
  const struct {
    const char* locale;
    uint16_t id;
  } rows[] = {
      {"en_US.UTF-8", 0x0409}, {"en_GB.UTF-8", 0x0809}, {"en_AU", 0x0C09},
      {"en_CA.utf8", 0x1009},  {"zh_CN.GB18030", 0x0804}, {"zh_TW.UTF-8", 0x0404},
      {"de_DE@euro", 0x0407},  {"de_AT.UTF-8", 0x0C07},  {"fr_FR.UTF-8", 0x040C},
      {"ja_JP.eucJP", 0x0411}, {"de", 0x0407},           {"fr_XX", 0x040C},
      {"C", 0x0409},           {"C.UTF-8", 0x0409},      {"POSIX", 0x0409},
      {"xx_YY", 0x0409},       {"", 0x0409},
  };
  for (const auto& row : rows) EXPECT_EQ(LanguageIdOfLocale(row.locale), row.id) << row.locale;
}

TEST(SystemLanguage, FirstNonEmptyOfLcAllLcMessagesLang) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  std::vector<Saved> saved;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
  }
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    uint16_t id;
  } rows[] = {
      {"de_DE.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8", 0x0407},
      {"", "fr_FR.UTF-8", "ja_JP.UTF-8", 0x040C},
      {"", "", "ja_JP.UTF-8", 0x0411},
      {"", "", "", 0x0409},
  };
  for (const auto& row : rows) {
    setenv("LC_ALL", row.lcAll, 1);
    setenv("LC_MESSAGES", row.lcMessages, 1);
    setenv("LANG", row.lang, 1);
    EXPECT_EQ(SystemLanguage(), row.id) << row.lcAll << "|" << row.lcMessages << "|" << row.lang;
  }
  for (const Saved& variable : saved) {
    if (variable.value) {
      setenv(variable.name, variable.value->c_str(), 1);
    } else {
      unsetenv(variable.name);
    }
  }
}

TEST_F(LanguageTest, TextsBySectionWithErrorFallback) {
  WriteLanguageFile("Lang0409.ini",
                    "[TEXT]\nMAIN_CAPTION=Morvakin\nEMPTY_TEXT=\nUNKNOWN_KEY=Key %03X\n"
                    "[LIGHT]\nLIGHT_WAVE=Wave\n[MODE]\nMODE_1=Mode 1\n");
  const LanguageTexts texts(Folder());
  EXPECT_EQ(texts.FilePath(0), Folder() / "Lang0409.ini");
  for (int index : {0, 1, 2, -1}) {
    EXPECT_EQ(texts.GetLangText("main_caption", index), u"Morvakin") << index;
  }
  EXPECT_EQ(texts.GetLangText("EMPTY_TEXT", 0), u"");
  EXPECT_EQ(texts.GetLangText("NO_SUCH_TEXT", 0), u"#Error");
  EXPECT_EQ(texts.GetLangText("LIGHT_WAVE", 0), u"#Error");
  EXPECT_EQ(texts.GetLightText("LIGHT_WAVE", 0), u"Wave");
  EXPECT_EQ(texts.GetModeText("MODE_1", 0), u"Mode 1");
  EXPECT_EQ(KeyName(0x064, texts.KeyTexts(0)), u"Key 064");
}

TEST_F(LanguageTest, MissingFileGivesErrorText) {
  const LanguageTexts texts(Folder());
  EXPECT_EQ(texts.GetLangText("MAIN_CAPTION", 0), u"#Error");
  EXPECT_EQ(texts.GetModeText("MODE_1", 0), u"#Error");
}

TEST_F(LanguageTest, LongTextsAreCutTo259Characters) {
  WriteLanguageFile("Lang0409.ini", "[TEXT]\nLONG=" + std::string(400, 'x') + "\n");
  EXPECT_EQ(LanguageTexts(Folder()).GetLangText("LONG", 0).size(), 259u);
}

}  // namespace
}  // namespace mvk
