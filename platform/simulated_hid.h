// A HID backend whose devices live in this process: the simulated keyboard
// and the scriptable devices of the tests plug in here.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/hid.h"

namespace mvk {

class SimulatedHidDevice;

// What a plugged-in device can do to its host.
class SimulatedHidHost {
 public:
  virtual ~SimulatedHidHost() = default;
  // Delivers one input report (report id in byte 0) to every open connection
  // of the collection that owns that report id. Callable from any thread,
  // also from inside HandleOutputReport.
  virtual void SendInputReport(const SimulatedHidDevice& device,
                               std::span<const uint8_t> report) = 0;
  // The device leaves: it is gone from enumeration, and waiting and later
  // reads and writes on its connections fail.
  virtual void Unplug(const SimulatedHidDevice& device) = 0;
};

class SimulatedHidDevice {
 public:
  virtual ~SimulatedHidDevice() = default;
  // Unique among the plugged devices; becomes part of every path.
  virtual std::string Name() const = 0;
  virtual HidAttributes Attributes() const = 0;
  virtual std::vector<uint8_t> ReportDescriptor() const = 0;
  // Called on the writing thread for every output report written to any of
  // the device's collections, without any backend lock held. Returning false
  // fails the write.
  virtual bool HandleOutputReport(std::span<const uint8_t> report) = 0;
  // Called with the host when plugged in, with nullptr when unplugged.
  virtual void Attach(SimulatedHidHost* host) = 0;
};

// Paths look like "sim:NAME&vid_320f&pid_505b&col01".
class SimulatedHidBackend final : public HidBackend, public SimulatedHidHost {
 public:
  SimulatedHidBackend();
  ~SimulatedHidBackend() override;

  void Plug(std::shared_ptr<SimulatedHidDevice> device);
  void Unplug(const SimulatedHidDevice& device) override;
  void SendInputReport(const SimulatedHidDevice& device,
                       std::span<const uint8_t> report) override;
  // Makes the next Enumerate calls fail (nullopt) while set.
  void SetEnumerationFails(bool fails);

  std::optional<std::vector<std::string>> Enumerate() override;
  std::unique_ptr<HidConnection> Open(const std::string& path,
                                      const HidOpenOptions& options) override;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace mvk
