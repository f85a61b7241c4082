// Lighting: a profile's lighting record shown and set field by field, and
// one key's colour painted, each write in its own begin/end bracket as the
// program's lighting panel sends them.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <algorithm>
#include <string>

#include "app/program_services.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "model/settings_block.h"
#include "storage/lighting_mode_store.h"

namespace mvk::cli {
namespace {

inline constexpr uint8_t kDirectionLeft = 0xFF;
inline constexpr uint8_t kDirectionRight = 0;

// What "lighting set" was asked to change; every field is checked before
// anything is sent.
struct LightingChange {
  std::optional<uint8_t> effect;
  std::optional<int> brightness;
  std::optional<int> speedPosition;
  std::optional<uint8_t> direction;
  std::optional<Colour> colour;
  std::optional<bool> multi;
  std::optional<int> reportRate;
};

std::string DirectionName(uint8_t direction) {
  if (direction == kDirectionLeft) return "left";
  if (direction == kDirectionRight) return "right";
  return std::to_string(direction);
}

QJsonObject LightingJson(const LightingState& s, int profile, const NameBook& names) {
  return {{"profile", profile + 1},
          {"effect", s.effect},
          {"effect_name", QString::fromStdString(names.EffectName(s.effect))},
          {"brightness", s.brightness},
          {"speed", std::max(0, 4 - static_cast<int>(s.speed))},
          {"direction", QString::fromStdString(DirectionName(s.direction))},
          {"colour", QString::fromStdString(FormatColour(s.effectColour))},
          {"multi", s.multiColour},
          {"report_rate", s.reportRate},
          {"effect_option", s.effectOption}};
}

void PrintLighting(const QJsonObject& json) {
  for (const char* key : {"profile", "effect", "effect_name", "brightness", "speed", "direction",
                          "colour", "multi", "report_rate", "effect_option"}) {
    const QJsonValue value = json[key];
    const std::string text = value.isBool() ? (value.toBool() ? "on" : "off")
                                            : value.toVariant().toString().toStdString();
    PrintLine(std::string(key) + ": " + text);
  }
}

template <typename T>
bool Take(const Tool& tool, const char* option, std::optional<T>& field,
          const std::function<std::optional<T>(const std::string&)>& parse,
          const std::string& expected, int& status) {
  const auto text = tool.Args().Value(option);
  if (!text) return true;
  field = parse(*text);
  if (!field) status = Fail(kExitUsage, "--" + std::string(option) + " takes " + expected);
  return field.has_value();
}

std::function<std::optional<int>(const std::string&)> Range(int low, int high) {
  return [low, high](const std::string& text) { return ParseNumber(text, low, high); };
}

std::optional<LightingChange> ParseChange(const Tool& tool, int& status) {
  LightingChange c;
  const bool ok =
      Take<uint8_t>(
          tool, "effect", c.effect,
          [&tool](const std::string& t) { return tool.Names().EffectOf(t); },
          "an effect code 1 to 20 or an effect's name", status) &&
      Take<int>(tool, "brightness", c.brightness, Range(0, 5), "0 to 5", status) &&
      Take<int>(tool, "speed", c.speedPosition, Range(0, 4), "0 to 4", status) &&
      Take<uint8_t>(
          tool, "direction", c.direction,
          [](const std::string& t) -> std::optional<uint8_t> {
            if (t == "left") return kDirectionLeft;
            if (t == "right") return kDirectionRight;
            return std::nullopt;
          },
          "left or right", status) &&
      Take<Colour>(tool, "colour", c.colour, ParseColour, "RRGGBB in hexadecimal", status) &&
      Take<bool>(
          tool, "multi", c.multi,
          [](const std::string& t) -> std::optional<bool> {
            if (t == "on") return true;
            if (t == "off") return false;
            return std::nullopt;
          },
          "on or off", status) &&
      Take<int>(tool, "report-rate", c.reportRate, Range(0, 3), "0 to 3", status);
  if (!ok) return std::nullopt;
  if (!c.effect && !c.brightness && !c.speedPosition && !c.direction && !c.colour && !c.multi &&
      !c.reportRate) {
    status = Fail(kExitUsage,
                  "say what to set: --effect, --brightness, --speed, --direction, "
                  "--colour, --multi or --report-rate");
    return std::nullopt;
  }
  return c;
}

// Reads the keyboard's lighting with `profile` as the shown one; the
// profile defaults to the keyboard's active one.
int ReadProfileLighting(Tool& tool, KeyboardSession& keyboard, LightingConfig& lighting) {
  int status = kExitOk;
  const int active = tool.Args().Value("profile") ? 0 : GetActiveProfile(keyboard.Link());
  if (active < 0) return keyboard.Failure("the keyboard's active profile could not be read");
  const auto profile = tool.Profile(status, active);
  if (!profile) return status;
  lighting.shownProfile = *profile;
  if (ReadLighting(keyboard.Link(), lighting, LightingReadVariant::Refresh, {}) != 0) {
    return keyboard.Failure("the keyboard's lighting could not be read");
  }
  return kExitOk;
}

int CheckEffect(const Tool& tool, const LightingConfig& lighting, uint8_t effect) {
  const auto offered = LightingModeList(lighting.settings);
  const std::string name = std::to_string(effect) + " (" + tool.Names().EffectName(effect) + ")";
  if (std::find(offered.begin(), offered.end(), effect) == offered.end()) {
    return Fail(kExitUsage, "the keyboard does not offer effect " + name);
  }
  if (EffectWriteOf(effect) == EffectWrite::Nothing) {
    return Fail(kExitUsage, "effect " + name + " is not chosen by the program");
  }
  return kExitOk;
}

// Colour and colour mode go in one bracket, as the panel's colour buttons send them.
int WriteColour(KeyboardLink& link, LightingConfig& lighting, const LightingChange& change) {
  const bool multi = change.multi.value_or(false);
  lighting.decoded.multiColour = multi;
  const uint8_t mode[] = {static_cast<uint8_t>(multi ? 1 : 0)};
  if (!change.colour) {
    return WriteLightingField(link, lighting.shownProfile, lighting_field::kColourMode, mode);
  }
  const auto colour = ColourBytes(*change.colour);
  const LightingFieldWrite fields[] = {{lighting_field::kColourMode, mode},
                                       {lighting_field::kEffectColour, colour}};
  lighting.decoded.effectColour = *change.colour;
  return WriteLightingFields(link, lighting.shownProfile, fields);
}

int WriteByte(KeyboardLink& link, int profile, std::size_t offset, int value) {
  const uint8_t bytes[] = {static_cast<uint8_t>(value)};
  return WriteLightingField(link, profile, offset, bytes);
}

// Stops at the first write the keyboard does not take.
int WriteChange(KeyboardLink& link, LightingConfig& lighting, const LightingChange& c) {
  const int profile = lighting.shownProfile;
  int result = kResultOk;
  const auto step = [&result](const auto& write) {
    if (result == kResultOk) result = write();
  };
  if (c.colour || c.multi) step([&] { return WriteColour(link, lighting, c); });
  if (c.effect) step([&] { return WriteEffectSelection(link, lighting, *c.effect); });
  if (c.brightness)
    step([&] { return WriteByte(link, profile, lighting_field::kBrightness, *c.brightness); });
  if (c.speedPosition) {
    step([&] {
      return WriteByte(link, profile, lighting_field::kSpeed,
                       SpeedByteOfSliderPosition(*c.speedPosition));
    });
  }
  if (c.direction)
    step([&] { return WriteByte(link, profile, lighting_field::kDirection, *c.direction); });
  if (c.reportRate)
    step([&] { return WriteByte(link, profile, lighting_field::kReportRate, *c.reportRate); });
  return result;
}

}  // namespace

int RunLightingShow(Tool& tool) {
  int status = kExitOk;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  LightingConfig lighting;
  if ((status = ReadProfileLighting(tool, *keyboard, lighting))) return status;
  const QJsonObject json = LightingJson(lighting.decoded, lighting.shownProfile, tool.Names());
  tool.Json() ? PrintJson(json) : PrintLighting(json);
  return kExitOk;
}

int RunLightingSet(Tool& tool) {
  int status = kExitOk;
  const auto change = ParseChange(tool, status);
  if (!change) return status;
  if (tool.Args().Value("profile") && !tool.Profile(status)) return status;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  LightingConfig lighting;
  if ((status = ReadProfileLighting(tool, *keyboard, lighting))) return status;
  if (change->effect && (status = CheckEffect(tool, lighting, *change->effect))) return status;
  if (const int result = WriteChange(keyboard->Link(), lighting, *change); result != kResultOk) {
    return keyboard->Failure(result, "the lighting was not fully set");
  }
  return kExitOk;
}

int RunKeysPaint(Tool& tool) {
  int status = kExitOk;
  const auto profile = tool.Profile(status);
  if (!profile) return status;
  const auto name = tool.Args().Value("key");
  const auto code = name ? tool.Names().KeyCodeOf(*name) : std::nullopt;
  const int led = code ? LedIndexOfKey(*code) : kNoLedIndex;
  if (led == kNoLedIndex) {
    return Fail(kExitUsage,
                name ? "\"" + *name + "\" is no key with a light" : "--key NAME is needed");
  }
  const auto colour = ParseColour(tool.Args().Value("colour").value_or(""));
  if (!colour) return Fail(kExitUsage, "--colour RRGGBB in hexadecimal is needed");

  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  LightingConfig lighting;
  lighting.shownProfile = *profile;
  if (const int result = WriteKeyColour(keyboard->Link(), lighting, led, *colour);
      result != kResultOk) {
    return keyboard->Failure(result, "the key's colour was not set");
  }
  // The program writes the current user mode back to the keyboard on every
  // attach, so the colour is kept there as a key painted with the colour tool.
  const LightingModeStore store(ProgramConfigFolder(tool.Paths()));
  if (!store.WriteKeyEntry(*profile, store.ReadPresentMode(*profile), led, {*colour, false})) {
    Notice("the colour was set, but the user lighting mode file could not be updated");
  }
  return kExitOk;
}

}  // namespace mvk::cli
