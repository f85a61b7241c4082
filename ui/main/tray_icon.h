// The notification-area icon of the main window and its menu 140: Open,
// About, Firmware update and Exit. The icon shown follows the keyboard's
// state: 141 attached, 128 not, 142 for the keyboard's alternate state.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <filesystem>
#include <functional>
#include <string_view>

namespace mvk {

class CTrayIcon : public QObject {
  Q_OBJECT

 public:
  using TextOf = std::function<QString(std::string_view key)>;

  CTrayIcon(std::filesystem::path programFolder, TextOf text, QObject* parent = nullptr);

  void Add(int iconId, const QString& tooltip);
  void Remove();
  bool IsAdded() const { return added_; }

  // Mode 0 with an icon shows and remembers it; mode 0 with icon 0 shows the
  // remembered one again; mode 1 shows icon 142.
  void SetTrayIcon(int mode, int iconId);
  int ShownIcon() const { return shownIcon_; }

  // The menu with its items named from the language file, as right-clicking
  // the icon shows it.
  QMenu& Menu();

 signals:
  void Command(int commandId);

 private:
  void Show(int iconId);
  void NameMenuItems();
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  QIcon IconOf(int iconId) const;

  std::filesystem::path programFolder_;
  TextOf text_;
  QSystemTrayIcon icon_;
  QMenu menu_;
  bool added_ = false;
  int shownIcon_ = 0;
  int rememberedIcon_ = 0;
};

}  // namespace mvk
