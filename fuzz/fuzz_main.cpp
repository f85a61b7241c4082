// libFuzzer's entry for one target, chosen when the fuzzer is built.
#include <cstdlib>

#include "fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const mvk::fuzz::FuzzTarget* target = mvk::fuzz::FindFuzzTarget(MORVAKIN_FUZZ_TARGET);
  if (target == nullptr || !target->entry({data, size})) {
    std::abort();
  }
  return 0;
}
