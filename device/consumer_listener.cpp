#include "device/consumer_listener.h"

#include <span>
#include <vector>

#include "device/collection_match.h"
#include "device/stop_wait.h"

namespace mvk {
namespace {

constexpr HidOpenOptions kConsumerAccess{true, false, true, false};

// The first usage of the first data item, when this report set that item;
// 0 otherwise, so an item left from an earlier report is never acted on
// twice.
uint16_t FirstUsage(const std::vector<HidDataItem>& items) {
  if (items.empty()) {
    return 0;
  }
  const HidDataItem& first = items.front();
  if (!first.isDataSet || !first.isButtonData || first.usages.empty()) {
    return 0;
  }
  return first.usages.front();
}

}  // namespace

// Copies taken while the collection is opened: a stop request closes the
// device object from another thread, and closing drops the object's own
// description and buffers.
struct ConsumerListener::ReportLayout {
  HidCollection description;
  std::vector<uint8_t> report;
  std::vector<HidDataItem> items;
};

void TrayIconThread(std::stop_token stop, uint16_t usage, DeviceStateRecord& state,
                    WindowSide& window, std::chrono::milliseconds poll) {
  // Claimed in one step, so two changes never both see the flag free.
  for (uint32_t free = 0; !state.TrayIconBusy.compare_exchange_strong(free, 1); free = 0) {
    if (!WaitUnlessStopped(stop, poll)) {
      return;
    }
  }
  if (usage == kUsageTrayAlternate) {
    window.SetTrayIcon(1, 0);
  } else {
    window.SetTrayIcon(0, 0);
  }
  WaitUnlessStopped(stop, poll);
  state.TrayIconBusy = 0;
}

ConsumerListener::ConsumerListener(HidBackend& backend, DeviceStateRecord& state,
                                   WindowSide& window, ListenerCadence cadence)
    : backend_(backend), state_(state), window_(window), cadence_(cadence) {}

ConsumerListener::~ConsumerListener() { Stop(); }

void ConsumerListener::Start() {
  if (thread_.joinable()) {
    return;
  }
  {
    std::lock_guard lock(endLock_);
    hasEnded_ = false;
  }
  thread_ = std::jthread([this](std::stop_token stop) {
    ConsumerListenerThread(stop);
    MarkEnded();
  });
}

void ConsumerListener::Stop() {
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
}

bool ConsumerListener::WaitForEnd(std::chrono::milliseconds limit) {
  std::unique_lock lock(endLock_);
  return ended_.wait_for(lock, limit, [this] { return hasEnded_; });
}

void ConsumerListener::MarkEnded() {
  std::lock_guard lock(endLock_);
  hasEnded_ = true;
  ended_.notify_all();
}

void ConsumerListener::ConsumerListenerThread(std::stop_token stop) {
  CHidDevice device(backend_);
  // A read without time-out ends as soon as its device is closed.
  std::stop_callback closeOnStop(stop, [this, &device] { CloseDevice(device); });

  while (!stop.stop_requested()) {
    if (!device.EnumerateDevices()) {
      break;
    }
    if (auto layout = OpenConsumerCollection(device, stop)) {
      ReadEvents(device, *layout, stop);
      CloseDevice(device);
    }
    device.FreeDeviceList();
    if (!WaitUnlessStopped(stop, cadence_.searchInterval)) {
      break;
    }
  }
  // A tray change never outlives the thread that started it.
  trayTask_ = {};
}

std::optional<ConsumerListener::ReportLayout> ConsumerListener::OpenConsumerCollection(
    CHidDevice& device, std::stop_token stop) {
  std::lock_guard lock(openLock_);
  if (stop.stop_requested() ||
      !OpenKeyboardCollection(device, kConsumerCollection, kConsumerAccess)) {
    return std::nullopt;
  }
  const auto items = device.InputDataItems();
  return ReportLayout{device.Description(),
                      std::vector<uint8_t>(device.Capabilities().inputReportByteLength),
                      std::vector<HidDataItem>(items.begin(), items.end())};
}

void ConsumerListener::CloseDevice(CHidDevice& device) {
  std::lock_guard lock(openLock_);
  device.Close();
}

// Until a read fails: the keyboard left, or the thread is stopping.
void ConsumerListener::ReadEvents(CHidDevice& device, ReportLayout& layout, std::stop_token stop) {
  std::size_t got = 0;
  while (!stop.stop_requested() && device.Read(layout.report, &got, kHidWaitForever)) {
    for (HidDataItem& item : layout.items) {
      item.isDataSet = false;
    }
    CHidDevice::UnpackReport(std::span(layout.report).first(got), HidReportKind::Input,
                             layout.items, layout.description);
    ActOn(FirstUsage(layout.items), stop);
  }
}

void ConsumerListener::ActOn(uint16_t usage, std::stop_token stop) {
  switch (usage) {
    case kUsageLightingChanged:
      window_.ArmTimer(kTimerLightingChanged);
      break;
    case kUsageKeyboardReset:
      window_.ArmTimer(kTimerKeyboardReset);
      break;
    case kUsageTrayConnection:
    case kUsageTrayAlternate:
      // One change at a time and in the keyboard's order: the previous one
      // is short and is let finish first.
      if (trayTask_.joinable()) {
        trayTask_.join();
      }
      // It answers the listener's stop request, so shutdown never waits on
      // a change that waits for its turn.
      trayTask_ = std::jthread(
          [this, usage, stop] { TrayIconThread(stop, usage, state_, window_, cadence_.trayPoll); });
      break;
    default:
      break;
  }
}

}  // namespace mvk
