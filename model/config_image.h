// The configuration image: the file header, the key header and the four
// profile key maps of 512 key slots. It is the in-memory key map store and
// the fixed head of every configuration file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mvk {

inline constexpr int kImageProfiles = 4;  // three onboard, one carried along
inline constexpr int kSlotsPerProfile = 512;
inline constexpr int kSlotCount = kImageProfiles * kSlotsPerProfile;

// Assignment types of a key slot.
enum AssignmentType : uint16_t {
  kAssignDefault = 0,
  kAssignDisabled = 1,
  kAssignKey = 2,
  kAssignLaunch = 3,
  kAssignMacro = 4,
  kAssignStopMacro = 5,
  kAssignText = 6,
  kAssignMultimedia = 7,
  kAssignFunction = 8,
};

struct KeySlot {
  uint16_t type = kAssignDefault;
  uint16_t extra = 0;  // G word of a G key, or a macro's loop count
  uint32_t value = 0;
  uint32_t switchMark = 0;
  uint32_t reserved = 0;
  friend bool operator==(const KeySlot&, const KeySlot&) = default;
};

namespace key_slot {
inline constexpr std::size_t kType = 0;
inline constexpr std::size_t kExtra = 2;
inline constexpr std::size_t kValue = 4;
inline constexpr std::size_t kSwitchMark = 8;
inline constexpr std::size_t kReserved = 12;
inline constexpr std::size_t kSize = 16;
}  // namespace key_slot

void EncodeKeySlot(const KeySlot& slot, std::span<uint8_t, key_slot::kSize> out);
KeySlot DecodeKeySlot(std::span<const uint8_t, key_slot::kSize> bytes);

namespace file_header {
inline constexpr std::size_t kMagic = 0;
inline constexpr std::size_t kHeaderSize = 2;
inline constexpr std::size_t kProfileCount = 4;
inline constexpr std::size_t kVersion = 6;
inline constexpr std::size_t kTotalSize = 8;
inline constexpr std::size_t kSlotCount = 12;
inline constexpr std::size_t kMacroCount = 14;
inline constexpr std::size_t kStringBytes = 16;
inline constexpr std::size_t kReserved20 = 20;
inline constexpr std::size_t kReserved24 = 24;
inline constexpr std::size_t kReserved28 = 28;
inline constexpr std::size_t kFlag = 30;
inline constexpr std::size_t kChecksum = 31;
inline constexpr std::size_t kSize = 32;

inline constexpr uint16_t kMagicValue = 0x4446;  // "FD"
inline constexpr uint16_t kProfileCountValue = 3;
inline constexpr uint16_t kVersionValue = 1;
}  // namespace file_header

inline constexpr std::size_t kKeyHeaderOffset = file_header::kSize;
inline constexpr std::size_t kKeyHeaderSize = 32;
inline constexpr std::size_t kSlotsOffset = kKeyHeaderOffset + kKeyHeaderSize;
inline constexpr std::size_t kProfileBlockSize = kSlotsPerProfile * key_slot::kSize;
inline constexpr std::size_t kConfigImageSize = kSlotsOffset + kImageProfiles * kProfileBlockSize;
static_assert(kProfileBlockSize == 8192);
static_assert(kConfigImageSize == 32832);

struct ConfigFileHeader {
  uint16_t magic = file_header::kMagicValue;
  uint16_t headerSize = file_header::kSize;
  uint16_t profileCount = file_header::kProfileCountValue;
  uint16_t version = file_header::kVersionValue;
  uint32_t totalSize = kConfigImageSize;
  uint16_t slotCount = kSlotCount;
  uint16_t macroCount = 0;
  uint32_t stringBytes = 0;
  uint32_t reserved20 = 0;
  uint32_t reserved24 = 0;
  uint16_t reserved28 = 0;
  uint8_t flag = 0;
  uint8_t checksum = 0;
  friend bool operator==(const ConfigFileHeader&, const ConfigFileHeader&) = default;
};

using ProfileKeyMap = std::array<KeySlot, kSlotsPerProfile>;

struct ConfigImage {
  ConfigFileHeader header;
  std::array<ProfileKeyMap, kImageProfiles> profiles{};
  friend bool operator==(const ConfigImage&, const ConfigImage&) = default;
};

// Sum of header bytes 0 to 30, modulo 256.
uint8_t HeaderChecksum(std::span<const uint8_t, file_header::kSize> header);

// Rewrites the whole header for a write: the fixed values, the counts, the
// total size, flag 0 and the checksum.
void RefreshFileHeader(ConfigFileHeader& header, uint16_t macroCount, uint32_t stringBytes);

// 32832 bytes: the header as it stands, the constant key header, the slots.
std::vector<uint8_t> EncodeConfigImage(const ConfigImage& image);
// Reads the first 32832 bytes; the key header is not compared. Refuses
// (false, `image` untouched) fewer bytes.
bool DecodeConfigImage(std::span<const uint8_t> bytes, ConfigImage& image);

// The key maps of a new image: every slot zero, then the G words in the G key
// slots of profile 0 only.
void NewKeyMaps(ConfigImage& image);
// The map that a key matrix read from the keyboard is laid over: zero, with
// the G words when the profile is 0.
ProfileKeyMap NewProfileKeyMap(int profile);

// A default image: new key maps and a header for no macros and no strings.
ConfigImage DefaultConfigImage();

}  // namespace mvk
