// The cost of the road to the keyboard: one exchange on a keyboard that
// answers at once, and whole applies and reloads on one that takes a
// millisecond per report, against the protocol's own floor of two reports
// (request and reply) per packet.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>
#include <mutex>

#include "bench/bench_keyboard.h"
#include "model/apply.h"
#include "model/settings_block.h"
#include "protocol/commands.h"
#include "storage/keyboard_reload.h"

namespace mvk::bench {
namespace {

constexpr double kFloorSecondsPerPacket = 0.002;

class NoPrompts final : public ModelPrompts {
 public:
  void ShowNotice(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return false; }
};

class NoWindow final : public ConfigWindow {
 public:
  void RefreshKeyButtons() override {}
  void EnableApply(bool) override {}
};

void SetFloorCounters(benchmark::State& state, int packets) {
  const double perRun = static_cast<double>(packets) / static_cast<double>(state.iterations());
  state.counters["packets"] = perRun;
  state.counters["floor_ms"] = perRun * kFloorSecondsPerPacket * 1000.0;
  // Seconds per run over the floor's seconds per run.
  state.counters["x_floor"] =
      benchmark::Counter(perRun * kFloorSecondsPerPacket,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A working configuration whose macros fill the keyboard's macro memory.
struct FullConfig {
  explicit FullConfig(BenchKeyboard& keyboard) {
    config.working.macros = MacrosFilling(keyboard.Link().MacroCapacityBytes.load());
  }
  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  ConfigState config{configLock, macroLock};
};

void ExchangeOverhead(benchmark::State& state) {
  BenchKeyboard keyboard(std::chrono::microseconds(0));
  for (auto _ : state) {
    if (KbEndUpdate(keyboard.Link()) != kResultOk) {
      state.SkipWithError("the keyboard did not answer");
      break;
    }
  }
}
BENCHMARK(ExchangeOverhead)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Three key matrices and a macro area that fills the keyboard's memory.
void ApplyFullCapacity(benchmark::State& state) {
  BenchKeyboard keyboard(std::chrono::milliseconds(1));
  auto full = std::make_unique<FullConfig>(keyboard);
  ConfigState& config = full->config;
  NoPrompts prompts;
  const int before = keyboard.Keyboard().PacketCount();
  for (auto _ : state) {
    if (ApplyKeyMaps(config, keyboard.Link(), keyboard.Defaults(), 0, true, prompts) !=
        kResultOk) {
      state.SkipWithError("the apply failed");
      break;
    }
  }
  SetFloorCounters(state, keyboard.Keyboard().PacketCount() - before);
}
BENCHMARK(ApplyFullCapacity)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void ReloadOnAttach(benchmark::State& state) {
  BenchKeyboard keyboard(std::chrono::milliseconds(1));
  auto full = std::make_unique<FullConfig>(keyboard);
  ConfigState& config = full->config;
  NoPrompts prompts;
  if (ApplyKeyMaps(config, keyboard.Link(), keyboard.Defaults(), 0, true, prompts) != kResultOk) {
    state.SkipWithError("the keyboard could not be filled");
    return;
  }
  QTemporaryDir dir;
  const std::filesystem::path root = dir.path().toStdString();
  const ConfigFolder folder{root / "config", root / "template.userd"};
  std::filesystem::create_directories(folder.folder);
  KeyboardSource source{keyboard.Link(), keyboard.Defaults(), u"Macro "};
  NoWindow window;
  const int before = keyboard.Keyboard().PacketCount();
  for (auto _ : state) {
    ForgetActiveProfile(keyboard.Link());
    ReloadFromKeyboard(config, folder, source, window);
  }
  SetFloorCounters(state, keyboard.Keyboard().PacketCount() - before);
}
BENCHMARK(ReloadOnAttach)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace mvk::bench
