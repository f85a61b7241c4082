// The connection monitor: a thread that finds the keyboard's command
// collection, keeps it open in the keyboard's device object, notices when
// the keyboard leaves or comes back, and tells the main window.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/window_side.h"
#include "model/default_matrix.h"
#include "platform/hid.h"
#include "protocol/keyboard_link.h"

namespace mvk {

struct MonitorCadence {
  // Before the first search when the window's first showing is already
  // decided ("/Start").
  std::chrono::milliseconds firstShowDelay{10};
  // Between presence checks while the keyboard is attached.
  std::chrono::milliseconds presenceInterval{100};
  // Between searches while it is not.
  std::chrono::milliseconds searchInterval{1000};
};

class ConnectionMonitor {
 public:
  // Receives the keyboard's default matrix each time it has been read.
  using MatrixSink = std::function<void(const KeyMatrix&)>;

  // `keyboardDevice` is the device object behind `link`; the monitor opens,
  // re-opens and closes it. `backend` serves the presence check.
  ConnectionMonitor(HidBackend& backend, CHidDevice& keyboardDevice, KeyboardLink& link,
                    DeviceStateRecord& state, WindowSide& window, MatrixSink defaultMatrix,
                    MonitorCadence cadence = {});
  ~ConnectionMonitor();
  ConnectionMonitor(const ConnectionMonitor&) = delete;
  ConnectionMonitor& operator=(const ConnectionMonitor&) = delete;

  // Starts the thread unless it runs already.
  void Start();
  // Stops and joins the thread at once, also while it waits for the window
  // or for the keyboard. Stopping closes the keyboard's device object, so the
  // program no longer holds the keyboard.
  void Stop();
  // Whether the thread has ended by itself (a failed enumeration) or been
  // stopped; waits up to `limit` for it.
  bool WaitForEnd(std::chrono::milliseconds limit);

 private:
  void ConnectionMonitorThread(std::stop_token stop);
  bool ProbePass(std::stop_token stop);
  bool Search(std::stop_token stop, bool& firstReport);
  bool KeyboardStillPresent();
  // Opens the command collection from the device list unless the thread is
  // stopping; sets DeviceConnected when it is open.
  bool OpenCommandCollection(std::stop_token stop);
  // Closes the device object and clears DeviceConnected.
  void CloseKeyboard();
  int OnDeviceStateChanged(uint32_t newState, std::stop_token stop);
  void ReadDefaultMatrix(std::stop_token stop);
  void MarkEnded();

  HidBackend& backend_;
  CHidDevice& device_;
  KeyboardLink& link_;
  DeviceStateRecord& state_;
  WindowSide& window_;
  MatrixSink defaultMatrix_;
  const MonitorCadence cadence_;

  // Held while the device object is opened or closed, so a stop request
  // either finds it open and closes it, or keeps it from being opened.
  std::mutex openLock_;

  std::mutex endLock_;
  std::condition_variable ended_;
  bool hasEnded_ = false;

  std::jthread thread_;
};

}  // namespace mvk
