// The main window's profile menu: "no profile", a separator and one item per
// onboard profile, the active profile's item checked. The items are worked
// out apart from the menu widget so that they can be checked directly.
#pragma once

#include <QString>
#include <vector>

class QMenu;

namespace mvk {

inline constexpr int kNoProfileCommand = 9000;
inline constexpr int kFirstProfileCommand = 9001;
inline constexpr int kLastProfileCommand = 9200;

struct ProfileMenuItem {
  // 0 for the separator.
  int command = 0;
  QString text;
  bool checked = false;

  bool IsSeparator() const { return command == 0; }
  bool operator==(const ProfileMenuItem&) const = default;
};

// The items, the check on position activeProfile + 2, or on the first item
// when the active profile is unknown (-1).
std::vector<ProfileMenuItem> ProfileMenuItems(const QString& noProfileText,
                                              const QString& profileFileName, int activeProfile);

// The text of the checked item; empty when none is checked.
QString CheckedItemText(const std::vector<ProfileMenuItem>& items);

// Replaces every item of `menu`; each action carries its command as data.
void FillProfileMenu(QMenu& menu, const std::vector<ProfileMenuItem>& items);

}  // namespace mvk
