#include "ui/main/key_buttons.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "model/lighting.h"

namespace mvk {

const std::array<KeyButtonEntry, kKeyButtonCount> kKeyButtons = {{
    {1058, 0x01E, 64},  // A
    {1075, 0x030, 90},  // B
    {1073, 0x02E, 88},  // C
    {1060, 0x020, 66},  // D
    {1046, 0x012, 45},  // E
    {1061, 0x021, 67},  // F
    {1062, 0x022, 68},  // G
    {1063, 0x023, 69},  // H
    {1051, 0x017, 50},  // I
    {1064, 0x024, 70},  // J
    {1065, 0x025, 71},  // K
    {1066, 0x026, 72},  // L
    {1077, 0x032, 92},  // M
    {1076, 0x031, 91},  // N
    {1052, 0x018, 51},  // O
    {1053, 0x019, 52},  // P
    {1044, 0x010, 43},  // Q
    {1047, 0x013, 46},  // R
    {1059, 0x01F, 65},  // S
    {1048, 0x014, 47},  // T
    {1050, 0x016, 49},  // U
    {1074, 0x02F, 89},  // V
    {1045, 0x011, 44},  // W
    {1072, 0x02D, 87},  // X
    {1049, 0x015, 48},  // Y
    {1071, 0x02C, 86},  // Z
    {1030, 0x002, 22},  // 1
    {1031, 0x003, 23},  // 2
    {1032, 0x004, 24},  // 3
    {1033, 0x005, 25},  // 4
    {1034, 0x006, 26},  // 5
    {1035, 0x007, 27},  // 6
    {1036, 0x008, 28},  // 7
    {1037, 0x009, 29},  // 8
    {1038, 0x00A, 30},  // 9
    {1039, 0x00B, 31},  // 0
    {1070, 0x01C, 76},  // Enter
    {1022, 0x001, 0},  // Esc
    {1043, 0x00E, 34},  // Backspace
    {1056, 0x00F, 42},  // Tab
    {1090, 0x039, 108},  // Space
    {1040, 0x00C, 32},  // Minus
    {1041, 0x00D, 33},  // Equals
    {1054, 0x01A, 53},  // Left bracket
    {1055, 0x01B, 54},  // Right bracket
    {1042, 0x02B, 55},  // Backslash
    {1067, 0x027, 73},  // Semicolon
    {1068, 0x028, 74},  // Apostrophe
    {1029, 0x029, 21},  // Grave accent
    {1078, 0x033, 93},  // Comma
    {1079, 0x034, 94},  // Period
    {1080, 0x035, 95},  // Slash
    {1010, 0x03B, 1},  // F1
    {1011, 0x03C, 2},  // F2
    {1012, 0x03D, 3},  // F3
    {1013, 0x03E, 4},  // F4
    {1014, 0x03F, 5},  // F5
    {1015, 0x040, 6},  // F6
    {1023, 0x041, 7},  // F7
    {1024, 0x042, 8},  // F8
    {1025, 0x043, 9},  // F9
    {1026, 0x044, 10},  // F10
    {1027, 0x057, 11},  // F11
    {1028, 0x058, 12},  // F12
    {1091, 0x137, 14},  // Print Screen
    {1093, 0x045, 16},  // Pause
    {1094, 0x152, 35},  // Insert
    {1097, 0x153, 56},  // Delete
    {1095, 0x147, 36},  // Home
    {1098, 0x14F, 57},  // End
    {1096, 0x149, 37},  // Page Up
    {1099, 0x151, 58},  // Page Down
    {1103, 0x148, 99},  // Up
    {1101, 0x150, 120},  // Down
    {1100, 0x14B, 119},  // Left
    {1102, 0x14D, 121},  // Right
    {1092, 0x046, 15},  // Scroll Lock
    {1069, 0x03A, 63},  // Caps Lock
    {1088, 0x15D, 111},  // App
    {1083, 0x01D, 105},  // Ctrl
    {1089, 0x11D, 113},  // Right Ctrl
    {1082, 0x02A, 84},  // Shift
    {1081, 0x036, 97},  // Right Shift
    {1085, 0x038, 107},  // Alt
    {1086, 0x138, 109},  // Right Alt
    {1084, 0x15B, 106},  // Win
    {1087, 0x15C, 112},  // Right Win
    {1115, 0x04F, 101},  // Num 1
    {1116, 0x050, 102},  // Num 2
    {1117, 0x051, 103},  // Num 3
    {1112, 0x04B, 80},  // Num 4
    {1113, 0x04C, 81},  // Num 5
    {1114, 0x04D, 82},  // Num 6
    {1108, 0x047, 59},  // Num 7
    {1109, 0x048, 60},  // Num 8
    {1110, 0x049, 61},  // Num 9
    {1120, 0x052, 123},  // Num 0
    {1104, 0x145, 38},  // Num Lock
    {1118, 0x11C, 104},  // Num Enter
    {1119, 0x053, 124},  // Num .
    {1105, 0x135, 39},  // Num /
    {1106, 0x037, 40},  // Num *
    {1107, 0x04A, 41},  // Num -
    {1111, 0x04E, 62},  // Num +
    {1199, 0x056, 85},  // K45
    {1200, 0x073, kNoColourPosition},  // K56 (hidden)
}};

namespace {

constexpr std::size_t kPromptCapacity = 260;

std::u16string Ascii(const char* text) {
  std::u16string out;
  for (; *text; ++text) out.push_back(static_cast<char16_t>(*text));
  return out;
}

std::u16string MacroNameOfId(const MacroList* macros, uint32_t id) {
  if (!macros) return {};
  const auto found =
      std::ranges::find_if(*macros, [id](const MacroRecord& m) { return m.id == id; });
  return found == macros->end() ? std::u16string() : found->Name();
}

std::u16string MultimediaName(uint32_t position, const KeyTextLookup& text) {
  const auto list = MultimediaList();
  return position < list.size() ? KeyName(list[position].code, text) : std::u16string();
}

// Function n is described by FUNC_KEY_DESC<n + 1>; numbers the keyboard does
// not have get no description rather than a missing-text marker.
std::u16string FunctionDescription(uint32_t function, const KeyTextLookup& text) {
  constexpr uint32_t kFunctionCount = 11;
  if (function >= kFunctionCount) return {};
  const std::string key = "FUNC_KEY_DESC" + std::to_string(function + 1);
  return text(key);
}

std::u16string AssignmentDetail(const KeySlot& slot, const PromptSources& sources) {
  const KeyTextLookup& text = sources.text;
  switch (slot.type) {
    case kAssignKey:
      return text("KEY_PROMPT_SINGLE") + KeyName(static_cast<KeyCode>(slot.value), text) + u")";
    case kAssignMacro:
      return text("KEY_PROMPT_MACRO") + MacroNameOfId(sources.macros, slot.value) + u")";
    case kAssignMultimedia:
      return text("KEY_PROMPT_MEDIA") + MultimediaName(slot.value, text) + u")";
    case kAssignFunction:
      return text("KEY_PROMPT_FUNCTION") + FunctionDescription(slot.value, text) + u")";
    default:
      return {};
  }
}

KeyPrompt PromptFrom(std::u16string name, const KeySlot& slot, const PromptSources& sources) {
  KeyPrompt prompt;
  prompt.text = std::move(name);
  if (slot.type != kAssignDefault) {
    prompt.assigned = true;
    prompt.text += sources.text("KEY_PROMPT_SET") + AssignmentDetail(slot, sources);
  }
  if (prompt.text.size() > kPromptCapacity - 1) prompt.text.resize(kPromptCapacity - 1);
  return prompt;
}

}  // namespace

KeyIndex GButtonKeyIndex(int g) { return static_cast<KeyIndex>(kFirstGKeyIndex + g); }

std::u16string KeyButtonSkinKey(int position) {
  char key[16];
  std::snprintf(key, sizeof key, "KEY_%03X", KeyIndexOf(kKeyButtons.at(position).code));
  return Ascii(key);
}

std::u16string GButtonSkinKey(int g) { return u"FUNC_G" + Ascii(std::to_string(g + 1).c_str()); }

std::optional<KeyButtonHit> HitOfControl(int control) {
  if (control == kMacroButtonControl) control = kMacroOnlyControl;
  const bool macroOnly = control == kMacroOnlyControl;
  if (const auto g = std::ranges::find(kGButtonControls, control); g != kGButtonControls.end()) {
    const KeyIndex index = GButtonKeyIndex(static_cast<int>(g - kGButtonControls.begin()));
    return KeyButtonHit{index, index, macroOnly};
  }
  const auto k = std::ranges::find(kKeyButtons, control, &KeyButtonEntry::control);
  if (k == kKeyButtons.end()) return std::nullopt;
  return KeyButtonHit{KeyIndexOf(k->code), static_cast<KeyIndex>(k - kKeyButtons.begin()), false};
}

int LedIndexOfControl(int control) {
  if (control == kFnButtonControl) return kFnLedIndex;
  if (std::ranges::find(kGButtonControls, control) != kGButtonControls.end()) return kGKeyLedIndex;
  const auto k = std::ranges::find(kKeyButtons, control, &KeyButtonEntry::control);
  return k == kKeyButtons.end() ? kNoLedIndex : LedIndexOfKey(k->code);
}

KeyPrompt BuildKeyPrompt(KeyCode code, const KeySlot& slot, const PromptSources& sources) {
  return PromptFrom(KeyName(code, sources.text), slot, sources);
}

KeyPrompt BuildGPrompt(int g, const KeySlot& slot, const PromptSources& sources) {
  return PromptFrom(u"G" + Ascii(std::to_string(g + 1).c_str()), slot, sources);
}

uint32_t FlippedSwitchMark(uint32_t mark) { return mark == 0 ? 1 : 0; }

}  // namespace mvk
