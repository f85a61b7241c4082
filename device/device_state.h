// The program-wide connection and window state: 32-bit words written by one
// thread and read by others.
#pragma once

#include <atomic>
#include <cstdint>

namespace mvk {

struct DeviceStateRecord {
  // 0 while the program may still bring its window up by itself on the first
  // attach; 1 once that is decided ("/Start", or the first connection report).
  std::atomic<uint32_t> FirstShowDone{0};
  // The state last handed to the connection handler: 0 detached, 1 attached.
  std::atomic<uint32_t> LastDeviceState{0};
  // 1 while the connection handler runs.
  std::atomic<uint32_t> DeviceStateBusy{0};
  // 1 while a tray-icon change asked for by the event listener is being made.
  std::atomic<uint32_t> TrayIconBusy{0};
};

}  // namespace mvk
