#include "model/macro.h"

#include <algorithm>

#include "model/key_action.h"
#include "model/little_endian.h"

namespace mvk {
namespace {

// Area event types (bits 12 to 14 of the control word).
constexpr uint8_t kEventNone = 0;
constexpr uint8_t kEventMouse = 1;
constexpr uint8_t kEventKeyboard = 2;
constexpr uint8_t kEventConsumer = 3;
constexpr uint8_t kEventSystem = 4;
constexpr uint8_t kEventGKey = 6;

constexpr uint16_t kPressBit = 0x8000;
constexpr uint16_t kDelayMask = 0x0FFF;
constexpr uint32_t kDelayUnitMs = 10;

struct AreaEventData {
  uint8_t type = kEventNone;
  uint8_t d0 = 0;
  uint8_t d1 = 0;
};

AreaEventData EventDataOfKey(KeyCode key) {
  if (const uint8_t bit = ModifierBitOfCode(key)) {
    return {kEventKeyboard, action::kModifier, bit};
  }
  const KeyUsage usage = KeyUsageOf(key);
  switch (usage.kind) {
    case kUsageKeyboard:
      return {kEventKeyboard, action::kUsage, static_cast<uint8_t>(usage.value)};
    case kUsageSystem:
      return {kEventSystem, static_cast<uint8_t>(usage.value), 0};
    case kUsageMouse:
      if (const auto mouse = MouseActionOfCode(key)) {
        return {kEventMouse, mouse->sub, mouse->value};
      }
      return {};
    default:
      return {};
  }
}

KeyCode KeyOfEventData(const AreaEventData& data) {
  const uint16_t word = static_cast<uint16_t>(data.d0 | (data.d1 << 8));
  switch (data.type) {
    case kEventMouse:
      return MouseCodeOfAction(data.d0, data.d1);
    case kEventKeyboard:
      return data.d0 == action::kUsage ? KeyCodeOfUsage(kUsageKeyboard, data.d1)
                                       : ModifierCodeOfBits(data.d1);
    case kEventConsumer:
      return KeyCodeOfUsage(kUsageConsumer, word);
    case kEventSystem:
      return KeyCodeOfUsage(kUsageSystem, word);
    case kEventGKey:
      return data.d0 == action::kGKeySub ? GKeyCodeOfNumber(data.d1) : 0;
    default:
      return 0;
  }
}

std::size_t NameLength(const MacroRecord& record) {
  const auto end = record.name.begin() + kMaxMacroNameLength;
  return static_cast<std::size_t>(std::find(record.name.begin(), end, u'\0') - record.name.begin());
}

std::size_t EntrySize(const MacroRecord& record, bool withNames) {
  return macro_area::kEntryHeadSize + kAreaEventSize * record.UsedEvents().size() +
         (withNames ? 2 * NameLength(record) : 0);
}

std::size_t AreaSize(const MacroList& list, bool withNames) {
  std::size_t size = macro_area::kHeaderSize + 2 * list.size();
  for (const MacroRecord& record : list) {
    size += EntrySize(record, withNames);
  }
  return size;
}

std::u16string NumberedName(std::u16string_view prefix, std::size_t number) {
  std::u16string name(prefix);
  for (const char digit : std::to_string(number)) {
    name.push_back(static_cast<char16_t>(digit));
  }
  return name;
}

}  // namespace

std::u16string MacroRecord::Name() const {
  return std::u16string(name.data(), NameLength(*this));
}

void MacroRecord::SetName(std::u16string_view text) {
  name.fill(u'\0');
  const std::size_t length = std::min(text.size(), kMaxMacroNameLength);
  std::copy_n(text.begin(), length, name.begin());
}

std::span<const MacroEvent> MacroRecord::UsedEvents() const {
  return std::span(events).first(std::min<std::size_t>(eventCount, kMaxMacroEvents));
}

void EncodeMacroRecord(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> out) {
  using namespace macro_record;
  std::fill(out.begin(), out.end(), uint8_t{0});
  for (std::size_t i = 0; i < kMacroNameUnits; ++i) {
    le::Put16(out, kName + 2 * i, record.name[i]);
  }
  out[kCycles] = record.cycles;
  le::Put16(out, kIsNew, record.isNew);
  le::Put16(out, kReserved504, record.reserved504);
  le::Put16(out, kId, record.id);
  le::Put16(out, kEventCount, record.eventCount);
  for (std::size_t i = 0; i < kMaxMacroEvents; ++i) {
    const std::size_t at = kEvents + i * macro_event::kSize;
    le::Put32(out, at + macro_event::kDelay, record.events[i].delay);
    le::Put16(out, at + macro_event::kKey, record.events[i].key);
    le::Put16(out, at + macro_event::kAction, record.events[i].action);
  }
}

bool DecodeMacroRecord(std::span<const uint8_t, kMacroRecordSize> bytes, MacroRecord& record) {
  using namespace macro_record;
  const uint16_t eventCount = le::Get16(bytes, kEventCount);
  if (eventCount > kMaxMacroEvents) {
    return false;
  }
  MacroRecord decoded;
  for (std::size_t i = 0; i < kMaxMacroNameLength; ++i) {
    decoded.name[i] = le::Get16(bytes, kName + 2 * i);
  }
  decoded.cycles = bytes[kCycles];
  decoded.isNew = le::Get16(bytes, kIsNew);
  decoded.reserved504 = le::Get16(bytes, kReserved504);
  decoded.id = le::Get16(bytes, kId);
  decoded.eventCount = eventCount;
  for (std::size_t i = 0; i < kMaxMacroEvents; ++i) {
    const std::size_t at = kEvents + i * macro_event::kSize;
    decoded.events[i] = {le::Get32(bytes, at + macro_event::kDelay),
                         le::Get16(bytes, at + macro_event::kKey),
                         le::Get16(bytes, at + macro_event::kAction)};
  }
  record = decoded;
  return true;
}

uint16_t NewMacroId(const MacroList& list) {
  for (uint16_t id = 1; id <= kMaxMacros; ++id) {
    const bool taken =
        std::any_of(list.begin(), list.end(), [id](const MacroRecord& m) { return m.id == id; });
    if (!taken) {
      return id;
    }
  }
  return 0;
}

std::optional<MacroRecord> MakeNewMacro(const MacroList& list, std::u16string_view name) {
  const uint16_t id = NewMacroId(list);
  if (id == 0 || list.size() >= kMaxMacros) {
    return std::nullopt;
  }
  MacroRecord record;
  record.SetName(name);
  record.cycles = 1;
  record.isNew = 1;
  record.id = id;
  return record;
}

uint16_t MacroIndexOfId(const MacroList& list, uint16_t id) {
  const auto found =
      std::find_if(list.begin(), list.end(), [id](const MacroRecord& m) { return m.id == id; });
  return found == list.end() ? 0 : static_cast<uint16_t>(found - list.begin());
}

std::array<uint8_t, kAreaEventSize> EncodeAreaEvent(const MacroEvent& event) {
  const AreaEventData data = EventDataOfKey(event.key);
  // Delays past the 12-bit field saturate rather than wrap round to a
  // short one.
  const uint32_t units = std::min<uint32_t>(event.delay / kDelayUnitMs, kDelayMask);
  uint16_t control = static_cast<uint16_t>(units | (data.type << 12));
  if (event.action != kMacroRelease) {
    control |= kPressBit;
  }
  return {static_cast<uint8_t>(control), static_cast<uint8_t>(control >> 8), data.d0, data.d1};
}

MacroEvent DecodeAreaEvent(std::span<const uint8_t, kAreaEventSize> bytes) {
  const uint16_t control = le::Get16(bytes, 0);
  const AreaEventData data{static_cast<uint8_t>((control >> 12) & 0x7), bytes[2], bytes[3]};
  return {(control & kDelayMask) * kDelayUnitMs, KeyOfEventData(data),
          (control & kPressBit) ? kMacroPress : kMacroRelease};
}

MacroAreaSize MacroAreaSizes(const MacroList& list) {
  return {static_cast<uint32_t>(AreaSize(list, true)),
          static_cast<uint32_t>(AreaSize(list, false))};
}

std::optional<std::vector<uint8_t>> EncodeMacroArea(const MacroList& list, bool withNames) {
  const std::size_t total = AreaSize(list, withNames);
  if (list.size() > kMaxMacros || total > 0xFFFF) {
    return std::nullopt;
  }
  std::vector<uint8_t> area(total, 0);
  le::Put16(area, macro_area::kMagicOffset, macro_area::kMagic);
  le::Put16(area, macro_area::kTotalSize, static_cast<uint16_t>(total));
  le::Put16(area, macro_area::kCount, static_cast<uint16_t>(list.size()));
  le::Put16(area, macro_area::kNamesFlag, withNames ? 1 : 0);

  std::size_t position = macro_area::kHeaderSize + 2 * list.size();
  for (std::size_t i = 0; i < list.size(); ++i) {
    const MacroRecord& record = list[i];
    const std::span<const MacroEvent> events = record.UsedEvents();
    const std::size_t nameLength = withNames ? NameLength(record) : 0;
    le::Put16(area, macro_area::kHeaderSize + 2 * i, static_cast<uint16_t>(position));
    le::Put16(area, position + macro_area::kEntryEventCount, static_cast<uint16_t>(events.size()));
    area[position + macro_area::kEntryCycles] = record.cycles;
    area[position + macro_area::kEntryNameLength] = static_cast<uint8_t>(nameLength);
    position += macro_area::kEntryHeadSize;
    for (const MacroEvent& event : events) {
      const auto bytes = EncodeAreaEvent(event);
      std::copy(bytes.begin(), bytes.end(), area.begin() + static_cast<std::ptrdiff_t>(position));
      position += kAreaEventSize;
    }
    for (std::size_t unit = 0; unit < nameLength; ++unit) {
      le::Put16(area, position, record.name[unit]);
      position += 2;
    }
  }
  return area;
}

// The area comes from the keyboard and is trusted for nothing. Reading stops
// at the smaller of the bytes at hand and the header's total size; at most
// 100 macros are taken, and no more than the offset table that fits. A macro
// whose entry lies outside that range keeps its position as an empty macro,
// so that key assignments, which name macros by position, still find the
// macros after it. An entry's events and name are cut to what the area
// holds, to 4000 events and to 249 name units.
std::size_t DecodeMacroArea(std::span<const uint8_t> area, std::u16string_view namePrefix,
                            MacroList& records) {
  using namespace macro_area;
  records.clear();
  if (area.size() < kHeaderSize || le::Get16(area, kMagicOffset) != kMagic) {
    return 0;
  }
  const std::size_t limit = std::min<std::size_t>(area.size(), le::Get16(area, kTotalSize));
  if (limit < kHeaderSize) {
    return 0;
  }
  const std::size_t count = std::min<std::size_t>(
      {le::Get16(area, kCount), kMaxMacros, (limit - kHeaderSize) / 2});
  const std::size_t entriesStart = kHeaderSize + 2 * count;
  records.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    MacroRecord& record = records[i];
    record.id = static_cast<uint16_t>(i + 1);
    record.cycles = 1;
    std::size_t position = le::Get16(area, kHeaderSize + 2 * i);
    std::size_t nameLength = 0;
    if (position >= entriesStart && position + kEntryHeadSize <= limit) {
      const std::size_t room = limit - position - kEntryHeadSize;
      const std::size_t eventCount = std::min<std::size_t>(
          {le::Get16(area, position + kEntryEventCount), kMaxMacroEvents, room / kAreaEventSize});
      record.cycles = area[position + kEntryCycles];
      nameLength = std::min<std::size_t>({area[position + kEntryNameLength], kMaxMacroNameLength,
                                          (room - kAreaEventSize * eventCount) / 2});
      record.eventCount = static_cast<uint16_t>(eventCount);
      position += kEntryHeadSize;
      for (std::size_t e = 0; e < eventCount; ++e, position += kAreaEventSize) {
        record.events[e] = DecodeAreaEvent(area.subspan(position).first<kAreaEventSize>());
      }
      for (std::size_t unit = 0; unit < nameLength; ++unit, position += 2) {
        record.name[unit] = le::Get16(area, position);
      }
    }
    if (nameLength == 0) {
      record.SetName(NumberedName(namePrefix, i + 1));
    }
  }
  return count;
}

}  // namespace mvk
