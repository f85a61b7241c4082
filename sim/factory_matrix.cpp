#include "sim/keyboard_memory.h"

namespace mvk::sim {
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
constexpr Action GKey(uint8_t number) { return {0x06, 0xA2, number}; }

// The keyboard's scan positions in columns of eight; the G keys sit in the
// gaps of the first eight columns.
constexpr Action kFactory[126] = {
    kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, GKey(1), GKey(2),
    // Esc, Grave accent, Tab, Caps Lock, Left Shift, Left Ctrl
    Key(0x29), Key(0x35), Key(0x2B), Key(0x39), Modifier(0x02), Modifier(0x01), GKey(3), GKey(4),
    // F1, 1, Q, A, Z, Left Win
    Key(0x3A), Key(0x1E), Key(0x14), Key(0x04), Key(0x1D), Modifier(0x08), GKey(5), GKey(6),
    // F2, 2, W, S, X, Left Alt
    Key(0x3B), Key(0x1F), Key(0x1A), Key(0x16), Key(0x1B), Modifier(0x04), GKey(7), GKey(8),
    // F3, 3, E, D, C, Space, Print Screen
    Key(0x3C), Key(0x20), Key(0x08), Key(0x07), Key(0x06), Key(0x2C), Key(0x46), GKey(9),
    // F4, 4, R, F, V, Right Alt, Scroll Lock
    Key(0x3D), Key(0x21), Key(0x15), Key(0x09), Key(0x19), Modifier(0x40), Key(0x47), kNone,
    // F5, 5, T, G, B, a keyboard function, Equals
    Key(0x3E), Key(0x22), Key(0x17), Key(0x0A), Key(0x05), {0x05, 0x02, 0x02}, Key(0x2E), kNone,
    // F6, 6, Y, H, N, App, Pause
    Key(0x3F), Key(0x23), Key(0x1C), Key(0x0B), Key(0x11), Key(0x65), Key(0x48), kNone,
    // F7, 7, U, J, M, Right Win, Insert, Delete
    Key(0x40), Key(0x24), Key(0x18), Key(0x0D), Key(0x10), Modifier(0x80), Key(0x49), Key(0x4C),
    // F8, 8, I, K, Comma, Right Ctrl, Home, End
    Key(0x41), Key(0x25), Key(0x0C), Key(0x0E), Key(0x36), Modifier(0x10), Key(0x4A), Key(0x4D),
    // F9, 9, O, L, Period, Left, Page Up, Page Down
    Key(0x42), Key(0x26), Key(0x12), Key(0x0F), Key(0x37), Key(0x50), Key(0x4B), Key(0x4E),
    // F10, 0, P, Semicolon, Slash, Down, Up, Right
    Key(0x43), Key(0x27), Key(0x13), Key(0x33), Key(0x38), Key(0x51), Key(0x52), Key(0x4F),
    // F11, Minus, Left bracket, Apostrophe, Right Shift, Backspace, Backslash, Enter
    Key(0x44), Key(0x2D), Key(0x2F), Key(0x34), Modifier(0x20), Key(0x2A), Key(0x31), Key(0x28),
    // F12, Right bracket, the two extra keys, Num Lock, Num /, Num *, Num -
    Key(0x45), Key(0x30), Key(0x64), Key(0x87), Key(0x53), Key(0x54), Key(0x55), Key(0x56),
    // Num 7, Num 8, Num 9, Num +, Num 4, Num 5, Num 6, Num 1
    Key(0x5F), Key(0x60), Key(0x61), Key(0x57), Key(0x5C), Key(0x5D), Key(0x5E), Key(0x59),
    // Num 2, Num 3, Num Enter, Num 0, Num .
    Key(0x5A), Key(0x5B), Key(0x58), Key(0x62), Key(0x63), kNone,
};

std::array<uint8_t, kMatrixSize> BuildFactoryMatrix() {
  std::array<uint8_t, kMatrixSize> matrix{};
  for (std::size_t position = 0; position < std::size(kFactory); ++position) {
    matrix[position * 3] = kFactory[position].keyClass;
    matrix[position * 3 + 1] = kFactory[position].sub;
    matrix[position * 3 + 2] = kFactory[position].value;
  }
  return matrix;
}

}  // namespace

const std::array<uint8_t, kMatrixSize>& FactoryDefaultMatrix() {
  static const std::array<uint8_t, kMatrixSize> matrix = BuildFactoryMatrix();
  return matrix;
}

}  // namespace mvk::sim
