// The command line's forms reach the right workflow with the right file name.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

namespace e2e {
namespace {

TEST(CommandLine, FormsReachTheRightWorkflowAndFile)
{
    struct Case {
        std::vector<std::string> args;
        const char* flashed;  // the file the flash read, or null
        const char* saved;    // the file the save wrote, or null
    };
    const std::vector<Case> cases = {
        {{"-f", "a.bin"}, "a.bin", nullptr},
        {{"-fa.bin"}, "a.bin", nullptr},
        {{"--flash=a.bin"}, "a.bin", nullptr},
        {{"-f=a.bin"}, "=a.bin", nullptr},
        {{"-flash"}, "lash", nullptr},
        {{"-sf"}, nullptr, "f"},
        {{"--save", "b.bin"}, nullptr, "b.bin"},
        {{"-xs", "b.bin"}, nullptr, "b.bin"},
        {{"-x", "a.bin", "-f", "b.bin"}, nullptr, nullptr},
        {{"--", "-f", "a.bin"}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
        Workspace ws;
        for (const char* name : {"a.bin", "=a.bin", "lash", "b.bin"}) {
            ws.WriteFile(name, std::string(128, '\x11'));
        }
        const Result result = RunChecked(ws, c.args);
        EXPECT_EQ(result.exitStatus, 0);
        const std::string flashLine = c.flashed ? std::string("Reading EEPROM data from file ") + c.flashed + "...\n" : "";
        EXPECT_EQ(result.output.find("Reading EEPROM data from file ") != std::string::npos, c.flashed != nullptr);
        if (c.flashed) {
            EXPECT_NE(result.output.find(flashLine), std::string::npos);
            EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 1);
        }
        EXPECT_EQ(CountCalls(ws.Calls(), "ReadFlash"), c.saved ? 1 : 0);
        if (c.saved) {
            EXPECT_EQ(ws.ReadFile(c.saved).size(), 128u);
        }
    }
}

}  // namespace
}  // namespace e2e
