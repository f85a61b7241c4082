// The program's command-line arguments.
#pragma once

#include <QStringList>

#include <filesystem>

namespace mvk {

// "--simulate[=FILE]": run on the keyboard emulator instead of the hardware,
// keeping the emulated keyboard's memory in FILE when one is given.
struct SimulateChoice {
  bool enabled = false;
  std::filesystem::path memoryFile;
};

struct CommandLine {
  bool kill = false;         // "/Kill": end the running copy, then this one
  bool startHidden = false;  // "/Start": do not bring the window up on the first attach
  SimulateChoice simulate;
};

// `arguments` are those after the program name. "/Kill" and "/Start" match as
// whole arguments without regard to case; anything unknown is ignored.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace mvk
