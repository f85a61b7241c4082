// Finding a running copy of a program among the system's processes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace mvk {

// The identifier of the first process, in ascending order of identifiers,
// whose image name (the file name of its program, no folder) equals
// `imageName` without regard to case; 0 when there is none or the process
// list cannot be read. The calling process and processes of other users are
// passed over: neither can be the copy that this user's program should reach.
uint32_t FindProgramInstance(std::string_view imageName);

// The same search over a process folder laid out like /proc, for a given
// calling process and user.
uint32_t FindProgramInstanceIn(const std::filesystem::path& procFolder,
                               std::string_view imageName, uint32_t selfPid,
                               uint32_t userId);

// True while a process with this identifier exists.
bool ProcessExists(uint32_t pid);

}  // namespace mvk
