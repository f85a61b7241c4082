// A simulated keyboard reached the way the program reaches a real one:
// through the HID backend and the device object, with the command protocol
// on top.
#pragma once

#include <chrono>
#include <memory>

#include "device/hid_device.h"
#include "model/key_map.h"
#include "model/macro.h"
#include "platform/simulated_hid.h"
#include "protocol/keyboard_link.h"
#include "sim/simulated_keyboard.h"

namespace mvk::bench {

class BenchKeyboard {
 public:
  explicit BenchKeyboard(std::chrono::microseconds reportLatency);

  KeyboardLink& Link() { return link_; }
  sim::SimulatedKeyboard& Keyboard() { return *keyboard_; }
  const KeyMatrix& Defaults() const { return defaults_; }

 private:
  SimulatedHidBackend backend_;
  std::shared_ptr<sim::SimulatedKeyboard> keyboard_ = std::make_shared<sim::SimulatedKeyboard>();
  CHidDevice device_{backend_};
  KeyboardLink link_{device_};
  KeyMatrix defaults_{};
};

// A macro of `events` alternating presses and releases, named after its id.
MacroRecord BenchMacro(uint16_t id, uint16_t events);
// Macros that fill `capacityBytes` of macro memory, names included, as
// closely as whole events allow.
MacroList MacrosFilling(uint32_t capacityBytes);

}  // namespace mvk::bench
