#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/ini_file.h"

namespace mvk {
namespace {

TEST(CIniFile, EmptyResultIsNoneAndLongValuesFit) {
  QTemporaryDir dir;
  const CIniFile file(std::filesystem::path(dir.path().toStdString()) / "devu.ini");
  EXPECT_EQ(file.GetString(u"S", u"k", u""), std::nullopt);
  EXPECT_EQ(file.GetString(u"S", u"k", u"fallback"), u"fallback");
  ASSERT_TRUE(file.WriteString(u"S", u"k", std::u16string(3000, u'v')));
  EXPECT_EQ(file.GetString(u"S", u"k", u"")->size(), 2047u);
  ASSERT_TRUE(file.WriteString(u"S", u"k", u""));
  EXPECT_EQ(file.GetString(u"S", u"k", u"fallback"), std::nullopt);
}

TEST(CIniFile, KeepsPathsLongerThanAWindowsBuffer) {
  QTemporaryDir dir;
  std::filesystem::path folder = dir.path().toStdString();
  while (folder.native().size() < 300) folder /= std::string(40, 'd');
  std::filesystem::create_directories(folder);
  const CIniFile file(folder / "long.ini");
  ASSERT_TRUE(file.WriteString(u"S", u"k", u"v"));
  EXPECT_EQ(file.GetString(u"S", u"k", u""), u"v");
  EXPECT_TRUE(std::filesystem::exists(folder / "long.ini"));
}

}  // namespace
}  // namespace mvk
