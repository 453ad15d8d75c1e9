// libFuzzer target: the parser over arbitrary argument vectors.
#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::CheckParserInput(data, size);
    return 0;
}
