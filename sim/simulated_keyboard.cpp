#include "sim/simulated_keyboard.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <stop_token>
#include <thread>

namespace mvk::sim {
namespace {

constexpr uint16_t kDeviceVersion = 0x0100;

}  // namespace

std::vector<uint8_t> KeyboardReportDescriptor() {
  return {
      0x06, 0x1C, 0xFF,  // Usage Page (vendor 0xFF1C)
      0x09, 0x92,        // Usage (0x92)
      0xA1, 0x01,        // Collection (Application)
      0x85, 0x04,        //   Report ID (4)
      0x15, 0x00,        //   Logical Minimum (0)
      0x26, 0xFF, 0x00,  //   Logical Maximum (255)
      0x75, 0x08,        //   Report Size (8)
      0x95, 0x3F,        //   Report Count (63)
      0x09, 0x01,        //   Usage (1)
      0x81, 0x02,        //   Input (Data, Variable, Absolute)
      0x09, 0x02,        //   Usage (2)
      0x91, 0x02,        //   Output (Data, Variable, Absolute)
      0xC0,              // End Collection
      0x05, 0x0C,        // Usage Page (Consumer)
      0x09, 0x01,        // Usage (Consumer Control)
      0xA1, 0x01,        // Collection (Application)
      0x85, 0x03,        //   Report ID (3)
      0x15, 0x00,        //   Logical Minimum (0)
      0x26, 0xFF, 0x1F,  //   Logical Maximum (0x1FFF)
      0x19, 0x00,        //   Usage Minimum (0)
      0x2A, 0xFF, 0x1F,  //   Usage Maximum (0x1FFF)
      0x75, 0x10,        //   Report Size (16)
      0x95, 0x02,        //   Report Count (2)
      0x81, 0x00,        //   Input (Data, Array, Absolute)
      0xC0,              // End Collection
  };
}

// Replies held back by the late-reply fault, sent from one worker thread
// that is stopped and joined when the keyboard goes.
class SimulatedKeyboard::LateReplies {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LateReplies(std::function<void(const Report&)> deliver)
      : deliver_(std::move(deliver)), thread_([this](std::stop_token stop) { Run(stop); }) {}

  void Schedule(const Report& reply, Clock::time_point due) {
    {
      std::lock_guard lock(mutex_);
      queue_.emplace(due, reply);
    }
    wake_.notify_all();
  }

 private:
  void Run(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
      if (queue_.empty()) {
        wake_.wait(lock, stop, [this] { return !queue_.empty(); });
        continue;
      }
      const auto due = queue_.begin()->first;
      if (Clock::now() < due) {
        wake_.wait_until(lock, stop, due, [this, due] {
          return !queue_.empty() && queue_.begin()->first < due;
        });
        continue;
      }
      const Report reply = queue_.begin()->second;
      queue_.erase(queue_.begin());
      lock.unlock();
      deliver_(reply);
      lock.lock();
    }
  }

  std::function<void(const Report&)> deliver_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::multimap<Clock::time_point, Report> queue_;
  std::jthread thread_;  // last: stopped and joined before the rest goes
};

SimulatedKeyboard::SimulatedKeyboard(std::string name, std::filesystem::path stateFile)
    : name_(std::move(name)), stateFile_(std::move(stateFile)) {
  std::optional<KeyboardMemory> kept;
  if (!stateFile_.empty()) {
    kept = LoadMemory(stateFile_);
  }
  memory_ = kept ? std::move(*kept) : FactoryMemory();
}

SimulatedKeyboard::~SimulatedKeyboard() { lateReplies_.reset(); }

std::string SimulatedKeyboard::Name() const { return name_; }

HidAttributes SimulatedKeyboard::Attributes() const {
  return {.vendorId = kVendorId, .productId = kProductId, .version = kDeviceVersion};
}

std::vector<uint8_t> SimulatedKeyboard::ReportDescriptor() const {
  return KeyboardReportDescriptor();
}

void SimulatedKeyboard::Attach(SimulatedHidHost* host) { host_ = host; }

bool SimulatedKeyboard::IsPlugged() const { return host_.load() != nullptr; }

void SimulatedKeyboard::Unplug() {
  if (SimulatedHidHost* host = host_.load()) {
    host->Unplug(*this);
  }
}

