#include "ui/profiles/profile_menu.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "ui/profiles/profile_rows.h"

namespace mvk {
namespace {

constexpr int kFirstProfileItem = 2;  // after "no profile" and the separator

}  // namespace

std::vector<ProfileMenuItem> ProfileMenuItems(const QString& noProfileText,
                                              const QString& profileFileName, int activeProfile) {
  std::vector<ProfileMenuItem> items{{kNoProfileCommand, noProfileText}, {}};
  for (int profile = 0; profile < kOnboardProfileCount; ++profile) {
    items.push_back({kFirstProfileCommand + profile, profileFileName});
  }
  const bool known = activeProfile >= 0 && activeProfile < kOnboardProfileCount;
  items[known ? static_cast<std::size_t>(activeProfile + kFirstProfileItem) : 0].checked = true;
  return items;
}

QString CheckedItemText(const std::vector<ProfileMenuItem>& items) {
  const auto checked = std::ranges::find_if(items, &ProfileMenuItem::checked);
  return checked == items.end() ? QString() : checked->text;
}

void FillProfileMenu(QMenu& menu, const std::vector<ProfileMenuItem>& items) {
  menu.clear();
  for (const ProfileMenuItem& item : items) {
    if (item.IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(item.text);
    action->setData(item.command);
    action->setCheckable(true);
    action->setChecked(item.checked);
  }
}

}  // namespace mvk
