#include <gtest/gtest.h>

#include "app/command_line.h"

namespace mvk {
namespace {

TEST(ParseCommandLine, SwitchesMatchWholeArgumentsInAnyLetterCase) {
  const struct {
    QStringList arguments;
    bool kill;
    bool startHidden;
  } rows[] = {
      {{}, false, false},
      {{"/Start"}, false, true},
      {{"/start"}, false, true},
      {{"/START"}, false, true},
      {{"/Kill"}, true, false},
      {{"/kILL"}, true, false},
      {{"/Start", "/Kill"}, true, true},
      {{"x/Start", "/Starts", "Start", "/Kill2", " /Kill", "-Kill"}, false, false},
      {{"unknown", "/sTaRt", "--other"}, false, true},
  };
  for (const auto& row : rows) {
    const CommandLine parsed = ParseCommandLine(row.arguments);
    EXPECT_EQ(parsed.kill, row.kill) << row.arguments.join(' ').toStdString();
    EXPECT_EQ(parsed.startHidden, row.startHidden) << row.arguments.join(' ').toStdString();
    EXPECT_FALSE(parsed.simulate.enabled);
  }
}

TEST(ParseCommandLine, SimulateWithAndWithoutMemoryFile) {
  const struct {
    QStringList arguments;
    bool enabled;
    std::filesystem::path memoryFile;
  } rows[] = {
      {{"--simulate"}, true, {}},
      {{"--simulate=/tmp/keyboard.sim"}, true, "/tmp/keyboard.sim"},
      {{"--simulate=Ä b.sim"}, true, "Ä b.sim"},
      {{"--simulate="}, true, {}},
      {{"--SIMULATE", "--simulated", "-simulate"}, false, {}},
      {{"--simulate=first", "--simulate"}, true, {}},
  };
  for (const auto& row : rows) {
    const CommandLine parsed = ParseCommandLine(row.arguments);
    EXPECT_EQ(parsed.simulate.enabled, row.enabled) << row.arguments.join(' ').toStdString();
    EXPECT_EQ(parsed.simulate.memoryFile, row.memoryFile) << row.arguments.join(' ').toStdString();
  }
}

}  // namespace
}  // namespace mvk
