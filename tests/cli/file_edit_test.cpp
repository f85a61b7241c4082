// Editing configuration files offline and reading them back with dump.
#include <QJsonArray>
#include <QJsonObject>

#include "cli_fixture.h"

namespace mvk::test {
namespace {

class CliFiles : public CliTest {
 protected:
  ToolRun Edit(QStringList arguments) {
    arguments.insert(arguments.size() > 1 && (arguments[0] == "macro") ? 2 : 1, PathOf("edit.mvk"));
    return Run(arguments);
  }
  QJsonObject Dump() { return Run({"dump", PathOf("edit.mvk"), "--json"}).Json().object(); }
};

TEST_F(CliFiles, DumpShowsExactlyWhatAssignAndMacroAddSet) {
  const QStringList edits[] = {
      {"macro", "add", "--name", "Spin", "--events",
       "press:Left Shift:20 release:0x2A:0 PRESS:a:40000"},
      {"assign", "--profile", "1", "--key", "Q", "--send", "A"},
      {"assign", "--profile", "1", "--key", "W", "--mouse", "wheel-down"},
      {"assign", "--profile", "2", "--key", "g1", "--macro", "Spin", "--loops", "3"},
      {"assign", "--profile", "2", "--key", "Caps Lock", "--disable"},
      {"assign", "--profile", "3", "--key", "0x01", "--media", "Volume up"},
      {"assign", "--profile", "3", "--key", "F1", "--function", "Next profile"},
      {"assign", "--profile", "3", "--key", "F2", "--send", "F2"},
  };
  for (const QStringList& edit : edits) {
    const ToolRun run = Edit(edit);
    ASSERT_EQ(run.exitCode, 0) << edit.join(' ').toStdString() << ": " << run.err;
  }
  const QJsonObject dump = Dump();
  EXPECT_EQ(dump["assignments"].toArray(),
            (QJsonArray{
                QJsonObject{{"profile", 1},
                            {"key", "Q"},
                            {"key_code", 0x10},
                            {"type", "key"},
                            {"send", "A"},
                            {"send_code", 0x1E}},
                QJsonObject{{"profile", 1},
                            {"key", "W"},
                            {"key_code", 0x11},
                            {"type", "key"},
                            {"send", "Wheel down"},
                            {"send_code", 0x162}},
                QJsonObject{
                    {"profile", 2}, {"key", "Caps Lock"}, {"key_code", 0x3A}, {"type", "disabled"}},
                QJsonObject{{"profile", 2},
                            {"key", "G1"},
                            {"key_code", 0x200},
                            {"type", "macro"},
                            {"macro", "Spin"},
                            {"macro_id", 1},
                            {"loops", 3}},
                QJsonObject{{"profile", 3},
                            {"key", "Esc"},
                            {"key_code", 0x01},
                            {"type", "media"},
                            {"media", "Volume up"},
                            {"position", 6}},
                QJsonObject{{"profile", 3},
                            {"key", "F1"},
                            {"key_code", 0x3B},
                            {"type", "function"},
                            {"function", "Next profile"},
                            {"number", 10}},
            }));
  EXPECT_EQ(
      dump["macros"].toArray(),
      (QJsonArray{QJsonObject{
          {"id", 1},
          {"name", "Spin"},
          {"cycles", 1},
          {"events",
           QJsonArray{
               QJsonObject{
                   {"action", "press"}, {"key", "Left Shift"}, {"key_code", 0x2A}, {"delay", 20}},
               QJsonObject{
                   {"action", "release"}, {"key", "Left Shift"}, {"key_code", 0x2A}, {"delay", 0}},
               QJsonObject{{"action", "press"}, {"key", "A"}, {"key_code", 0x1E}, {"delay", 40000}},
           }}}}));
  EXPECT_EQ(dump["host_strings"].toArray(), QJsonArray{});
  EXPECT_EQ(dump["header"].toObject()["macro_count"], 1);

  const ToolRun text = Run({"dump", PathOf("edit.mvk")});
  EXPECT_NE(text.out.find("profile 2, G1 (0x200): plays macro \"Spin\" (id 1), 3 loops"),
            std::string::npos)
      << text.out;
}

TEST_F(CliFiles, DeletingAMacroFreesTheKeysThatPlayedIt) {
  ASSERT_EQ(Edit({"macro", "add", "--name", "One", "--events", "press:A:0"}).exitCode, 0);
  ASSERT_EQ(Edit({"macro", "add", "--name", "Two", "--events", "press:B:0"}).exitCode, 0);
  ASSERT_EQ(Edit({"assign", "--profile", "1", "--key", "Q", "--macro", "One"}).exitCode, 0);
  ASSERT_EQ(Edit({"assign", "--profile", "3", "--key", "E", "--macro", "Two"}).exitCode, 0);

  const ToolRun run = Edit({"macro", "delete", "--name", "One"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("1 key(s)"), std::string::npos) << run.err;
  const QJsonObject dump = Dump();
  const QJsonArray assignments = dump["assignments"].toArray();
  ASSERT_EQ(assignments.size(), 1);
  EXPECT_EQ(assignments[0].toObject()["macro"], "Two");
  ASSERT_EQ(dump["macros"].toArray().size(), 1);
  EXPECT_EQ(dump["macros"].toArray()[0].toObject()["name"], "Two");
}

TEST_F(CliFiles, EditsBeyondTheLimitsAreRefusedAndTheFileKept) {
  ASSERT_EQ(Edit({"macro", "add", "--name", "Kept", "--events", "press:A:0"}).exitCode, 0);
  const std::string before = ReadWholeFile(File("edit.mvk"));
  const struct {
    const char* name;
    QStringList edit;
    const char* message;
  } cases[] = {
      {"delay too long",
       {"macro", "add", "--name", "M", "--events", "press:A:40001"},
       "0 to 40000 ms"},
      {"bad event", {"macro", "add", "--name", "M", "--events", "hold:A:10"}, "press:KEY:DELAY"},
      {"unknown event key",
       {"macro", "add", "--name", "M", "--events", "press:Nope:10"},
       "no key a macro"},
      {"same name",
       {"macro", "add", "--name", "Kept", "--events", "press:A:0"},
       "already has a macro"},
      {"name too long",
       {"macro", "add", "--name", QString(250, 'x'), "--events", "press:A:0"},
       "249"},
      {"unknown macro", {"macro", "delete", "--name", "Gone"}, "no macro named"},
      {"two actions",
       {"assign", "--profile", "1", "--key", "Q", "--disable", "--default"},
       "only one"},
      {"no action", {"assign", "--profile", "1", "--key", "Q"}, "say what the key does"},
      {"not a key",
       {"assign", "--profile", "1", "--key", "Wheel up", "--disable"},
       "no key of the keyboard"},
      {"G key sent",
       {"assign", "--profile", "1", "--key", "Q", "--send", "G2"},
       "cannot act as a G key"},
      {"no profile", {"assign", "--key", "Q", "--disable"}, "--profile N"},
      {"loops alone",
       {"assign", "--profile", "1", "--key", "Q", "--disable", "--loops", "2"},
       "--loops goes with --macro"},
      {"loops too many",
       {"assign", "--profile", "1", "--key", "Q", "--macro", "Kept", "--loops", "256"},
       "1 to 255"},
      {"bad function", {"assign", "--profile", "1", "--key", "Q", "--function", "12"}, "1 to 11"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Edit(c.edit);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadWholeFile(File("edit.mvk")), before);
}

}  // namespace
}  // namespace mvk::test