void SimulatedKeyboard::Deliver(const Report& reply) {
  if (SimulatedHidHost* host = host_.load()) {
    host->SendInputReport(*this, reply);
  }
}

void SimulatedKeyboard::SendEvent(uint16_t usage) {
  SimulatedHidHost* host = host_.load();
  if (host == nullptr) {
    return;
  }
  const uint8_t press[5] = {kConsumerReportId, static_cast<uint8_t>(usage & 0xFF),
                            static_cast<uint8_t>(usage >> 8), 0, 0};
  const uint8_t release[5] = {kConsumerReportId, 0, 0, 0, 0};
  host->SendInputReport(*this, press);
  host->SendInputReport(*this, release);
}

void SimulatedKeyboard::FactoryReset() {
  {
    std::lock_guard lock(mutex_);
    memory_ = FactoryMemory(memory_.settings[kSettingsMacroCapacity]);
    SaveIfKept();
  }
  SendEvent(kEventFactoryReset);
}

void SimulatedKeyboard::InjectFault(Fault fault, int afterPackets) {
  std::lock_guard lock(mutex_);
  fault_ = fault;
  faultFrom_ = packetCount_ + afterPackets;
}

void SimulatedKeyboard::ClearFault() { InjectFault(Fault::None); }

void SimulatedKeyboard::SetLateReplyDelay(std::chrono::milliseconds delay) {
  std::lock_guard lock(mutex_);
  lateDelay_ = delay;
}

void SimulatedKeyboard::SetReportLatency(std::chrono::microseconds latency) {
  std::lock_guard lock(mutex_);
  latency_ = latency;
}

void SimulatedKeyboard::SetMacroCapacity(uint8_t units) {
  std::lock_guard lock(mutex_);
  const KeyboardMemory empty = FactoryMemory(units);
  memory_.settings[kSettingsMacroCapacity] = units;
  memory_.macros = empty.macros;
  SaveIfKept();
}

KeyboardMemory SimulatedKeyboard::Memory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

int SimulatedKeyboard::PacketCount() const {
  std::lock_guard lock(mutex_);
  return packetCount_;
}

Fault SimulatedKeyboard::FaultFor(int packetIndex) {
  if (packetIndex < faultFrom_) {
    return Fault::None;
  }
  const Fault fault = fault_;
  if (fault == Fault::Unplug) {
    fault_ = Fault::None;
  }
  return fault;
}

void SimulatedKeyboard::SaveIfKept() {
  if (!stateFile_.empty()) {
    SaveMemory(memory_, stateFile_);
  }
}

bool SimulatedKeyboard::HandleOutputReport(std::span<const uint8_t> report) {
  std::chrono::microseconds latency;
  {
    std::lock_guard lock(mutex_);
    latency = latency_;
  }
  if (latency.count() > 0) {
    std::this_thread::sleep_for(latency);
  }

  std::unique_lock lock(mutex_);
  const Fault fault = FaultFor(packetCount_++);
  if (report.size() != kReportSize || report[0] != kCommandReportId ||
      fault == Fault::WriteFails) {
    return false;
  }
  if (fault == Fault::Unplug) {
    lock.unlock();
    Unplug();
    return false;
  }
  if (fault == Fault::NoReply) {
    return true;
  }
  Report request{};
  std::ranges::copy(report, request.begin());
  if (fault == Fault::Refused || fault == Fault::Failed) {
    const Report reply =
        StatusReply(request, fault == Fault::Refused ? kStatusRefused : kStatusFailed);
    lock.unlock();
    Deliver(reply);
    return true;
  }

  const CommandOutcome outcome = RunCommand(memory_, request);
  if (outcome.memoryChanged) {
    SaveIfKept();
  }
  LateReplies* late = nullptr;
  if (fault == Fault::LateReply) {
    if (!lateReplies_) {
      lateReplies_ = std::make_unique<LateReplies>([this](const Report& r) { Deliver(r); });
    }
    late = lateReplies_.get();
  }
  const auto due = LateReplies::Clock::now() + lateDelay_;
  lock.unlock();
  if (outcome.enterBootMode) {
    Unplug();
  } else if (late != nullptr) {
    late->Schedule(outcome.reply, due);
  } else {
    Deliver(outcome.reply);
  }
  return true;
}

}  // namespace mvk::sim
