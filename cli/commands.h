// The tool's commands, one group per file. Each returns the exit status.
#pragma once

#include "cli/tool.h"

namespace mvk::cli {

// device_commands.cpp
int RunDevices(Tool& tool);
int RunDescriptor(Tool& tool);

// keyboard_commands.cpp
int RunStatus(Tool& tool);
int RunProfile(Tool& tool);
int RunReset(Tool& tool);

// lighting_commands.cpp
int RunLightingShow(Tool& tool);
int RunLightingSet(Tool& tool);
int RunKeysPaint(Tool& tool);

// file_commands.cpp
int RunRead(Tool& tool);
int RunApply(Tool& tool);
int RunValidate(Tool& tool);
int RunDump(Tool& tool);

// edit_commands.cpp
int RunAssign(Tool& tool);
int RunMacroAdd(Tool& tool);
int RunMacroDelete(Tool& tool);

}  // namespace mvk::cli
