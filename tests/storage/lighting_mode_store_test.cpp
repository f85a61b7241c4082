#include "storage/lighting_mode_store.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "platform/ini.h"
#include "storage/file_bytes.h"

namespace mvk {
namespace {

std::string FileText(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class LightingModeStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path Dir() const { return dir_.path().toStdString(); }

  void WriteTemplate(const std::string& text) {
    std::ofstream(Dir() / "UserDengColor_3.userd") << text;
  }

  // A value as another program (or an older version) may have left it.
  bool WriteRaw(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    return EnsureConfigFolder(store_.Folder()) &&
           WriteIniString(UserModeFilePath(store_.Folder(), 0), section, key, value);
  }

  QTemporaryDir dir_;
  LightingModeStore store_{ConfigFolder{Dir() / "config", Dir() / "UserDengColor_3.userd"}};
};

TEST_F(LightingModeStoreTest, FreshSystemReadsDefaults) {
  EXPECT_FALSE(store_.ReadLightView());
  for (int profile = 0; profile < 3; ++profile) {
    EXPECT_EQ(store_.ReadPresentMode(profile), 0);
    for (int mode = 0; mode < kUserModeCount; ++mode) {
      EXPECT_EQ(store_.ReadModeName(profile, mode), u"0");
      EXPECT_EQ(store_.ReadModeSettings(profile, mode), ModeSettings{});
      for (const int led : {0, 22, 110, 125}) {
        EXPECT_EQ(store_.ReadKeyEntry(profile, mode, led), (KeyEntry{ColourOf(255, 0, 0), true}));
      }
    }
  }
  EXPECT_FALSE(std::filesystem::exists(Dir() / "config")) << "reading creates nothing";
}

TEST_F(LightingModeStoreTest, PaintedKeyIsWrittenUnderItsModeAndLed) {
  ASSERT_TRUE(store_.WriteKeyEntry(1, 3, 22, {ColourOf(0, 255, 0), true}));
  const auto file = UserModeFilePath(store_.Folder(), 1);
  EXPECT_EQ(file.filename(), "UserDengColor_1.userd");
  EXPECT_EQ(ReadIniString(file, u"Mode3", u"22", u""), u"0,255,0,1");
  EXPECT_NE(FileText(file).find("22=0,255,0,1"), std::string::npos);
  EXPECT_EQ(store_.ReadKeyEntry(1, 3, 22), (KeyEntry{ColourOf(0, 255, 0), true}));
  EXPECT_EQ(store_.ReadKeyEntry(1, 2, 22), KeyEntry{}) << "other modes untouched";
  EXPECT_EQ(store_.ReadKeyEntry(0, 3, 22), KeyEntry{}) << "other profiles untouched";
}

TEST_F(LightingModeStoreTest, LightViewSwitchIsKeptInSettingsFile) {
  ASSERT_TRUE(store_.WriteLightView(true));
  EXPECT_TRUE(store_.ReadLightView());
  ASSERT_TRUE(store_.WriteLightView(false));
  EXPECT_EQ(ReadIniString(LightSettingsFilePath(store_.Folder()), u"KEYCOLOR", u"DengCheck", u""),
            u"0");
  EXPECT_FALSE(store_.ReadLightView());
  EXPECT_EQ(LightSettingsFilePath(store_.Folder()).filename(), "devu.ini");
}

TEST_F(LightingModeStoreTest, ModeValuesRoundTrip) {
  const ModeSettings settings{kToolMark, ColourOf(1, 2, 3), ColourOf(250, 128, 0)};
  ASSERT_TRUE(store_.WriteModeSettings(2, 9, settings));
  ASSERT_TRUE(store_.WritePresentMode(2, 9));
  ASSERT_TRUE(store_.WriteModeName(2, 9, u"Nacht"));
  EXPECT_EQ(store_.ReadModeSettings(2, 9), settings);
  EXPECT_EQ(store_.ReadPresentMode(2), 9);
  EXPECT_EQ(store_.ReadModeName(2, 9), u"Nacht");
  const auto file = UserModeFilePath(store_.Folder(), 2);
  EXPECT_EQ(ReadIniString(file, u"Mode9", u"jcolor", u""), u"1,2,3");
  EXPECT_EQ(ReadIniString(file, u"Mode9", u"tool", u""), u"1");

  EXPECT_FALSE(store_.WritePresentMode(3, 0));
  EXPECT_FALSE(store_.WritePresentMode(0, 10));
  EXPECT_FALSE(store_.WriteKeyEntry(0, 0, 126, {}));
}

struct ValueCase {
  const char* name;
  const char16_t* key;
  const char16_t* value;
  KeyEntry entry;
  friend void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }
};

class KeyEntryValueTest : public LightingModeStoreTest,
                          public ::testing::WithParamInterface<ValueCase> {};

TEST_P(KeyEntryValueTest, ReadsAsExpected) {
  ASSERT_TRUE(WriteRaw(u"Mode0", GetParam().key, GetParam().value));
  EXPECT_EQ(store_.ReadKeyEntry(0, 0, 40), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Values, KeyEntryValueTest,
    ::testing::Values(ValueCase{"Unmarked", u"40", u"1,2,3,0", {ColourOf(1, 2, 3), false}},
                      ValueCase{"AnyMarkIsOne", u"40", u"1,2,3,7", {ColourOf(1, 2, 3), true}},
                      ValueCase{"Blanks", u"40", u" 1, 2 ,3 ,0", {ColourOf(1, 2, 3), false}},
                      ValueCase{"PartsOutOfRange", u"40", u"300,-4,3,0", {ColourOf(255, 0, 3), false}},
                      ValueCase{"TooFewParts", u"40", u"1,2,3", KeyEntry{}},
                      ValueCase{"TooManyParts", u"40", u"1,2,3,0,5", KeyEntry{}},
                      ValueCase{"NotNumbers", u"40", u"red,green,blue,1", KeyEntry{}},
                      ValueCase{"OtherKey", u"41", u"1,2,3,0", KeyEntry{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LightingModeStoreTest, OutOfRangeModeAndToolReadAsDefaults) {
  ASSERT_TRUE(WriteRaw(u"PRESENTMODE", u"mode", u"12"));
  ASSERT_TRUE(WriteRaw(u"Mode0", u"tool", u"2"));
  ASSERT_TRUE(WriteRaw(u"Mode0", u"color", u"9,9"));
  EXPECT_EQ(store_.ReadPresentMode(0), 0);
  EXPECT_EQ(store_.ReadModeSettings(0, 0), ModeSettings{});
}

TEST_F(LightingModeStoreTest, FolderIsSeededOnceFromTemplate) {
  WriteTemplate("[PRESENTMODE]\nmode=4\n[MODENAME]\n4=Blue\n");
  ASSERT_TRUE(EnsureConfigFolder(store_.Folder()));
  const auto seeded = test::ReadFileBytes(Dir() / "UserDengColor_3.userd");
  for (int profile = 0; profile < 3; ++profile) {
    EXPECT_EQ(test::ReadFileBytes(UserModeFilePath(store_.Folder(), profile)), seeded);
  }
  EXPECT_EQ(store_.ReadPresentMode(1), 4);
  EXPECT_EQ(store_.ReadModeName(1, 4), u"Blue");

  ASSERT_TRUE(store_.WritePresentMode(1, 6));
  std::filesystem::remove(UserModeFilePath(store_.Folder(), 2));
  ASSERT_TRUE(EnsureConfigFolder(store_.Folder()));
  EXPECT_EQ(store_.ReadPresentMode(1), 6) << "an existing folder is not seeded again";
  EXPECT_FALSE(std::filesystem::exists(UserModeFilePath(store_.Folder(), 2)));
}

TEST_F(LightingModeStoreTest, FirstWriteSeedsFolderBeforeWriting) {
  WriteTemplate("[MODENAME]\n0=Template\n");
  ASSERT_TRUE(store_.WritePresentMode(0, 2));
  EXPECT_EQ(store_.ReadModeName(0, 0), u"Template");
  EXPECT_EQ(store_.ReadModeName(1, 0), u"Template");
  EXPECT_EQ(store_.ReadPresentMode(0), 2);
}

TEST_F(LightingModeStoreTest, ResetCopiesTemplateOverEveryProfile) {
  WriteTemplate("[MODENAME]\n0=Template\n");
  ASSERT_TRUE(store_.WriteModeName(0, 0, u"Mine"));
  ASSERT_TRUE(store_.WriteKeyEntry(2, 0, 5, {ColourOf(0, 0, 9), false}));
  store_.ResetUserModes();
  EXPECT_EQ(store_.ReadModeName(0, 0), u"Template");
  EXPECT_EQ(store_.ReadKeyEntry(2, 0, 5), KeyEntry{});

  std::filesystem::remove(Dir() / "UserDengColor_3.userd");
  store_.ResetUserModes();
  for (int profile = 0; profile < 3; ++profile) {
    EXPECT_EQ(std::filesystem::file_size(UserModeFilePath(store_.Folder(), profile)), 0u);
  }
  EXPECT_EQ(store_.ReadModeName(0, 0), u"0");
}

}  // namespace
}  // namespace mvk
