#include "device/connection_monitor.h"

#include <array>
#include <string_view>

#include "device/collection_match.h"
#include "device/stop_wait.h"
#include "model/settings_block.h"
#include "protocol/commands.h"

namespace mvk {
namespace {

constexpr HidOpenOptions kCommandAccess{true, true, true, false};
// A cheap open that only asks whether the path is still there.
constexpr HidOpenOptions kPresenceAccess{false, false, false, false};

constexpr std::string_view kDefaultMatrixPrompt = "MAIN_DEFAULT_MATRIX_PROMPT";

// DeviceStateBusy is 1 for as long as the connection handler runs, however
// it leaves.
class BusyWhileHandling {
 public:
  explicit BusyWhileHandling(std::atomic<uint32_t>& busy) : busy_(busy) { busy_ = 1; }
  ~BusyWhileHandling() { busy_ = 0; }
  BusyWhileHandling(const BusyWhileHandling&) = delete;
  BusyWhileHandling& operator=(const BusyWhileHandling&) = delete;

 private:
  std::atomic<uint32_t>& busy_;
};

}  // namespace

ConnectionMonitor::ConnectionMonitor(HidBackend& backend, CHidDevice& keyboardDevice,
                                     KeyboardLink& link, DeviceStateRecord& state,
                                     WindowSide& window, MatrixSink defaultMatrix,
                                     MonitorCadence cadence)
    : backend_(backend), device_(keyboardDevice), link_(link), state_(state), window_(window),
      defaultMatrix_(std::move(defaultMatrix)), cadence_(cadence) {}

ConnectionMonitor::~ConnectionMonitor() { Stop(); }

void ConnectionMonitor::Start() {
  if (thread_.joinable()) {
    return;
  }
  {
    std::lock_guard lock(endLock_);
    hasEnded_ = false;
  }
  thread_ = std::jthread([this](std::stop_token stop) {
    ConnectionMonitorThread(stop);
    // The stop callback may not have run yet when the thread sees the
    // request and leaves, and leaving unregisters it.
    if (stop.stop_requested()) {
      CloseKeyboard();
    }
    MarkEnded();
  });
}

void ConnectionMonitor::Stop() {
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
}

bool ConnectionMonitor::WaitForEnd(std::chrono::milliseconds limit) {
  std::unique_lock lock(endLock_);
  return ended_.wait_for(lock, limit, [this] { return hasEnded_; });
}

void ConnectionMonitor::MarkEnded() {
  std::lock_guard lock(endLock_);
  hasEnded_ = true;
  ended_.notify_all();
}

void ConnectionMonitor::ConnectionMonitorThread(std::stop_token stop) {
  // An exchange that waits for the keyboard ends as soon as its device is
  // closed, so shutdown does not wait out the exchange's time-outs.
  std::stop_callback closeOnStop(stop, [this] { CloseKeyboard(); });

  if (state_.FirstShowDone == 1 && !WaitUnlessStopped(stop, cadence_.firstShowDelay)) {
    return;
  }
  if (!ProbePass(stop)) {
    return;
  }
  bool firstReport = true;
  while (!stop.stop_requested()) {
    if (link_.DeviceConnected == 1) {
      if (!KeyboardStillPresent()) {
        link_.DeviceConnected = 0;
        OnDeviceStateChanged(0, stop);
      }
    } else if (!Search(stop, firstReport)) {
      return;
    }
    const bool attached = link_.DeviceConnected == 1;
    if (!WaitUnlessStopped(stop, attached ? cadence_.presenceInterval : cadence_.searchInterval)) {
      return;
    }
  }
}

// Opens the keyboard once and asks for its settings, which is what makes it
// ready for the exchanges that follow; the answer itself is not needed.
bool ConnectionMonitor::ProbePass(std::stop_token stop) {
  if (!device_.EnumerateDevices()) {
    return false;
  }
  if (OpenCommandCollection(stop)) {
    std::array<uint8_t, kSettingsBlockSize> settings{};
    KbReadSettings(link_, settings.data());
    CloseKeyboard();
  }
  device_.FreeDeviceList();
  return !stop.stop_requested();
}

bool ConnectionMonitor::Search(std::stop_token stop, bool& firstReport) {
  if (!device_.EnumerateDevices()) {
    return false;
  }
  if (OpenCommandCollection(stop)) {
    OnDeviceStateChanged(1, stop);
  }
  if (firstReport && !stop.stop_requested()) {
    firstReport = false;
    OnDeviceStateChanged(link_.DeviceConnected, stop);
    if (link_.DeviceConnected == 0) {
      state_.FirstShowDone = 1;
    }
  }
  device_.FreeDeviceList();
  return !stop.stop_requested();
}

// The device object itself stays open: a keyboard that left keeps its stale
// handle until the next search re-opens the collection.
bool ConnectionMonitor::KeyboardStillPresent() {
  return backend_.Open(device_.DevicePath(), kPresenceAccess) != nullptr;
}

bool ConnectionMonitor::OpenCommandCollection(std::stop_token stop) {
  std::lock_guard lock(openLock_);
  if (stop.stop_requested() ||
      !OpenKeyboardCollection(device_, kCommandCollection, kCommandAccess)) {
    return false;
  }
  link_.DeviceConnected = 1;
  return true;
}

void ConnectionMonitor::CloseKeyboard() {
  std::lock_guard lock(openLock_);
  device_.Close();
  link_.DeviceConnected = 0;
}

// When shutdown cuts a call to the window short, the handler stops there:
// the rest of its work would only reach a window that is going away.
int ConnectionMonitor::OnDeviceStateChanged(uint32_t newState, std::stop_token stop) {
  BusyWhileHandling busy(state_.DeviceStateBusy);
  if (newState == state_.LastDeviceState) {
    return 0;
  }
  if (newState == 0) {
    if (state_.LastDeviceState > 0) {
      ForgetActiveProfile(link_);
      window_.SendDetachNotice(stop);
      if (stop.stop_requested()) {
        return 0;
      }
      window_.HideWindow();
    }
    window_.SetTrayIcon(0, kTrayIconNoKeyboard);
  } else {
    ReadDefaultMatrix(stop);
    if (stop.stop_requested()) {
      return 0;
    }
    ReadMacroCapacity(link_);
    window_.SendProfilesNotice(stop);
    if (stop.stop_requested()) {
      return 0;
    }
    window_.SetTrayIcon(0, kTrayIconAttached);
  }
  state_.LastDeviceState = newState;
  if (state_.FirstShowDone == 0) {
    if (newState == 1) {
      window_.PostOpenRequest();
    }
    state_.FirstShowDone = 1;
  }
  return 0;
}

// On failure the program goes on with the matrix it had.
void ConnectionMonitor::ReadDefaultMatrix(std::stop_token stop) {
  KeyMatrix matrix{};
  if (KbReadDefaultMatrix(link_, matrix.data()) == kResultOk) {
    defaultMatrix_(matrix);
  } else {
    window_.ShowMessage(kDefaultMatrixPrompt, stop);
  }
}

}  // namespace mvk
