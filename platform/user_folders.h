// The per-user folders the program keeps its files in, found the way the
// desktop's base-directory conventions say.
#pragma once

#include <filesystem>

namespace mvk {

// $XDG_CONFIG_HOME, else ~/.config; empty when neither can be found.
std::filesystem::path ConfigHome();
// $XDG_DATA_HOME, else ~/.local/share; empty when neither can be found.
std::filesystem::path DataHome();
// $XDG_RUNTIME_DIR, else a folder of this user under /tmp that only the user
// may enter (created when missing). Empty when no such folder can be had,
// for example when the /tmp folder exists but belongs to someone else.
std::filesystem::path RuntimeFolder();

}  // namespace mvk
