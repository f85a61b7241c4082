#include "model/key_map.h"

#include <algorithm>

namespace mvk {
namespace {

// G1 to G9 have buttons; the second set of G keys has none.
constexpr int kShownGKeys = 9;

KeyCode KeyCodeOfKeyboardAction(uint8_t sub, uint8_t value) {
  return sub == action::kUsage ? KeyCodeOfUsage(kUsageKeyboard, value) : ModifierCodeOfBits(value);
}

uint16_t UsageWord(const KeyAction& a) { return static_cast<uint16_t>(a.sub | (a.value << 8)); }

std::optional<uint32_t> MultimediaPositionOf(uint16_t consumerUsage) {
  const auto list = MultimediaList();
  const auto found = std::find_if(list.begin(), list.end(), [consumerUsage](const auto& entry) {
    return entry.consumerUsage == consumerUsage;
  });
  if (found == list.end()) {
    return std::nullopt;
  }
  return static_cast<uint32_t>(found - list.begin());
}

// The assignment a key action read from the keyboard stands for. Actions the
// program cannot express (other classes, unlisted mouse values, unknown
// usages) leave the key disabled.
void AssignFromAction(KeySlot& slot, const KeyAction& a) {
  slot.type = kAssignDisabled;
  switch (a.cls) {
    case action::kMacro:
      if (a.sub == action::kPlayMacro) {
        slot.type = kAssignMacro;
        slot.value = a.value + 1u;
      } else if (a.sub == action::kStopMacro) {
        slot.type = kAssignStopMacro;
      } else if (a.sub == action::kFunctionKey) {
        slot.type = kAssignFunction;
        slot.value = a.value;
      }
      break;
    case action::kConsumer:
      if (const auto position = MultimediaPositionOf(UsageWord(a))) {
        slot.type = kAssignMultimedia;
        slot.value = *position;
      }
      break;
    case action::kMouse:
      if (const KeyCode code = MouseCodeOfAction(a.sub, a.value)) {
        slot.type = kAssignKey;
        slot.value = code;
      }
      break;
    case action::kKeyboard:
      if (const KeyCode code = KeyCodeOfKeyboardAction(a.sub, a.value)) {
        slot.type = kAssignKey;
        slot.value = code;
      }
      break;
    default:
      break;
  }
}

KeyAction SingleKeyAction(KeyCode code) {
  if (const uint8_t bit = ModifierBitOfCode(code)) {
    return {action::kKeyboard, action::kModifier, bit};
  }
  if (const auto mouse = MouseActionOfCode(code)) {
    return {action::kMouse, mouse->sub, mouse->value};
  }
  const KeyUsage usage = KeyUsageOf(code);
  const uint8_t value = usage.kind == kUsageKeyboard ? static_cast<uint8_t>(usage.value) : 0;
  return {action::kKeyboard, action::kUsage, value};
}

// The action a key slot sends; nullopt keeps the position's default.
std::optional<KeyAction> ActionOfSlot(const KeySlot& slot,
                                      const std::function<uint16_t(uint16_t)>& macroIndexOfId) {
  switch (slot.type) {
    case kAssignDisabled:
    case kAssignText:
      return KeyAction{};
    case kAssignKey:
      return SingleKeyAction(static_cast<KeyCode>(slot.value));
    case kAssignMacro:
      return KeyAction{action::kMacro, action::kPlayMacro,
                       static_cast<uint8_t>(macroIndexOfId(static_cast<uint16_t>(slot.value)))};
    case kAssignStopMacro:
      return KeyAction{action::kMacro, action::kStopMacro, 0};
    case kAssignMultimedia:
      if (slot.value < MultimediaList().size()) {
        const uint16_t usage = MultimediaList()[slot.value].consumerUsage;
        return KeyAction{action::kConsumer, static_cast<uint8_t>(usage),
                         static_cast<uint8_t>(usage >> 8)};
      }
      return std::nullopt;
    case kAssignFunction:
      return KeyAction{action::kMacro, action::kFunctionKey, static_cast<uint8_t>(slot.value)};
    default:  // default, launch program, and types no version writes
      return std::nullopt;
  }
}

template <typename Visit>
void ForEachSlot(ConfigImage& image, Visit visit) {
  for (int p = 0; p < kImageProfiles; ++p) {
    for (int k = 0; k < kSlotsPerProfile; ++k) {
      visit(image.profiles[p][k]);
    }
  }
}

}  // namespace

KeyAction ActionAt(const KeyMatrix& matrix, int position) {
  const std::size_t at = static_cast<std::size_t>(position) * kKeyActionSize;
  return {matrix[at], matrix[at + 1], matrix[at + 2]};
}

void SetActionAt(KeyMatrix& matrix, int position, KeyAction a) {
  const std::size_t at = static_cast<std::size_t>(position) * kKeyActionSize;
  matrix[at] = a.cls;
  matrix[at + 1] = a.sub;
  matrix[at + 2] = a.value;
}

bool IsImageProfile(int profile) { return profile >= 0 && profile < kImageProfiles; }

bool IsSlotIndex(int keyIndex) { return keyIndex >= 0 && keyIndex < kSlotsPerProfile; }

std::optional<KeySlot> ReadAssignment(ConfigState& config, int profile, int keyIndex) {
  if (!IsImageProfile(profile) || !IsSlotIndex(keyIndex)) {
    return std::nullopt;
  }
  std::lock_guard lock(config.ConfigLock);
  return config.working.image.profiles[profile][keyIndex];
}

bool WriteAssignment(ConfigState& config, int profile, int keyIndex, uint16_t type,
                     uint32_t value, std::optional<uint16_t> extra) {
  if (!IsImageProfile(profile) || !IsSlotIndex(keyIndex)) {
    return false;
  }
  std::lock_guard lock(config.ConfigLock);
  // The text belongs to this profile's slot only; other profiles keep theirs.
  config.working.hostStrings.Free(HostStringTable::EntryOf(profile, keyIndex));
  KeySlot& slot = config.working.image.profiles[profile][keyIndex];
  slot.type = type;
  slot.extra = extra.value_or(GKeyWord(static_cast<KeyIndex>(keyIndex)));
  slot.value = value;
  slot.reserved = 0;
  return true;
}

bool ResetProfileAssignments(ConfigState& config, int profile,
                             std::span<const KeyIndex> buttonKeys) {
  if (!IsImageProfile(profile)) {
    return false;
  }
  std::lock_guard lock(config.ConfigLock);
  ProfileKeyMap& map = config.working.image.profiles[profile];
  for (int g = 0; g < kShownGKeys; ++g) {
    map[kFirstGKeyIndex + g] = KeySlot{};
  }
  for (const KeyIndex key : buttonKeys) {
    if (IsSlotIndex(key)) {
      map[key] = KeySlot{};
    }
  }
  return true;
}

void ResetOnboardProfiles(ConfigState& config, std::span<const KeyIndex> buttonKeys) {
  std::lock_guard lock(config.ConfigLock);
  for (int profile = 0; profile < kProfileCount; ++profile) {
    ResetProfileAssignments(config, profile, buttonKeys);
  }
}

uint16_t MacroIndexOfId(ConfigState& config, uint16_t id) {
  std::lock_guard lock(config.ConfigLock);
  return MacroIndexOfId(config.working.macros, id);
}

KeyCode KeyCodeOfAction(KeyAction a) {
  switch (a.cls) {
    case action::kMouse:
      return MouseCodeOfAction(a.sub, a.value);
    case action::kKeyboard:
      return KeyCodeOfKeyboardAction(a.sub, a.value);
    case action::kConsumer:
      return KeyCodeOfUsage(kUsageConsumer, UsageWord(a));
    case action::kSystem:
      return KeyCodeOfUsage(kUsageSystem, UsageWord(a));
    case action::kGKey:
      return a.sub == action::kGKeySub ? GKeyCodeOfNumber(a.value) : 0;
    default:
      return 0;
  }
}

ProfileKeyMap ProfileFromKeyMatrix(const KeyMatrix& matrix, const KeyMatrix& defaults,
                                   int profile) {
  ProfileKeyMap map = NewProfileKeyMap(profile);
  for (int position = 0; position < static_cast<int>(kKeyMatrixPositions); ++position) {
    const KeyAction read = ActionAt(matrix, position);
    const KeyAction standard = ActionAt(defaults, position);
    const KeyCode code = KeyCodeOfAction(standard);
    if (read == standard || code == 0) {
      continue;
    }
    AssignFromAction(map[KeyIndexOf(code)], read);
  }
  return map;
}

KeyMatrix KeyMatrixFromProfile(const ProfileKeyMap& map, const KeyMatrix& defaults,
                               const std::function<uint16_t(uint16_t)>& macroIndexOfId) {
  KeyMatrix matrix = defaults;
  for (int position = 0; position < static_cast<int>(kKeyMatrixPositions); ++position) {
    const KeyCode code = KeyCodeOfAction(ActionAt(defaults, position));
    if (code == 0) {
      continue;
    }
    if (const auto a = ActionOfSlot(map[KeyIndexOf(code)], macroIndexOfId)) {
      SetActionAt(matrix, position, *a);
    }
  }
  return matrix;
}

bool MacroUsedByKeys(ConfigState& config, const MacroRecord& macro, ModelPrompts& prompts) {
  if (macro.isNew != 0) {
    return true;
  }
  bool used = false;
  {
    std::lock_guard lock(config.ConfigLock);
    ForEachSlot(config.working.image, [&](const KeySlot& slot) {
      used = used || (slot.type == kAssignMacro && slot.value == macro.id);
    });
    if (used) {
      config.macroReferencesChanged = true;
    }
  }
  return !used || prompts.AskYesNo(kMacroDeleteConfirmText);
}

bool ReconcileMacroReferences(ConfigState& config, const MacroList& newList) {
  std::lock_guard lock(config.ConfigLock);
  bool changed = false;
  ForEachSlot(config.working.image, [&](KeySlot& slot) {
    if (slot.type != kAssignMacro) {
      return;
    }
    if (slot.value == 0) {
      if (!newList.empty()) {
        slot.value = newList.front().id;
        changed = true;
      }
      return;
    }
    const auto found = std::find_if(newList.begin(), newList.end(), [&](const MacroRecord& m) {
      return m.id == slot.value;
    });
    if (found == newList.end() || found->isNew != 0) {
      slot.type = kAssignDefault;
      changed = true;
    }
  });
  return changed;
}

}  // namespace mvk
