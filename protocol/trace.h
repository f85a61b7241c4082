// The packet trace: one line per request written ('>') and per reply read
// ('<'), with the microseconds since the trace started and the bytes in hex.
// Switched on by the environment variable MORVAKIN_TRACE (a file name, or
// "-" for standard error); when off, KeyboardLink::trace stays nullptr and
// nothing is done per packet.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <span>

namespace mvk {

class PacketTrace {
 public:
  // Microseconds on some steady clock; tests pass a fixed one.
  using Clock = std::function<int64_t()>;

  // Writes to `out`, which must outlive the trace.
  explicit PacketTrace(std::ostream& out, Clock clock = {});
  // Takes the stream it writes to.
  explicit PacketTrace(std::unique_ptr<std::ostream> out, Clock clock = {});

  // The trace asked for by MORVAKIN_TRACE: nullptr when the variable is
  // unset or empty, or when its file cannot be opened.
  static std::unique_ptr<PacketTrace> FromEnvironment();
  // A trace of standard error, as the command-line tool's --trace asks.
  static std::unique_ptr<PacketTrace> ToStandardError();

  void LogRequest(std::span<const uint8_t> bytes);
  void LogReply(std::span<const uint8_t> bytes);

 private:
  void LogLine(char direction, std::span<const uint8_t> bytes);

  std::unique_ptr<std::ostream> owned_;
  std::ostream& out_;
  Clock clock_;
  int64_t start_ = 0;
  std::mutex mutex_;
};

}  // namespace mvk
