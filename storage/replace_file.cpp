#include "storage/replace_file.h"

#include <QFile>
#include <QSaveFile>

namespace mvk {

bool ReplaceFileContents(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  QSaveFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::WriteOnly)) {
    return false;
  }
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    file.cancelWriting();
  }
  return file.commit();
}

}  // namespace mvk
