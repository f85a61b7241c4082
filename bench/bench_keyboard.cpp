#include "bench/bench_keyboard.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "model/settings_block.h"
#include "protocol/commands.h"

namespace mvk::bench {

BenchKeyboard::BenchKeyboard(std::chrono::microseconds reportLatency) {
  keyboard_->SetReportLatency(reportLatency);
  backend_.Plug(keyboard_);
  const auto paths = backend_.Enumerate();
  if (!paths || paths->empty() ||
      !device_.Open(paths->front(), {.read = true, .write = true})) {
    std::cerr << "bench: the simulated keyboard could not be opened\n";
    std::exit(1);
  }
  link_.DeviceConnected = 1;
  link_.pause = [](std::chrono::milliseconds) {};
  if (KbReadDefaultMatrix(link_, defaults_.data()) != kResultOk ||
      ReadMacroCapacity(link_) != kResultOk) {
    std::cerr << "bench: the simulated keyboard does not answer\n";
    std::exit(1);
  }
}

MacroRecord BenchMacro(uint16_t id, uint16_t events) {
  MacroRecord macro;
  macro.SetName(u"Benchmark macro " + std::u16string(std::to_string(id).begin(),
                                                     std::to_string(id).end()));
  macro.id = id;
  macro.cycles = 1;
  macro.eventCount = events;
  for (uint16_t i = 0; i < events; ++i) {
    macro.events[i] = {20, static_cast<KeyCode>(0x010 + i % 26),
                       i % 2 == 0 ? kMacroPress : kMacroRelease};
  }
  return macro;
}

MacroList MacrosFilling(uint32_t capacityBytes) {
  MacroList macros;
  for (uint16_t id = 1; id <= kMaxMacros; ++id) {
    macros.push_back(BenchMacro(id, 0));
    if (MacroAreaSizes(macros).withNames > capacityBytes) {
      macros.pop_back();
      break;
    }
  }
  // Then events, one at a time across the macros, until the area is full.
  for (bool grew = true; grew;) {
    grew = false;
    for (MacroRecord& macro : macros) {
      if (macro.eventCount == kMaxMacroEvents) {
        continue;
      }
      macro.events[macro.eventCount] = {20, 0x01E, kMacroPress};
      ++macro.eventCount;
      if (MacroAreaSizes(macros).withNames > capacityBytes) {
        --macro.eventCount;
        continue;
      }
      grew = true;
    }
  }
  return macros;
}

}  // namespace mvk::bench
