// Key codes and the constant tables behind them. A key code is a scan code of
// set 1 with the E0 prefix folded into bit 8, plus the program's own codes
// for mouse buttons, wheel steps and function pseudo-keys, and 0x200 + g for
// G key g + 1. The key index derived from it addresses the key table and
// every profile key map. All functions are pure and thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mvk {

using KeyCode = uint16_t;
using KeyIndex = uint16_t;

inline constexpr size_t kKeyTableSize = 256;
inline constexpr int kKeyListSize = 111;
// Key maps hold 512 slots; the G keys sit at 0x100 to 0x111.
inline constexpr size_t kKeyIndexCount = 512;
inline constexpr KeyCode kFirstGKeyCode = 0x200;
inline constexpr KeyIndex kFirstGKeyIndex = 0x100;
inline constexpr int kGKeyCount = 18;
// List position of keys that no key picker offers.
inline constexpr uint16_t kNoListPosition = 0xFFFF;
// Characters a name may take including the terminator, as the callers'
// text buffers do.
inline constexpr size_t kKeyNameCapacity = 260;

inline constexpr std::string_view kUnknownKeyTextKey = "UNKNOWN_KEY";

struct KeyRecord {
  uint8_t usage = 0;      // value in the keyboard's key matrix, 0 for none
  uint8_t vk = 0;         // Windows virtual-key code, 0 for none
  uint16_t listPosition = kNoListPosition;
  const char* nameKey = nullptr;  // language key of the display name
  const char* label = nullptr;    // English label, for tables and tests
};

// What the keyboard is told for a key: a kind and a value.
enum UsageKind : uint8_t {
  kUsageNone = 0,
  kUsageSystem = 1,
  kUsageMouse = 2,
  kUsageKeyboard = 7,
  kUsageConsumer = 12,
};

struct KeyUsage {
  uint8_t kind = kUsageNone;
  uint16_t value = 0;
  friend bool operator==(const KeyUsage&, const KeyUsage&) = default;
};

struct MultimediaEntry {
  KeyCode code;
  const char* nameKey;
  uint16_t consumerUsage;
};

struct MouseEntry {
  KeyCode code;
  const char* nameKey;
};

// Looks up a language text by key (section "TEXT").
using KeyTextLookup = std::function<std::u16string(std::string_view key)>;

constexpr KeyIndex KeyIndexOf(KeyCode code) {
  if (code < 0x100) return code;
  if (code < 0x200) return static_cast<KeyIndex>((code - 0x80) % 256);
  return static_cast<KeyIndex>(code - 0x100);
}

constexpr KeyCode KeyCodeOf(KeyIndex index) {
  if (index < 0x80) return index;
  if (index < 0x100) return static_cast<KeyCode>(index + 0x80);
  return static_cast<KeyCode>(index + 0x100);
}

constexpr bool IsGKeyIndex(KeyIndex index) {
  return index >= kFirstGKeyIndex && index < kFirstGKeyIndex + kGKeyCount;
}

// The record of a key index; indexes past the table give an empty record.
const KeyRecord& KeyRecordAt(KeyIndex index);

// The fixed word a key map stores with the assignment of a G key index;
// 0 for any other index.
uint16_t GKeyWord(KeyIndex index);

// Display name: the language text of the record's name key, else the
// unknown-key text formatted with the code; G keys are "G1", "G2" ... The
// result is cut to capacity - 1 characters.
std::u16string KeyName(KeyCode code, const KeyTextLookup& text,
                       size_t capacity = kKeyNameCapacity);

// Name of the key at a key-list position; empty when there is none.
std::u16string KeyNameByListPosition(int position, const KeyTextLookup& text);
// Code of the lowest record at a key-list position, 0 when none.
KeyCode KeyCodeOfListPosition(int position);
// List position of a key, kNoListPosition for keys outside the list.
uint16_t ListPositionOfKey(KeyCode code);

KeyUsage KeyUsageOf(KeyCode code);
KeyCode KeyCodeOfUsage(uint8_t kind, uint16_t value);

// Key code of a Windows keyboard message: vk is its virtual-key code,
// keyFlags its lParam (scan code in bits 16 to 23, extended flag in bit 24).
// 0 when the message is not a key.
KeyCode KeyCodeFromMessage(uint32_t vk, uint32_t keyFlags);

// Key index for a virtual-key code when a message carries no scan code;
// 0 for none.
KeyIndex KeyIndexOfVk(uint32_t vk);

// HID consumer usage of device usage 0xC0 + n is entry n.
std::span<const uint16_t, 32> ConsumerTable();
// The multimedia functions in the order assignments number them.
std::span<const MultimediaEntry, 18> MultimediaList();
// The mouse actions of a single-key assignment, in picker order.
std::span<const MouseEntry, 5> MouseList();

// Every language key the tables above refer to, sorted, without repeats.
std::vector<std::string_view> KeyLanguageKeys();

}  // namespace mvk
