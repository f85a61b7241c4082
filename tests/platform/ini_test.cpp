#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "platform/ini.h"

namespace mvk {
namespace {

class IniTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& bytes) {
    std::ofstream(file_, std::ios::binary) << bytes;
    return file_;
  }
  std::string Contents() const {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  QTemporaryDir dir_;
  std::filesystem::path file_ = dir_.filePath("test.ini").toStdString();
};

TEST_F(IniTest, ReadsValuesAsWindowsDoes) {
  Write(
      "\xEF\xBB\xBF; a comment=not a key\r\n"
      "[Text]\r\n"
      "Caption = Morvakin  \r\n"
      "EMPTY=\r\n"
      "List=1,2, 3,4,x\r\n"
      "Quoted=\"  padded  \"\r\n"
      "Half=\"open\r\n"
      "Inner=a \"b\" c\r\n"
      "Caption=second\r\n"
      "Unicode=Tast\xC3\xA4tur\r\n"
      "[Other]\r\n"
      "Key=other\r\n"
      "[TEXT]\r\n"
      "Late=ignored\r\n");
  const struct {
    std::u16string section;
    std::u16string key;
    std::u16string value;
  } rows[] = {
      {u"TEXT", u"CAPTION", u"Morvakin"},  // any case, blanks trimmed, first wins
      {u"text", u"empty", u""},            // empty, not the default
      {u"TEXT", u"LIST", u"1,2, 3,4,x"},
      {u"TEXT", u"Quoted", u"  padded  "},
      {u"TEXT", u"Half", u"\"open"},
      {u"TEXT", u"Inner", u"a \"b\" c"},
      {u"TEXT", u"Unicode", u"Tastätur"},
      {u"TEXT", u"Key", u"#Error"},  // in another section
      {u"TEXT", u"Late", u"#Error"},  // only the first section of a name counts
      {u"TEXT", u"; a comment", u"#Error"},
      {u"MISSING", u"Key", u"#Error"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReadIniString(file_, row.section, row.key, u"#Error"), row.value)
        << QString::fromStdU16String(row.key).toStdString();
  }
}

TEST_F(IniTest, MissingFileGivesDefault) {
  EXPECT_EQ(ReadIniString(file_, u"TEXT", u"KEY", u"#Error"), u"#Error");
  EXPECT_EQ(ReadIniString(dir_.path().toStdString(), u"TEXT", u"KEY", u"dir"), u"dir");
}

TEST_F(IniTest, CutsValueAndDefaultAtCapacity) {
  Write("[S]\nLong=" + std::string(300, 'v') + "\n");
  EXPECT_EQ(ReadIniString(file_, u"S", u"Long", u""), std::u16string(259, u'v'));
  EXPECT_EQ(ReadIniString(file_, u"S", u"Long", u"", 2048).size(), 300u);
  EXPECT_EQ(ReadIniString(file_, u"S", u"None", std::u16string(300, u'd')).size(), 259u);
  EXPECT_EQ(ReadIniString(file_, u"S", u"Long", u"", 0), u"");
}

TEST_F(IniTest, ReadsUtf16FilesWithByteOrderMark) {
  const std::u16string text = u"[TEXT]\r\nKEY=W\u00e4rt\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  Write(bytes);
  EXPECT_EQ(ReadIniString(file_, u"text", u"key", u""), u"W\u00e4rt");
}

TEST_F(IniTest, WriteReplacesOneLineAndKeepsTheRest) {
  Write("; settings\n[A]\nx = 1 ; old\ny=2\n\n[B]\nz=3\n");
  ASSERT_TRUE(WriteIniString(file_, u"a", u"X", u"10"));
  EXPECT_EQ(Contents(), "; settings\n[A]\nx=10\ny=2\n\n[B]\nz=3\n");
}

TEST_F(IniTest, WriteAppendsNewKeyToItsSectionAndNewSectionAtEnd) {
  Write("[A]\r\nx=1\r\n\r\n[B]\r\nz=3");
  ASSERT_TRUE(WriteIniString(file_, u"A", u"w", u"0"));
  ASSERT_TRUE(WriteIniString(file_, u"C", u"k", u"v"));
  EXPECT_EQ(Contents(), "[A]\r\nx=1\r\nw=0\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nk=v\r\n");
}

TEST_F(IniTest, WriteKeepsByteOrderMarkAndCreatesMissingFile) {
  ASSERT_TRUE(WriteIniString(file_, u"S", u"k", u"v"));
  EXPECT_EQ(Contents(), "[S]\nk=v\n");
  Write("\xEF\xBB\xBF[S]\nk=v\n");
  ASSERT_TRUE(WriteIniString(file_, u"S", u"k", u"\u00e9"));
  EXPECT_EQ(Contents(), "\xEF\xBB\xBF[S]\nk=\xC3\xA9\n");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"test.ini"});
}

TEST_F(IniTest, WrittenValuesReadBackUnchanged) {
  const std::u16string values[] = {u"", u"plain", u"  padded  ", u"\"quoted\"", u"'single'",
                                   u"a,b,c", u"x=y;z"};
  for (const auto& value : values) {
    ASSERT_TRUE(WriteIniString(file_, u"S", u"k", value));
    EXPECT_EQ(ReadIniString(file_, u"S", u"k", u"#Error"), value);
  }
}

TEST_F(IniTest, WriteRefusesWhatWouldNotReadBack) {
  Write("[S]\nk=v\n");
  const struct {
    std::u16string section;
    std::u16string key;
    std::u16string value;
  } rows[] = {
      {u"S", u"k", u"two\nlines"}, {u"S", u"k", u"cr\r"},  {u"S", u"a=b", u"v"},
      {u"S", u"", u"v"},           {u"S", u"  ", u"v"},    {u"S", u"[k]", u"v"},
      {u"S", u";k", u"v"},         {u"S]", u"k", u"v"},    {u"S\n", u"k", u"v"},
  };
  for (const auto& row : rows) {
    EXPECT_FALSE(WriteIniString(file_, row.section, row.key, row.value));
  }
  EXPECT_EQ(Contents(), "[S]\nk=v\n");
}

TEST_F(IniTest, WriteFailsWithoutTouchingWhatItCannotRead) {
  EXPECT_FALSE(WriteIniString(dir_.path().toStdString(), u"S", u"k", u"v"));
  EXPECT_FALSE(WriteIniString(file_.parent_path() / "missing" / "x.ini", u"S", u"k", u"v"));
}

TEST_F(IniTest, EnumeratesKeysOfFirstSection) {
  Write("[S]\nOne=1\n; Two=2\nthree=\nnot a key\n[T]\nfour=4\n[s]\nfive=5\n");
  EXPECT_EQ(ReadIniKeys(file_, u"s"), (std::vector<std::u16string>{u"One", u"three"}));
  EXPECT_TRUE(ReadIniKeys(file_, u"X").empty());
}

}  // namespace
}  // namespace mvk
