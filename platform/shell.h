// Starting other programs, never through a shell command line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mvk {

// Starts `program` with `arguments` and does not wait for it. A program that
// is missing or cannot be run gives false; callers decide whether that matters.
bool StartProgram(const std::filesystem::path& program,
                  const std::vector<std::string>& arguments = {});

}  // namespace mvk
