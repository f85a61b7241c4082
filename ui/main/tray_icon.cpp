#include "ui/main/tray_icon.h"

#include <QAction>

#include <array>

#include "device/window_side.h"
#include "ui/main/window_messages.h"
#include "ui/skin/skin_picture_names.h"

namespace mvk {
namespace {

struct TrayMenuItem {
  int command;
  std::string_view textKey;
};

// The firmware update is reached from here only: no other control sends it.
constexpr std::array<TrayMenuItem, 4> kTrayMenuItems = {{
    {kCommandOpen, "MENU_11"},
    {kCommandAbout, "MENU_22"},
    {kCommandFirmwareUpdate, "MENU_44"},
    {kCommandExit, "MENU_33"},
}};

}  // namespace

CTrayIcon::CTrayIcon(std::filesystem::path programFolder, TextOf text, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), text_(std::move(text)) {
  for (const TrayMenuItem& item : kTrayMenuItems) {
    QAction* action = menu_.addAction(QString());
    action->setData(item.command);
    connect(action, &QAction::triggered, this, [this, command = item.command] {
      emit Command(command);
    });
  }
  NameMenuItems();
  connect(&menu_, &QMenu::aboutToShow, this, &CTrayIcon::NameMenuItems);
  connect(&icon_, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
  icon_.setContextMenu(&menu_);
}

void CTrayIcon::Add(int iconId, const QString& tooltip) {
  icon_.setToolTip(tooltip);
  Show(iconId);
  rememberedIcon_ = iconId;
  icon_.show();
  added_ = true;
}

void CTrayIcon::Remove() {
  icon_.hide();
  added_ = false;
}

void CTrayIcon::SetTrayIcon(int mode, int iconId) {
  if (mode == 1) {
    Show(kTrayIconAlternate);
    return;
  }
  if (iconId != 0) rememberedIcon_ = iconId;
  Show(rememberedIcon_);
}

void CTrayIcon::Show(int iconId) {
  if (iconId == shownIcon_) return;
  shownIcon_ = iconId;
  icon_.setIcon(IconOf(iconId));
}

QIcon CTrayIcon::IconOf(int iconId) const {
  for (const TrayIconName& name : kTrayIconNames) {
    if (name.resource == iconId) {
      return QIcon(QString::fromStdU16String((programFolder_ / name.file).u16string()));
    }
  }
  return QIcon();
}

QMenu& CTrayIcon::Menu() {
  NameMenuItems();
  return menu_;
}

void CTrayIcon::NameMenuItems() {
  const auto actions = menu_.actions();
  for (std::size_t i = 0; i < kTrayMenuItems.size(); ++i) {
    actions[static_cast<qsizetype>(i)]->setText(text_(kTrayMenuItems[i].textKey));
  }
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  if (reason == QSystemTrayIcon::DoubleClick) emit Command(kCommandOpen);
}

}  // namespace mvk
