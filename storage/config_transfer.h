// The main window's backup and restore commands: exporting the working
// configuration to a file the user chooses, and importing one into the
// working configuration and the keyboard.
#pragma once

#include "model/config_store.h"
#include "model/default_matrix.h"
#include "model/model_prompts.h"
#include "protocol/keyboard_link.h"
#include "storage/config_folder.h"
#include "storage/file_prompts.h"

namespace mvk {

// The file dialogs of both commands: "*.mvk" files.
FileDialogOptions ConfigFileDialog(bool save);

// Asks for a file and saves the working configuration there. False when the
// user cancelled or the file could not be written (no message either way).
bool ExportConfigFile(ConfigState& config, FilePrompts& prompts);

// Where an imported configuration is applied.
struct KeyboardTarget {
  KeyboardLink& link;
  const KeyMatrix& defaults;
  ModelPrompts& prompts;
};

// Asks for a file, checks and loads it; a file refused for any reason shows
// MAIN_PROMPT_INPORT and changes nothing. An accepted file replaces the
// working configuration, is saved over the working file (when it exists) and
// written to the keyboard for every profile; then the key buttons are redrawn
// and Apply is disabled. True when the working configuration was replaced.
bool ImportConfigFile(ConfigState& config, const ConfigFolder& folder, KeyboardTarget& target,
                      FilePrompts& prompts, ConfigWindow& window);

}  // namespace mvk
