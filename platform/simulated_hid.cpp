#include "platform/simulated_hid.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>

#include "platform/hid_descriptor.h"
#include "platform/hid_path.h"

namespace mvk {
namespace {

// Like the kernel's per-open ring of input reports: when nobody reads, the
// oldest reports are dropped rather than memory growing without bound.
constexpr std::size_t kInputQueueLimit = 64;

constexpr const char* kPathPrefix = "sim:";

struct PluggedDevice {
  std::shared_ptr<SimulatedHidDevice> device;
  std::string node;
  HidAttributes attributes;
  std::vector<uint8_t> descriptor;
  std::vector<HidCollection> collections;
  bool present = true;  // guarded by Hub::mutex
};

class SimulatedConnection;

// What the backend and its connections share; connections keep it alive, so
// they may outlive the backend.
struct Hub {
  std::mutex mutex;
  std::vector<std::shared_ptr<PluggedDevice>> devices;
  std::vector<SimulatedConnection*> connections;
  bool enumerationFails = false;

  std::shared_ptr<PluggedDevice> Find(const SimulatedHidDevice& device) const {
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [&device](const auto& d) { return d->device.get() == &device; });
    return it == devices.end() ? nullptr : *it;
  }
};

class SimulatedConnection final : public HidConnection {
 public:
  SimulatedConnection(std::shared_ptr<Hub> hub, std::shared_ptr<PluggedDevice> device,
                      std::size_t collection, const HidOpenOptions& options)
      : hub_(std::move(hub)), device_(std::move(device)), collection_(collection),
        options_(options) {
    hub_->connections.push_back(this);  // the caller holds the hub's lock
  }

  ~SimulatedConnection() override {
    std::lock_guard lock(hub_->mutex);
    std::erase(hub_->connections, this);
  }

  HidAttributes Attributes() const override { return device_->attributes; }
  std::vector<uint8_t> ReportDescriptor() const override { return device_->descriptor; }
  std::size_t CollectionIndex() const override { return collection_; }

