#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "app/skin_geometry.h"

namespace mvk {
namespace {

TEST(ParseSkinGeometry, ReadsFourNumbersAndIgnoresTheRest) {
  const struct {
    std::u16string entry;
    std::optional<SkinGeometry> geometry;
  } rows[] = {
      {u"10,20,30,40", SkinGeometry{10, 20, 30, 40}},
      {u"10,20,30,40,further text", SkinGeometry{10, 20, 30, 40}},
      {u"10,20,30,40x", SkinGeometry{10, 20, 30, 40}},
      {u" 5, +6,\t7,-8", SkinGeometry{5, 6, 7, -8}},
      {u"1,1,1,1,x", SkinGeometry{1, 1, 1, 1}},
      {u"10 ,20,30,40", std::nullopt},  // a blank before a comma ends the scan
      {u"10,20,30", std::nullopt},
      {u"10,20,,40", std::nullopt},
      {u"x,1,1,1", std::nullopt},
      {u"", std::nullopt},
      {u"2147483648,0,0,0", std::nullopt},
      {u"-2147483648,0,0,0", SkinGeometry{-2147483647 - 1, 0, 0, 0}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ParseSkinGeometry(row.entry), row.geometry)
        << std::string(row.entry.begin(), row.entry.end());
  }
}

TEST(SkinGeometry, DisabledOnlyAtOneOne) {
  EXPECT_TRUE((SkinGeometry{1, 1, 80, 20}.Disabled()));
  EXPECT_FALSE((SkinGeometry{1, 2, 1, 1}.Disabled()));
  EXPECT_FALSE((SkinGeometry{0, 1, 1, 1}.Disabled()));
}

TEST(ReadSkinGeometry, MissingOrMalformedEntriesAreParked) {
  QTemporaryDir dir;
  const std::filesystem::path skin = dir.filePath("Main.ini").toStdString();
  std::ofstream(skin) << "[BUTTONINFO]\nCONTROL_OK=10,20,30,40,x\nBROKEN=ten,20,30,40\n";
  EXPECT_EQ(ReadSkinGeometry(skin, u"buttoninfo", u"control_ok"), (SkinGeometry{10, 20, 30, 40}));
  EXPECT_EQ(ReadSkinGeometry(skin, u"BUTTONINFO", u"MISSING"), SkinGeometry{});
  EXPECT_EQ(ReadSkinGeometry(skin, u"BUTTONINFO", u"BROKEN"), SkinGeometry{});
  EXPECT_EQ(ReadSkinGeometry(dir.filePath("none.ini").toStdString(), u"BUTTONINFO", u"CONTROL_OK"),
            SkinGeometry{});
}

}  // namespace
}  // namespace mvk
