#include "model/lighting.h"

#include <algorithm>
#include <map>

#include "model/first_failure.h"

namespace mvk {
namespace {

constexpr std::size_t kLightingReadLength = kPacketDataSize;
constexpr int kColourChunkLeds = 18;
constexpr int kColourChunks = kLedCount / kColourChunkLeds;
static_assert(kColourChunks * kColourChunkLeds == kLedCount);
constexpr std::size_t kDefaultRecordLength = 35;

// LED index of each key that has one, by key code.
const std::map<KeyCode, int>& LedIndexes() {
  static const std::map<KeyCode, int> indexes = [] {
    std::map<KeyCode, int> m = {
        {0x001, 0},   {0x057, 11},  {0x058, 12},  {0x137, 14},  {0x046, 15},  {0x045, 16},
        {0x029, 21},  {0x00C, 32},  {0x00D, 33},  {0x00E, 34},  {0x152, 35},  {0x147, 36},
        {0x149, 37},  {0x145, 38},  {0x135, 39},  {0x037, 40},  {0x04A, 41},  {0x00F, 42},
        {0x01A, 53},  {0x01B, 54},  {0x02B, 55},  {0x153, 56},  {0x14F, 57},  {0x151, 58},
        {0x047, 59},  {0x048, 60},  {0x049, 61},  {0x04E, 62},  {0x03A, 63},  {0x027, 73},
        {0x028, 74},  {0x01C, 76},  {0x04B, 80},  {0x04C, 81},  {0x04D, 82},  {0x02A, 84},
        {0x056, 85},  {0x033, 93},  {0x034, 94},  {0x035, 95},  {0x036, 97},  {0x148, 99},
        {0x04F, 101}, {0x050, 102}, {0x051, 103}, {0x11C, 104}, {0x01D, 105}, {0x15B, 106},
        {0x038, 107}, {0x039, 108}, {0x138, 109}, {0x15D, 111}, {0x15C, 112}, {0x11D, 113},
        {0x14B, 119}, {0x150, 120}, {0x14D, 121}, {0x052, 123}, {0x053, 124},
    };
    // Runs of keys whose codes and LEDs both count up: F1 to F10, 1 to 0,
    // Q to P, A to L, Z to M.
    const struct {
      KeyCode firstCode;
      int firstLed;
      int count;
    } runs[] = {{0x03B, 1, 10}, {0x002, 22, 10}, {0x010, 43, 10}, {0x01E, 64, 9}, {0x02C, 86, 7}};
    for (const auto& run : runs) {
      for (int i = 0; i < run.count; ++i) {
        m.emplace(static_cast<KeyCode>(run.firstCode + i), run.firstLed + i);
      }
    }
    return m;
  }();
  return indexes;
}

bool IsOnboardProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

uint16_t RecordOffset(int profile, std::size_t field) {
  return static_cast<uint16_t>(profile * kLightingRecordSize + field);
}

Colour ColourAt(const LightingRecord& record, std::size_t offset) {
  return ColourOf(record[offset], record[offset + 1], record[offset + 2]);
}

// Sends `writes` between KbBeginUpdate and KbEndUpdate.
template <typename Writes>
int Bracketed(KeyboardLink& link, Writes writes) {
  FirstFailure failure;
  failure.Note(KbBeginUpdate(link));
  writes(failure);
  failure.Note(KbEndUpdate(link));
  return failure.Result();
}

}  // namespace

std::array<uint8_t, 3> ColourBytes(Colour colour) {
  return {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
          static_cast<uint8_t>(colour >> 16)};
}

void DecodeLightingRecord(const LightingRecord& record, LightingState& state) {
  using namespace lighting_field;
  state.effect = record[kEffect];
  state.brightness = record[kBrightness];
  state.speed = record[kSpeed];
  state.direction = record[kDirection];
  state.effectColour = ColourAt(record, kEffectColour);
  state.reportRate = std::min<uint8_t>(record[kReportRate], 3);
  state.effectOption = record[kEffectOption] <= 3 ? record[kEffectOption] : 0;
  if (state.effect == 7 && record[kEffect7Flag] <= 1) {
    state.effect7Flag = record[kEffect7Flag];
  }
  if (record[kTriggerKind] <= 1) {
    state.triggerKind = record[kTriggerKind];
  }
  state.multiColour = record[kColourMode] != 0;
  state.secondColour = ColourAt(record, kSecondColour);
  state.secondMultiColour = record[kSecondColourFlag] != 0;
  state.thirdColour = ColourAt(record, kThirdColour);
  state.thirdMultiColour = record[kThirdColourFlag] != 0;
}

int ReadLighting(KeyboardLink& link, LightingConfig& config, LightingReadVariant variant,
                 const LightingReadHooks& hooks) {
  config.settings.lightingModes.fill(0);
  if (ReadSettingsBlock(link, config.settings) != kResultOk) {
    return -1;
  }

  KbBeginUpdate(link);
  if (variant == LightingReadVariant::Reload && HasUserLightingMode(config.settings) &&
      hooks.refreshUserMode) {
    hooks.refreshUserMode();
  }
  for (int profile = 0; profile < kProfileCount; ++profile) {
    std::array<uint8_t, kPacketDataSize> data{};
    const uint16_t offset = RecordOffset(profile, 0);
    if (KbReadMemory(link, data.data(), kLightingReadLength, offset) == kResultOk) {
      std::copy_n(data.begin(), kLightingRecordSize, config.records[profile].begin());
    }
  }
  KbEndUpdate(link);

  if (IsOnboardProfile(config.shownProfile)) {
    DecodeLightingRecord(config.records[config.shownProfile], config.decoded);
  }
  const bool lightViewOn = hooks.lightViewSetting && hooks.lightViewSetting();
  if (variant == LightingReadVariant::Reload || lightViewOn) {
    config.lightView = lightViewOn;
  }
  return 0;
}

int WriteLightingFields(KeyboardLink& link, int profile,
                        std::span<const LightingFieldWrite> fields) {
  if (!IsOnboardProfile(profile)) {
    return kResultBadBank;
  }
  const bool insideRecord = std::all_of(fields.begin(), fields.end(), [](const auto& field) {
    return field.offset + field.bytes.size() <= kLightingRecordSize;
  });
  if (!insideRecord) {
    return kResultBadBank;
  }
  return Bracketed(link, [&](FirstFailure& failure) {
    for (const LightingFieldWrite& field : fields) {
      failure.Note(KbWriteMemory(link, field.bytes.data(), static_cast<uint8_t>(field.bytes.size()),
                                 RecordOffset(profile, field.offset)));
    }
  });
}

int WriteLightingField(KeyboardLink& link, int profile, std::size_t offset,
                       std::span<const uint8_t> bytes) {
  const LightingFieldWrite field{offset, bytes};
  return WriteLightingFields(link, profile, {&field, 1});
}

EffectWrite EffectWriteOf(uint8_t effect) {
  switch (effect) {
    case 1: case 2: case 3: case 5: case 7: case 8: case 9: case 13: case 14: case 15:
      return EffectWrite::CodeAndColourMode;
    case 4: case 6: case 10: case 11: case 12: case 16: case 17: case 18: case 20:
      return EffectWrite::CodeOnly;
    default:
      return EffectWrite::Nothing;
  }
}

int WriteEffectSelection(KeyboardLink& link, LightingConfig& config, uint8_t effect) {
  const EffectWrite write = EffectWriteOf(effect);
  if (write == EffectWrite::Nothing) {
    return kResultOk;
  }
  config.decoded.effect = effect;
  const uint8_t code[] = {effect};
  const uint8_t colourMode[] = {static_cast<uint8_t>(config.decoded.multiColour ? 1 : 0)};
  const LightingFieldWrite fields[] = {{lighting_field::kEffect, code},
                                       {lighting_field::kColourMode, colourMode}};
  const std::size_t count = write == EffectWrite::CodeAndColourMode ? 2 : 1;
  return WriteLightingFields(link, config.shownProfile, std::span(fields).first(count));
}

uint8_t SpeedByteOfSliderPosition(int position) {
  return static_cast<uint8_t>(4 - std::clamp(position, 0, 4));
}

int LedIndexOfKey(KeyCode code) {
  if (IsGKeyIndex(KeyIndexOf(code)) && code >= kFirstGKeyCode) {
    return kGKeyLedIndex;
  }
  const auto& indexes = LedIndexes();
  const auto found = indexes.find(code);
  return found == indexes.end() ? kNoLedIndex : found->second;
}

int WriteKeyColour(KeyboardLink& link, LightingConfig& config, int ledIndex, Colour colour) {
  if (ledIndex < 0 || ledIndex >= kLedCount || !IsOnboardProfile(config.shownProfile)) {
    return kResultBadBank;
  }
  const auto bytes = ColourBytes(colour);
  const int result = Bracketed(link, [&](FirstFailure& failure) {
    failure.Note(KbWriteKeyColours(link, bytes.data(), 3, ledIndex, config.shownProfile));
  });
  std::copy(bytes.begin(), bytes.end(),
            config.keyColours[config.shownProfile].begin() + ledIndex * 3);
  return result;
}

int WriteKeyColourTable(KeyboardLink& link, const LightingConfig& config, int profile) {
  if (!IsOnboardProfile(profile)) {
    return kResultBadBank;
  }
  const KeyColourTable& table = config.keyColours[profile];
  return Bracketed(link, [&](FirstFailure& failure) {
    for (int chunk = 0; chunk < kColourChunks; ++chunk) {
      const int led = chunk * kColourChunkLeds;
      failure.Note(KbWriteKeyColours(link, table.data() + led * 3, kColourChunkLeds * 3, led,
                                     profile));
    }
  });
}

int WriteDefaultLighting(KeyboardLink& link, int profile) {
  std::array<uint8_t, kDefaultRecordLength> record{};
  record[lighting_field::kEffect] = 1;
  record[lighting_field::kBrightness] = 5;
  record[lighting_field::kSpeed] = 2;
  record[lighting_field::kColourMode] = 0xFF;
  std::fill_n(record.begin() + lighting_field::kEffectColour, 3, uint8_t{0xFF});
  return WriteLightingField(link, profile, 0, record);
}

}  // namespace mvk
