// The device event listener: a thread that reads the keyboard's
// consumer-control collection and turns the vendor usages it reports there
// into work for the main window (window timers, tray icon changes).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/window_side.h"
#include "platform/hid.h"

namespace mvk {

// Vendor usages the keyboard reports on its consumer collection.
inline constexpr uint16_t kUsageLightingChanged = 0x0401;
inline constexpr uint16_t kUsageKeyboardReset = 0x0402;
inline constexpr uint16_t kUsageTrayConnection = 0x1810;
inline constexpr uint16_t kUsageTrayAlternate = 0x1811;

struct ListenerCadence {
  // Between searches for the consumer collection.
  std::chrono::milliseconds searchInterval{1000};
  // How often a tray change looks whether another one has finished, and how
  // long it holds TrayIconBusy after its change.
  std::chrono::milliseconds trayPoll{1};
};

// One tray icon change asked for by the keyboard, made while holding
// TrayIconBusy: 0x1811 shows the alternate icon, any other usage the
// remembered connection icon. Gives up when `stop` is requested.
void TrayIconThread(std::stop_token stop, uint16_t usage, DeviceStateRecord& state,
                    WindowSide& window, std::chrono::milliseconds poll);

class ConsumerListener {
 public:
  ConsumerListener(HidBackend& backend, DeviceStateRecord& state, WindowSide& window,
                   ListenerCadence cadence = {});
  ~ConsumerListener();
  ConsumerListener(const ConsumerListener&) = delete;
  ConsumerListener& operator=(const ConsumerListener&) = delete;

  // Starts the thread unless it was started already.
  void Start();
  // Stops and joins the thread at once, also while it waits for a report,
  // together with a tray change it started.
  void Stop();
  // Whether the thread has ended by itself (a failed enumeration) or been
  // stopped; waits up to `limit` for it.
  bool WaitForEnd(std::chrono::milliseconds limit);

 private:
  // What the thread keeps of the open collection to decode its reports.
  struct ReportLayout;

  void ConsumerListenerThread(std::stop_token stop);
  std::optional<ReportLayout> OpenConsumerCollection(CHidDevice& device, std::stop_token stop);
  void CloseDevice(CHidDevice& device);
  void ReadEvents(CHidDevice& device, ReportLayout& layout, std::stop_token stop);
  void ActOn(uint16_t usage, std::stop_token stop);
  void MarkEnded();

  HidBackend& backend_;
  DeviceStateRecord& state_;
  WindowSide& window_;
  const ListenerCadence cadence_;

  // Held while the listener's device object is opened or closed, so a stop
  // request either finds it open and closes it, or keeps it from being
  // opened.
  std::mutex openLock_;
  // The tray change last started; the listener thread alone touches it.
  std::jthread trayTask_;

  std::mutex endLock_;
  std::condition_variable ended_;
  bool hasEnded_ = false;

  std::jthread thread_;
};

}  // namespace mvk
