#include "platform/shell.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace mvk {

bool StartProgram(const std::filesystem::path& program,
                  const std::vector<std::string>& arguments) {
  const QString path = QFile::decodeName(program.c_str());
  const QFileInfo info(path);
  if (path.isEmpty() || !info.isFile() || !info.isExecutable()) return false;
  QStringList qtArguments;
  for (const auto& argument : arguments) qtArguments << QString::fromStdString(argument);
  return QProcess::startDetached(path, qtArguments);
}

}  // namespace mvk
