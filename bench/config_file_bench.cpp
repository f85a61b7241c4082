// Saving and loading the largest configuration file: 100 macros of 4000
// events each.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>
#include <mutex>

#include "bench/bench_keyboard.h"
#include "storage/config_file.h"

namespace mvk::bench {
namespace {

struct LargestFile {
  LargestFile() {
    for (uint16_t id = 1; id <= kMaxMacros; ++id) {
      config->working.macros.push_back(BenchMacro(id, kMaxMacroEvents));
    }
  }
  std::filesystem::path Path() const { return std::filesystem::path(dir.path().toStdString()) / "big.mvk"; }

  QTemporaryDir dir;
  std::recursive_mutex configLock;
  std::recursive_mutex macroLock;
  std::unique_ptr<ConfigState> config = std::make_unique<ConfigState>(configLock, macroLock);
};

void SaveLargestConfigFile(benchmark::State& state) {
  LargestFile file;
  for (auto _ : state) {
    if (!SaveConfigFile(*file.config, file.Path())) {
      state.SkipWithError("the file could not be saved");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(file.Path())));
}
BENCHMARK(SaveLargestConfigFile)->UseRealTime()->Unit(benchmark::kMillisecond);

void LoadLargestConfigFile(benchmark::State& state) {
  LargestFile file;
  if (!SaveConfigFile(*file.config, file.Path())) {
    state.SkipWithError("the file could not be saved");
    return;
  }
  auto store = std::make_unique<ConfigStore>();
  for (auto _ : state) {
    if (!LoadConfigFile(file.Path(), *store)) {
      state.SkipWithError("the file could not be loaded");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(file.Path())));
}
BENCHMARK(LoadLargestConfigFile)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mvk::bench
