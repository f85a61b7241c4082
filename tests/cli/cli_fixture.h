// Runs morvakinctl as a process against a simulated keyboard whose memory
// lives in a file of a temporary user folder.
#pragma once

#include <QJsonDocument>
#include <QStringList>

#include <filesystem>
#include <string>

#include "sim/keyboard_memory.h"
#include "support/temp_user_folders.h"

#include <gtest/gtest.h>

namespace mvk::test {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
  QJsonDocument Json() const { return QJsonDocument::fromJson(QByteArray::fromStdString(out)); }
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // The tool on the simulated keyboard.
  ToolRun Run(QStringList arguments, const std::string& input = {});
  // The tool as given, without the simulated keyboard.
  ToolRun RunWithoutKeyboard(const QStringList& arguments);

  // A path in the test's own folder, as text for the command line.
  QString PathOf(const std::string& name) const;
  std::filesystem::path File(const std::string& name) const;

  // The simulated keyboard's memory as the tool left it.
  sim::KeyboardMemory Memory() const;
  std::filesystem::path KeyboardFile() const { return File("keyboard.bin"); }

  TempUserFolders folders_;
};

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace mvk::test
