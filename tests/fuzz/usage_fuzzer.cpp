// libFuzzer target: the usage printer over arbitrary help-text tables.
#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::CheckUsageInput(data, size);
    return 0;
}
