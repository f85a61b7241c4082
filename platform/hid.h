// The boundary between the program and the system's HID devices.
//
// A backend lists HID collections by path and opens them. As on Windows, a
// node whose report descriptor holds several top-level collections appears as
// several paths, one per collection, and each open collection sees only the
// input reports whose ids belong to it. Paths carry the vendor and product
// numbers as "vid_XXXX" and "pid_XXXX" so that callers can match on the path
// alone before opening anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mvk {

struct HidAttributes {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t version = 0;
};

struct HidOpenOptions {
  bool read = false;
  bool write = false;
  bool overlapped = true;
  bool exclusive = false;
};

enum class HidIoStatus {
  Ok,        // the whole request completed
  TimedOut,  // nothing completed within the time-out
  Stopped,   // another thread cut the wait short with Stop()
  Failed,    // the device refused or went away
};

// Time-out value that waits without limit.
inline constexpr uint32_t kHidWaitForever = 0xFFFFFFFFu;

// One open top-level collection.
class HidConnection {
 public:
  virtual ~HidConnection() = default;

  virtual HidAttributes Attributes() const = 0;
  // The whole report descriptor of the node the collection lives on.
  virtual std::vector<uint8_t> ReportDescriptor() const = 0;
  // Which top-level collection of that descriptor this connection is (0-based).
  virtual std::size_t CollectionIndex() const = 0;

  // Reads one input report of this collection (report id in byte 0). A report
  // longer than the buffer is cut; `transferred` receives the bytes stored.
  virtual HidIoStatus Read(std::span<uint8_t> buffer, std::size_t& transferred,
                           uint32_t timeoutMs) = 0;
  // Writes one output report (report id in byte 0).
  virtual HidIoStatus Write(std::span<const uint8_t> report, std::size_t& transferred,
                            uint32_t timeoutMs) = 0;
  // Ends one Read or Write that waits now, or else the next one that waits
  // (auto-reset, like the Windows stop event). Callable from any thread.
  virtual void Stop() = 0;
  // Drops input reports that arrived and were not read yet.
  virtual void DiscardInput() = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Paths of the HID collections present, in a stable order; nullopt when
  // the system could not be asked.
  virtual std::optional<std::vector<std::string>> Enumerate() = 0;
  // Opens a collection by path; nullptr when it is absent or access is denied.
  virtual std::unique_ptr<HidConnection> Open(const std::string& path,
                                              const HidOpenOptions& options) = 0;
};

}  // namespace mvk
