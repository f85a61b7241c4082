#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <string>

#include "platform/shell.h"
#include "support/qt_application.h"

namespace mvk {
namespace {

class StartProgramTest : public ::testing::Test {
 protected:
  std::filesystem::path Folder() const { return dir_.path().toStdString(); }

  QTemporaryDir dir_;
};

TEST_F(StartProgramTest, ArgumentsReachTheProgramVerbatimWithoutAShell) {
  const auto program = Folder() / "echo args";
  const auto written = Folder() / "written";
  std::ofstream(program) << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << written.native()
                         << ".part' && mv '" << written.native() << ".part' '"
                         << written.native() << "'\n";
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);

  const auto injected = Folder() / "injected";
  ASSERT_TRUE(StartProgram(program, {"a b", "$(touch " + injected.native() + ")", ";|&"}));
  ASSERT_TRUE(test::WaitUntil([&] { return std::filesystem::exists(written); }));
  std::ifstream in(written);
  const std::string arguments{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(arguments, "a b|$(touch " + injected.native() + ")|;|&|");
  EXPECT_FALSE(std::filesystem::exists(injected));
}

TEST_F(StartProgramTest, MissingOrUnrunnableProgramGivesFalse) {
  const auto notExecutable = Folder() / "plain";
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  std::filesystem::permissions(notExecutable, std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_write);
  for (const auto& program :
       {std::filesystem::path(), Folder() / "missing", notExecutable, Folder()}) {
    EXPECT_FALSE(StartProgram(program)) << program;
  }
}

}  // namespace
}  // namespace mvk
