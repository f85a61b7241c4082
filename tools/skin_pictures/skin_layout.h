// One window's skin file as the picture generator sees it: the window's
// size and picture names, and where each of its controls sits.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace mvk::skin {

struct Control {
  QString key;
  QRect rect;
};

struct SkinLayout {
  QSize windowSize;
  QString facePicture;  // "Main" of section "SCREEN"
  QString maskPicture;  // "Mask", or the face when there is none
  std::vector<Control> controls;        // section "BUTTONINFO", in file order
  std::vector<Control> pictureOrigins;  // section "BUTTONINFO2"

  // Controls parked at (1, 1) are not on the window and are left out.
  std::optional<QRect> Find(const QString& key) const;
};

// Reads a skin file; none, with the reason in error, when it lacks the
// window size or the face picture.
std::optional<SkinLayout> ReadSkinLayout(const std::filesystem::path& skinFile, QString& error);

}  // namespace mvk::skin
