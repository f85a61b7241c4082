// Lighting: the 42-byte lighting record of each onboard profile, the per-key
// colour tables, the LED index of every key, and the reads and writes of
// both, each bracketed by KbBeginUpdate and KbEndUpdate.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "model/keys.h"
#include "model/settings_block.h"
#include "protocol/commands.h"
#include "protocol/keyboard_link.h"

namespace mvk {

inline constexpr std::size_t kLightingRecordSize = 42;
inline constexpr int kLedCount = 126;
inline constexpr std::size_t kKeyColourTableSize = kLedCount * 3;
inline constexpr int kNoLedIndex = -1;
inline constexpr int kGKeyLedIndex = 125;
inline constexpr int kFnLedIndex = 110;

// Byte offsets within a lighting record.
namespace lighting_field {
inline constexpr std::size_t kEffect = 0;
inline constexpr std::size_t kBrightness = 1;
inline constexpr std::size_t kSpeed = 2;
inline constexpr std::size_t kDirection = 3;
inline constexpr std::size_t kColourMode = 4;
inline constexpr std::size_t kEffectColour = 5;
inline constexpr std::size_t kReferenceColour = 9;
inline constexpr std::size_t kReportRate = 15;
inline constexpr std::size_t kEffectOption = 17;
inline constexpr std::size_t kEffect7Flag = 18;
inline constexpr std::size_t kTriggerKind = 19;
inline constexpr std::size_t kSecondColour = 25;
inline constexpr std::size_t kSecondColourFlag = 28;
inline constexpr std::size_t kThirdColour = 30;
inline constexpr std::size_t kThirdColourFlag = 33;
}  // namespace lighting_field

using LightingRecord = std::array<uint8_t, kLightingRecordSize>;
// Three bytes (red, green, blue) per LED index.
using KeyColourTable = std::array<uint8_t, kKeyColourTableSize>;

// Red in the low byte, then green, then blue.
using Colour = uint32_t;
constexpr Colour ColourOf(uint8_t red, uint8_t green, uint8_t blue) {
  return red | (green << 8) | (blue << 16);
}
std::array<uint8_t, 3> ColourBytes(Colour colour);

// The shown profile's record as the panel uses it.
struct LightingState {
  uint8_t effect = 0;
  uint8_t brightness = 0;
  uint8_t speed = 0;
  uint8_t direction = 0;
  bool multiColour = false;
  Colour effectColour = 0;
  Colour secondColour = 0;
  bool secondMultiColour = false;
  Colour thirdColour = 0;
  bool thirdMultiColour = false;
  uint8_t reportRate = 0;    // 0 to 3
  uint8_t effectOption = 0;  // 0 to 3
  uint8_t effect7Flag = 0;
  uint8_t triggerKind = 0;
  friend bool operator==(const LightingState&, const LightingState&) = default;
};

// Decodes a record into `state`. Out-of-range report rates show as 3 and
// effect options as 0; an effect 7 flag or trigger kind other than 0 or 1
// leaves the decoded value as it was.
void DecodeLightingRecord(const LightingRecord& record, LightingState& state);

// The lighting side of the shared configuration state; the window's thread
// alone touches it.
struct LightingConfig {
  std::array<LightingRecord, kProfileCount> records{};
  std::array<KeyColourTable, kProfileCount> keyColours{};
  SettingsBlock settings;
  LightingState decoded;
  int shownProfile = 0;
  bool lightView = false;
};

enum class LightingReadVariant {
  Refresh,  // profile buttons, lighting-changed and reset timers
  Reload,   // after the keyboard was attached
};

// What a lighting read needs of the lighting mode store.
struct LightingReadHooks {
  // Reload only, when the keyboard offers the user lighting mode: refill the
  // user lighting mode list and write the current user mode's key colours.
  std::function<void()> refreshUserMode;
  // Whether the settings file's light view switch reads 1.
  std::function<bool()> lightViewSetting;
};

// Reads the settings block and the three records and decodes the shown
// profile's. Returns 0, or -1 when the settings block could not be read (its
// lighting mode list is then empty and nothing else changes). A record whose
// read fails keeps its previous copy.
int ReadLighting(KeyboardLink& link, LightingConfig& config, LightingReadVariant variant,
                 const LightingReadHooks& hooks);

// One write of 1 or 3 bytes at profile × 42 + offset, or two such writes in
// one bracket. Results: kResultOk or the first failure (all commands are
// sent); kResultBadBank, with nothing sent, for a profile other than 0 to 2
// or a field that does not lie inside the record.
struct LightingFieldWrite {
  std::size_t offset;
  std::span<const uint8_t> bytes;
};
int WriteLightingFields(KeyboardLink& link, int profile,
                        std::span<const LightingFieldWrite> fields);
int WriteLightingField(KeyboardLink& link, int profile, std::size_t offset,
                       std::span<const uint8_t> bytes);

// What selecting an effect writes.
enum class EffectWrite {
  CodeAndColourMode,  // byte 0, then byte 4
  CodeOnly,           // byte 0
  Nothing,
};
EffectWrite EffectWriteOf(uint8_t effect);
// Writes an effect selection for the shown profile and records it in the
// decoded state; the colour mode sent is the decoded state's.
int WriteEffectSelection(KeyboardLink& link, LightingConfig& config, uint8_t effect);

// The speed byte of a speed slider position 0 to 4 (the keyboard counts the
// other way round).
uint8_t SpeedByteOfSliderPosition(int position);

// LED index of a key, kGKeyLedIndex for every G key, kNoLedIndex for keys
// without an LED. The Fn key has no key code: it is kFnLedIndex.
int LedIndexOfKey(KeyCode code);

// Writes one LED's colour into the shown profile's bank and stores it in the
// in-memory table. LED indexes outside 0 to 125 are refused.
int WriteKeyColour(KeyboardLink& link, LightingConfig& config, int ledIndex, Colour colour);
// Writes a profile's whole table in seven chunks of 18 LEDs.
int WriteKeyColourTable(KeyboardLink& link, const LightingConfig& config, int profile);
// The default record: effect 1, brightness 5, speed 2, multi-colour white,
// bytes 8 to 34 zero; bytes 35 to 41 are not written.
int WriteDefaultLighting(KeyboardLink& link, int profile);

}  // namespace mvk
