// The keyboard as a whole: its state, its active profile, and a return to
// its defaults.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <iostream>
#include <memory>
#include <string>

#include "app/program_services.h"
#include "cli/commands.h"
#include "cli/config_files.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "model/apply.h"
#include "model/first_failure.h"
#include "model/settings_block.h"
#include "storage/user_modes.h"

namespace mvk::cli {
namespace {

QJsonArray EffectsJson(const SettingsBlock& block, const NameBook& names) {
  QJsonArray effects;
  for (uint8_t code : LightingModeList(block)) {
    effects.append(
        QJsonObject{{"code", code}, {"name", QString::fromStdString(names.EffectName(code))}});
  }
  return effects;
}

void PrintStatus(const QJsonObject& status) {
  PrintLine(std::string("connected: ") + (status["connected"].toBool() ? "yes" : "no"));
  if (!status["connected"].toBool()) return;
  const QJsonValue active = status["active_profile"];
  PrintLine("active profile: " +
            (active.isNull() ? std::string("unknown") : std::to_string(active.toInt())));
  PrintLine("macro capacity: " + std::to_string(status["macro_capacity"].toInt()) + " bytes");
  PrintLine("lighting effects:");
  for (const QJsonValue& effect : status["effects"].toArray()) {
    PrintLine("  " + std::to_string(effect["code"].toInt()) + " " +
              effect["name"].toString().toStdString());
  }
}

void Show(const Tool& tool, const QJsonObject& json) {
  tool.Json() ? PrintJson(json) : PrintStatus(json);
}

QJsonValue ProfileNumber(int profile) {
  return profile >= 0 && profile < kProfileCount ? QJsonValue(profile + 1) : QJsonValue();
}

bool Confirmed(const Tool& tool) {
  if (tool.Args().Has("yes")) return true;
  std::cerr << tool.Names().Text("MAIN_PROMPT_DEFAULT") << " [y/N] " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES";
}

// The user lighting modes back to the template (with their per-key colours
// written), then the default record, profile by profile.
int ResetLighting(const Tool& tool, KeyboardLink& link) {
  LightingConfig lighting;
  if (const int result = ReadSettingsBlock(link, lighting.settings); result != kResultOk) {
    return result;
  }
  const LightingModeStore store(ProgramConfigFolder(tool.Paths()));
  UserModeState userModes;
  FirstFailure failure;
  for (int profile = 0; profile < kProfileCount; ++profile) {
    if (HasUserLightingMode(lighting.settings)) {
      lighting.shownProfile = profile;
      failure.Note(ResetUserModes(store, profile, link, lighting, userModes));
    }
    failure.Note(WriteDefaultLighting(link, profile));
  }
  return failure.Result();
}

}  // namespace

int RunStatus(Tool& tool) {
  int status = kExitOk;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) {
    Show(tool, QJsonObject{{"connected", false}});
    return status;
  }
  SettingsBlock block;
  if (const int result = ReadSettingsBlock(keyboard->Link(), block); result != kResultOk) {
    return keyboard->Failure(result, "the keyboard's settings could not be read");
  }
  Show(tool, QJsonObject{{"connected", true},
                         {"active_profile", ProfileNumber(block.activeProfile)},
                         {"macro_capacity", static_cast<qint64>(MacroCapacityBytes(block))},
                         {"effects", EffectsJson(block, tool.Names())}});
  return kExitOk;
}

int RunProfile(Tool& tool) {
  std::optional<int> wanted;
  if (tool.PositionalCount() == 1) {
    wanted = ParseNumber(tool.Positional(0), 1, kProfileCount);
    if (!wanted) return Fail(kExitUsage, "profiles are 1 to 3, not " + tool.Positional(0));
  }
  int status = kExitOk;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  KeyboardLink& link = keyboard->Link();
  if (wanted) {
    SetActiveProfile(link, *wanted - 1);
    if (link.ActiveProfileCache.load() != *wanted - 1) {
      return keyboard->Failure("the keyboard did not switch to profile " + std::to_string(*wanted));
    }
    return kExitOk;
  }
  const int active = GetActiveProfile(link);
  if (active < 0) return keyboard->Failure("the keyboard's active profile could not be read");
  tool.Json() ? PrintJson(QJsonObject{{"active_profile", active + 1}})
              : PrintLine(std::to_string(active + 1));
  return kExitOk;
}

int RunReset(Tool& tool) {
  int status = kExitOk;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  if (!Confirmed(tool)) return Fail(kExitUsage, "not confirmed; nothing was changed");
  KeyboardLink& link = keyboard->Link();
  const KeyMatrix defaults =
      keyboard->ReadDefaultMatrix(tool.Names().Text("MAIN_DEFAULT_MATRIX_PROMPT"));
  auto config = std::make_unique<ToolConfig>();
  FirstFailure failure;
  failure.Note(RestoreDefaultKeyMaps(config->state, link, defaults, {}));
  failure.Note(ResetLighting(tool, link));
  if (failure.Result() != kResultOk) {
    return keyboard->Failure(failure.Result(), "the keyboard's defaults were not fully restored");
  }
  return kExitOk;
}

}  // namespace mvk::cli
