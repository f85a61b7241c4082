// The about box: modeless, one at a time, its texts from the language file.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <string_view>

namespace mvk {

inline constexpr const char* kMakerWebSite = "https://keldora.example/";

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  using TextOf = std::function<QString(std::string_view key)>;

  explicit CAboutDlg(TextOf text, QWidget* parent = nullptr);

  // The language message: caption, description, copyright and OK.
  void ApplyLanguage();

  QString Description() const { return description_.text(); }

 private:
  TextOf text_;
  QLabel description_;  // control 1206
  QLabel copyright_;    // control 1205
  QLabel link_;         // control 1124
  QPushButton ok_;
};

}  // namespace mvk
