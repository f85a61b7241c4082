// The keyboard's three-byte key action (class, sub, value) and the pieces of
// its vocabulary that key matrices and macro events share: modifier bits and
// mouse actions, each one table used in both directions.
#pragma once

#include <cstdint>
#include <optional>

#include "model/keys.h"

namespace mvk {

struct KeyAction {
  uint8_t cls = 0;
  uint8_t sub = 0;
  uint8_t value = 0;
  friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

namespace action {
inline constexpr uint8_t kNone = 0x00;
inline constexpr uint8_t kMouse = 0x01;
inline constexpr uint8_t kKeyboard = 0x02;
inline constexpr uint8_t kConsumer = 0x03;
inline constexpr uint8_t kSystem = 0x04;
inline constexpr uint8_t kMacro = 0x05;
inline constexpr uint8_t kGKey = 0x06;

inline constexpr uint8_t kMouseButton = 0x01;
inline constexpr uint8_t kMouseWheel = 0x05;
inline constexpr uint8_t kModifier = 0x01;
inline constexpr uint8_t kUsage = 0x02;
inline constexpr uint8_t kPlayMacro = 0x01;
inline constexpr uint8_t kStopMacro = 0x02;
inline constexpr uint8_t kFunctionKey = 0x05;
inline constexpr uint8_t kGKeySub = 0xA2;
}  // namespace action

// The modifier key of the lowest set bit of `bits`; 0 when no bit is set.
KeyCode ModifierCodeOfBits(uint8_t bits);
// The modifier bit of a key code; 0 when the code is not one of the eight.
uint8_t ModifierBitOfCode(KeyCode code);

// A mouse button or wheel step as (sub, value): 01 01/02/04, 05 01/FF.
struct MouseAction {
  uint8_t sub;
  uint8_t value;
};
std::optional<MouseAction> MouseActionOfCode(KeyCode code);
// The key code of a mouse action; 0 for a pair the keyboard does not define.
KeyCode MouseCodeOfAction(uint8_t sub, uint8_t value);

// G key n (from 1) of the action vocabulary; 0 outside G1 to G18.
KeyCode GKeyCodeOfNumber(uint8_t number);

}  // namespace mvk
