#include "model/host_strings.h"

#include "model/little_endian.h"

namespace mvk {

void HostStringTable::Set(std::size_t entry, std::u16string_view text) {
  Free(entry);
  texts_[entry] = std::u16string(text.substr(0, text.find(u'\0')));
  sizes_[entry] = static_cast<uint32_t>((texts_[entry].size() + 1) * 2);
  total_ += sizes_[entry];
}

void HostStringTable::Free(std::size_t entry) {
  total_ -= sizes_[entry];
  sizes_[entry] = 0;
  texts_[entry].clear();
  texts_[entry].shrink_to_fit();
}

void HostStringTable::Clear() {
  for (std::size_t entry = 0; entry < kEntries; ++entry) {
    Free(entry);
  }
}

std::vector<uint8_t> PackHostStrings(ConfigImage& image, const HostStringTable& table) {
  std::vector<uint8_t> area(table.Total(), 0);
  std::size_t position = 0;
  for (std::size_t entry = 0; entry < HostStringTable::kEntries; ++entry) {
    const uint32_t size = table.Size(entry);
    KeySlot& slot = image.profiles[entry / kSlotsPerProfile][entry % kSlotsPerProfile];
    if (size == 0 || position + size > area.size() ||
        (slot.type != kAssignLaunch && slot.type != kAssignText)) {
      continue;
    }
    const std::u16string& text = table.Text(entry);
    for (std::size_t unit = 0; unit < text.size(); ++unit) {
      le::Put16(area, position + 2 * unit, text[unit]);
    }
    slot.value = static_cast<uint32_t>(position);
    position += size;
  }
  return area;
}

}  // namespace mvk
