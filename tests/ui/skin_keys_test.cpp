// Every skin entry the main window places a control from is in the skin
// file, so that no control lands parked at (1, 1) by accident.
#include <gtest/gtest.h>

#include <QString>

#include <string>

#include "platform/ini_file.h"
#include "ui/main/key_buttons.h"
#include "ui/main/main_controls.h"

namespace mvk {
namespace {

constexpr std::u16string_view kAbsent = u"<absent>";

class MainSkinFile : public ::testing::Test {
 protected:
  void ExpectEntry(std::u16string_view section, std::u16string_view key) {
    const auto value = skin_.GetString(section, key, kAbsent);
    EXPECT_TRUE(value && *value != kAbsent)
        << QString::fromStdU16String(std::u16string(key)).toStdString();
  }

  CIniFile skin_{std::filesystem::path(MORVAKIN_BUILD_DIR) / "Skins/Main.ini"};
};

// K56 stays hidden unless a skin shows it: a skin may leave it out.
TEST_F(MainSkinFile, HoldsEveryShownKeyAndGButton) {
  for (int k = 0; k < kKeyButtonCount; ++k) {
    if (kKeyButtons[k].control == kHiddenKeyButtonControl) continue;
    ExpectEntry(u"BUTTONINFO", KeyButtonSkinKey(k));
  }
  for (int g = 0; g < kGButtonCount; ++g) ExpectEntry(u"BUTTONINFO", GButtonSkinKey(g));
}

TEST_F(MainSkinFile, HoldsEveryOtherControlOfTheWindow) {
  for (const MainControl& control : kMainControls) ExpectEntry(u"BUTTONINFO", control.skinKey);
  for (std::u16string_view key : kArrowKeys) ExpectEntry(u"BUTTONINFO", key);
  // The lighting panel's colour boxes and the apply's busy picture.
  for (std::u16string_view key : {u"COLOR_R", u"COLOR_G", u"COLOR_B", u"CONTROL_BUSY"}) {
    ExpectEntry(u"BUTTONINFO", key);
  }
  for (std::u16string_view key : kArrowUpOrigins) ExpectEntry(u"BUTTONINFO2", key);
  for (std::u16string_view key : kArrowDownOrigins) ExpectEntry(u"BUTTONINFO2", key);
  ExpectEntry(u"SCREEN", u"Link");
}

}  // namespace
}  // namespace mvk
