#include "support/recording_hid_backend.h"

#include <algorithm>

namespace mvk::test {
namespace {

class RecordingConnection final : public HidConnection {
 public:
  RecordingConnection(std::unique_ptr<HidConnection> inner, RecordingHidBackend& backend)
      : inner_(std::move(inner)), backend_(backend) {}

  HidAttributes Attributes() const override { return inner_->Attributes(); }
  std::vector<uint8_t> ReportDescriptor() const override { return inner_->ReportDescriptor(); }
  std::size_t CollectionIndex() const override { return inner_->CollectionIndex(); }
  HidIoStatus Read(std::span<uint8_t> buffer, std::size_t& transferred,
                   uint32_t timeoutMs) override {
    backend_.CallEntered();
    return inner_->Read(buffer, transferred, timeoutMs);
  }
  HidIoStatus Write(std::span<const uint8_t> report, std::size_t& transferred,
                    uint32_t timeoutMs) override {
    backend_.CallEntered();
    return inner_->Write(report, transferred, timeoutMs);
  }
  void Stop() override { inner_->Stop(); }
  void DiscardInput() override { inner_->DiscardInput(); }

 private:
  std::unique_ptr<HidConnection> inner_;
  RecordingHidBackend& backend_;
};

}  // namespace

void RecordingHidBackend::Alias(const std::string& shown, const std::string& real) {
  std::lock_guard lock(mutex_);
  realOf_[shown] = real;
}

std::vector<std::string> RecordingHidBackend::Opened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

bool RecordingHidBackend::WaitForCalls(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return called_.wait_for(lock, limit, [&] { return calls_ >= count; });
}

void RecordingHidBackend::CallEntered() {
  std::lock_guard lock(mutex_);
  ++calls_;
  called_.notify_all();
}

std::optional<std::vector<std::string>> RecordingHidBackend::Enumerate() {
  auto paths = inner_.Enumerate();
  if (!paths) {
    return paths;
  }
  std::lock_guard lock(mutex_);
  for (std::string& path : *paths) {
    const auto alias = std::find_if(realOf_.begin(), realOf_.end(),
                                    [&path](const auto& entry) { return entry.second == path; });
    if (alias != realOf_.end()) {
      path = alias->first;
    }
  }
  return paths;
}

std::unique_ptr<HidConnection> RecordingHidBackend::Open(const std::string& path,
                                                         const HidOpenOptions& options) {
  std::string real = path;
  {
    std::lock_guard lock(mutex_);
    opened_.push_back(path);
    if (const auto it = realOf_.find(path); it != realOf_.end()) {
      real = it->second;
    }
  }
  auto inner = inner_.Open(real, options);
  if (!inner) {
    return nullptr;
  }
  return std::make_unique<RecordingConnection>(std::move(inner), *this);
}

}  // namespace mvk::test
