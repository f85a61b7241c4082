#include "model/config_image.h"

#include <algorithm>
#include <numeric>

#include "model/keys.h"
#include "model/macro.h"
#include "model/little_endian.h"

namespace mvk {
namespace {

constexpr std::array<uint8_t, kKeyHeaderSize> kKeyHeader = {
    0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00,  // "KH", 32, 32800
    0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,  // 4 blocks of 512 slots
    0x0F, 0x32, 0x5B, 0x50, 0x4F, 0x1C, 0x0E, 0x00,  // vendor, product, constant
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

std::size_t SlotOffset(int profile, int keyIndex) {
  return kSlotsOffset + static_cast<std::size_t>(profile) * kProfileBlockSize +
         static_cast<std::size_t>(keyIndex) * key_slot::kSize;
}

void EncodeHeader(const ConfigFileHeader& header, std::span<uint8_t, file_header::kSize> out) {
  using namespace file_header;
  le::Put16(out, kMagic, header.magic);
  le::Put16(out, kHeaderSize, header.headerSize);
  le::Put16(out, kProfileCount, header.profileCount);
  le::Put16(out, kVersion, header.version);
  le::Put32(out, kTotalSize, header.totalSize);
  le::Put16(out, file_header::kSlotCount, header.slotCount);
  le::Put16(out, kMacroCount, header.macroCount);
  le::Put32(out, kStringBytes, header.stringBytes);
  le::Put32(out, kReserved20, header.reserved20);
  le::Put32(out, kReserved24, header.reserved24);
  le::Put16(out, kReserved28, header.reserved28);
  out[kFlag] = header.flag;
  out[kChecksum] = header.checksum;
}

ConfigFileHeader DecodeHeader(std::span<const uint8_t, file_header::kSize> bytes) {
  using namespace file_header;
  ConfigFileHeader header;
  header.magic = le::Get16(bytes, kMagic);
  header.headerSize = le::Get16(bytes, kHeaderSize);
  header.profileCount = le::Get16(bytes, kProfileCount);
  header.version = le::Get16(bytes, kVersion);
  header.totalSize = le::Get32(bytes, kTotalSize);
  header.slotCount = le::Get16(bytes, file_header::kSlotCount);
  header.macroCount = le::Get16(bytes, kMacroCount);
  header.stringBytes = le::Get32(bytes, kStringBytes);
  header.reserved20 = le::Get32(bytes, kReserved20);
  header.reserved24 = le::Get32(bytes, kReserved24);
  header.reserved28 = le::Get16(bytes, kReserved28);
  header.flag = bytes[kFlag];
  header.checksum = bytes[kChecksum];
  return header;
}

}  // namespace

void EncodeKeySlot(const KeySlot& slot, std::span<uint8_t, key_slot::kSize> out) {
  le::Put16(out, key_slot::kType, slot.type);
  le::Put16(out, key_slot::kExtra, slot.extra);
  le::Put32(out, key_slot::kValue, slot.value);
  le::Put32(out, key_slot::kSwitchMark, slot.switchMark);
  le::Put32(out, key_slot::kReserved, slot.reserved);
}

KeySlot DecodeKeySlot(std::span<const uint8_t, key_slot::kSize> bytes) {
  return {le::Get16(bytes, key_slot::kType), le::Get16(bytes, key_slot::kExtra),
          le::Get32(bytes, key_slot::kValue), le::Get32(bytes, key_slot::kSwitchMark),
          le::Get32(bytes, key_slot::kReserved)};
}

uint8_t HeaderChecksum(std::span<const uint8_t, file_header::kSize> header) {
  return static_cast<uint8_t>(
      std::accumulate(header.begin(), header.begin() + file_header::kChecksum, 0u));
}

void RefreshFileHeader(ConfigFileHeader& header, uint16_t macroCount, uint32_t stringBytes) {
  ConfigFileHeader fresh;
  fresh.macroCount = macroCount;
  fresh.stringBytes = stringBytes;
  fresh.totalSize = static_cast<uint32_t>(kConfigImageSize +
                                          std::size_t{macroCount} * kMacroRecordSize + stringBytes);
  std::array<uint8_t, file_header::kSize> bytes{};
  EncodeHeader(fresh, bytes);
  fresh.checksum = HeaderChecksum(bytes);
  header = fresh;
}

std::vector<uint8_t> EncodeConfigImage(const ConfigImage& image) {
  std::vector<uint8_t> bytes(kConfigImageSize, 0);
  const std::span<uint8_t> all(bytes);
  EncodeHeader(image.header, all.first<file_header::kSize>());
  std::copy(kKeyHeader.begin(), kKeyHeader.end(), bytes.begin() + kKeyHeaderOffset);
  for (int p = 0; p < kImageProfiles; ++p) {
    for (int k = 0; k < kSlotsPerProfile; ++k) {
      EncodeKeySlot(image.profiles[p][k], all.subspan(SlotOffset(p, k)).first<key_slot::kSize>());
    }
  }
  return bytes;
}

bool DecodeConfigImage(std::span<const uint8_t> bytes, ConfigImage& image) {
  if (bytes.size() < kConfigImageSize) {
    return false;
  }
  ConfigImage decoded;
  decoded.header = DecodeHeader(bytes.first<file_header::kSize>());
  for (int p = 0; p < kImageProfiles; ++p) {
    for (int k = 0; k < kSlotsPerProfile; ++k) {
      decoded.profiles[p][k] = DecodeKeySlot(bytes.subspan(SlotOffset(p, k)).first<key_slot::kSize>());
    }
  }
  image = decoded;
  return true;
}

ProfileKeyMap NewProfileKeyMap(int profile) {
  ProfileKeyMap map{};
  if (profile == 0) {
    for (int g = 0; g < kGKeyCount; ++g) {
      const auto index = static_cast<KeyIndex>(kFirstGKeyIndex + g);
      map[index].extra = GKeyWord(index);
    }
  }
  return map;
}

void NewKeyMaps(ConfigImage& image) {
  for (int p = 0; p < kImageProfiles; ++p) {
    image.profiles[p] = NewProfileKeyMap(p);
  }
}

ConfigImage DefaultConfigImage() {
  ConfigImage image;
  RefreshFileHeader(image.header, 0, 0);
  NewKeyMaps(image);
  return image;
}

}  // namespace mvk
