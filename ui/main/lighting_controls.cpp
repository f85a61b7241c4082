#include "ui/main/lighting_controls.h"

#include <algorithm>
#include <vector>

#include "ui/main/lighting_preview.h"

namespace mvk {
namespace {

bool IsOneOf(int effect, std::initializer_list<int> codes) {
  return std::find(codes.begin(), codes.end(), effect) != codes.end();
}

constexpr int kRightWinLed = 112;

std::vector<uint8_t> MakeKeyLedIndexes() {
  std::vector<uint8_t> leds;
  for (const auto& row : preview::Grid()) {
    for (int led : row) {
      if (led != preview::kNoKey) leds.push_back(static_cast<uint8_t>(led));
    }
  }
  leds.push_back(kRightWinLed);
  leds.push_back(kGKeyLedIndex);
  std::sort(leds.begin(), leds.end());
  leds.erase(std::unique(leds.begin(), leds.end()), leds.end());
  return leds;
}

}  // namespace

LightingControlsShown ControlsShownFor(int effect) {
  LightingControlsShown shown;
  shown.effectList = effect != 19;
  shown.speed = (effect >= 1 && effect <= 5) || (effect >= 7 && effect <= 15);
  shown.direction = IsOneOf(effect, {1, 2, 3, 12, 18});
  shown.colourGroupA = IsOneOf(effect, {6, 16});
  shown.colourGroupB = IsOneOf(effect, {1, 2, 3, 5, 7, 8, 9, 13, 14, 15});
  shown.effectOptions = effect == 17;
  shown.userModes = effect == kUserLightingMode;
  return shown;
}

std::u16string_view DirectionGeometrySuffix(int effect) {
  if (effect >= 1 && effect <= 3) return u"2";
  if (effect == 12) return u"3";
  return u"";
}

DirectionPictures DirectionPicturesFor(int effect) {
  if (effect == 12) return DirectionPictures::kVertical;
  if (effect == 18) return DirectionPictures::kCircle;
  return DirectionPictures::kStandard;
}

QString ClampedRgbText(const QString& text) {
  bool number = false;
  const qlonglong value = text.trimmed().toLongLong(&number);
  // A run of digits too long for any number is far above 255 as well.
  const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
    return c.isDigit();
  });
  return (number && value >= 256) || (!number && digitsOnly) ? QStringLiteral("255") : text;
}

uint8_t RgbBoxValue(const QString& text) {
  bool number = false;
  const int value = ClampedRgbText(text).trimmed().toInt(&number);
  return number ? static_cast<uint8_t>(std::clamp(value, 0, 255)) : 0;
}

std::span<const uint8_t> KeyLedIndexes() {
  static const std::vector<uint8_t> leds = MakeKeyLedIndexes();
  return leds;
}

Colour KeyColourAt(const KeyColourTable& table, int ledIndex) {
  return ColourOf(table[ledIndex * 3], table[ledIndex * 3 + 1], table[ledIndex * 3 + 2]);
}

void MarkKeys(const LightingConfig& lighting, UserModeState& userModes) {
  for (int profile = 0; profile < kProfileCount; ++profile) {
    const auto& record = lighting.records[profile];
    const std::size_t at = lighting_field::kReferenceColour;
    const Colour reference = ColourOf(record[at], record[at + 1], record[at + 2]);
    for (uint8_t led : KeyLedIndexes()) {
      userModes.marks[profile][led] = KeyColourAt(lighting.keyColours[profile], led) == reference;
    }
  }
}

}  // namespace mvk
