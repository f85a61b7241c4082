#include "ui/skin/required_picture.h"

#include <QString>

#include "ui/skin/missing_picture.h"
#include "ui/skin/skin_image.h"

namespace mvk {

std::optional<QImage> LoadRequiredSkinPicture(const std::filesystem::path& programFolder,
                                              std::u16string_view relativePath) {
  QImage picture = LoadSkinImage(programFolder, relativePath);
  if (picture.isNull()) {
    ReportMissingSkinPicture(
        QString::fromStdU16String((programFolder / std::filesystem::path(relativePath)).u16string()));
    return std::nullopt;
  }
  return picture;
}

}  // namespace mvk
