#include "app/skin_geometry.h"

#include <array>
#include <limits>

#include "platform/ini.h"

namespace mvk {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

// One "%d" as scanf reads it: blanks, an optional sign, at least one digit.
// Numbers outside the range of int are refused rather than wrapped.
std::optional<int> ReadInteger(std::u16string_view text, size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
  const size_t firstDigit = pos;
  long long value = 0;
  while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
    value = value * 10 + (text[pos++] - u'0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (pos == firstDigit) return std::nullopt;
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::optional<SkinGeometry> ParseSkinGeometry(std::u16string_view entry) {
  std::array<int, 4> numbers{};
  size_t pos = 0;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) {
      if (pos >= entry.size() || entry[pos] != u',') return std::nullopt;
      ++pos;
    }
    const auto number = ReadInteger(entry, pos);
    if (!number) return std::nullopt;
    numbers[i] = *number;
  }
  return SkinGeometry{numbers[0], numbers[1], numbers[2], numbers[3]};
}

SkinGeometry ReadSkinGeometry(const std::filesystem::path& skinFile, std::u16string_view section,
                              std::u16string_view key) {
  const std::u16string entry = ReadIniString(skinFile, section, key, kMissingSkinGeometry);
  return ParseSkinGeometry(entry).value_or(SkinGeometry{});
}

}  // namespace mvk
