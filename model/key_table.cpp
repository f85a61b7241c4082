// The constant key tables: key records by key index, the consumer usages,
// the multimedia and mouse lists, the G words and the virtual-key lookup.
#include <algorithm>
#include <array>

#include "model/keys.h"

namespace mvk {
namespace {

struct KeyRow {
  KeyIndex index;
  uint8_t usage;
  uint8_t vk;
  uint16_t listPosition;
  const char* nameKey;
  const char* label;
};

// Records not listed are empty. Index 0xB6 repeats Right Shift: Windows
// sends E0 36 around some extended keys.
constexpr KeyRow kKeyRows[] = {
    {0x01, 0x29, 0x1B, 37, "IDS_KEYBOARD_ESC", "Esc"},
    {0x02, 0x1E, 0x31, 26, "IDS_KEYBOARD_1", "1"},
    {0x03, 0x1F, 0x32, 27, "IDS_KEYBOARD_2", "2"},
    {0x04, 0x20, 0x33, 28, "IDS_KEYBOARD_3", "3"},
    {0x05, 0x21, 0x34, 29, "IDS_KEYBOARD_4", "4"},
    {0x06, 0x22, 0x35, 30, "IDS_KEYBOARD_5", "5"},
    {0x07, 0x23, 0x36, 31, "IDS_KEYBOARD_6", "6"},
    {0x08, 0x24, 0x37, 32, "IDS_KEYBOARD_7", "7"},
    {0x09, 0x25, 0x38, 33, "IDS_KEYBOARD_8", "8"},
    {0x0A, 0x26, 0x39, 34, "IDS_KEYBOARD_9", "9"},
    {0x0B, 0x27, 0x30, 35, "IDS_KEYBOARD_0", "0"},
    {0x0C, 0x2D, 0xBD, 41, "IDS_KEYBOARD_MINUS", "Minus"},
    {0x0D, 0x2E, 0xBB, 42, "IDS_KEYBOARD_EQU", "Equals"},
    {0x0E, 0x2A, 0x08, 38, "IDS_KEYBOARD_BS", "Backspace"},
    {0x0F, 0x2B, 0x09, 39, "IDS_KEYBOARD_TAB", "Tab"},
    {0x10, 0x14, 0x51, 16, "IDS_KEYBOARD_Q", "Q"},
    {0x11, 0x1A, 0x57, 22, "IDS_KEYBOARD_W", "W"},
    {0x12, 0x08, 0x45, 4, "IDS_KEYBOARD_E", "E"},
    {0x13, 0x15, 0x52, 17, "IDS_KEYBOARD_R", "R"},
    {0x14, 0x17, 0x54, 19, "IDS_KEYBOARD_T", "T"},
    {0x15, 0x1C, 0x59, 24, "IDS_KEYBOARD_Y", "Y"},
    {0x16, 0x18, 0x55, 20, "IDS_KEYBOARD_U", "U"},
    {0x17, 0x0C, 0x49, 8, "IDS_KEYBOARD_I", "I"},
    {0x18, 0x12, 0x4F, 14, "IDS_KEYBOARD_O", "O"},
    {0x19, 0x13, 0x50, 15, "IDS_KEYBOARD_P", "P"},
    {0x1A, 0x2F, 0xDB, 43, "IDS_KEYBOARD_SB1", "Left bracket"},
    {0x1B, 0x30, 0xDD, 44, "IDS_KEYBOARD_SB2", "Right bracket"},
    {0x1C, 0x28, 0x0D, 36, "IDS_KEYBOARD_ENTER", "Enter"},
    {0x1D, 0xE0, 0xA2, 98, "IDS_KEYBOARD_LCTRL", "Ctrl"},
    {0x1E, 0x04, 0x41, 0, "IDS_KEYBOARD_A", "A"},
    {0x1F, 0x16, 0x53, 18, "IDS_KEYBOARD_S", "S"},
    {0x20, 0x07, 0x44, 3, "IDS_KEYBOARD_D", "D"},
    {0x21, 0x09, 0x46, 5, "IDS_KEYBOARD_F", "F"},
    {0x22, 0x0A, 0x47, 6, "IDS_KEYBOARD_G", "G"},
    {0x23, 0x0B, 0x48, 7, "IDS_KEYBOARD_H", "H"},
    {0x24, 0x0D, 0x4A, 9, "IDS_KEYBOARD_J", "J"},
    {0x25, 0x0E, 0x4B, 10, "IDS_KEYBOARD_K", "K"},
    {0x26, 0x0F, 0x4C, 11, "IDS_KEYBOARD_L", "L"},
    {0x27, 0x33, 0xBA, 46, "IDS_KEYBOARD_SEM", "Semicolon"},
    {0x28, 0x34, 0xDE, 47, "IDS_KEYBOARD_QUOT", "Apostrophe"},
    {0x29, 0x35, 0xC0, 48, "IDS_KEYBOARD_AID1", "Grave accent"},
    {0x2A, 0xE1, 0xA0, 99, "IDS_KEYBOARD_LSHIFT", "Shift"},
    {0x2B, 0x31, 0xDC, 45, "IDS_KEYBOARD_AV", "Backslash"},
    {0x2C, 0x1D, 0x5A, 25, "IDS_KEYBOARD_Z", "Z"},
    {0x2D, 0x1B, 0x58, 23, "IDS_KEYBOARD_X", "X"},
    {0x2E, 0x06, 0x43, 2, "IDS_KEYBOARD_C", "C"},
    {0x2F, 0x19, 0x56, 21, "IDS_KEYBOARD_V", "V"},
    {0x30, 0x05, 0x42, 1, "IDS_KEYBOARD_B", "B"},
    {0x31, 0x11, 0x4E, 13, "IDS_KEYBOARD_N", "N"},
    {0x32, 0x10, 0x4D, 12, "IDS_KEYBOARD_M", "M"},
    {0x33, 0x36, 0xBC, 49, "IDS_KEYBOARD_COMMA", "Comma"},
    {0x34, 0x37, 0xBE, 50, "IDS_KEYBOARD_PER", "Period"},
    {0x35, 0x38, 0xBF, 51, "IDS_KEYBOARD_VIR", "Slash"},
    {0x36, 0xE5, 0xA1, 103, "IDS_KEYBOARD_RSHIFT", "Right Shift"},
    {0x37, 0x55, 0x6A, 81, "IDS_KEYBOARD_S_AST", "Num *"},
    {0x38, 0xE2, 0xA4, 100, "IDS_KEYBOARD_LALT", "Alt"},
    {0x39, 0x2C, 0x20, 40, "IDS_KEYBOARD_SPACE", "Space"},
    {0x3A, 0x39, 0x14, 78, "IDS_KEYBOARD_CAPS", "Caps Lock"},
    {0x3B, 0x3A, 0x70, 52, "IDS_KEYBOARD_F1", "F1"},
    {0x3C, 0x3B, 0x71, 53, "IDS_KEYBOARD_F2", "F2"},
    {0x3D, 0x3C, 0x72, 54, "IDS_KEYBOARD_F3", "F3"},
    {0x3E, 0x3D, 0x73, 55, "IDS_KEYBOARD_F4", "F4"},
    {0x3F, 0x3E, 0x74, 56, "IDS_KEYBOARD_F5", "F5"},
    {0x40, 0x3F, 0x75, 57, "IDS_KEYBOARD_F6", "F6"},
    {0x41, 0x40, 0x76, 58, "IDS_KEYBOARD_F7", "F7"},
    {0x42, 0x41, 0x77, 59, "IDS_KEYBOARD_F8", "F8"},
    {0x43, 0x42, 0x78, 60, "IDS_KEYBOARD_F9", "F9"},
    {0x44, 0x43, 0x79, 61, "IDS_KEYBOARD_F10", "F10"},
    {0x45, 0x48, 0x13, 65, "IDS_KEYBOARD_PAUSE", "Pause"},
    {0x46, 0x47, 0x91, 77, "IDS_KEYBOARD_SCROLL", "Scroll Lock"},
    {0x47, 0x5F, 0x67, 91, "IDS_KEYBOARD_S_7", "Num 7"},
    {0x48, 0x60, 0x68, 92, "IDS_KEYBOARD_S_8", "Num 8"},
    {0x49, 0x61, 0x69, 93, "IDS_KEYBOARD_S_9", "Num 9"},
    {0x4A, 0x56, 0x6D, 82, "IDS_KEYBOARD_S_MINUS", "Num -"},
    {0x4B, 0x5C, 0x64, 88, "IDS_KEYBOARD_S_4", "Num 4"},
    {0x4C, 0x5D, 0x65, 89, "IDS_KEYBOARD_S_5", "Num 5"},
    {0x4D, 0x5E, 0x66, 90, "IDS_KEYBOARD_S_6", "Num 6"},
    {0x4E, 0x57, 0x6B, 83, "IDS_KEYBOARD_S_PLUS", "Num +"},
    {0x4F, 0x59, 0x61, 85, "IDS_KEYBOARD_S_1", "Num 1"},
    {0x50, 0x5A, 0x62, 86, "IDS_KEYBOARD_S_2", "Num 2"},
    {0x51, 0x5B, 0x63, 87, "IDS_KEYBOARD_S_3", "Num 3"},
    {0x52, 0x62, 0x60, 94, "IDS_KEYBOARD_S_0", "Num 0"},
    {0x53, 0x63, 0x6E, 95, "IDS_KEYBOARD_S_DEL", "Num ."},
    {0x54, 0x00, 0x2C, kNoListPosition, "IDS_KEYBOARD_SYSREQ", "Sys Req"},
    {0x56, 0x64, 0xE2, 96, "IDS_KEYBOARD_K45", "K45"},
    {0x57, 0x44, 0x7A, 62, "IDS_KEYBOARD_F11", "F11"},
    {0x58, 0x45, 0x7B, 63, "IDS_KEYBOARD_F12", "F12"},
    {0x64, 0x00, 0x7C, kNoListPosition, nullptr, "F13"},
    {0x70, 0x88, 0x00, kNoListPosition, "IDS_KEYBOARD_ROMA", "ROMA (133)"},
    {0x71, 0x91, 0xE9, kNoListPosition, "IDS_KEYBOARD_KL", "KL"},
    {0x72, 0x90, 0x00, kNoListPosition, "IDS_KEYBOARD_KR", "KR"},
    {0x73, 0x87, 0xC1, kNoListPosition, "IDS_KEYBOARD_K56", "K56"},
    {0x79, 0x8A, 0x00, kNoListPosition, "IDS_KEYBOARD_CHG", "CHG (132)"},
    {0x7B, 0x8B, 0xEB, kNoListPosition, "IDS_KEYBOARD_N_CHG", "N-CHG (131)"},
    {0x7D, 0x89, 0x00, kNoListPosition, "IDS_KEYBOARD_K14", "K14"},
    {0x7E, 0x85, 0xC2, kNoListPosition, "IDS_KEYBOARD_K107", "K107"},
    {0x90, 0xD0, 0xB1, kNoListPosition, "MEDIA_PREV_TRACK_4", "Prev Track"},
    {0x99, 0xD1, 0xB0, kNoListPosition, "MEDIA_Next_TRACK_5", "Next Track"},
    {0x9C, 0x58, 0x0D, 84, "IDS_KEYBOARD_S_ENTER", "Num Enter"},
    {0x9D, 0xE4, 0xA3, 102, "IDS_KEYBOARD_RCTRL", "Right Ctrl"},
    {0xA0, 0xCD, 0xAD, kNoListPosition, "MEDIA_MUTE_8", "Mute"},
    {0xA1, 0xC4, 0xB7, kNoListPosition, "MEDIA_CALC_17", "Calc"},
    {0xA2, 0xCE, 0xB3, kNoListPosition, "MEDIA_PALY_PAUSE_2", "Play/Pause"},
    {0xA4, 0xCF, 0xB2, kNoListPosition, "MEDIA_STOP_PALY_3", "Stop Play"},
    {0xAE, 0xC1, 0xAE, kNoListPosition, "MEDIA_V_LOW_6", "V-"},
    {0xB0, 0xC0, 0xAF, kNoListPosition, "MEDIA_V_ADD_7", "V+"},
    {0xB2, 0xC7, 0xAC, kNoListPosition, "MEDIA_WWW_HOME_9", "WWW Home"},
    {0xB5, 0x54, 0x6F, 80, "IDS_KEYBOARD_S_VIR", "Num /"},
    {0xB6, 0xE5, 0xA1, 103, "IDS_KEYBOARD_RSHIFT", "Right Shift"},
    {0xB7, 0x46, 0x2C, 64, "IDS_KEYBOARD_PRINT", "Print Screen"},
    {0xB8, 0xE6, 0xA5, 104, "IDS_KEYBOARD_RALT", "Right Alt"},
    {0xC5, 0x53, 0x90, 79, "IDS_KEYBOARD_NUM", "Num Lock"},
    {0xC6, 0x48, 0x03, 66, "IDS_KEYBOARD_BREAK", "Break"},
    {0xC7, 0x4A, 0x24, 69, "IDS_KEYBOARD_HOME", "Home"},
    {0xC8, 0x52, 0x26, 73, "IDS_KEYBOARD_UP", "Up"},
    {0xC9, 0x4B, 0x21, 71, "IDS_KEYBOARD_PAGE_UP", "Page Up"},
    {0xCB, 0x50, 0x25, 75, "IDS_KEYBOARD_LEFT", "Left"},
    {0xCD, 0x4F, 0x27, 76, "IDS_KEYBOARD_RIGHT", "Right"},
    {0xCF, 0x4D, 0x23, 70, "IDS_KEYBOARD_END", "End"},
    {0xD0, 0x51, 0x28, 74, "IDS_KEYBOARD_DOWN", "Down"},
    {0xD1, 0x4E, 0x22, 72, "IDS_KEYBOARD_PAGE_DOWN", "Page Down"},
    {0xD2, 0x49, 0x2D, 67, "IDS_KEYBOARD_INSERT", "Insert"},
    {0xD3, 0x4C, 0x2E, 68, "IDS_KEYBOARD_DELETE", "Delete"},
    {0xDB, 0xE3, 0x5B, 101, "IDS_KEYBOARD_LWIN", "Win"},
    {0xDC, 0xE7, 0x5C, 105, "IDS_KEYBOARD_RWIN", "Right Win"},
    {0xDD, 0x65, 0x5D, 97, "IDS_KEYBOARD_APP", "App"},
    {0xDE, 0x81, 0x00, kNoListPosition, "IDS_KEYBOARD_POWER", "Power"},
    {0xDF, 0x82, 0x5F, kNoListPosition, "IDS_KEYBOARD_SLEEP", "Sleep"},
    {0xE1, 0xF4, 0xD1, 109, "IDS_KEYBOARD_ROLL_UP", "Roll Up"},
    {0xE2, 0xF5, 0xD2, 110, "IDS_KEYBOARD_ROLL_DOWN", "Roll Down"},
    {0xE3, 0x83, 0x00, kNoListPosition, "IDS_KEYBOARD_WAKE", "Wake"},
    {0xE5, 0xC6, 0xAA, kNoListPosition, "MEDIA_WWW_SEARCH_15", "WWW Search"},
    {0xE6, 0xCC, 0xAB, kNoListPosition, "MEDIA_WWW_FAVORITE_14", "WWW Favorite"},
    {0xE7, 0xCB, 0xA8, kNoListPosition, "MEDIA_WWW_REFRESH_10", "WWW Refresh"},
    {0xE8, 0xCA, 0xA9, kNoListPosition, "MEDIA_WWW_STOP_11", "WWW Stop"},
    {0xE9, 0xC9, 0xA7, kNoListPosition, "MEDIA_WWW_FORWARD_13", "WWW Forward"},
    {0xEA, 0xC8, 0xA6, kNoListPosition, "MEDIA_WWW_BACK_12", "WWW Back"},
    {0xEB, 0xC5, 0xB6, kNoListPosition, "MEDIA_MY_PC_16", "My PC"},
    {0xEC, 0xC3, 0xB4, kNoListPosition, "MEDIA_MAIL_18", "Mail"},
    {0xED, 0xC2, 0xB5, kNoListPosition, "MEDIA_PALYER_1", "Media Player"},
    {0xEE, 0x00, 0x88, kNoListPosition, "IDS_KEYBOARD_MOU_PANLEFT", "Pan Left"},
    {0xEF, 0x00, 0x89, kNoListPosition, "IDS_KEYBOARD_MOU_PANRIGHT", "Pan Right"},
    {0xF0, 0x00, 0x8A, kNoListPosition, "IDS_KEYBOARD_MOU_DBCLICK", "Double Click"},
    {0xF1, 0xF1, 0x01, 106, "IDS_KEYBOARD_MOU_LEFT", "Left Button"},
    {0xF2, 0xF2, 0x02, 107, "IDS_KEYBOARD_MOU_RIGHT", "Right Button"},
    {0xF3, 0xF3, 0x04, 108, "IDS_KEYBOARD_MOU_MIDDLE", "Middle Button"},
    {0xF4, 0xD2, 0x8B, kNoListPosition, "IDS_KEYBOARD_FUNC_ZOOMOUT", "Zoom-"},
    {0xF5, 0xD3, 0x8C, kNoListPosition, "IDS_KEYBOARD_FUNC_ZOOMIN", "Zoom+"},
    {0xF6, 0x00, 0x97, kNoListPosition, "IDS_KEYBOARD_FUNC_COPY", "Copy"},
    {0xF7, 0x00, 0x98, kNoListPosition, "IDS_KEYBOARD_FUNC_CUT", "Cut"},
    {0xF8, 0x00, 0x99, kNoListPosition, "IDS_KEYBOARD_FUNC_PASTE", "Paste"},
    {0xF9, 0x00, 0x9A, kNoListPosition, "IDS_KEYBOARD_FUNC_MINI", "Minimize"},
    {0xFA, 0x00, 0x9B, kNoListPosition, "IDS_KEYBOARD_FUNC_MAXI", "Maximize"},
    {0xFB, 0xD4, 0x9C, kNoListPosition, "IDS_KEYBOARD_FUNC_WORD", "Word"},
    {0xFC, 0xD5, 0x9D, kNoListPosition, "IDS_KEYBOARD_FUNC_EXCEL", "Excel"},
    {0xFD, 0x00, 0x9E, kNoListPosition, "IDS_KEYBOARD_FUNC_POWERPOINT", "PowerPoint"},
    {0xFE, 0x00, 0x9F, kNoListPosition, "IDS_KEYBOARD_FUNC_CALENDAR", "Calendar"},
};

constexpr std::array<KeyRecord, kKeyTableSize> BuildKeyTable() {
  std::array<KeyRecord, kKeyTableSize> table{};
  for (const KeyRow& row : kKeyRows) {
    table[row.index] = {row.usage, row.vk, row.listPosition, row.nameKey, row.label};
  }
  return table;
}

constexpr std::array<KeyRecord, kKeyTableSize> kKeyTable = BuildKeyTable();

constexpr uint8_t kVkShift = 0x10;
constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkMenu = 0x12;
constexpr uint8_t kVkSnapshot = 0x2C;

constexpr bool IsPointerOrFunctionVk(unsigned vk) {
  return vk == 0x01 || vk == 0x02 || vk == 0x04 || (vk >= 0x88 && vk <= 0x8C) ||
         (vk >= 0x97 && vk <= 0x9F);
}

// The lowest record with the VK wins (Enter before Num Enter, 0x36 before
// 0xB6); the generic modifier VKs stand for the left keys, and mouse and
// function pseudo-keys cannot be typed.
constexpr std::array<KeyIndex, 256> BuildVkLookup() {
  std::array<KeyIndex, 256> lookup{};
  for (size_t index = kKeyTableSize; index-- > 1;) {
    if (kKeyTable[index].vk != 0) lookup[kKeyTable[index].vk] = static_cast<KeyIndex>(index);
  }
  lookup[kVkShift] = 0x2A;
  lookup[kVkControl] = 0x1D;
  lookup[kVkMenu] = 0x38;
  lookup[kVkSnapshot] = 0xB7;
  for (unsigned vk = 0; vk < lookup.size(); ++vk) {
    if (IsPointerOrFunctionVk(vk)) lookup[vk] = 0;
  }
  return lookup;
}

constexpr std::array<KeyIndex, 256> kVkLookup = BuildVkLookup();

constexpr std::array<uint16_t, 32> kConsumerTable = {
    0x0E9, 0x0EA, 0x183, 0x18A, 0x192, 0x194, 0x221, 0x223, 0x224,
    0x225, 0x226, 0x227, 0x22A, 0x0E2, 0x0CD, 0x0B7, 0x0B6, 0x0B5,
};

constexpr std::array<MultimediaEntry, 18> kMultimediaList = {{
    {0x16D, "MEDIA_PALYER_1", 0x183},
    {0x122, "MEDIA_PALY_PAUSE_2", 0x0CD},
    {0x124, "MEDIA_STOP_PALY_3", 0x0B7},
    {0x110, "MEDIA_PREV_TRACK_4", 0x0B6},
    {0x119, "MEDIA_Next_TRACK_5", 0x0B5},
    {0x12E, "MEDIA_V_LOW_6", 0x0EA},
    {0x130, "MEDIA_V_ADD_7", 0x0E9},
    {0x120, "MEDIA_MUTE_8", 0x0E2},
    {0x132, "MEDIA_WWW_HOME_9", 0x223},
    {0x167, "MEDIA_WWW_REFRESH_10", 0x227},
    {0x168, "MEDIA_WWW_STOP_11", 0x226},
    {0x16A, "MEDIA_WWW_BACK_12", 0x224},
    {0x169, "MEDIA_WWW_FORWARD_13", 0x225},
    {0x166, "MEDIA_WWW_FAVORITE_14", 0x22A},
    {0x165, "MEDIA_WWW_SEARCH_15", 0x221},
    {0x16B, "MEDIA_MY_PC_16", 0x194},
    {0x121, "MEDIA_CALC_17", 0x192},
    {0x16C, "MEDIA_MAIL_18", 0x18A},
}};

constexpr std::array<MouseEntry, 5> kMouseList = {{
    {0x171, "IDS_KEYBOARD_MOU_LEFT"},
    {0x172, "IDS_KEYBOARD_MOU_RIGHT"},
    {0x173, "IDS_KEYBOARD_MOU_MIDDLE"},
    {0x161, "IDS_KEYBOARD_ROLL_UP"},
    {0x162, "IDS_KEYBOARD_ROLL_DOWN"},
}};

// The first nine G keys carry 0x0301 + g, the reserved second nine 0x1301 + g.
constexpr int kGKeysPerSet = 9;
constexpr uint16_t kFirstSetGWord = 0x0301;
constexpr uint16_t kSecondSetGWord = 0x1301;

constexpr KeyRecord kEmptyRecord{};

}  // namespace

const KeyRecord& KeyRecordAt(KeyIndex index) {
  return index < kKeyTable.size() ? kKeyTable[index] : kEmptyRecord;
}

KeyIndex KeyIndexOfVk(uint32_t vk) {
  return vk < kVkLookup.size() ? kVkLookup[vk] : 0;
}

uint16_t GKeyWord(KeyIndex index) {
  if (!IsGKeyIndex(index)) return 0;
  const int g = index - kFirstGKeyIndex;
  return g < kGKeysPerSet ? static_cast<uint16_t>(kFirstSetGWord + g)
                          : static_cast<uint16_t>(kSecondSetGWord + g - kGKeysPerSet);
}

std::span<const uint16_t, 32> ConsumerTable() { return kConsumerTable; }

std::span<const MultimediaEntry, 18> MultimediaList() { return kMultimediaList; }

std::span<const MouseEntry, 5> MouseList() { return kMouseList; }

std::vector<std::string_view> KeyLanguageKeys() {
  std::vector<std::string_view> keys{kUnknownKeyTextKey};
  for (const KeyRecord& record : kKeyTable) {
    if (record.nameKey != nullptr) keys.emplace_back(record.nameKey);
  }
  for (const MultimediaEntry& entry : kMultimediaList) keys.emplace_back(entry.nameKey);
  for (const MouseEntry& entry : kMouseList) keys.emplace_back(entry.nameKey);
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace mvk
