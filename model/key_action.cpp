#include "model/key_action.h"

#include <array>

namespace mvk {
namespace {

// Modifier bit i stands for kModifierCodes[i].
constexpr std::array<KeyCode, 8> kModifierCodes = {0x01D, 0x02A, 0x038, 0x15B,
                                                   0x11D, 0x036, 0x138, 0x15C};

struct MouseRow {
  KeyCode code;
  MouseAction action;
};
constexpr std::array<MouseRow, 5> kMouseRows = {{
    {0x171, {action::kMouseButton, 0x01}},
    {0x172, {action::kMouseButton, 0x02}},
    {0x173, {action::kMouseButton, 0x04}},
    {0x161, {action::kMouseWheel, 0x01}},
    {0x162, {action::kMouseWheel, 0xFF}},
}};

}  // namespace

KeyCode ModifierCodeOfBits(uint8_t bits) {
  for (std::size_t bit = 0; bit < kModifierCodes.size(); ++bit) {
    if (bits & (1u << bit)) {
      return kModifierCodes[bit];
    }
  }
  return 0;
}

uint8_t ModifierBitOfCode(KeyCode code) {
  for (std::size_t bit = 0; bit < kModifierCodes.size(); ++bit) {
    if (kModifierCodes[bit] == code) {
      return static_cast<uint8_t>(1u << bit);
    }
  }
  return 0;
}

std::optional<MouseAction> MouseActionOfCode(KeyCode code) {
  for (const MouseRow& row : kMouseRows) {
    if (row.code == code) {
      return row.action;
    }
  }
  return std::nullopt;
}

KeyCode MouseCodeOfAction(uint8_t sub, uint8_t value) {
  for (const MouseRow& row : kMouseRows) {
    if (row.action.sub == sub && row.action.value == value) {
      return row.code;
    }
  }
  return 0;
}

KeyCode GKeyCodeOfNumber(uint8_t number) {
  if (number == 0 || number > kGKeyCount) {
    return 0;
  }
  return static_cast<KeyCode>(kFirstGKeyCode - 1 + number);
}

}  // namespace mvk
