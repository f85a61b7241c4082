#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <string>

#include "platform/registry.h"

namespace mvk {
namespace {

class RegistryStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path Folder() const { return dir_.path().toStdString(); }
  std::filesystem::path File() const { return Folder() / "config" / "settings"; }

  void WriteRaw(const std::string& bytes) const {
    std::filesystem::create_directories(File().parent_path());
    std::ofstream(File(), std::ios::binary) << bytes;
  }
  std::string ReadRaw(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  QTemporaryDir dir_;
};

TEST_F(RegistryStoreTest, ValuesSurviveANewStoreOnTheSameFile) {
  const std::u16string awkward = u"Überall\t\"quoted\"\\path\nnext line 漢字 🎹";
  {
    RegistryStore store(File());
    ASSERT_TRUE(store.IsOpen());
    EXPECT_TRUE(store.SetNumber("", "LANGUAGE", 0x0409));
    EXPECT_TRUE(store.SetNumber("PROFILES", "Flip", 0xFFFFFFFFu));
    EXPECT_TRUE(store.SetText("PROFILES", "Name\twith\\odd\nchars", awkward));
    EXPECT_TRUE(store.SetText("PROFILES", "Empty", u""));
  }
  const RegistryStore reopened(File());
  EXPECT_EQ(reopened.GetNumber("", "LANGUAGE"), 0x0409u);
  EXPECT_EQ(reopened.GetNumber("PROFILES", "Flip"), 0xFFFFFFFFu);
  EXPECT_EQ(reopened.GetText("PROFILES", "Name\twith\\odd\nchars"), awkward);
  EXPECT_EQ(reopened.GetText("PROFILES", "Empty"), std::u16string());
  EXPECT_EQ(reopened.GetNumber("", "Missing"), std::nullopt);
  // The same name under another key path is another value.
  EXPECT_EQ(reopened.GetNumber("PROFILES", "LANGUAGE"), std::nullopt);
}

TEST_F(RegistryStoreTest, KeyPathsAndNamesMatchWithoutRegardToCase) {
  RegistryStore store(File());
  ASSERT_TRUE(store.SetNumber("Profiles", "Flip", 1));
  EXPECT_EQ(store.GetNumber("PROFILES", "FLIP"), 1u);
  EXPECT_EQ(store.GetNumber("profiles", "flip"), 1u);

  // Writing under another spelling replaces the value rather than adding one.
  ASSERT_TRUE(store.SetNumber("PROFILES", "FLIP", 0));
  EXPECT_EQ(store.GetNumber("Profiles", "Flip"), 0u);
  ASSERT_TRUE(store.DeleteValue("pRoFiLeS", "fLiP"));
  EXPECT_EQ(store.GetNumber("Profiles", "Flip"), std::nullopt);
}

TEST_F(RegistryStoreTest, ValuesAreTyped) {
  RegistryStore store(File());
  ASSERT_TRUE(store.SetText("", "LANGUAGE", u"0409"));
  EXPECT_EQ(store.GetNumber("", "LANGUAGE"), std::nullopt);

  // A write of the other type replaces the value and its type.
  ASSERT_TRUE(store.SetNumber("", "LANGUAGE", 0x0407));
  EXPECT_EQ(store.GetNumber("", "LANGUAGE"), 0x0407u);
  EXPECT_EQ(store.GetText("", "LANGUAGE"), std::nullopt);
}

TEST_F(RegistryStoreTest, DeletingAMissingValueReportsFailureAndWritesNothing) {
  RegistryStore store(File());
  EXPECT_FALSE(store.DeleteValue("", "Nothing"));
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(RegistryStoreTest, EmptyPathReadsNothingAndWritesNothing) {
  RegistryStore store{std::filesystem::path()};
  EXPECT_FALSE(store.IsOpen());
  EXPECT_FALSE(store.SetNumber("", "LANGUAGE", 1));
  EXPECT_FALSE(store.SetText("", "LANGUAGE", u"x"));
  EXPECT_FALSE(store.DeleteValue("", "LANGUAGE"));
  EXPECT_EQ(store.GetNumber("", "LANGUAGE"), std::nullopt);
  EXPECT_EQ(store.GetText("", "LANGUAGE"), std::nullopt);
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(RegistryStoreTest, WritesReplaceTheFileWholeAndLeaveNoTemporaryFiles) {
  RegistryStore store(File());
  for (uint32_t i = 0; i < 5; ++i) ASSERT_TRUE(store.SetNumber("", "Counter", i));
  const auto entries = QDir(QString::fromStdString(File().parent_path().string()))
                           .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  EXPECT_EQ(entries, QStringList{"settings"});
  EXPECT_EQ(store.GetNumber("", "Counter"), 4u);
}

TEST_F(RegistryStoreTest, CorruptFileReadsAsEmptyAndIsKeptAsideWhenReplaced) {
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"not ours", "[Section]\nkey=value\n"},
      {"binary", std::string("\x00\xFF\x10garbage", 10)},
      {"header only misspelt", "morvakin-settings 2\n"},
      {"missing field", "morvakin-settings 1\n\tLANGUAGE\tnumber\n"},
      {"extra field", "morvakin-settings 1\n\tLANGUAGE\tnumber\t1\t2\n"},
      {"unknown type", "morvakin-settings 1\n\tLANGUAGE\tbinary\t1\n"},
      {"number too large", "morvakin-settings 1\n\tLANGUAGE\tnumber\t4294967296\n"},
      {"number not decimal", "morvakin-settings 1\n\tLANGUAGE\tnumber\t0x10\n"},
      {"empty number", "morvakin-settings 1\n\tLANGUAGE\tnumber\t\n"},
      {"bad escape", "morvakin-settings 1\n\tLANGUAGE\ttext\tab\\q\n"},
      {"escape cut off", "morvakin-settings 1\n\tLANGUAGE\ttext\tab\\\n"},
      {"invalid utf-8", "morvakin-settings 1\n\tLANGUAGE\ttext\t\xC3\x28\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WriteRaw(row.bytes);
    RegistryStore store(File());
    EXPECT_EQ(store.GetNumber("", "LANGUAGE"), std::nullopt);
    EXPECT_EQ(store.GetText("", "LANGUAGE"), std::nullopt);

    ASSERT_TRUE(store.SetNumber("", "Flip", 1));
    EXPECT_EQ(store.GetNumber("", "Flip"), 1u);
    EXPECT_EQ(ReadRaw(std::filesystem::path(File()) += ".bad"), row.bytes);
  }
}

TEST_F(RegistryStoreTest, ValidFileWithHandEditsStillReads) {
  // A missing final line break, blank lines and a repeated value (the last wins).
  WriteRaw(
      "morvakin-settings 1\n\n\tLANGUAGE\tnumber\t1\n\n"
      "\tlanguage\tnumber\t2\nPROFILES\tName\ttext\tA\\tB");
  const RegistryStore store(File());
  EXPECT_EQ(store.GetNumber("", "LANGUAGE"), 2u);
  EXPECT_EQ(store.GetText("PROFILES", "Name"), u"A\tB");
}

TEST_F(RegistryStoreTest, FileThatCannotBeReadIsNeverOverwritten) {
  // A folder where the file should be: it exists but cannot be read as a file.
  std::filesystem::create_directories(File() / "inside");
  RegistryStore store(File());
  EXPECT_EQ(store.GetNumber("", "LANGUAGE"), std::nullopt);
  EXPECT_FALSE(store.SetNumber("", "LANGUAGE", 1));
  EXPECT_TRUE(std::filesystem::exists(File() / "inside"));
}

TEST_F(RegistryStoreTest, RefusesTextsAndNamesThatCannotBeStoredFaithfully) {
  RegistryStore store(File());
  const char16_t loneSurrogate[] = {u'a', char16_t(0xD800), u'b'};
  EXPECT_FALSE(store.SetText("", "Name", std::u16string_view(loneSurrogate, 3)));
  EXPECT_FALSE(store.SetNumber("", "\xC3\x28", 1));
  EXPECT_FALSE(std::filesystem::exists(File()));
}

}  // namespace
}  // namespace mvk
