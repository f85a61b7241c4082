// How the program recognises one of the keyboard's collections among all HID
// collections: by the numbers in the path first, then by what the opened
// collection says of itself.
#pragma once

#include <cstdint>
#include <string_view>

#include "device/hid_device.h"

namespace mvk {

inline constexpr uint16_t kKeyboardVendorId = 0x320F;
inline constexpr uint16_t kKeyboardProductId = 0x505B;

struct HidUsageId {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
};

inline constexpr HidUsageId kCommandCollection{0xFF1C, 0x92};
inline constexpr HidUsageId kConsumerCollection{0x0C, 0x01};

// The hexadecimal number that follows `key` ("vid_", "pid_") in the path,
// found without regard to case; 0 when the path has no such text.
uint32_t PathNumber(std::string_view path, std::string_view key);

// Walks the device's list from its cursor and leaves the first path that is
// the keyboard's collection `wanted` open in `device`, opened with `options`;
// a candidate that does not match is closed and passed over. False when no
// path matched. The caller frees the list.
bool OpenKeyboardCollection(CHidDevice& device, HidUsageId wanted, const HidOpenOptions& options);

}  // namespace mvk
