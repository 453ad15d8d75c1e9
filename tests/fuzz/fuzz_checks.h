// The checks the fuzz targets run on one input. They abort on a broken
// invariant, so libFuzzer records the input; kestrel_option_tests replays
// the seed corpora and past findings through the same checks.
#ifndef KESTREL_TESTS_FUZZ_FUZZ_CHECKS_H
#define KESTREL_TESTS_FUZZ_FUZZ_CHECKS_H

#include <cstddef>
#include <cstdint>

namespace fuzz {

// The input split at zero bytes is an argument vector. A leading "#" picks a
// table of odd rows (shared ids, empty names, every verdict) instead of the
// program's table.
void CheckParserInput(const uint8_t* data, size_t size);

// The input split at zero bytes gives up to eight table rows; a piece that
// begins with byte 0x01 is a row without help text.
void CheckUsageInput(const uint8_t* data, size_t size);

}  // namespace fuzz

#endif
