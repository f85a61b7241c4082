// Macros of a given size for tests: `events` alternating presses and
// releases of A, 10 ms apart, played once.
#pragma once

#include <cstdint>
#include <string>

#include "model/macro.h"

namespace mvk::test {

inline MacroRecord PressReleaseMacro(uint16_t id, uint16_t events, const std::u16string& name) {
  MacroRecord macro;
  macro.SetName(name);
  macro.id = id;
  macro.cycles = 1;
  macro.eventCount = events;
  for (uint16_t i = 0; i < events; ++i) {
    macro.events[i] = {10, 0x01E, i % 2 == 0 ? kMacroPress : kMacroRelease};
  }
  return macro;
}

}  // namespace mvk::test
