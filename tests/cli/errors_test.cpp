// What the tool does with bad arguments, damaged files and a missing
// keyboard: the documented exit status, a message, and nothing changed.
#include <QJsonObject>

#include <fstream>

#include "cli_fixture.h"

namespace mvk::test {
namespace {

struct BadUsage {
  const char* name;
  QStringList arguments;
  const char* message;
};

class CliErrors : public CliTest {};

TEST_F(CliErrors, BadArgumentsExitWithOneAndSayWhatIsWrong) {
  const BadUsage cases[] = {
      {"no command", {}, "no command given"},
      {"unknown command", {"fly"}, "unknown command fly"},
      {"unknown option", {"status", "--colur", "FF0000"}, "unknown option --colur"},
      {"option of another command", {"status", "--profile", "1"}, "does not go with"},
      {"missing file", {"dump"}, "usage: morvakinctl dump FILE"},
      {"profile out of range", {"profile", "4"}, "profiles are 1 to 3"},
      {"brightness out of range", {"lighting", "set", "--brightness", "6"}, "0 to 5"},
      {"effect unknown", {"lighting", "set", "--effect", "Sparkle"}, "effect code 1 to 20"},
      {"effect not offered", {"lighting", "set", "--effect", "19"}, "does not offer effect 19"},
      {"nothing to set", {"lighting", "set", "--profile", "1"}, "say what to set"},
      {"bad colour",
       {"keys", "paint", "--profile", "1", "--key", "Q", "--colour", "red"},
       "RRGGBB"},
      {"key without light",
       {"keys", "paint", "--profile", "1", "--key", "Wheel up", "--colour", "FF0000"},
       "no key with a light"},
      {"value missing", {"lighting", "set", "--effect"}, "needs a value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_EQ(Memory(), sim::FactoryMemory());
}

TEST_F(CliErrors, HelpListsTheCommandsAndSucceeds) {
  const ToolRun all = Run({"--help"});
  EXPECT_EQ(all.exitCode, 0);
  for (const char* usage : {"morvakinctl lighting set", "morvakinctl macro delete FILE"}) {
    EXPECT_NE(all.out.find(usage), std::string::npos) << all.out;
  }
  const ToolRun one = Run({"assign", "--help"});
  EXPECT_EQ(one.exitCode, 0);
  EXPECT_EQ(one.out.rfind("usage: morvakinctl assign FILE --profile N --key NAME", 0), 0u) << one.out;
}

TEST_F(CliErrors, DamagedConfigurationFilesAreRefusedWithTwoAndLeftAlone) {
  { std::ofstream(File("short.mvk"), std::ios::binary) << "not a configuration"; }
  ASSERT_EQ(
      Run({"assign", PathOf("good.mvk"), "--profile", "1", "--key", "Q", "--disable"}).exitCode, 0);
  std::string damaged = ReadWholeFile(File("good.mvk"));
  damaged[31] = static_cast<char>(damaged[31] + 1);  // the header's checksum
  std::ofstream(File("damaged.mvk"), std::ios::binary) << damaged;

  const struct {
    const char* file;
    const char* reason;
  } files[] = {{"short.mvk", "too short"},
               {"damaged.mvk", "not a valid configuration file"},
               {"absent.mvk", "no such file"}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.file);
    const std::string before = ReadWholeFile(File(f.file));
    for (const QStringList& command :
         {QStringList{"validate", PathOf(f.file)}, QStringList{"dump", PathOf(f.file)},
          QStringList{"apply", PathOf(f.file)},
          QStringList{"macro", "delete", PathOf(f.file), "--name", "M"}}) {
      const ToolRun run = Run(command);
      EXPECT_EQ(run.exitCode, 2) << command.join(' ').toStdString();
      EXPECT_NE((run.out + run.err).find(f.reason), std::string::npos) << run.out << run.err;
    }
    EXPECT_EQ(ReadWholeFile(File(f.file)), before);
  }
  const ToolRun verdict = Run({"validate", PathOf("damaged.mvk"), "--json"});
  EXPECT_EQ(verdict.Json().object()["valid"], false);
  EXPECT_EQ(Run({"validate", PathOf("good.mvk")}).exitCode, 0);
  EXPECT_EQ(Memory(), sim::FactoryMemory());
}

TEST_F(CliErrors, AnAbsentKeyboardExitsWithThreeAndWritesNothing) {
  const QStringList commands[] = {
      {"status"},         {"profile", "2"}, {"lighting", "show"}, {"read", PathOf("keyboard.mvk")},
      {"reset", "--yes"},
  };
  for (const QStringList& command : commands) {
    SCOPED_TRACE(command.join(' ').toStdString());
    const ToolRun run = RunWithoutKeyboard(command);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("The keyboard was not found"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(File("keyboard.mvk")));
  EXPECT_EQ(RunWithoutKeyboard({"status", "--json"}).Json().object()["connected"], false);
}

}  // namespace
}  // namespace mvk::test
