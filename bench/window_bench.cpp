// The program with its main window: the start-up to the initialised, hidden
// window (and on to the keyboard read in), and the processor time the
// running program takes per minute while the keyboard is attached, with the
// light view off and with it on.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>

#include <ctime>

#include "bench/program_window.h"

namespace mvk::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kLimit{30};
constexpr std::chrono::seconds kCpuSample{5};

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// From constructing the services to the window initialised and hidden; the
// keyboard's attach runs on beside it and is timed to its end as well.
void StartupToHiddenWindow(benchmark::State& state) {
  double attachSeconds = 0;
  int messages = 0;
  for (auto _ : state) {
    const char* failure = "the program did not start";
    RunProgram([&](CMorvakinApp& app) {
      const auto start = Clock::now();
      ProgramWindow program(app);
      if (!program.InitialiseHidden(kLimit) || program.Window().isVisible()) {
        failure = "the window did not come up hidden";
        return 1;
      }
      state.SetIterationTime(SecondsSince(start));
      if (!program.RunUntil([&] { return program.KeyboardReadIn(); }, kLimit)) {
        failure = "the keyboard was not read in";
        return 1;
      }
      attachSeconds += SecondsSince(start);
      messages += program.MessagesShown();
      failure = nullptr;
      return 0;
    });
    if (failure != nullptr) {
      state.SkipWithError(failure);
      break;
    }
  }
  state.counters["attach_ms"] =
      benchmark::Counter(attachSeconds * 1000.0, benchmark::Counter::kAvgIterations);
  state.counters["messages"] = messages;
}
BENCHMARK(StartupToHiddenWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The window's loop runs for a fixed stretch of wall time with the keyboard
// attached; the figure is the whole process's processor time over it. The
// window stays hidden, as it lives in the tray, or is opened.
void CpuPerMinuteAttached(benchmark::State& state) {
  const bool lightView = state.range(0) != 0;
  const bool shown = state.range(1) != 0;
  const char* failure = "the program did not start";
  double wallSeconds = 0;
  double cpuSeconds = 0;
  RunProgram([&](CMorvakinApp& app) {
    ProgramWindow program(app);
    if (!program.InitialiseHidden(kLimit) ||
        !program.RunUntil([&] { return program.KeyboardReadIn(); }, kLimit)) {
      failure = "the keyboard was not read in";
      return 1;
    }
    if (shown) program.Window().OpenWindow();
    CLightingPanel& lighting = program.Panels().Lighting();
    if (lightView) {
      lighting.ToggleLightView();
      lighting.SelectEffect(1);
    }
    if (lighting.PreviewRunning() != (lightView && shown)) {
      failure = "the preview runs when it should not, or the other way round";
      return 1;
    }
    failure = nullptr;
    for (auto _ : state) {
      const double cpuStart = ProcessCpuSeconds();
      const auto start = Clock::now();
      QEventLoop loop;
      QTimer::singleShot(kCpuSample, Qt::PreciseTimer, &loop, &QEventLoop::quit);
      loop.exec();
      const double wall = SecondsSince(start);
      wallSeconds += wall;
      cpuSeconds += ProcessCpuSeconds() - cpuStart;
      state.SetIterationTime(wall);
    }
    return 0;
  });
  if (failure != nullptr) {
    state.SkipWithError(failure);
    return;
  }
  state.counters["sample_s"] = wallSeconds;
  state.counters["cpu_ms_per_min"] = cpuSeconds * 1000.0 / wallSeconds * 60.0;
}
BENCHMARK(CpuPerMinuteAttached)
    ->ArgNames({"light_view", "shown"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
}  // namespace mvk::bench
