#include "ui/skin/placement.h"

#include <QWidget>

#include "app/skin_geometry.h"

namespace mvk {
namespace {

QRect RectOf(const SkinGeometry& geometry) {
  return QRect(geometry.x, geometry.y, geometry.width, geometry.height);
}

}  // namespace

void PlaceSkinButton(SkinImageButton& button, const std::filesystem::path& skinFile,
                     std::u16string_view section, std::u16string_view key,
                     const SkinStateImages& images) {
  const SkinGeometry geometry = ReadSkinGeometry(skinFile, section, key);
  button.Widget()->setGeometry(RectOf(geometry));
  button.SetOriginAndPictures(QPoint(geometry.x, geometry.y), images, false);
  if (geometry.Disabled()) button.Widget()->setEnabled(false);
}

void PlaceControl(QWidget& control, const std::filesystem::path& skinFile,
                  std::u16string_view section, std::u16string_view key) {
  control.setGeometry(RectOf(ReadSkinGeometry(skinFile, section, key)));
}

void PlaceImageControl(SkinImageButton& control, const std::filesystem::path& skinFile,
                       std::u16string_view positionSection, std::u16string_view positionKey,
                       std::u16string_view originSection, std::u16string_view originKey,
                       const QImage& image) {
  control.Widget()->setGeometry(RectOf(ReadSkinGeometry(skinFile, positionSection, positionKey)));
  const SkinGeometry origin = ReadSkinGeometry(skinFile, originSection, originKey);
  control.SetOriginAndPictures(QPoint(origin.x, origin.y), {image, image, image, image, image},
                               false);
}

void MoveControl(QWidget& control, const std::filesystem::path& skinFile,
                 std::u16string_view section, std::u16string_view key) {
  const SkinGeometry geometry = ReadSkinGeometry(skinFile, section, key);
  control.move(geometry.x, geometry.y);
  control.update();
}

}  // namespace mvk
