#include "storage/lighting_mode_store.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>

#include "platform/ini.h"

namespace mvk {
namespace {

constexpr std::u16string_view kLightViewSection = u"KEYCOLOR";
constexpr std::u16string_view kLightViewKey = u"DengCheck";
constexpr std::u16string_view kPresentModeSection = u"PRESENTMODE";
constexpr std::u16string_view kPresentModeKey = u"mode";
constexpr std::u16string_view kModeNameSection = u"MODENAME";
constexpr std::u16string_view kToolKey = u"tool";
constexpr std::u16string_view kJColorKey = u"jcolor";
constexpr std::u16string_view kColorKey = u"color";
constexpr std::u16string_view kZero = u"0";
constexpr std::u16string_view kBlack = u"0,0,0";
constexpr std::u16string_view kRedAndMarked = u"255,0,0,1";

bool IsProfile(int profile) { return profile >= 0 && profile < kUserModeFileCount; }
bool IsMode(int mode) { return mode >= 0 && mode < kUserModeCount; }
bool IsLed(int ledIndex) { return ledIndex >= 0 && ledIndex < kLedCount; }

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

std::u16string ModeSection(int mode) { return u"Mode" + Number(mode); }

// A decimal integer with optional blanks around it; nullopt for anything else.
std::optional<int> ParseInt(std::u16string_view text) {
  std::string narrow;
  for (const char16_t unit : text) {
    if (unit > 0x7F) {
      return std::nullopt;
    }
    narrow += static_cast<char>(unit);
  }
  const auto first = narrow.find_first_not_of(" \t");
  const auto last = narrow.find_last_not_of(" \t");
  if (first == std::string::npos) {
    return std::nullopt;
  }
  int value = 0;
  const char* end = narrow.data() + last + 1;
  const auto [stop, error] = std::from_chars(narrow.data() + first, end, value);
  if (error != std::errc{} || stop != end) {
    return std::nullopt;
  }
  return value;
}

// Exactly N comma-separated integers.
template <std::size_t N>
std::optional<std::array<int, N>> ParseList(std::u16string_view text) {
  std::array<int, N> values{};
  for (std::size_t i = 0; i < N; ++i) {
    const auto comma = text.find(u',');
    if ((comma == std::u16string_view::npos) != (i + 1 == N)) {
      return std::nullopt;
    }
    const auto value = ParseInt(text.substr(0, comma));
    if (!value) {
      return std::nullopt;
    }
    values[i] = *value;
    text.remove_prefix(comma == std::u16string_view::npos ? text.size() : comma + 1);
  }
  return values;
}

uint8_t ColourPart(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

std::optional<Colour> ParseColour(std::u16string_view text) {
  const auto parts = ParseList<3>(text);
  if (!parts) {
    return std::nullopt;
  }
  return ColourOf(ColourPart((*parts)[0]), ColourPart((*parts)[1]), ColourPart((*parts)[2]));
}

std::u16string FormatColour(Colour colour) {
  const auto bytes = ColourBytes(colour);
  return Number(bytes[0]) + u',' + Number(bytes[1]) + u',' + Number(bytes[2]);
}

// A number in [0, limit), else `fallback`.
int NumberBelow(std::u16string_view text, int limit, int fallback) {
  const auto value = ParseInt(text);
  return value && *value >= 0 && *value < limit ? *value : fallback;
}

}  // namespace

std::u16string LightingModeStore::Read(int profile, std::u16string_view section,
                                       std::u16string_view key,
                                       std::u16string_view fallback) const {
  return ReadIniString(UserModeFilePath(folder_, profile), section, key, fallback);
}

bool LightingModeStore::Write(int profile, std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) const {
  return EnsureConfigFolder(folder_) &&
         WriteIniString(UserModeFilePath(folder_, profile), section, key, value);
}

bool LightingModeStore::ReadLightView() const {
  const auto value =
      ReadIniString(LightSettingsFilePath(folder_), kLightViewSection, kLightViewKey, kZero);
  return ParseInt(value) == 1;
}

bool LightingModeStore::WriteLightView(bool on) const {
  return EnsureConfigFolder(folder_) &&
         WriteIniString(LightSettingsFilePath(folder_), kLightViewSection, kLightViewKey,
                        on ? u"1" : kZero);
}

int LightingModeStore::ReadPresentMode(int profile) const {
  if (!IsProfile(profile)) {
    return 0;
  }
  return NumberBelow(Read(profile, kPresentModeSection, kPresentModeKey, kZero), kUserModeCount, 0);
}

bool LightingModeStore::WritePresentMode(int profile, int mode) const {
  return IsProfile(profile) && IsMode(mode) &&
         Write(profile, kPresentModeSection, kPresentModeKey, Number(mode));
}

std::u16string LightingModeStore::ReadModeName(int profile, int mode) const {
  if (!IsProfile(profile) || !IsMode(mode)) {
    return std::u16string(kZero);
  }
  return Read(profile, kModeNameSection, Number(mode), kZero);
}

bool LightingModeStore::WriteModeName(int profile, int mode, std::u16string_view name) const {
  return IsProfile(profile) && IsMode(mode) && Write(profile, kModeNameSection, Number(mode), name);
}

ModeSettings LightingModeStore::ReadModeSettings(int profile, int mode) const {
  ModeSettings settings;
  if (!IsProfile(profile) || !IsMode(mode)) {
    return settings;
  }
  const std::u16string section = ModeSection(mode);
  settings.tool = NumberBelow(Read(profile, section, kToolKey, kZero), 2, kToolColour);
  settings.jcolor = ParseColour(Read(profile, section, kJColorKey, kBlack)).value_or(0);
  settings.color = ParseColour(Read(profile, section, kColorKey, kBlack)).value_or(0);
  return settings;
}

bool LightingModeStore::WriteModeSettings(int profile, int mode,
                                          const ModeSettings& settings) const {
  if (!IsProfile(profile) || !IsMode(mode)) {
    return false;
  }
  const std::u16string section = ModeSection(mode);
  const bool tool = Write(profile, section, kToolKey, Number(settings.tool));
  const bool jcolor = Write(profile, section, kJColorKey, FormatColour(settings.jcolor));
  const bool color = Write(profile, section, kColorKey, FormatColour(settings.color));
  return tool && jcolor && color;
}

KeyEntry LightingModeStore::ReadKeyEntry(int profile, int mode, int ledIndex) const {
  const KeyEntry fallback;
  if (!IsProfile(profile) || !IsMode(mode) || !IsLed(ledIndex)) {
    return fallback;
  }
  const auto parts = ParseList<4>(Read(profile, ModeSection(mode), Number(ledIndex), kRedAndMarked));
  if (!parts) {
    return fallback;
  }
  const auto& [red, green, blue, mark] = *parts;
  return {ColourOf(ColourPart(red), ColourPart(green), ColourPart(blue)), mark != 0};
}

bool LightingModeStore::WriteKeyEntry(int profile, int mode, int ledIndex,
                                      const KeyEntry& entry) const {
  return IsProfile(profile) && IsMode(mode) && IsLed(ledIndex) &&
         Write(profile, ModeSection(mode), Number(ledIndex),
               FormatColour(entry.colour) + u',' + (entry.mark ? u'1' : u'0'));
}

void LightingModeStore::ResetUserModes() const {
  if (!EnsureConfigFolder(folder_)) {
    return;
  }
  for (int profile = 0; profile < kUserModeFileCount; ++profile) {
    CopyUserModeTemplate(folder_, profile);
  }
}

}  // namespace mvk
