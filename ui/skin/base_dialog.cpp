#include "ui/skin/base_dialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <optional>
#include <utility>

#include "platform/ini_file.h"
#include "ui/skin/missing_picture.h"
#include "ui/skin/outline.h"

namespace mvk {
namespace {

constexpr std::u16string_view kScreenSection = u"SCREEN";

struct ScreenPictureNames {
  std::u16string main;
  std::u16string mask;
};

ScreenPictureNames ReadScreenPictureNames(const CIniFile& skinFile) {
  ScreenPictureNames names;
  names.main = skinFile.GetString(kScreenSection, u"Main", u"").value_or(u"");
  // An empty "Mask" counts as none: a window cannot do without an outline.
  names.mask = skinFile.GetString(kScreenSection, u"Mask", names.main).value_or(names.main);
  return names;
}

std::optional<QImage> LoadPicture(const std::filesystem::path& folder, std::u16string_view name) {
  const QString file = QString::fromStdU16String((folder / std::filesystem::path(name)).u16string());
  QImage picture;
  if (name.empty() || !picture.load(file)) {
    ReportMissingSkinPicture(file);
    return std::nullopt;
  }
  return picture;
}

}  // namespace

CBaseDialog::CBaseDialog(QWidget* parent, std::filesystem::path skinFile,
                         std::filesystem::path skinFolder)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      skinFile_(std::move(skinFile)),
      skinFolder_(std::move(skinFolder)) {}

void CBaseDialog::InitDialog() {
  if (initialised_) return;
  initialised_ = true;
  OnInitDialog();
}

void CBaseDialog::OnInitDialog() { LoadSkin(); }

bool CBaseDialog::LoadSkin() {
  const ScreenPictureNames names = ReadScreenPictureNames(skinFile_);
  std::optional<QImage> face = LoadPicture(skinFolder_, names.main);
  if (!face) return false;
  std::optional<QImage> mask = LoadPicture(skinFolder_, names.mask);
  if (!mask) return false;

  background_ = QPixmap::fromImage(*face);
  resize(background_.size());
  raise();
  setMask(OutlineFromPicture(*mask, kPureWhite));
  update();
  return true;
}

void CBaseDialog::ReleaseSkin() { background_ = QPixmap(); }

void CBaseDialog::setVisible(bool visible) {
  if (visible) InitDialog();
  QDialog::setVisible(visible);
}

void CBaseDialog::done(int result) {
  ReleaseSkin();
  initialised_ = false;
  dragging_ = false;
  QDialog::done(result);
}

void CBaseDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, background_);
}

// Presses that reach the dialog itself (not taken by a control) grab the
// face; the window system moves the window where it can, we do elsewhere.
void CBaseDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  event->accept();
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - pos();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
    QDialog::mouseMoveEvent(event);
    return;
  }
  move(event->globalPosition().toPoint() - dragOffset_);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace mvk
