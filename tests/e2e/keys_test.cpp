// Key presses at the write confirmation and at the closing prompt, typed on
// a pseudo-terminal that is the program's controlling terminal.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/wine/wine_host.h"
#include "tests/fixtures/expected_texts.h"

namespace e2e {
namespace {

const char kConfirm[] = "Press ESC to abort writing operation or any other key to continue...\n";
const char kClosing[] = "Press any key to exit...";

class Keys : public ::testing::Test {
protected:
    void SetUp() override { ws.WriteFile("image.bin", fixtures::SampleFileImage()); }

    Result Flash(const std::vector<KeyPress>& keys)
    {
        Launch run;
        run.args = {"-f", "image.bin"};
        run.terminal = true;
        run.keys = keys;
        return RunChecked(ws, run);
    }

    Workspace ws;
};

TEST_F(Keys, EscAndCtrlCRefuseTheWrite)
{
    for (const char* key : {"\x1b", "\x03"}) {
        SCOPED_TRACE(static_cast<int>(key[0]));
        Workspace fresh;
        fresh.WriteFile("image.bin", fixtures::SampleFileImage());
        Launch run;
        run.args = {"-f", "image.bin"};
        run.terminal = true;
        run.keys = {{kConfirm, key}};
        const Result result = RunChecked(fresh, run);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.output.substr(result.output.size() - sizeof kConfirm + 1), kConfirm)
            << "nothing is printed after the refusal";
        EXPECT_EQ(CountCalls(fresh.Calls(), "WriteFlash"), 0);
        EXPECT_EQ(CountCalls(fresh.Calls(), "InitDevice"), 2) << "the board is not opened again";
    }
}

TEST_F(Keys, AnOrdinaryKeyConfirmsAndAnotherEndsTheRun)
{
    const Result result = Flash({{kConfirm, "y"}, {kClosing, "q"}});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(Hex(LastWrittenImage(ws.Calls())), Hex(fixtures::SampleDeviceImage()));
    const std::string tail = "Writing EEPROM...\nEEPROM data was succesfully written to flash.\nPress any key to exit...\n";
    EXPECT_EQ(result.output.substr(result.output.size() - tail.size()), tail);
}

TEST_F(Keys, ACursorKeyConfirmsAndItsSecondCodeAnswersTheClosingWait)
{
    // Up arrow: two codes; only one key press is sent.
    const Result result = Flash({{kConfirm, "\x1b[A"}});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 1);
}

TEST_F(Keys, AnUnknownSequenceDoesNotEndTheWait)
{
    // An unknown escape sequence is swallowed whole; ESC then refuses.
    Launch run;
    run.args = {"-f", "image.bin"};
    run.terminal = true;
    run.keys = {{kConfirm, "\x1b[99z"}, {kConfirm, "\x1b"}};
    const Result result = RunChecked(ws, run);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 0);
}

TEST_F(Keys, AKeyTypedBeforeTheWaitIsNotLost)
{
    if (wine::Enabled()) {
        GTEST_SKIP() << "keys reach Kestrel.exe only once it waits";
    }
    // Typed while the program still starts up; the confirmation takes it.
    const Result result = Flash({{"", "y", true}, {kClosing, "q"}});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 1);
}

TEST_F(Keys, TheUsageWaitEndsWithAKey)
{
    Launch run;
    run.terminal = true;
    run.keys = {{kClosing, "\r"}};
    const Result result = RunChecked(ws, run);
    EXPECT_EQ(result.exitStatus, 1);
}

}  // namespace
}  // namespace e2e
