// The host strings: the texts of launch-program and text-block key slots,
// one entry per key slot of the image (profile × 512 + key index).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/config_image.h"

namespace mvk {

class HostStringTable {
 public:
  static constexpr std::size_t kEntries = kSlotCount;

  // Entry number of a key slot.
  static constexpr std::size_t EntryOf(int profile, int keyIndex) {
    return static_cast<std::size_t>(profile) * kSlotsPerProfile + static_cast<std::size_t>(keyIndex);
  }

  // Stores a text (cut at its first zero unit); its size counts the terminator.
  void Set(std::size_t entry, std::u16string_view text);
  // Releases an entry's text; an empty entry stays empty.
  void Free(std::size_t entry);
  void Clear();

  const std::u16string& Text(std::size_t entry) const { return texts_[entry]; }
  // Bytes of the entry's text including the terminator; 0 for an empty entry.
  uint32_t Size(std::size_t entry) const { return sizes_[entry]; }
  uint32_t Total() const { return total_; }

 private:
  std::array<std::u16string, kEntries> texts_{};
  std::array<uint32_t, kEntries> sizes_{};
  uint32_t total_ = 0;
};

// Lays out the texts of the launch-program and text-block slots one after the
// other in a zeroed area of the table's total size and stores each text's
// byte offset in its slot's value field. Texts of slots of any other type
// take no room.
std::vector<uint8_t> PackHostStrings(ConfigImage& image, const HostStringTable& table);

}  // namespace mvk
