#include "model/keys.h"

#include <cstdio>
#include <optional>

namespace mvk {
namespace {

constexpr uint16_t kNoUsage = 0x00;
constexpr uint16_t kUnusedUsage = 0xFF;
constexpr uint16_t kFirstSystemUsage = 0x81;
constexpr uint16_t kLastSystemUsage = 0x83;
constexpr uint16_t kFirstMouseUsage = 0xF1;
constexpr uint16_t kLastMouseUsage = 0xF8;
constexpr uint16_t kFirstConsumerDeviceUsage = 0xC0;

constexpr uint32_t kVkNoVirtualKey = 0xFF;
constexpr KeyCode kScrollLockCode = 0x046;
constexpr KeyCode kSysReqCode = 0x054;
constexpr KeyCode kPrintScreenCode = 0x137;
constexpr KeyCode kExtendedRightShiftCode = 0x136;
constexpr KeyCode kRightShiftCode = 0x036;
constexpr KeyCode kBreakCode = 0x146;
constexpr KeyCode kPauseCode = 0x045;

std::u16string FromAscii(std::string_view text) { return {text.begin(), text.end()}; }

// One printf conversion of an integer: flags, width and precision of at most
// two digits each, an optional length modifier and one of d i u x X o.
std::optional<std::string> IntegerConversionAt(std::u16string_view format, size_t& pos, int value) {
  size_t at = pos + 1;
  std::string conversion = "%";
  const auto take = [&](std::u16string_view accepted, size_t most) {
    size_t taken = 0;
    while (at < format.size() && taken < most && accepted.find(format[at]) != std::u16string_view::npos) {
      conversion += static_cast<char>(format[at++]);
      ++taken;
    }
  };
  take(u"-+ #0", 5);
  take(u"0123456789", 2);
  if (at < format.size() && format[at] == u'.') {
    conversion += '.';
    ++at;
    take(u"0123456789", 2);
  }
  while (at < format.size() && (format[at] == u'h' || format[at] == u'l')) ++at;
  if (at >= format.size() || std::u16string_view(u"diuxXo").find(format[at]) == std::u16string_view::npos) {
    return std::nullopt;
  }
  conversion += static_cast<char>(format[at]);
  char out[64];
  std::snprintf(out, sizeof out, conversion.c_str(), value);
  pos = at + 1;
  return std::string(out);
}

// The unknown-key text comes from the language file, so it is never handed
// to printf as it stands: "%%" and the first integer conversion are
// expanded, everything else is copied literally.
std::u16string FormatWithKeyCode(std::u16string_view format, int value) {
  std::u16string result;
  bool converted = false;
  for (size_t pos = 0; pos < format.size();) {
    if (format[pos] != u'%') {
      result += format[pos++];
      continue;
    }
    if (pos + 1 < format.size() && format[pos + 1] == u'%') {
      result += u'%';
      pos += 2;
      continue;
    }
    if (!converted) {
      if (auto text = IntegerConversionAt(format, pos, value)) {
        result += FromAscii(*text);
        converted = true;
        continue;
      }
    }
    result += format[pos++];
  }
  return result;
}

std::u16string GKeyName(KeyCode code) {
  return u"G" + FromAscii(std::to_string(code - kFirstGKeyCode + 1));
}

std::u16string UncutKeyName(KeyCode code, const KeyTextLookup& text) {
  if (code >= kFirstGKeyCode) return GKeyName(code);
  const KeyRecord& record = KeyRecordAt(KeyIndexOf(code));
  if (record.nameKey != nullptr) {
    std::u16string name = text(record.nameKey);
    if (!name.empty()) return name;
  }
  return FormatWithKeyCode(text(kUnknownKeyTextKey), code);
}

std::optional<KeyIndex> IndexOfListPosition(int position) {
  if (position < 0 || position >= kKeyListSize) return std::nullopt;
  for (KeyIndex index = 0; index < kKeyTableSize; ++index) {
    if (KeyRecordAt(index).listPosition == position) return index;
  }
  return std::nullopt;
}

uint16_t DeviceUsageOf(uint8_t kind, uint16_t value) {
  switch (kind) {
    case kUsageKeyboard:
      return value;
    case kUsageSystem:
      return value >= kFirstSystemUsage && value <= kLastSystemUsage ? value : kNoUsage;
    case kUsageConsumer: {
      const auto table = ConsumerTable();
      for (size_t n = 0; n < table.size(); ++n) {
        if (table[n] == value) return static_cast<uint16_t>(kFirstConsumerDeviceUsage + n);
      }
      return kNoUsage;
    }
    default:
      return kNoUsage;
  }
}

KeyCode ScanCodeOf(uint32_t keyFlags) { return static_cast<KeyCode>((keyFlags >> 16) & 0x1FF); }

// Windows reports a few keys under another code depending on the modifiers
// held; they are folded back onto the key itself.
KeyCode FoldAliasCodes(KeyCode code) {
  switch (code) {
    case kSysReqCode:
      return kPrintScreenCode;
    case kExtendedRightShiftCode:
      return kRightShiftCode;
    case kBreakCode:
      return kPauseCode;
    default:
      return code;
  }
}

}  // namespace

std::u16string KeyName(KeyCode code, const KeyTextLookup& text, size_t capacity) {
  std::u16string name = UncutKeyName(code, text);
  if (capacity == 0) return {};
  if (name.size() > capacity - 1) name.resize(capacity - 1);
  return name;
}

std::u16string KeyNameByListPosition(int position, const KeyTextLookup& text) {
  const auto index = IndexOfListPosition(position);
  if (!index) return {};
  const KeyRecord& record = KeyRecordAt(*index);
  return record.nameKey != nullptr ? text(record.nameKey) : std::u16string();
}

KeyCode KeyCodeOfListPosition(int position) {
  const auto index = IndexOfListPosition(position);
  return index ? KeyCodeOf(*index) : 0;
}

uint16_t ListPositionOfKey(KeyCode code) { return KeyRecordAt(KeyIndexOf(code)).listPosition; }

KeyUsage KeyUsageOf(KeyCode code) {
  const uint16_t usage = KeyRecordAt(KeyIndexOf(code)).usage;
  if (usage == kNoUsage || usage == kUnusedUsage) return {kUsageNone, 0};
  if (usage >= kFirstSystemUsage && usage <= kLastSystemUsage) return {kUsageSystem, usage};
  if (usage >= kFirstMouseUsage && usage <= kLastMouseUsage) return {kUsageMouse, usage};
  return {kUsageKeyboard, usage};
}

KeyCode KeyCodeOfUsage(uint8_t kind, uint16_t value) {
  const uint16_t usage = DeviceUsageOf(kind, value);
  for (KeyIndex index = 0; index < kKeyTableSize; ++index) {
    if (KeyRecordAt(index).usage == usage) return KeyCodeOf(index);
  }
  return 0;
}

KeyCode KeyCodeFromMessage(uint32_t vk, uint32_t keyFlags) {
  KeyCode code = ScanCodeOf(keyFlags);
  if (vk != kVkNoVirtualKey) {
    if ((code & 0xFF) != 0) {
      if (code == kScrollLockCode) return code;
    } else {
      code = KeyCodeOf(KeyIndexOfVk(vk));
    }
  }
  return FoldAliasCodes(code);
}

}  // namespace mvk
