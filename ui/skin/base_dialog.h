// The skinned dialog every window of the program derives from: no frame, a
// face picture painted as it stands, an outline cut out of a mask picture,
// and moved by dragging its face.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>
#include <filesystem>

#include "platform/ini_file.h"

namespace mvk {

class CBaseDialog : public QDialog {
  Q_OBJECT

 public:
  // skinFile names the pictures in its section "SCREEN"; their names are
  // resolved against skinFolder.
  CBaseDialog(QWidget* parent, std::filesystem::path skinFile, std::filesystem::path skinFolder);

  const CIniFile& SkinFile() const { return skinFile_; }
  const std::filesystem::path& SkinFolder() const { return skinFolder_; }

  // Runs the dialog's initialisation, once per opening. Showing the dialog
  // runs it first when nobody has, so the window appears with its skin.
  void InitDialog();

  // Loads the face and mask pictures named by "Main" and "Mask" (a missing
  // or empty "Mask" means "Main"), sizes the window to the face and cuts its outline
  // from the mask, pure white being transparent. A picture that cannot be
  // loaded is reported as missing; when that report returns, the window is
  // left as it was and the result is false.
  bool LoadSkin();

  const QPixmap& Background() const { return background_; }

  void setVisible(bool visible) override;
  // OK, Cancel and close all end here: the pictures go with the opening.
  void done(int result) override;

 protected:
  // The derived windows' initialisation; theirs calls this one first.
  virtual void OnInitDialog();

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ReleaseSkin();

  CIniFile skinFile_;
  std::filesystem::path skinFolder_;
  QPixmap background_;
  bool initialised_ = false;
  bool dragging_ = false;
  QPoint dragOffset_;
};

}  // namespace mvk
