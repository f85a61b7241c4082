// Replays every kept fuzzer input (the seed corpora and the inputs that once
// crashed) through the same entry points the fuzzers use, so that the
// normal build and the sanitizer build run them on every change.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_entries.h"

namespace mvk::fuzz {
namespace {

std::filesystem::path FuzzFolder() {
  return std::filesystem::path(MORVAKIN_FIXTURES).parent_path().parent_path() / "fuzz";
}

std::vector<std::filesystem::path> KeptInputs(std::string_view target) {
  std::vector<std::filesystem::path> files;
  for (const char* kind : {"corpus", "crashes"}) {
    const auto folder = FuzzFolder() / kind / target;
    if (!std::filesystem::is_directory(folder)) {
      continue;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) {
        files.push_back(entry.path());
      }
    }
  }
  std::ranges::sort(files);
  return files;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzCorpusTest : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzCorpusTest, EveryKeptInputPasses) {
  const auto files = KeptInputs(GetParam().name);
  ASSERT_FALSE(files.empty()) << "no seed inputs under " << FuzzFolder() / "corpus";
  for (const auto& file : files) {
    EXPECT_TRUE(GetParam().entry(ReadBytes(file))) << file;
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpusTest, ::testing::ValuesIn(FuzzTargets().begin(),
                                                                       FuzzTargets().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mvk::fuzz
