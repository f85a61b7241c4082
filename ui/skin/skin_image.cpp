#include "ui/skin/skin_image.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace mvk {

QImage LoadSkinImage(const std::filesystem::path& programFolder, std::u16string_view relativePath) {
  QString relative = QString::fromStdU16String(std::u16string(relativePath));
  relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString folder = QFile::decodeName(programFolder.c_str());
  return QImage(QDir(folder).filePath(relative));
}

}  // namespace mvk