  HidIoStatus Read(std::span<uint8_t> buffer, std::size_t& transferred,
                   uint32_t timeoutMs) override {
    transferred = 0;
    std::unique_lock lock(hub_->mutex);
    if (!options_.read) {
      return HidIoStatus::Failed;
    }
    const auto ready = [this] { return !device_->present || stopPending_ || !input_.empty(); };
    if (timeoutMs == kHidWaitForever) {
      wake_.wait(lock, ready);
    } else {
      wake_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    if (const auto ended = EndedWait()) {
      return *ended;
    }
    if (input_.empty()) {
      return HidIoStatus::TimedOut;
    }
    const std::vector<uint8_t>& report = input_.front();
    transferred = std::min(buffer.size(), report.size());
    std::copy_n(report.begin(), transferred, buffer.begin());
    input_.pop_front();
    return HidIoStatus::Ok;
  }

  HidIoStatus Write(std::span<const uint8_t> report, std::size_t& transferred,
                    uint32_t) override {
    transferred = 0;
    {
      std::lock_guard lock(hub_->mutex);
      if (const auto ended = EndedWait()) {
        return *ended;
      }
      if (!options_.write || !FitsOutputReport(report)) {
        return HidIoStatus::Failed;
      }
    }
    // The device may send input or unplug itself from in here.
    if (!device_->device->HandleOutputReport(report)) {
      return HidIoStatus::Failed;
    }
    transferred = report.size();
    return HidIoStatus::Ok;
  }

  void Stop() override {
    std::lock_guard lock(hub_->mutex);
    stopPending_ = true;
    wake_.notify_all();
  }

  void DiscardInput() override {
    std::lock_guard lock(hub_->mutex);
    input_.clear();
  }

  // Called with the hub's lock held.
  void Deliver(const PluggedDevice& device, std::span<const uint8_t> report) {
    if (&device != device_.get() || !options_.read ||
        !device_->collections[collection_].OwnsReportId(report[0])) {
      return;
    }
    if (input_.size() == kInputQueueLimit) {
      input_.pop_front();
    }
    input_.emplace_back(report.begin(), report.end());
    wake_.notify_all();
  }

  // Called with the hub's lock held.
  void Wake() { wake_.notify_all(); }

 private:
  // Why a wait ends before any data is looked at; consumes a pending stop.
  std::optional<HidIoStatus> EndedWait() {
    if (!device_->present) {
      return HidIoStatus::Failed;
    }
    if (stopPending_) {
      stopPending_ = false;
      return HidIoStatus::Stopped;
    }
    return std::nullopt;
  }

  bool FitsOutputReport(std::span<const uint8_t> report) const {
    const HidCollection& collection = device_->collections[collection_];
    return !report.empty() && report.size() <= collection.ReportLength(HidReportKind::Output) &&
           collection.OwnsReportId(report[0]);
  }

  std::shared_ptr<Hub> hub_;
  std::shared_ptr<PluggedDevice> device_;
  std::size_t collection_;
  HidOpenOptions options_;
  // Guarded by the hub's lock.
  std::deque<std::vector<uint8_t>> input_;
  bool stopPending_ = false;
  std::condition_variable wake_;
};

}  // namespace

struct SimulatedHidBackend::State : Hub {};

SimulatedHidBackend::SimulatedHidBackend() : state_(std::make_shared<State>()) {}

SimulatedHidBackend::~SimulatedHidBackend() {
  std::vector<std::shared_ptr<PluggedDevice>> devices;
  {
    std::lock_guard lock(state_->mutex);
    devices.swap(state_->devices);
    for (const auto& device : devices) {
      device->present = false;
    }
    for (SimulatedConnection* connection : state_->connections) {
      connection->Wake();
    }
  }
  for (const auto& device : devices) {
    device->device->Attach(nullptr);
  }
}

void SimulatedHidBackend::Plug(std::shared_ptr<SimulatedHidDevice> device) {
  if (!device) {
    return;
  }
  auto plugged = std::make_shared<PluggedDevice>();
  plugged->node = kPathPrefix + device->Name();
  plugged->attributes = device->Attributes();
  plugged->descriptor = device->ReportDescriptor();
  // A descriptor we cannot parse gives no collections, so no paths, as a
  // node the system could not describe.
  plugged->collections =
      ParseReportDescriptor(plugged->descriptor).value_or(std::vector<HidCollection>{});
  plugged->device = std::move(device);
  {
    std::lock_guard lock(state_->mutex);
    const bool taken = std::any_of(state_->devices.begin(), state_->devices.end(),
                                   [&](const auto& d) { return d->node == plugged->node; });
    if (taken || state_->Find(*plugged->device)) {
      return;  // names make the paths; a second device of one name is not plugged
    }
    state_->devices.push_back(plugged);
  }
  plugged->device->Attach(this);
}

void SimulatedHidBackend::Unplug(const SimulatedHidDevice& device) {
  std::shared_ptr<PluggedDevice> gone;
  {
    std::lock_guard lock(state_->mutex);
    gone = state_->Find(device);
    if (!gone) {
      return;
    }
    gone->present = false;
    std::erase(state_->devices, gone);
    for (SimulatedConnection* connection : state_->connections) {
      connection->Wake();
    }
  }
  gone->device->Attach(nullptr);
}

void SimulatedHidBackend::SendInputReport(const SimulatedHidDevice& device,
                                          std::span<const uint8_t> report) {
  if (report.empty()) {
    return;
  }
  std::lock_guard lock(state_->mutex);
  const auto plugged = state_->Find(device);
  if (!plugged) {
    return;
  }
  for (SimulatedConnection* connection : state_->connections) {
    connection->Deliver(*plugged, report);
  }
}

void SimulatedHidBackend::SetEnumerationFails(bool fails) {
  std::lock_guard lock(state_->mutex);
  state_->enumerationFails = fails;
}

std::optional<std::vector<std::string>> SimulatedHidBackend::Enumerate() {
  std::lock_guard lock(state_->mutex);
  if (state_->enumerationFails) {
    return std::nullopt;
  }
  std::vector<std::string> paths;
  for (const auto& device : state_->devices) {
    for (std::size_t i = 0; i < device->collections.size(); ++i) {
      paths.push_back(HidCollectionPath(device->node, device->attributes, i));
    }
  }
  return paths;
}

std::unique_ptr<HidConnection> SimulatedHidBackend::Open(const std::string& path,
                                                         const HidOpenOptions& options) {
  const auto parts = SplitHidCollectionPath(path);
  if (!parts) {
    return nullptr;
  }
  std::lock_guard lock(state_->mutex);
  for (const auto& device : state_->devices) {
    if (device->node == parts->node && parts->collectionIndex < device->collections.size() &&
        HidCollectionPath(device->node, device->attributes, parts->collectionIndex) == path) {
      return std::make_unique<SimulatedConnection>(state_, device, parts->collectionIndex,
                                                   options);
    }
  }
  return nullptr;
}

}  // namespace mvk
