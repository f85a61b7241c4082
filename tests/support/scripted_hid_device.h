// A HID device for tests that plugs into SimulatedHidBackend and answers the
// output reports written to it from a queue of scripted replies or from a
// function, and records every write.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/simulated_hid.h"

namespace mvk::test {

class ScriptedHidDevice final : public SimulatedHidDevice {
 public:
  // The input reports that one write brings back; empty for no answer.
  using Reply = std::vector<std::vector<uint8_t>>;
  using Responder = std::function<Reply(std::span<const uint8_t> request)>;

  ScriptedHidDevice(std::string name, std::vector<uint8_t> descriptor,
                    HidAttributes attributes = {0x320F, 0x505B, 0x0100});

  // Answers the next unanswered write; queued replies go before the responder.
  void QueueReply(Reply reply);
  // Answers every write that finds the queue empty.
  void SetResponder(Responder responder);
  // Makes writes fail (the device refuses them) while set.
  void SetWritesFail(bool fail);
  // Sends an input report to the host now, unasked.
  void SendInput(std::vector<uint8_t> report);
  // Leaves the host, as a device pulled out would.
  void UnplugSelf();

  std::vector<std::vector<uint8_t>> Writes() const;
  // Waits until `count` writes arrived; false when the limit passed first.
  bool WaitForWrites(std::size_t count, std::chrono::milliseconds limit) const;
  bool IsAttached() const;

  std::string Name() const override { return name_; }
  HidAttributes Attributes() const override { return attributes_; }
  std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }
  bool HandleOutputReport(std::span<const uint8_t> report) override;
  void Attach(SimulatedHidHost* host) override;

 private:
  const std::string name_;
  const std::vector<uint8_t> descriptor_;
  const HidAttributes attributes_;

  mutable std::mutex mutex_;
  mutable std::condition_variable written_;
  SimulatedHidHost* host_ = nullptr;
  std::deque<Reply> replies_;
  Responder responder_;
  bool writesFail_ = false;
  std::vector<std::vector<uint8_t>> writes_;
};

// Answers a request with the request itself, as a reply report.
ScriptedHidDevice::Reply EchoReply(std::span<const uint8_t> request);

}  // namespace mvk::test
