// Little-endian field access for the model's byte formats. Callers check the
// span's size before they read or write a field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace mvk::le {

inline uint16_t Get16(std::span<const uint8_t> bytes, std::size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline uint32_t Get32(std::span<const uint8_t> bytes, std::size_t offset) {
  return static_cast<uint32_t>(Get16(bytes, offset)) |
         (static_cast<uint32_t>(Get16(bytes, offset + 2)) << 16);
}

inline void Put16(std::span<uint8_t> bytes, std::size_t offset, uint16_t value) {
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void Put32(std::span<uint8_t> bytes, std::size_t offset, uint32_t value) {
  Put16(bytes, offset, static_cast<uint16_t>(value));
  Put16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace mvk::le
