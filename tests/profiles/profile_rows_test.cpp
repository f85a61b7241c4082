#include "ui/profiles/profile_rows.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <algorithm>
#include <QTemporaryDir>

#include "platform/registry.h"
#include "support/qt_application.h"
#include "ui/profiles/profile_menu.h"

namespace mvk {
namespace {

TEST(ProfileRows, RowNamesTheFileByNameAndFolderAndIsRecordedWithItsExtension) {
  const ProfileRow row = ProfileRowOf("/home/u/.local/share/Keldora Gaming Keyboard/$Profile0");
  EXPECT_EQ(row.name, u"$Profile0");
  EXPECT_EQ(row.folder, u"/home/u/.local/share/Keldora Gaming Keyboard/");
  EXPECT_EQ(RecordedProfilePath(row), u"/home/u/.local/share/Keldora Gaming Keyboard/$Profile0.mvk");

  const ProfileRow chosen = ProfileRowOf("/tmp/My game.mvk");
  EXPECT_EQ(chosen, (ProfileRow{u"My game", u"/tmp/"}));
  EXPECT_EQ(RecordedProfilePath(chosen), u"/tmp/My game.mvk");
}

TEST(ProfileRows, RecordWritesEachRowUnderItsNumberAndTheCountUnderZero) {
  QTemporaryDir dir;
  RegistryStore store(std::filesystem::path(dir.path().toStdString()) / "settings");
  const std::vector<ProfileRow> rows{{u"a", u"/x/"}, {u"b", u"/y/"}, {u"c", u"/z/"}, {u"d", u"/w/"}};
  RecordProfileRows(store, rows);

  EXPECT_EQ(store.GetText("PROFILES", "PROFILE00"), u"4");
  EXPECT_EQ(store.GetText("PROFILES", "PROFILE01"), u"/x/a.mvk");
  EXPECT_EQ(store.GetText("PROFILES", "PROFILE04"), u"/w/d.mvk");
  EXPECT_FALSE(store.GetText("PROFILES", "PROFILE05"));
  EXPECT_EQ(ProfileValueName(12), "PROFILE12");
}

TEST(ProfileRows, OnlyTheFirstThreeRowsAreKeyboardProfiles) {
  const std::pair<int, int> cases[] = {{-1, -1}, {0, 0}, {1, 1}, {2, 2}, {3, -1}, {7, -1}};
  for (const auto& [row, profile] : cases) EXPECT_EQ(ProfileOfRow(row), profile) << row;
}

TEST(ProfileMenu, HoldsNoProfileASeparatorAndOneItemPerProfileWithTheActiveOneChecked) {
  const auto items = ProfileMenuItems("No profile", "$Profile0", 1);
  const std::vector<ProfileMenuItem> expected{{9000, "No profile", false},
                                              {0, "", false},
                                              {9001, "$Profile0", false},
                                              {9002, "$Profile0", true},
                                              {9003, "$Profile0", false}};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(CheckedItemText(items), "$Profile0");
}

TEST(ProfileMenu, UnknownActiveProfileChecksTheNoProfileItem) {
  for (const int active : {-1, 3}) {
    const auto items = ProfileMenuItems("No profile", "$Profile0", active);
    EXPECT_TRUE(items[0].checked) << active;
    EXPECT_EQ(std::ranges::count_if(items, &ProfileMenuItem::checked), 1) << active;
    EXPECT_EQ(CheckedItemText(items), "No profile");
  }
}

TEST(ProfileMenu, FillingReplacesEveryItemAndCarriesTheCommands) {
  test::Application();
  QMenu menu;
  FillProfileMenu(menu, ProfileMenuItems("None", "Work", 0));
  FillProfileMenu(menu, ProfileMenuItems("None", "Work", 2));

  const auto actions = menu.actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_TRUE(actions[1]->isSeparator());
  std::vector<int> commands;
  for (const QAction* action : actions) {
    if (!action->isSeparator()) commands.push_back(action->data().toInt());
  }
  EXPECT_EQ(commands, (std::vector<int>{9000, 9001, 9002, 9003}));
  EXPECT_TRUE(actions[4]->isChecked());
  EXPECT_FALSE(actions[2]->isChecked());
}

}  // namespace
}  // namespace mvk
