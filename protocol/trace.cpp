#include "protocol/trace.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

namespace mvk {
namespace {

int64_t SteadyMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

PacketTrace::PacketTrace(std::ostream& out, Clock clock)
    : out_(out), clock_(clock ? std::move(clock) : SteadyMicroseconds), start_(clock_()) {}

PacketTrace::PacketTrace(std::unique_ptr<std::ostream> out, Clock clock)
    : owned_(std::move(out)),
      out_(*owned_),
      clock_(clock ? std::move(clock) : SteadyMicroseconds),
      start_(clock_()) {}

std::unique_ptr<PacketTrace> PacketTrace::FromEnvironment() {
  const char* target = std::getenv("MORVAKIN_TRACE");
  if (target == nullptr || *target == '\0') {
    return nullptr;
  }
  if (std::string(target) == "-") {
    return ToStandardError();
  }
  auto file = std::make_unique<std::ofstream>(target, std::ios::out | std::ios::trunc);
  if (!*file) {
    return nullptr;
  }
  return std::make_unique<PacketTrace>(std::move(file));
}

std::unique_ptr<PacketTrace> PacketTrace::ToStandardError() {
  return std::make_unique<PacketTrace>(std::cerr);
}

void PacketTrace::LogRequest(std::span<const uint8_t> bytes) { LogLine('>', bytes); }

void PacketTrace::LogReply(std::span<const uint8_t> bytes) { LogLine('<', bytes); }

void PacketTrace::LogLine(char direction, std::span<const uint8_t> bytes) {
  std::string line;
  line.reserve(24 + 2 * bytes.size());
  std::lock_guard lock(mutex_);
  line += direction;
  line += ' ';
  line += std::to_string(clock_() - start_);
  line += ' ';
  for (uint8_t byte : bytes) {
    line += kHexDigits[byte >> 4];
    line += kHexDigits[byte & 0x0F];
  }
  line += '\n';
  // Flushed per line so that a trace of a run that ends badly is complete.
  out_ << line << std::flush;
}

}  // namespace mvk
