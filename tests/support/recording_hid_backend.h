// A HID backend for tests that stands in front of another: it can list paths
// under other names (to show what a path claims against what the device
// is), records every open, and tells when a read or write has begun waiting.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid.h"

namespace mvk::test {

class RecordingHidBackend final : public HidBackend {
 public:
  explicit RecordingHidBackend(HidBackend& inner) : inner_(inner) {}

  // Lists `shown` in place of `real`; opening `shown` opens `real`.
  void Alias(const std::string& shown, const std::string& real);
  std::vector<std::string> Opened() const;
  // Waits until `count` reads and writes in all have been entered.
  bool WaitForCalls(std::size_t count, std::chrono::milliseconds limit) const;

  std::optional<std::vector<std::string>> Enumerate() override;
  std::unique_ptr<HidConnection> Open(const std::string& path,
                                      const HidOpenOptions& options) override;

  void CallEntered();

 private:
  HidBackend& inner_;
  mutable std::mutex mutex_;
  mutable std::condition_variable called_;
  std::map<std::string, std::string> realOf_;
  std::vector<std::string> opened_;
  std::size_t calls_ = 0;
};

}  // namespace mvk::test
