// Writing a file so that a failure never leaves a half-written one in place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace mvk {

// Writes `bytes` to a new file beside `path` and renames it over `path` once
// all of it is on disk. On failure the file at `path`, if any, is untouched
// and nothing is left beside it.
bool ReplaceFileContents(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace mvk
