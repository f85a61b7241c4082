// Key assignments: reading and writing key slots of the working
// configuration, and converting a profile key map to and from the keyboard's
// key matrix of 126 three-byte key actions.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "model/config_store.h"
#include "model/default_matrix.h"
#include "model/key_action.h"
#include "model/keys.h"
#include "model/model_prompts.h"
#include "protocol/commands.h"

namespace mvk {

KeyAction ActionAt(const KeyMatrix& matrix, int position);
void SetActionAt(KeyMatrix& matrix, int position, KeyAction action);

// Profiles of the image (0 to 3) and key indexes (0 to 511) that key-map
// operations accept; an unknown profile (-1) is refused.
bool IsImageProfile(int profile);
bool IsSlotIndex(int keyIndex);

// A copy of the key slot; nullopt for a refused profile or key index.
std::optional<KeySlot> ReadAssignment(ConfigState& config, int profile, int keyIndex);

// Stores type, extra and value in the key slot and frees the slot's host
// string. extra defaults to the G word of a G key and to 0 elsewhere; a
// macro assignment passes its loop count. The slot's switch mark is kept and
// its reserved field becomes 0. False (nothing changed) for a refused
// profile or key index.
bool WriteAssignment(ConfigState& config, int profile, int keyIndex, uint16_t type,
                     uint32_t value, std::optional<uint16_t> extra = std::nullopt);

// Clears, whole, the key slots of G1 to G9 and of the given key buttons'
// keys in one profile. False for a refused profile.
bool ResetProfileAssignments(ConfigState& config, int profile,
                             std::span<const KeyIndex> buttonKeys);

// The reset of every onboard profile, after a restore of the defaults or a
// reset reported by the keyboard.
void ResetOnboardProfiles(ConfigState& config, std::span<const KeyIndex> buttonKeys);

// Position of the macro with this id in the working list, 0 when none has it.
uint16_t MacroIndexOfId(ConfigState& config, uint16_t id);

// The key a key action stands for; used on the default matrix to find the
// key each position belongs to. 0 when it names none.
KeyCode KeyCodeOfAction(KeyAction action);

// The key map of `profile` that a matrix read from the keyboard gives:
// positions that differ from their default action become assignments.
ProfileKeyMap ProfileFromKeyMatrix(const KeyMatrix& matrix, const KeyMatrix& defaults,
                                   int profile);

// The matrix to send for a key map; `macroIndexOfId` turns a macro id into
// the macro's position on the keyboard.
KeyMatrix KeyMatrixFromProfile(const ProfileKeyMap& map, const KeyMatrix& defaults,
                               const std::function<uint16_t(uint16_t)>& macroIndexOfId);

// Asked before a macro is deleted: whether the deletion may go on. When keys
// play the macro, the user is asked and the next apply writes every profile.
bool MacroUsedByKeys(ConfigState& config, const MacroRecord& macro, ModelPrompts& prompts);

// Run with the macro editor's new list before it replaces the working one:
// macro assignments whose macro is gone (or whose id a new macro took over)
// fall back to default, and those without a macro get the list's first.
// Returns whether any key slot changed (Apply becomes enabled).
bool ReconcileMacroReferences(ConfigState& config, const MacroList& newList);

}  // namespace mvk
