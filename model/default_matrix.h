// The key matrix the keyboard assigns to its positions by itself, as the
// program knows it before it has read the keyboard's own copy.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol/commands.h"

namespace mvk {

inline constexpr std::size_t kKeyActionSize = 3;
inline constexpr std::size_t kKeyMatrixPositions = kKeyMatrixSize / kKeyActionSize;
static_assert(kKeyMatrixPositions == 126);

// 126 key actions of three bytes: class, sub, value.
using KeyMatrix = std::array<uint8_t, kKeyMatrixSize>;

// The built-in copy: positions 0 to 63 filled, 64 to 125 no function. It is
// in use until the keyboard's default matrix has been read.
const KeyMatrix& BuiltInDefaultMatrix();

}  // namespace mvk
