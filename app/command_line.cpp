#include "app/command_line.h"

#include <QFile>

namespace mvk {
namespace {

const QString kKillArgument = QStringLiteral("/Kill");
const QString kStartArgument = QStringLiteral("/Start");
const QString kSimulateArgument = QStringLiteral("--simulate");
const QString kSimulateFilePrefix = QStringLiteral("--simulate=");

bool Matches(const QString& argument, const QString& expected) {
  return argument.compare(expected, Qt::CaseInsensitive) == 0;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine result;
  for (const QString& argument : arguments) {
    if (Matches(argument, kKillArgument)) {
      result.kill = true;
    } else if (Matches(argument, kStartArgument)) {
      result.startHidden = true;
    } else if (argument == kSimulateArgument) {
      result.simulate = {true, {}};
    } else if (argument.startsWith(kSimulateFilePrefix)) {
      result.simulate = {true, QFile::encodeName(argument.mid(kSimulateFilePrefix.size()))
                                   .toStdString()};
    }
  }
  return result;
}

}  // namespace mvk
