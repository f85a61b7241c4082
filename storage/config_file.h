// Configuration files: the configuration image, the macro records and the
// host string area, in this order. The working configuration is loaded from
// and saved to them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "model/config_store.h"
#include "storage/config_folder.h"
#include "storage/file_prompts.h"

namespace mvk {

// Results of ValidateConfigFile.
inline constexpr int kConfigFileValid = 1;
inline constexpr int kConfigFileInvalid = 0;  // missing, too short or a bad header
inline constexpr int kConfigFileUnreadable = -2;

// The whole file for a store: the header is rewritten (counts, total size,
// flag 0, checksum) and the texts of launch-program and text-block slots are
// packed, each slot's value becoming its text's offset. nullopt for a list of
// more than 100 macros, which no file can hold.
std::optional<std::vector<uint8_t>> EncodeConfigFile(ConfigStore& store);

// Reads a whole file into `store`. Refuses (false, `store` untouched) data
// shorter than the header declares, more than 100 macros or a macro record
// with more than 4000 events. A slot's text is taken at its offset rounded
// down to an even number and ends at its terminator or at the end of the
// string area; an offset outside the area gives an empty text.
bool DecodeConfigFile(std::span<const uint8_t> bytes, ConfigStore& store);

// Writes a file of the default configuration (32832 bytes).
bool CreateDefaultConfig(const std::filesystem::path& path);
// Makes `store` the default configuration: default key maps, no macros, no
// texts. The caller holds ConfigLock when `store` is the working one.
void CreateDefaultConfig(ConfigStore& store);

// Checks a file's header against itself: kConfigFileValid, or
// kConfigFileInvalid for a missing or too short file (no message) or a bad
// header (PROFILE_FORMAT_ERROR with the path), or kConfigFileUnreadable.
// Only the configuration image at the head of the file is read.
int ValidateConfigFile(const std::filesystem::path& path, FilePrompts& prompts);

// Reads a file into `store`; false (and `store` untouched) when the file is
// missing, unreadable or refused by DecodeConfigFile. The file is opened for
// reading only.
bool LoadConfigFile(const std::filesystem::path& path, ConfigStore& store);

// Writes the working configuration to `path` under ConfigLock; the old file
// is replaced only once the new one is complete.
bool SaveConfigFile(ConfigState& config, const std::filesystem::path& path);
// The same over the working file, but only when that file already exists.
bool SaveWorkingFile(ConfigState& config, const ConfigFolder& folder);

}  // namespace mvk
