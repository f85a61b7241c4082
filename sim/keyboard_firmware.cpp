#include "sim/keyboard_firmware.h"

#include <algorithm>
#include <optional>
#include <span>

namespace mvk::sim {
namespace {

enum Command : uint8_t {
  kBeginUpdate = 1,
  kEndUpdate = 2,
  kReadSettings = 3,
  kWriteSettings = 4,
  kReadLighting = 5,
  kWriteLighting = 6,
  kReadKeyMap = 7,
  kWriteKeyMap = 8,
  kReadMacros = 9,
  kWriteMacros = 10,
  kCommand11 = 11,
  kCommand12 = 12,
  kTest = 13,
  kCommand14 = 14,
  kReadDefaultMatrix = 15,
  kReadKeyColours = 16,
  kWriteKeyColours = 17,
};

struct AreaAccess {
  std::span<uint8_t> area;
  bool write = false;
};

// The area a read or write command reaches; nullopt for the commands that
// carry no data and for unknown ones (told apart by IsBareCommand).
std::optional<AreaAccess> AreaOf(KeyboardMemory& memory, uint8_t command) {
  switch (command) {
    case kReadSettings: return AreaAccess{memory.settings, false};
    case kWriteSettings: return AreaAccess{memory.settings, true};
    case kReadLighting: return AreaAccess{memory.lighting, false};
    case kWriteLighting: return AreaAccess{memory.lighting, true};
    case kReadKeyMap: return AreaAccess{memory.keyMaps, false};
    case kWriteKeyMap: return AreaAccess{memory.keyMaps, true};
    case kReadMacros: return AreaAccess{memory.macros, false};
    case kWriteMacros: return AreaAccess{memory.macros, true};
    case kReadDefaultMatrix: return AreaAccess{memory.defaultMatrix, false};
    case kReadKeyColours: return AreaAccess{memory.keyColours, false};
    case kWriteKeyColours: return AreaAccess{memory.keyColours, true};
    default: return std::nullopt;
  }
}

bool IsBareCommand(uint8_t command) {
  return command == kBeginUpdate || command == kEndUpdate ||
         (command >= kCommand11 && command <= kCommand14);
}

bool ChecksumMatches(const Report& request) {
  uint16_t sum = 0;
  for (std::size_t i = kAtCommand; i < kReportSize; ++i) {
    sum = static_cast<uint16_t>(sum + request[i]);
  }
  return request[kAtChecksumLow] == (sum & 0xFF) && request[kAtChecksumHigh] == (sum >> 8);
}

void StoreChecksum(Report& report) {
  uint16_t sum = 0;
  for (std::size_t i = kAtCommand; i < kReportSize; ++i) {
    sum = static_cast<uint16_t>(sum + report[i]);
  }
  report[kAtChecksumLow] = static_cast<uint8_t>(sum & 0xFF);
  report[kAtChecksumHigh] = static_cast<uint8_t>(sum >> 8);
}

// The settings block takes only its reserved bytes and the active profile
// from the host; capacity and effect list are the keyboard's own.
bool WriteSettings(KeyboardMemory& memory, std::size_t offset, std::span<const uint8_t> data) {
  auto block = memory.settings;
  std::ranges::copy(data, block.begin() + offset);
  if (block[kSettingsActiveProfile] >= kProfiles) {
    return false;
  }
  std::copy_n(block.begin(), kSettingsActiveProfile + 1, memory.settings.begin());
  return true;
}

}  // namespace

Report StatusReply(const Report& request, uint8_t status) {
  Report reply{};
  std::copy_n(request.begin(), kAtData, reply.begin());
  reply[kAtStatus] = status;
  StoreChecksum(reply);
  return reply;
}

CommandOutcome RunCommand(KeyboardMemory& memory, const Report& request) {
  CommandOutcome outcome;
  const uint8_t command = request[kAtCommand];
  if (command == kBootModeCommand && request[kAtLength] == kBootModeCommand) {
    outcome.enterBootMode = true;
    return outcome;
  }
  if (!ChecksumMatches(request)) {
    outcome.reply = StatusReply(request, kStatusFailed);
    return outcome;
  }
  outcome.reply = StatusReply(request, kStatusDone);
  if (IsBareCommand(command)) {
    return outcome;
  }
  const std::size_t length = request[kAtLength];
  const std::size_t offset = request[kAtOffsetLow] | request[kAtOffsetHigh] << 8;
  const auto access = AreaOf(memory, command);
  if (!access || length > kDataSize || offset + length > access->area.size()) {
    outcome.reply = StatusReply(request, kStatusRefused);
    return outcome;
  }
  const auto place = access->area.subspan(offset, length);
  if (!access->write) {
    std::ranges::copy(place, outcome.reply.begin() + kAtData);
    StoreChecksum(outcome.reply);
    return outcome;
  }
  const std::span<const uint8_t> data(request.data() + kAtData, length);
  if (command == kWriteSettings) {
    if (!WriteSettings(memory, offset, data)) {
      outcome.reply = StatusReply(request, kStatusRefused);
      return outcome;
    }
  } else {
    std::ranges::copy(data, place.begin());
  }
  outcome.memoryChanged = true;
  return outcome;
}

}  // namespace mvk::sim
