// The simulated keyboard: a HID device with the keyboard's command
// collection and consumer-control collection, its memory areas, vendor
// events, boot mode, faults to inject, and optionally a file that keeps its
// memory between runs.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/simulated_hid.h"
#include "sim/keyboard_firmware.h"
#include "sim/keyboard_memory.h"

namespace mvk::sim {

inline constexpr uint16_t kVendorId = 0x320F;
inline constexpr uint16_t kProductId = 0x505B;
inline constexpr uint8_t kConsumerReportId = 3;

// Vendor usages the keyboard reports on its consumer collection.
inline constexpr uint16_t kEventLightingChanged = 0x0401;
inline constexpr uint16_t kEventFactoryReset = 0x0402;
inline constexpr uint16_t kEventTrayNormal = 0x1810;
inline constexpr uint16_t kEventTrayAlternate = 0x1811;

// The report descriptor: the command collection (usage page 0xFF1C, usage
// 0x92, report 4: 63 data bytes in and out) and the consumer collection
// (usage page 0x0C, usage 0x01, report 3: two 16-bit consumer usages).
std::vector<uint8_t> KeyboardReportDescriptor();

enum class Fault {
  None,
  NoReply,     // the request is lost: nothing changes, nothing comes back
  LateReply,   // answered after the late-reply delay, from a worker thread
  Refused,     // status 0xFF, nothing changes
  Failed,      // status 0xFE, nothing changes
  WriteFails,  // the write itself fails
  Unplug,      // the keyboard leaves while the request is written (once)
};

class SimulatedKeyboard final : public SimulatedHidDevice {
 public:
  // With a state file the keyboard starts from it (factory state when it is
  // missing or corrupt) and saves its memory there after every change.
  explicit SimulatedKeyboard(std::string name = "keyboard",
                             std::filesystem::path stateFile = {});
  ~SimulatedKeyboard() override;
  SimulatedKeyboard(const SimulatedKeyboard&) = delete;
  SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

  std::string Name() const override;
  HidAttributes Attributes() const override;
  std::vector<uint8_t> ReportDescriptor() const override;
  bool HandleOutputReport(std::span<const uint8_t> report) override;
  void Attach(SimulatedHidHost* host) override;

  bool IsPlugged() const;
  // Leaves the host now, as a pulled cable does; plug in again through the
  // backend.
  void Unplug();
  // Sends a vendor usage on the consumer collection, followed by the
  // release report (usage 0).
  void SendEvent(uint16_t usage);
  // Back to factory contents (keeping the macro capacity), then event 0x0402.
  void FactoryReset();

  // Every packet after the next `afterPackets` ones meets `fault`, until
  // ClearFault (an unplug happens once and then clears itself).
  void InjectFault(Fault fault, int afterPackets = 0);
  void ClearFault();
  void SetLateReplyDelay(std::chrono::milliseconds delay);
  // Time each output report takes before it is handled, like a USB frame.
  void SetReportLatency(std::chrono::microseconds latency);
  // Gives the keyboard a macro memory of `units` × 128 bytes, emptied.
  void SetMacroCapacity(uint8_t units);

  KeyboardMemory Memory() const;
  int PacketCount() const;

 private:
  class LateReplies;

  Fault FaultFor(int packetIndex);
  void Deliver(const Report& reply);
  void SaveIfKept();

  const std::string name_;
  const std::filesystem::path stateFile_;
  std::atomic<SimulatedHidHost*> host_{nullptr};

  mutable std::mutex mutex_;
  KeyboardMemory memory_;
  int packetCount_ = 0;
  Fault fault_ = Fault::None;
  int faultFrom_ = 0;
  std::chrono::milliseconds lateDelay_{1000};
  std::chrono::microseconds latency_{0};

  std::unique_ptr<LateReplies> lateReplies_;
};

}  // namespace mvk::sim
