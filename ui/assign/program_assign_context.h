// The assignment dialog's view of the running program: the working
// configuration, settings, texts and active profile of the program's
// services, a steady millisecond clock, the help page and an on-screen
// keyboard program when one is installed.
#pragma once

#include "app/program_services.h"
#include "ui/assign/assign_context.h"

namespace mvk {

// The result refers to `services`, `prompts`, `questions` and `mainWindow`,
// which must outlive it.
AssignContext ProgramAssignContext(ProgramServices& services, Prompts& prompts,
                                   ModelPrompts& questions, MainWindowApi& mainWindow);

// Starts the first on-screen keyboard program found on the search path;
// false when none is installed or it cannot start.
bool StartOnScreenKeyboard();

}  // namespace mvk
