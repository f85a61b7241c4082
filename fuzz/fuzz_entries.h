// Entry points that feed outside data (files, keyboard replies, HID
// descriptors) to the program's parsers. The fuzzers call them, and the
// normal test suite replays the kept inputs through them without libFuzzer.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace mvk::fuzz {

// Runs one input. False when a parser accepted the input but broke a
// property its callers rely on (a round trip that does not hold, a count out
// of range); crashes and sanitizer reports are failures of their own.
using FuzzEntry = bool (*)(std::span<const uint8_t> data);

struct FuzzTarget {
  std::string_view name;  // also the folder of its corpus and of its crashes
  FuzzEntry entry;
};

std::span<const FuzzTarget> FuzzTargets();
// nullptr when no target has that name.
const FuzzTarget* FindFuzzTarget(std::string_view name);

}  // namespace mvk::fuzz
