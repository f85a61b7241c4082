// A configuration file spelled out: its header, every key slot that does
// something other than the key's own function, every macro with its events,
// and the texts of launch-program and text-block slots.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <memory>

#include "cli/commands.h"
#include "cli/config_files.h"
#include "cli/exit_codes.h"
#include "cli/output.h"

namespace mvk::cli {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

const MacroRecord* MacroWithId(const ConfigStore& store, uint32_t id) {
  for (const MacroRecord& macro : store.macros) {
    if (macro.id == id) return &macro;
  }
  return nullptr;
}

struct SlotView {
  int profile;
  KeyIndex index;
  const KeySlot& slot;
};

QJsonObject AssignmentJson(const SlotView& view, const ConfigStore& store, const NameBook& names) {
  const KeySlot& slot = view.slot;
  const std::u16string& text =
      store.hostStrings.Text(HostStringTable::EntryOf(view.profile, view.index));
  switch (slot.type) {
    case kAssignDisabled: return {{"type", "disabled"}};
    case kAssignKey:
      return {{"type", "key"},
              {"send", Q(names.KeyNameOf(static_cast<KeyCode>(slot.value)))},
              {"send_code", static_cast<qint64>(slot.value)}};
    case kAssignLaunch: return {{"type", "launch"}, {"text", Q(text)}};
    case kAssignMacro: {
      const MacroRecord* macro = MacroWithId(store, slot.value);
      return {{"type", "macro"},
              {"macro", macro ? QJsonValue(Q(macro->Name())) : QJsonValue()},
              {"macro_id", static_cast<qint64>(slot.value)},
              {"loops", slot.extra}};
    }
    case kAssignStopMacro: return {{"type", "stop-macro"}};
    case kAssignText: return {{"type", "text"}, {"text", Q(text)}};
    case kAssignMultimedia:
      return {{"type", "media"},
              {"media", Q(names.MediaName(slot.value))},
              {"position", static_cast<qint64>(slot.value)}};
    case kAssignFunction:
      return {{"type", "function"},
              {"function", Q(names.FunctionName(slot.value))},
              {"number", static_cast<qint64>(slot.value) + 1}};
    default:
      return {{"type", "unknown"},
              {"type_code", slot.type},
              {"value", static_cast<qint64>(slot.value)}};
  }
}

std::string AssignmentText(const QJsonObject& json) {
  const std::string type = json["type"].toString().toStdString();
  const auto field = [&json](const char* key) {
    return json[key].toVariant().toString().toStdString();
  };
  if (type == "key") return "acts as " + field("send");
  if (type == "macro") {
    const std::string name = json["macro"].isNull() ? "(missing)" : "\"" + field("macro") + "\"";
    return "plays macro " + name + " (id " + field("macro_id") + "), " + field("loops") + " loops";
  }
  if (type == "stop-macro") return "stops macro playback";
  if (type == "media") return "multimedia: " + field("media");
  if (type == "function") return "keyboard function " + field("number") + ": " + field("function");
  if (type == "launch" || type == "text") return type + " \"" + field("text") + "\"";
  if (type == "unknown") return "unknown type " + field("type_code") + ", value " + field("value");
  return type;
}

template <typename Visit>
void ForEachAssignedSlot(const ConfigStore& store, Visit visit) {
  for (int profile = 0; profile < kImageProfiles; ++profile) {
    for (int index = 0; index < kSlotsPerProfile; ++index) {
      const KeySlot& slot = store.image.profiles[profile][index];
      if (slot.type != kAssignDefault) visit(SlotView{profile, static_cast<KeyIndex>(index), slot});
    }
  }
}

QJsonObject HeaderJson(const ConfigFileHeader& h) {
  return {{"magic", h.magic},
          {"header_size", h.headerSize},
          {"profile_count", h.profileCount},
          {"version", h.version},
          {"total_size", static_cast<qint64>(h.totalSize)},
          {"slot_count", h.slotCount},
          {"macro_count", h.macroCount},
          {"string_bytes", static_cast<qint64>(h.stringBytes)},
          {"flag", h.flag},
          {"checksum", h.checksum}};
}

QJsonObject SlotKeyJson(const SlotView& view, const NameBook& names) {
  const KeyCode code = KeyCodeOf(view.index);
  return {{"profile", view.profile + 1}, {"key", Q(names.KeyNameOf(code))}, {"key_code", code}};
}

QJsonArray AssignmentsJson(const ConfigStore& store, const NameBook& names) {
  QJsonArray list;
  ForEachAssignedSlot(store, [&](const SlotView& view) {
    QJsonObject entry = SlotKeyJson(view, names);
    const QJsonObject assignment = AssignmentJson(view, store, names);
    for (auto it = assignment.begin(); it != assignment.end(); ++it) entry[it.key()] = it.value();
    list.append(entry);
  });
  return list;
}

QJsonArray EventsJson(const MacroRecord& macro, const NameBook& names) {
  QJsonArray events;
  for (const MacroEvent& event : macro.UsedEvents()) {
    events.append(QJsonObject{{"action", event.action == kMacroPress ? "press" : "release"},
                              {"key", Q(names.KeyNameOf(event.key))},
                              {"key_code", event.key},
                              {"delay", static_cast<qint64>(event.delay)}});
  }
  return events;
}

QJsonArray MacrosJson(const ConfigStore& store, const NameBook& names) {
  QJsonArray list;
  for (const MacroRecord& macro : store.macros) {
    list.append(QJsonObject{{"id", macro.id},
                            {"name", Q(macro.Name())},
                            {"cycles", macro.cycles},
                            {"events", EventsJson(macro, names)}});
  }
  return list;
}

QJsonArray HostStringsJson(const ConfigStore& store, const NameBook& names) {
  QJsonArray list;
  for (int profile = 0; profile < kImageProfiles; ++profile) {
    for (int index = 0; index < kSlotsPerProfile; ++index) {
      const std::u16string& text = store.hostStrings.Text(HostStringTable::EntryOf(profile, index));
      if (text.empty()) continue;
      QJsonObject entry = SlotKeyJson(
          {profile, static_cast<KeyIndex>(index), store.image.profiles[profile][index]}, names);
      entry["text"] = Q(text);
      list.append(entry);
    }
  }
  return list;
}

void PrintHeader(const QJsonObject& header) {
  const auto number = [&header](const char* key) {
    return static_cast<uint32_t>(header[key].toInteger());
  };
  PrintLine(
      "header: magic " + HexNumber(number("magic"), 4) + ", header size " +
      std::to_string(number("header_size")) + ", profiles " +
      std::to_string(number("profile_count")) + ", version " + std::to_string(number("version")) +
      ", total size " + std::to_string(number("total_size")) + ", slots " +
      std::to_string(number("slot_count")) + ", macros " + std::to_string(number("macro_count")) +
      ", string bytes " + std::to_string(number("string_bytes")) + ", flag " +
      std::to_string(number("flag")) + ", checksum " + HexNumber(number("checksum"), 2));
}

std::string KeyLabel(const QJsonObject& entry) {
  return "profile " + entry["profile"].toVariant().toString().toStdString() + ", " +
         entry["key"].toString().toStdString() + " (" +
         HexNumber(static_cast<uint32_t>(entry["key_code"].toInt()), 3) + ")";
}

void PrintDump(const QJsonObject& dump) {
  PrintHeader(dump["header"].toObject());
  for (const QJsonValue& value : dump["assignments"].toArray()) {
    PrintLine(KeyLabel(value.toObject()) + ": " + AssignmentText(value.toObject()));
  }
  for (const QJsonValue& value : dump["macros"].toArray()) {
    const QJsonObject macro = value.toObject();
    PrintLine("macro \"" + macro["name"].toString().toStdString() + "\" (id " +
              std::to_string(macro["id"].toInt()) + ", cycles " +
              std::to_string(macro["cycles"].toInt()) + ")");
    for (const QJsonValue& event : macro["events"].toArray()) {
      const QJsonObject e = event.toObject();
      PrintLine("  " + e["action"].toString().toStdString() + " " +
                e["key"].toString().toStdString() + ", then " +
                std::to_string(e["delay"].toInteger()) + " ms");
    }
  }
  for (const QJsonValue& value : dump["host_strings"].toArray()) {
    PrintLine("text of " + KeyLabel(value.toObject()) + ": \"" +
              value.toObject()["text"].toString().toStdString() + "\"");
  }
}

}  // namespace

int RunDump(Tool& tool) {
  const std::filesystem::path path = tool.Positional(0);
  auto store = std::make_unique<ConfigStore>();
  if (const int status = LoadConfig(path, tool.Names(), *store)) return status;
  const QJsonObject dump{{"file", Q(path.string())},
                         {"header", HeaderJson(store->image.header)},
                         {"assignments", AssignmentsJson(*store, tool.Names())},
                         {"macros", MacrosJson(*store, tool.Names())},
                         {"host_strings", HostStringsJson(*store, tool.Names())}};
  if (tool.Json()) {
    PrintJson(dump);
  } else {
    PrintDump(dump);
  }
  return kExitOk;
}

}  // namespace mvk::cli
