#include "support/scripted_hid_device.h"

namespace mvk::test {

ScriptedHidDevice::ScriptedHidDevice(std::string name, std::vector<uint8_t> descriptor,
                                     HidAttributes attributes)
    : name_(std::move(name)), descriptor_(std::move(descriptor)), attributes_(attributes) {}

void ScriptedHidDevice::QueueReply(Reply reply) {
  std::lock_guard lock(mutex_);
  replies_.push_back(std::move(reply));
}

void ScriptedHidDevice::SetResponder(Responder responder) {
  std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

void ScriptedHidDevice::SetWritesFail(bool fail) {
  std::lock_guard lock(mutex_);
  writesFail_ = fail;
}

void ScriptedHidDevice::SendInput(std::vector<uint8_t> report) {
  SimulatedHidHost* host = nullptr;
  {
    std::lock_guard lock(mutex_);
    host = host_;
  }
  if (host != nullptr) {
    host->SendInputReport(*this, report);
  }
}

void ScriptedHidDevice::UnplugSelf() {
  SimulatedHidHost* host = nullptr;
  {
    std::lock_guard lock(mutex_);
    host = host_;
  }
  if (host != nullptr) {
    host->Unplug(*this);
  }
}

std::vector<std::vector<uint8_t>> ScriptedHidDevice::Writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

bool ScriptedHidDevice::WaitForWrites(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return written_.wait_for(lock, limit, [&] { return writes_.size() >= count; });
}

bool ScriptedHidDevice::IsAttached() const {
  std::lock_guard lock(mutex_);
  return host_ != nullptr;
}

bool ScriptedHidDevice::HandleOutputReport(std::span<const uint8_t> report) {
  Reply reply;
  Responder responder;
  {
    std::lock_guard lock(mutex_);
    writes_.emplace_back(report.begin(), report.end());
    written_.notify_all();
    if (writesFail_) {
      return false;
    }
    if (!replies_.empty()) {
      reply = std::move(replies_.front());
      replies_.pop_front();
    } else {
      responder = responder_;
    }
  }
  if (responder) {
    reply = responder(report);
  }
  for (const auto& input : reply) {
    SendInput(input);
  }
  return true;
}

void ScriptedHidDevice::Attach(SimulatedHidHost* host) {
  std::lock_guard lock(mutex_);
  host_ = host;
}

ScriptedHidDevice::Reply EchoReply(std::span<const uint8_t> request) {
  return {std::vector<uint8_t>(request.begin(), request.end())};
}

}  // namespace mvk::test
