// Runs packets straight into a simulated keyboard: the keyboard's host and
// the transaction's packet channel in one, without a HID backend between.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/simulated_hid.h"
#include "protocol/keyboard_link.h"
#include "sim/simulated_keyboard.h"

namespace mvk::test {

class EmulatorChannel final : public PacketChannel, public SimulatedHidHost {
 public:
  explicit EmulatorChannel(sim::SimulatedKeyboard& keyboard);
  ~EmulatorChannel() override;

  // PacketChannel: reads wait up to their time-out for a command reply.
  bool Write(std::span<const uint8_t> data, std::size_t* transferred,
             uint32_t timeoutMs) override;
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) override;
  void DiscardInput() override;

  // SimulatedHidHost
  void SendInputReport(const SimulatedHidDevice& device,
                       std::span<const uint8_t> report) override;
  void Unplug(const SimulatedHidDevice& device) override;

  // Plugs the keyboard in again after it left.
  void Replug();
  bool Plugged() const;
  // Consumer reports received so far, report id included.
  std::vector<std::vector<uint8_t>> ConsumerReports() const;
  int WriteCount() const;

 private:
  sim::SimulatedKeyboard& keyboard_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::vector<uint8_t>> replies_;
  std::vector<std::vector<uint8_t>> consumer_;
  bool plugged_ = true;
  int writes_ = 0;
};

}  // namespace mvk::test
