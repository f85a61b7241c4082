#include "model/default_matrix.h"

namespace mvk {
namespace {

struct Action {
  uint8_t keyClass;
  uint8_t sub;
  uint8_t value;
};

constexpr Action kNone{0x00, 0x00, 0x00};
constexpr Action kSpecial{0x05, 0x00, 0x00};
constexpr Action Key(uint8_t usage) { return {0x02, 0x02, usage}; }
constexpr Action Modifier(uint8_t bit) { return {0x02, 0x01, bit}; }

// Positions 0 to 63, in columns of eight as the keyboard scans them.
constexpr Action kBuiltIn[64] = {
    kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, kNone, kNone,
    // Esc, Grave accent, Tab, Caps Lock, Left Shift, Left Ctrl
    Key(0x29), Key(0x35), Key(0x2B), Key(0x39), Modifier(0x02), Modifier(0x01), kNone, kNone,
    // F1, 1, Q, A, Z, Left Win
    Key(0x3A), Key(0x1E), Key(0x14), Key(0x04), Key(0x1D), Modifier(0x08), kNone, kNone,
    // F2, 2, W, S, X, Left Alt
    Key(0x3B), Key(0x1F), Key(0x1A), Key(0x16), Key(0x1B), Modifier(0x04), kNone, kNone,
    // F3, 3, E, D, C, Space, Print Screen
    Key(0x3C), Key(0x20), Key(0x08), Key(0x07), Key(0x06), Key(0x2C), Key(0x46), kNone,
    // F4, 4, R, F, V, Right Alt, Scroll Lock
    Key(0x3D), Key(0x21), Key(0x15), Key(0x09), Key(0x19), Modifier(0x40), Key(0x47), kNone,
    // F5, 5, T, G, B, a keyboard function, Equals
    Key(0x3E), Key(0x22), Key(0x17), Key(0x0A), Key(0x05), {0x05, 0x02, 0x02}, Key(0x2E), kNone,
    // F6, 6, Y, H, N, App, Pause
    Key(0x3F), Key(0x23), Key(0x1C), Key(0x0B), Key(0x11), Key(0x65), Key(0x48), kNone,
};

KeyMatrix BuildBuiltIn() {
  KeyMatrix matrix{};
  for (std::size_t position = 0; position < std::size(kBuiltIn); ++position) {
    const Action& action = kBuiltIn[position];
    matrix[position * kKeyActionSize] = action.keyClass;
    matrix[position * kKeyActionSize + 1] = action.sub;
    matrix[position * kKeyActionSize + 2] = action.value;
  }
  return matrix;
}

}  // namespace

const KeyMatrix& BuiltInDefaultMatrix() {
  static const KeyMatrix matrix = BuildBuiltIn();
  return matrix;
}

}  // namespace mvk
