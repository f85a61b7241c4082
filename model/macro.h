// Macros: the fixed-size record kept in memory and in configuration files,
// the macro list, and the compact macro area packed for the keyboard.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/keys.h"

namespace mvk {

inline constexpr std::size_t kMaxMacros = 100;
inline constexpr std::size_t kMaxMacroEvents = 4000;
inline constexpr std::size_t kMacroNameUnits = 250;
inline constexpr std::size_t kMaxMacroNameLength = kMacroNameUnits - 1;

inline constexpr uint16_t kMacroPress = 0;
inline constexpr uint16_t kMacroRelease = 1;

struct MacroEvent {
  uint32_t delay = 0;  // milliseconds to wait after this event
  KeyCode key = 0;
  uint16_t action = kMacroPress;
  friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

// Byte layout of one event inside a stored record.
namespace macro_event {
inline constexpr std::size_t kDelay = 0;
inline constexpr std::size_t kKey = 4;
inline constexpr std::size_t kAction = 6;
inline constexpr std::size_t kSize = 8;
}  // namespace macro_event

// Byte layout of a stored record; part of the configuration file format.
namespace macro_record {
inline constexpr std::size_t kName = 0;
inline constexpr std::size_t kCycles = 500;
inline constexpr std::size_t kIsNew = 502;
inline constexpr std::size_t kReserved504 = 504;
inline constexpr std::size_t kId = 506;
inline constexpr std::size_t kEventCount = 508;
inline constexpr std::size_t kEvents = 512;
inline constexpr std::size_t kSize = 32512;
static_assert(kName + kMacroNameUnits * 2 == kCycles);
static_assert(kEvents + kMaxMacroEvents * macro_event::kSize == kSize);
}  // namespace macro_record
inline constexpr std::size_t kMacroRecordSize = macro_record::kSize;

struct MacroRecord {
  std::array<char16_t, kMacroNameUnits> name{};  // zero-terminated
  uint8_t cycles = 0;
  uint16_t isNew = 0;        // 1 while created in the editor and not yet applied
  uint16_t reserved504 = 0;  // carried along unchanged from files
  uint16_t id = 0;           // 1 to 100, unique within a list
  uint16_t eventCount = 0;
  std::array<MacroEvent, kMaxMacroEvents> events{};

  // The name up to its terminator, at most 249 units.
  std::u16string Name() const;
  // Stores a name cut to 249 units; the rest of the field becomes zero.
  void SetName(std::u16string_view text);
  // The events in use, never more than the record holds.
  std::span<const MacroEvent> UsedEvents() const;

  friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

// At most kMaxMacros records; position p is macro number p on the keyboard.
using MacroList = std::vector<MacroRecord>;

void EncodeMacroRecord(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> out);
// Refuses (false, `record` untouched) an event count above 4000. A name
// without terminator is cut to 249 units.
bool DecodeMacroRecord(std::span<const uint8_t, kMacroRecordSize> bytes, MacroRecord& record);

// The smallest id from 1 to 100 that no macro of the list uses; 0 when all are.
uint16_t NewMacroId(const MacroList& list);
// A new, empty macro for the editor: a fresh id, one cycle, the new-macro mark.
// nullopt when the list is full.
std::optional<MacroRecord> MakeNewMacro(const MacroList& list, std::u16string_view name);
// Position of the macro with this id, or 0 when none has it.
uint16_t MacroIndexOfId(const MacroList& list, uint16_t id);

// Event in the macro area: a control word (delay in 10 ms units in bits 0
// to 11, type in bits 12 to 14, press in bit 15) and two data bytes.
inline constexpr std::size_t kAreaEventSize = 4;
std::array<uint8_t, kAreaEventSize> EncodeAreaEvent(const MacroEvent& event);
MacroEvent DecodeAreaEvent(std::span<const uint8_t, kAreaEventSize> bytes);

namespace macro_area {
inline constexpr uint16_t kMagic = 0x55AA;
inline constexpr std::size_t kMagicOffset = 0;
inline constexpr std::size_t kTotalSize = 2;
inline constexpr std::size_t kCount = 4;
inline constexpr std::size_t kNamesFlag = 6;
inline constexpr std::size_t kHeaderSize = 16;  // the offset table follows
inline constexpr std::size_t kEntryEventCount = 0;
inline constexpr std::size_t kEntryCycles = 2;
inline constexpr std::size_t kEntryNameLength = 3;
inline constexpr std::size_t kEntryHeadSize = 4;  // events, then the name
}  // namespace macro_area

struct MacroAreaSize {
  uint32_t withNames = 0;
  uint32_t withoutNames = 0;
};
MacroAreaSize MacroAreaSizes(const MacroList& list);

// The packed area, names carried or not. nullopt when the list has more than
// 100 macros or the area would not fit the 16-bit sizes and offsets of its
// format (no keyboard's memory is that large).
std::optional<std::vector<uint8_t>> EncodeMacroArea(const MacroList& list, bool withNames);

// Unpacks an area read from the keyboard into `records` (replaced) and
// returns the number of records. A bad magic gives none. Macros without a
// name are named `namePrefix` followed by their number.
std::size_t DecodeMacroArea(std::span<const uint8_t> area, std::u16string_view namePrefix,
                            MacroList& records);

}  // namespace mvk
