// What the simulated keyboard does with one command report.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/keyboard_memory.h"

namespace mvk::sim {

inline constexpr std::size_t kReportSize = 64;
inline constexpr uint8_t kCommandReportId = 4;
inline constexpr std::size_t kDataSize = 56;

// Report byte offsets.
inline constexpr std::size_t kAtChecksumLow = 1;
inline constexpr std::size_t kAtChecksumHigh = 2;
inline constexpr std::size_t kAtCommand = 3;
inline constexpr std::size_t kAtLength = 4;
inline constexpr std::size_t kAtOffsetLow = 5;
inline constexpr std::size_t kAtOffsetHigh = 6;
inline constexpr std::size_t kAtStatus = 7;
inline constexpr std::size_t kAtData = 8;

inline constexpr uint8_t kStatusDone = 0x01;
inline constexpr uint8_t kStatusRefused = 0xFF;  // bad request: nothing changed
inline constexpr uint8_t kStatusFailed = 0xFE;   // garbled request (checksum)
inline constexpr uint8_t kBootModeCommand = 0xEE;

using Report = std::array<uint8_t, kReportSize>;

struct CommandOutcome {
  bool enterBootMode = false;  // no reply: the keyboard leaves for its loader
  bool memoryChanged = false;
  Report reply{};
};

// Answers one request against `memory`. Requests past their area, with a
// length above 56, or of unknown commands are refused and change nothing.
CommandOutcome RunCommand(KeyboardMemory& memory, const Report& request);

// A reply that only carries the request's header and `status`.
Report StatusReply(const Report& request, uint8_t status);

}  // namespace mvk::sim
