// Reading the keyboard's key matrices and macros into the working file and
// from there into the working configuration.
#pragma once

#include <filesystem>
#include <string>

#include "model/config_store.h"
#include "model/default_matrix.h"
#include "protocol/keyboard_link.h"
#include "storage/config_folder.h"
#include "storage/file_prompts.h"

namespace mvk {

// What reading the keyboard needs besides the link: the default matrix read
// at connection (the key each matrix position belongs to) and the name that
// macros stored without names get, followed by their number.
struct KeyboardSource {
  KeyboardLink& link;
  const KeyMatrix& defaults;
  std::u16string macroNamePrefix;
};

// Reads the three key matrices and the macro area and writes them as a
// configuration file (no host strings, profile block 3 empty). False when
// the keyboard does not answer or a read fails; the file is then untouched.
bool ReadKeyboardToFile(const std::filesystem::path& path, KeyboardSource& source);

// Refreshes the working configuration from the keyboard through the working
// file; when the keyboard cannot be read (or the file not loaded), the
// working configuration becomes the default one. Redraws the key buttons
// under ConfigLock and disables Apply.
void ReloadFromKeyboard(ConfigState& config, const ConfigFolder& folder, KeyboardSource& source,
                        ConfigWindow& window);

}  // namespace mvk
