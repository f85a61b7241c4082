#include "support/emulator_channel.h"

#include <algorithm>
#include <chrono>

namespace mvk::test {

EmulatorChannel::EmulatorChannel(sim::SimulatedKeyboard& keyboard) : keyboard_(keyboard) {
  keyboard_.Attach(this);
}

EmulatorChannel::~EmulatorChannel() { keyboard_.Attach(nullptr); }

bool EmulatorChannel::Write(std::span<const uint8_t> data, std::size_t* transferred,
                            uint32_t) {
  {
    std::lock_guard lock(mutex_);
    if (!plugged_) {
      return false;
    }
    ++writes_;
  }
  if (!keyboard_.HandleOutputReport(data)) {
    return false;
  }
  if (transferred != nullptr) {
    *transferred = data.size();
  }
  return true;
}

bool EmulatorChannel::Read(std::span<uint8_t> buffer, std::size_t* transferred,
                           uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  const bool got = arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return !replies_.empty() || !plugged_; });
  if (!got || replies_.empty()) {
    return false;
  }
  const std::vector<uint8_t> reply = std::move(replies_.front());
  replies_.pop_front();
  const std::size_t count = std::min(buffer.size(), reply.size());
  std::copy_n(reply.begin(), count, buffer.begin());
  if (transferred != nullptr) {
    *transferred = count;
  }
  return true;
}

void EmulatorChannel::DiscardInput() {
  std::lock_guard lock(mutex_);
  replies_.clear();
}

void EmulatorChannel::SendInputReport(const SimulatedHidDevice&,
                                      std::span<const uint8_t> report) {
  {
    std::lock_guard lock(mutex_);
    if (!plugged_ || report.empty()) {
      return;
    }
    std::vector<uint8_t> bytes(report.begin(), report.end());
    if (bytes[0] == sim::kCommandReportId) {
      replies_.push_back(std::move(bytes));
    } else {
      consumer_.push_back(std::move(bytes));
    }
  }
  arrived_.notify_all();
}

void EmulatorChannel::Unplug(const SimulatedHidDevice&) {
  {
    std::lock_guard lock(mutex_);
    plugged_ = false;
    replies_.clear();
  }
  keyboard_.Attach(nullptr);
  arrived_.notify_all();
}

void EmulatorChannel::Replug() {
  {
    std::lock_guard lock(mutex_);
    plugged_ = true;
  }
  keyboard_.Attach(this);
}

bool EmulatorChannel::Plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

std::vector<std::vector<uint8_t>> EmulatorChannel::ConsumerReports() const {
  std::lock_guard lock(mutex_);
  return consumer_;
}

int EmulatorChannel::WriteCount() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

}  // namespace mvk::test
