// Replays the fuzz targets' seed corpora and every input a fuzzer once
// found, through the same checks the fuzzers run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_checks.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const std::string& fuzzer)
{
    std::vector<fs::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path folder = fs::path(KESTREL_FUZZ_DIR) / kind / fuzzer;
        if (!fs::is_directory(folder)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    return inputs;
}

void Replay(const std::string& fuzzer, void (*check)(const uint8_t*, size_t))
{
    const std::vector<fs::path> inputs = InputsOf(fuzzer);
    EXPECT_FALSE(inputs.empty()) << "no seeds for " << fuzzer;
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        std::ifstream file(input, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
}

TEST(FuzzReplay, ParserInputs)
{
    Replay("option_parser_fuzzer", fuzz::CheckParserInput);
}

TEST(FuzzReplay, UsageInputs)
{
    Replay("option_usage_fuzzer", fuzz::CheckUsageInput);
}

}  // namespace
