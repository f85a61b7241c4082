// Editing configuration files without the keyboard: key assignments and
// macros, with the limits the program's editors keep.
#include <QString>

#include <array>
#include <memory>
#include <regex>
#include <utility>

#include "cli/commands.h"
#include "cli/config_files.h"
#include "cli/exit_codes.h"
#include "model/key_map.h"

namespace mvk::cli {
namespace {

namespace fs = std::filesystem;

inline constexpr uint32_t kMaxMacroDelayMs = 40000;
inline constexpr int kMaxLoops = 255;

const std::array<std::pair<const char*, KeyCode>, 5> kMouseActions = {{
    {"left", 0x171},
    {"right", 0x172},
    {"middle", 0x173},
    {"wheel-up", 0x161},
    {"wheel-down", 0x162},
}};

const char* const kAssignActions[] = {"default", "disable", "send",    "mouse",
                                      "macro",   "media",   "function"};

struct Assignment {
  uint16_t type = kAssignDefault;
  uint32_t value = 0;
  std::optional<uint16_t> extra;
};

bool IsGKeyCode(KeyCode code) { return code >= kFirstGKeyCode; }

// The keys of the keyboard itself and its nine G keys take assignments.
bool IsAssignableKey(KeyCode code) {
  if (IsGKeyCode(code)) return code < kFirstGKeyCode + kGKeyCount / 2;
  return KeyRecordAt(KeyIndexOf(code)).nameKey != nullptr &&
         KeyUsageOf(code).kind == kUsageKeyboard;
}

std::optional<KeyCode> NamedKey(const Tool& tool, const std::string& option, int& status) {
  const auto name = tool.Args().Value(option);
  if (!name) {
    status = Fail(kExitUsage, "--" + option + " NAME is needed");
    return std::nullopt;
  }
  const auto code = tool.Names().KeyCodeOf(*name);
  if (!code) status = Fail(kExitUsage, "unknown key \"" + *name + "\"");
  return code;
}

std::optional<std::string> OnlyAction(const Tool& tool, int& status) {
  std::optional<std::string> chosen;
  for (const char* action : kAssignActions) {
    if (!tool.Args().Given().contains(action)) continue;
    if (chosen) {
      status = Fail(kExitUsage, "give only one of --" + *chosen + " and --" + action);
      return std::nullopt;
    }
    chosen = action;
  }
  if (!chosen) {
    status = Fail(kExitUsage,
                  "say what the key does: --default, --disable, --send, --mouse, --macro, "
                  "--media or --function");
  }
  return chosen;
}

std::optional<Assignment> SendAssignment(const Tool& tool, KeyCode key, int& status) {
  const auto code = NamedKey(tool, "send", status);
  if (!code) return std::nullopt;
  if (IsGKeyCode(*code)) {
    status = Fail(kExitUsage, "a key cannot act as a G key");
    return std::nullopt;
  }
  // A key that acts as itself keeps its own function, as the program's dialog decides.
  if (*code == key) return Assignment{};
  return Assignment{kAssignKey, *code, std::nullopt};
}

std::optional<Assignment> MouseAssignment(const std::string& name, int& status) {
  for (const auto& [word, code] : kMouseActions) {
    if (name == word) return Assignment{kAssignKey, code, std::nullopt};
  }
  status = Fail(kExitUsage, "--mouse takes left, right, middle, wheel-up or wheel-down");
  return std::nullopt;
}

const MacroRecord* MacroNamed(const ConfigStore& store, const std::string& name) {
  const std::u16string wanted = QString::fromStdString(name).toStdU16String();
  for (const MacroRecord& macro : store.macros) {
    if (macro.Name() == wanted) return &macro;
  }
  return nullptr;
}

std::optional<Assignment> MacroAssignment(const Tool& tool, const ConfigStore& store, int& status) {
  const std::string name = *tool.Args().Value("macro");
  const MacroRecord* macro = MacroNamed(store, name);
  if (!macro) {
    status = Fail(kExitUsage, "the file has no macro named \"" + name + "\"");
    return std::nullopt;
  }
  const auto loops = ParseNumber(tool.Args().Value("loops").value_or("1"), 1, kMaxLoops);
  if (!loops) {
    status = Fail(kExitUsage, "--loops takes 1 to 255");
    return std::nullopt;
  }
  return Assignment{kAssignMacro, macro->id, static_cast<uint16_t>(*loops)};
}

std::optional<Assignment> ChosenAssignment(const Tool& tool, const std::string& action, KeyCode key,
                                           const ConfigStore& store, int& status) {
  const std::string value = tool.Args().Value(action).value_or("");
  if (action == "default") return Assignment{};
  if (action == "disable") return Assignment{kAssignDisabled, 0, std::nullopt};
  if (action == "send") return SendAssignment(tool, key, status);
  if (action == "mouse") return MouseAssignment(value, status);
  if (action == "macro") return MacroAssignment(tool, store, status);
  if (action == "media") {
    if (const auto position = tool.Names().MediaOf(value)) {
      return Assignment{kAssignMultimedia, static_cast<uint32_t>(*position), std::nullopt};
    }
    status = Fail(kExitUsage, "unknown multimedia function \"" + value + "\"");
    return std::nullopt;
  }
  if (const auto number = tool.Names().FunctionOf(value)) {
    return Assignment{kAssignFunction, static_cast<uint32_t>(*number), std::nullopt};
  }
  status = Fail(kExitUsage, "--function takes 1 to 11 or a keyboard function's name");
  return std::nullopt;
}

std::optional<MacroEvent> ParseEvent(const Tool& tool, const std::smatch& match, int& status) {
  const std::string key = match[2];
  const auto code = tool.Names().KeyCodeOf(key);
  if (!code || IsGKeyCode(*code)) {
    status = Fail(kExitUsage, "\"" + key + "\" is no key a macro can press");
    return std::nullopt;
  }
  const auto delay = ParseNumber(match[3], 0, static_cast<int>(kMaxMacroDelayMs));
  if (!delay) {
    status = Fail(kExitUsage, "a delay is 0 to 40000 ms, not " + std::string(match[3]));
    return std::nullopt;
  }
  const bool press = QString::fromStdString(match[1]).compare("press", Qt::CaseInsensitive) == 0;
  return MacroEvent{static_cast<uint32_t>(*delay), *code, press ? kMacroPress : kMacroRelease};
}

// "press:KEY:DELAY release:KEY:DELAY ..."; key names may hold spaces.
std::optional<std::vector<MacroEvent>> ParseEvents(const Tool& tool, const std::string& text,
                                                   int& status) {
  static const std::regex kEvent(R"(\s*(press|release):([^:]+?):([0-9]+)(\s+|$))",
                                 std::regex::icase);
  std::vector<MacroEvent> events;
  for (auto at = text.cbegin(); at != text.cend();) {
    std::smatch match;
    if (!std::regex_search(at, text.cend(), match, kEvent,
                           std::regex_constants::match_continuous)) {
      status = Fail(kExitUsage,
                    "events are written press:KEY:DELAY or release:KEY:DELAY, "
                    "not \"" +
                        std::string(at, text.cend()) + "\"");
      return std::nullopt;
    }
    const auto event = ParseEvent(tool, match, status);
    if (!event) return std::nullopt;
    events.push_back(*event);
    at = match[0].second;
  }
  if (events.empty() || events.size() > kMaxMacroEvents) {
    status = Fail(kExitUsage, "a macro has 1 to 4000 events");
    return std::nullopt;
  }
  return events;
}

std::optional<std::string> MacroName(const Tool& tool, int& status) {
  const auto name = tool.Args().Value("name");
  if (!name || name->empty()) {
    status = Fail(kExitUsage, "--name NAME is needed");
    return std::nullopt;
  }
  if (QString::fromStdString(*name).toStdU16String().size() > kMaxMacroNameLength) {
    status = Fail(kExitUsage, "a macro name has at most 249 characters");
    return std::nullopt;
  }
  return name;
}

std::optional<MacroRecord> NewMacro(const Tool& tool, const ConfigStore& store, int& status) {
  const auto name = MacroName(tool, status);
  if (!name) return std::nullopt;
  if (MacroNamed(store, *name)) {
    status = Fail(kExitUsage, "the file already has a macro named \"" + *name + "\"");
    return std::nullopt;
  }
  const auto events = ParseEvents(tool, tool.Args().Value("events").value_or(""), status);
  if (!events) return std::nullopt;
  auto macro = MakeNewMacro(store.macros, QString::fromStdString(*name).toStdU16String());
  if (!macro) {
    status = Fail(kExitUsage, "the file already holds 100 macros, the most there can be");
    return std::nullopt;
  }
  // Stored at once, so it is no longer the editor's unsaved macro.
  macro->isNew = 0;
  std::copy(events->begin(), events->end(), macro->events.begin());
  macro->eventCount = static_cast<uint16_t>(events->size());
  return macro;
}

int KeysPlaying(const ConfigStore& store, uint16_t id) {
  int count = 0;
  for (const ProfileKeyMap& map : store.image.profiles) {
    for (const KeySlot& slot : map) count += slot.type == kAssignMacro && slot.value == id;
  }
  return count;
}

}  // namespace

int RunAssign(Tool& tool) {
  int status = kExitOk;
  const fs::path path = tool.Positional(0);
  const auto profile = tool.Profile(status);
  if (!profile) return status;
  const auto key = NamedKey(tool, "key", status);
  if (!key) return status;
  if (!IsAssignableKey(*key)) {
    return Fail(kExitUsage, "\"" + *tool.Args().Value("key") + "\" is no key of the keyboard");
  }
  if (tool.Args().Value("loops") && !tool.Args().Value("macro")) {
    return Fail(kExitUsage, "--loops goes with --macro");
  }
  const auto action = OnlyAction(tool, status);
  if (!action) return status;

  auto config = std::make_unique<ToolConfig>();
  if ((status = LoadOrCreateConfig(path, tool.Names(), config->state.working))) return status;
  const auto assignment = ChosenAssignment(tool, *action, *key, config->state.working, status);
  if (!assignment) return status;
  WriteAssignment(config->state, *profile, KeyIndexOf(*key), assignment->type, assignment->value,
                  assignment->extra);
  return SaveConfig(config->state, path);
}

int RunMacroAdd(Tool& tool) {
  int status = kExitOk;
  const fs::path path = tool.Positional(0);
  auto config = std::make_unique<ToolConfig>();
  if ((status = LoadOrCreateConfig(path, tool.Names(), config->state.working))) return status;
  const auto macro = NewMacro(tool, config->state.working, status);
  if (!macro) return status;
  config->state.working.macros.push_back(*macro);
  return SaveConfig(config->state, path);
}

int RunMacroDelete(Tool& tool) {
  int status = kExitOk;
  const fs::path path = tool.Positional(0);
  const auto name = MacroName(tool, status);
  if (!name) return status;
  auto config = std::make_unique<ToolConfig>();
  ConfigStore& store = config->state.working;
  if ((status = LoadConfig(path, tool.Names(), store))) return status;
  const MacroRecord* macro = MacroNamed(store, *name);
  if (!macro) return Fail(kExitUsage, "the file has no macro named \"" + *name + "\"");

  const int players = KeysPlaying(store, macro->id);
  MacroList remaining;
  std::copy_if(store.macros.begin(), store.macros.end(), std::back_inserter(remaining),
               [macro](const MacroRecord& other) { return &other != macro; });
  ReconcileMacroReferences(config->state, remaining);
  store.macros = std::move(remaining);
  if (players > 0) {
    Notice(std::to_string(players) + " key(s) that played \"" + *name +
           "\" got back their own function");
  }
  return SaveConfig(config->state, path);
}

}  // namespace mvk::cli
