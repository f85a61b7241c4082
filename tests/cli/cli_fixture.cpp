#include "cli_fixture.h"

#include <QProcess>

#include <fstream>
#include <sstream>

#include "support/qt_application.h"

namespace mvk::test {
namespace {

constexpr int kLimitMs = 60000;

ToolRun RunProcess(const QProcessEnvironment& environment, const QStringList& arguments,
                   const std::string& input) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(MORVAKIN_BUILD_DIR "/morvakinctl", arguments);
  EXPECT_TRUE(process.waitForStarted(kLimitMs));
  process.write(QByteArray::fromStdString(input));
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(kLimitMs));
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

}  // namespace

void CliTest::SetUp() { Application(); }

ToolRun CliTest::Run(QStringList arguments, const std::string& input) {
  arguments << "--simulate=" + QString::fromStdString(KeyboardFile().string());
  return RunProcess(folders_.ChildEnvironment(), arguments, input);
}

ToolRun CliTest::RunWithoutKeyboard(const QStringList& arguments) {
  return RunProcess(folders_.ChildEnvironment(), arguments, {});
}

QString CliTest::PathOf(const std::string& name) const {
  return QString::fromStdString(File(name).string());
}

std::filesystem::path CliTest::File(const std::string& name) const {
  return folders_.Root() / name;
}

sim::KeyboardMemory CliTest::Memory() const {
  return sim::LoadMemory(KeyboardFile()).value_or(sim::FactoryMemory());
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace mvk::test
