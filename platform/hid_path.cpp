#include "platform/hid_path.h"

#include <charconv>
#include <cstdio>

namespace mvk {

std::string HidCollectionPath(const std::string& node, const HidAttributes& attributes,
                              std::size_t collectionIndex) {
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, "&vid_%04x&pid_%04x&col%02zu", unsigned{attributes.vendorId},
                unsigned{attributes.productId}, collectionIndex + 1);
  return node + suffix;
}

std::optional<HidPathParts> SplitHidCollectionPath(const std::string& path) {
  const std::size_t vid = path.rfind("&vid_");
  const std::size_t col = path.rfind("&col");
  if (vid == std::string::npos || col == std::string::npos || col < vid) {
    return std::nullopt;
  }
  const char* first = path.data() + col + 4;
  const char* last = path.data() + path.size();
  std::size_t number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc{} || end != last || number == 0) {
    return std::nullopt;
  }
  return HidPathParts{path.substr(0, vid), number - 1};
}

}  // namespace mvk
