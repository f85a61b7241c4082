// The macro page's rules that need no widget: the action rows and their
// delays, the loop count, typed delays, generated macro names and the
// delays that recording hands over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/macro.h"

namespace mvk {

inline constexpr uint32_t kMaxTypedDelayMs = 40000;
inline constexpr uint32_t kDelayStepMs = 10;
inline constexpr int kMinLoopCount = 1;
inline constexpr int kMaxLoopCount = 255;
// The wait recording hands over when delays are not recorded.
inline constexpr uint32_t kFixedRecordDelayMs = 50;
// The wait between the press added for a key reported only on release and
// its release.
inline constexpr uint32_t kReleaseOnlyPressDelayMs = 2;

// Where AddActionRow puts an event and which delays move. Returns the new
// row's position, or nullopt when the rows are full. Unless loading, the
// event's delay is the wait before it: it goes to the row above, and the
// new row takes the delay the row above had (0 for a first row).
std::optional<std::size_t> InsertActionRow(std::vector<MacroEvent>& rows,
                                           std::optional<std::size_t> selected,
                                           MacroEvent event, bool afterSelection, bool loading);

// Moves a row with its event; returns its new position.
std::size_t MoveActionRow(std::vector<MacroEvent>& rows, std::size_t from, std::size_t to);

// The loop-count box's text read as a number; a text that is not one counts
// as 0.
int ParseLoopCount(std::u16string_view text);
// The text the box must be rewritten to, or nullopt when it may stay.
std::optional<int> CorrectedLoopCount(int value);

struct TypedDelay {
  uint32_t delayMs = 0;
  bool overLimit = false;  // the user must be told of the limit
};
// A typed delay: at most 40000 ms, cut down to a multiple of 10 ms. Digits
// beyond what a number can hold count as over the limit.
TypedDelay CutTypedDelay(std::u16string_view digits);

// "%s%d" of a prefix and a counter.
std::u16string NewMacroName(std::u16string_view prefix, int counter);
// The counter of the next generated name, counting up from `counter` + 1
// past every name that an existing name begins with (case-insensitive).
int NextNameCounter(std::u16string_view prefix, int counter,
                    const std::vector<std::u16string>& existingNames);

// The delay recording hands over for a measured wait, by the record-delays
// flag: the wait itself (1), a fixed 50 ms (0), nothing (any other value).
uint32_t RecordedDelay(uint32_t recordDelaysFlag, uint32_t measuredMs);

// Keys whose presses the window system does not report, only releases.
bool IsReleaseOnlyKey(KeyCode code);
bool IsMultimediaCode(KeyCode code);

// The five mouse-list codes by list item, and back (-1 when not one).
KeyCode MouseCodeOfItem(int item);
int MouseItemOfCode(KeyCode code);

// The record-delays value as stored: "0" or "1"; anything else reads as 0.
uint32_t NormalisedRecordDelays(std::optional<std::u16string> stored);

}  // namespace mvk
