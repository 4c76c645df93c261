// libFuzzer's entry for one target, chosen by FUZZ_TARGET_INDEX when the fuzz build compiles it.
#include "tests/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kFuzzTargets[FUZZ_TARGET_INDEX].run(data, size);
    return 0;
}
