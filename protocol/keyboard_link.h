// The road to the keyboard's command collection: the packet channel (the
// keyboard's HID device object), the connected flag that the connection
// monitor keeps, the lock that keeps one exchange's write and read together,
// and what the program has read of the attached keyboard.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

namespace mvk {

class PacketTrace;

// What the transaction needs of the keyboard's HID device object.
class PacketChannel {
 public:
  virtual ~PacketChannel() = default;
  virtual bool Write(std::span<const uint8_t> data, std::size_t* transferred,
                     uint32_t timeoutMs) = 0;
  virtual bool Read(std::span<uint8_t> buffer, std::size_t* transferred,
                    uint32_t timeoutMs) = 0;
  // Drops replies that arrived after their exchange had given up on them.
  virtual void DiscardInput() = 0;
};

struct KeyboardLink {
  explicit KeyboardLink(PacketChannel& packetChannel) : channel(packetChannel) {}
  KeyboardLink(const KeyboardLink&) = delete;
  KeyboardLink& operator=(const KeyboardLink&) = delete;

  PacketChannel& channel;
  // 1 while the connection monitor holds the command collection open.
  std::atomic<uint32_t> DeviceConnected{0};
  // Held for one whole exchange, write and read.
  std::mutex DeviceIoLock;
  // The active profile as last read from the settings block; -1 when it
  // must be read again (the keyboard went away).
  std::atomic<int> ActiveProfileCache{-1};
  // The keyboard's macro memory in bytes, from the settings block.
  std::atomic<uint32_t> MacroCapacityBytes{0};
  // Packet log; nullptr when tracing is off.
  PacketTrace* trace = nullptr;
  // Waits the pause that some commands make before they are sent; tests put
  // a recorder here so that they can see the pause without a clock.
  std::function<void(std::chrono::milliseconds)> pause = [](std::chrono::milliseconds wait) {
    std::this_thread::sleep_for(wait);
  };
};

}  // namespace mvk
