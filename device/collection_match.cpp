#include "device/collection_match.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

namespace mvk {
namespace {

bool PathNamesKeyboard(std::string_view path) {
  return (PathNumber(path, "vid_") & 0xFFFF) == kKeyboardVendorId &&
         (PathNumber(path, "pid_") & 0xFFFF) == kKeyboardProductId;
}

bool IsWanted(const CHidDevice& device, HidUsageId wanted) {
  const HidAttributes attributes = device.Attributes();
  const HidCaps caps = device.Capabilities();
  return attributes.vendorId == kKeyboardVendorId && attributes.productId == kKeyboardProductId &&
         caps.usagePage == wanted.usagePage && caps.usage == wanted.usage;
}

}  // namespace

uint32_t PathNumber(std::string_view path, std::string_view key) {
  const auto sameLetter = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  const auto at = std::search(path.begin(), path.end(), key.begin(), key.end(), sameLetter);
  if (at == path.end()) {
    return 0;
  }
  const std::string rest(at + key.size(), path.end());
  unsigned number = 0;
  return std::sscanf(rest.c_str(), "%x", &number) == 1 ? number : 0;
}

bool OpenKeyboardCollection(CHidDevice& device, HidUsageId wanted,
                            const HidOpenOptions& options) {
  while (const auto path = device.NextDevicePath()) {
    if (!PathNamesKeyboard(*path) || !device.Open(*path, options)) {
      continue;
    }
    if (IsWanted(device, wanted)) {
      return true;
    }
    device.Close();
  }
  return false;
}

}  // namespace mvk
