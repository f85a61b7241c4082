#include "storage/config_file.h"

#include <fstream>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>

#include "model/little_endian.h"
#include "storage/replace_file.h"

namespace mvk {
namespace {

constexpr std::size_t kMacroArrayOffset = kConfigImageSize;

uint64_t DeclaredFileSize(uint16_t macroCount, uint32_t stringBytes) {
  return kConfigImageSize + uint64_t{macroCount} * kMacroRecordSize + stringBytes;
}

bool HasHostString(const KeySlot& slot) {
  return slot.type == kAssignLaunch || slot.type == kAssignText;
}

// The text at `offset` (rounded down to an even number), up to its
// terminator or the end of the area.
std::u16string TextAt(std::span<const uint8_t> area, uint32_t offset) {
  std::u16string text;
  for (std::size_t position = offset & ~1u; position + 2 <= area.size(); position += 2) {
    const char16_t unit = le::Get16(area, position);
    if (unit == 0) {
      break;
    }
    text += unit;
  }
  return text;
}

void ReadHostStrings(const ConfigImage& image, std::span<const uint8_t> area,
                     HostStringTable& table) {
  for (std::size_t entry = 0; entry < HostStringTable::kEntries; ++entry) {
    const KeySlot& slot = image.profiles[entry / kSlotsPerProfile][entry % kSlotsPerProfile];
    if (HasHostString(slot)) {
      table.Set(entry, TextAt(area, slot.value));
    }
  }
}

// The header checks, in order; the file's length is not one of them.
bool HeaderIsConsistent(std::span<const uint8_t, file_header::kSize> bytes,
                        const ConfigFileHeader& header) {
  return header.magic == file_header::kMagicValue && header.headerSize == file_header::kSize &&
         header.profileCount == file_header::kProfileCountValue &&
         header.version == file_header::kVersionValue && header.totalSize >= kConfigImageSize &&
         header.slotCount == kSlotCount && header.macroCount <= kMaxMacros && header.flag <= 1 &&
         header.totalSize == DeclaredFileSize(header.macroCount, header.stringBytes) &&
         header.checksum == HeaderChecksum(bytes);
}

std::optional<uint64_t> RegularFileSize(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return std::nullopt;
  }
  const auto size = std::filesystem::file_size(path, error);
  return error ? std::nullopt : std::optional<uint64_t>(size);
}

bool ReadBytes(std::ifstream& file, std::vector<uint8_t>& bytes) {
  return static_cast<bool>(file.read(reinterpret_cast<char*>(bytes.data()),
                                     static_cast<std::streamsize>(bytes.size())));
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodeConfigFile(ConfigStore& store) {
  if (store.macros.size() > kMaxMacros) {
    return std::nullopt;
  }
  const auto macroCount = static_cast<uint16_t>(store.macros.size());
  RefreshFileHeader(store.image.header, macroCount, store.hostStrings.Total());
  const std::vector<uint8_t> area = PackHostStrings(store.image, store.hostStrings);

  std::vector<uint8_t> bytes = EncodeConfigImage(store.image);
  bytes.resize(DeclaredFileSize(macroCount, 0));
  const std::span<uint8_t> records = std::span(bytes).subspan(kMacroArrayOffset);
  for (std::size_t i = 0; i < store.macros.size(); ++i) {
    EncodeMacroRecord(store.macros[i], records.subspan(i * kMacroRecordSize).first<kMacroRecordSize>());
  }
  bytes.insert(bytes.end(), area.begin(), area.end());
  return bytes;
}

bool DecodeConfigFile(std::span<const uint8_t> bytes, ConfigStore& store) {
  auto decoded = std::make_unique<ConfigStore>();
  if (!DecodeConfigImage(bytes, decoded->image)) {
    return false;
  }
  const ConfigFileHeader& header = decoded->image.header;
  if (header.macroCount > kMaxMacros ||
      bytes.size() < DeclaredFileSize(header.macroCount, header.stringBytes)) {
    return false;
  }
  decoded->macros.resize(header.macroCount);
  const auto records = bytes.subspan(kMacroArrayOffset);
  for (std::size_t i = 0; i < decoded->macros.size(); ++i) {
    if (!DecodeMacroRecord(records.subspan(i * kMacroRecordSize).first<kMacroRecordSize>(),
                           decoded->macros[i])) {
      return false;
    }
  }
  const auto area = records.subspan(header.macroCount * kMacroRecordSize, header.stringBytes);
  ReadHostStrings(decoded->image, area, decoded->hostStrings);
  store = std::move(*decoded);
  return true;
}

bool CreateDefaultConfig(const std::filesystem::path& path) {
  return ReplaceFileContents(path, EncodeConfigImage(DefaultConfigImage()));
}

void CreateDefaultConfig(ConfigStore& store) {
  store.Release();
}

int ValidateConfigFile(const std::filesystem::path& path, FilePrompts& prompts) {
  const auto size = RegularFileSize(path);
  if (!size) {
    return kConfigFileInvalid;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return kConfigFileUnreadable;
  }
  if (*size < kConfigImageSize) {
    return kConfigFileInvalid;
  }
  std::vector<uint8_t> head(kConfigImageSize);
  ConfigImage image;
  if (!ReadBytes(file, head) || !DecodeConfigImage(head, image)) {
    return kConfigFileUnreadable;
  }
  if (!HeaderIsConsistent(std::span(head).first<file_header::kSize>(), image.header)) {
    prompts.ShowMessage(kProfileFormatErrorText, path.u16string());
    return kConfigFileInvalid;
  }
  return kConfigFileValid;
}

bool LoadConfigFile(const std::filesystem::path& path, ConfigStore& store) {
  const auto size = RegularFileSize(path);
  std::ifstream file(path, std::ios::binary);
  if (!size || *size < kConfigImageSize || !file) {
    return false;
  }
  try {
    std::vector<uint8_t> bytes(kConfigImageSize);
    ConfigImage image;
    if (!ReadBytes(file, bytes) || !DecodeConfigImage(bytes, image) ||
        image.header.macroCount > kMaxMacros) {
      return false;
    }
    const uint64_t declared = DeclaredFileSize(image.header.macroCount, image.header.stringBytes);
    if (*size < declared) {
      return false;
    }
    bytes.resize(declared);
    const auto rest = std::span(bytes).subspan(kConfigImageSize);
    if (!file.read(reinterpret_cast<char*>(rest.data()), static_cast<std::streamsize>(rest.size()))) {
      return false;
    }
    return DecodeConfigFile(bytes, store);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool SaveConfigFile(ConfigState& config, const std::filesystem::path& path) {
  std::lock_guard lock(config.ConfigLock);
  const auto bytes = EncodeConfigFile(config.working);
  return bytes && ReplaceFileContents(path, *bytes);
}

bool SaveWorkingFile(ConfigState& config, const ConfigFolder& folder) {
  std::lock_guard lock(config.ConfigLock);
  const std::filesystem::path path = WorkingFilePath(folder);
  std::error_code error;
  return std::filesystem::exists(path, error) && SaveConfigFile(config, path);
}

}  // namespace mvk
