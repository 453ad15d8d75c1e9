// The board list and the choice of a board, against simulated boards.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

namespace e2e {
namespace {

TEST(Boards, ListingShowsModelsUnknownIdsAndStopsAtTheFirstSilentBoard)
{
    Workspace ws;
    ws.SetBoards({"board 0x1adc1", "board 0x3dac1 init=2", "board 0xdeadbeef", "board 0x5", "board 0x3dac1",
                  "board 0x2ddd1 init=0", "board 0x1ddd1"});
    const Result result = RunChecked(ws, {"-x"}, "1\n");
    EXPECT_EQ(result.output,
              "Search for PLX9050 devices...\n"
              "[1] Merin-A1 [id=0x1adc1]\n"
              "[2] Solva-B5 [id=0x3dac1]\n"
              "[3] Unknown device [id=0xdeadbeef]\n"
              "[4] Unknown device [id=0x5]\n"
              "[5] Solva-B5 [id=0x3dac1]\n"
              "Select device to work with: Press any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(CountCalls(ws.Calls(), "InitDevice \"\" 7"), 0) << "a board past a silent one is never probed";
}

TEST(Boards, TheChosenBoardIsTheOneRead)
{
    struct Case {
        std::string input;
        int board;
    };
    for (const Case& c : {Case{"2\n", 2}, Case{"   2\n", 2}, Case{"\n\n \n2\n", 2}, Case{"2 and more\n", 2},
                          Case{"+1", 1}, Case{"10\n", 10}}) {
        SCOPED_TRACE(c.input);
        Workspace ws;
        std::vector<std::string> boards;
        for (int i = 1; i <= 10; ++i) {
            boards.push_back("board " + std::to_string(i));
        }
        ws.SetBoards(boards);
        const Result result = RunChecked(ws, {"-s", "out.bin"}, c.input);
        EXPECT_EQ(result.exitStatus, 0);
        const std::vector<std::string> calls = ws.Calls();
        const std::string open = "InitDevice \"\" " + std::to_string(c.board) + " -> 1";
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2], open);
        EXPECT_EQ(calls.back(), "ReadFlash -> 1");
        EXPECT_NE(result.output.find("[10] Unknown device [id=0xa]\nSelect device to work with: Reading EEPROM"),
                  std::string::npos);
    }
}

TEST(Boards, AnInvalidChoiceTouchesNoBoardAndNoFile)
{
    for (const std::string input : {"0\n", "-1\n", "3\n", "abc\n", "99999999999\n", "", "\n\n"}) {
        SCOPED_TRACE(input);
        Workspace ws;
        ws.SetBoards({"board 0x1adc1", "board 0x2adc1"});
        ws.WriteFile("image.bin", std::string(128, '\0'));
        for (const char* option : {"-s", "-f"}) {
            const Result result = RunChecked(ws, {option, option[1] == 's' ? "out.bin" : "image.bin"}, input);
            EXPECT_EQ(result.output,
                      "Search for PLX9050 devices...\n"
                      "[1] Merin-A1 [id=0x1adc1]\n"
                      "[2] Merin-A2 [id=0x2adc1]\n"
                      "Select device to work with: Invalid device number!\n"
                      "Press any key to exit...\n");
            EXPECT_EQ(result.exitStatus, 2);
        }
        EXPECT_EQ(CountCalls(ws.Calls(), "InitDevice"), 6) << "discovery only";
        EXPECT_EQ(CountCalls(ws.Calls(), "ReadFlash"), 0);
        EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 0);
        EXPECT_FALSE(ws.Exists("out.bin"));
    }
}

TEST(Boards, ABoardThatIsPresentButNotReadyFailsItsWorkflow)
{
    Workspace ws;
    ws.SetBoards({"board 0x1adc1", "board 0x2adc1 init=2"});
    const Result result = RunChecked(ws, {"-s", "out.bin"}, "2\n");
    EXPECT_EQ(result.output,
              "Search for PLX9050 devices...\n"
              "[1] Merin-A1 [id=0x1adc1]\n"
              "[2] Merin-A2 [id=0x2adc1]\n"
              "Select device to work with: Reading EEPROM data from device...\n"
              "m_pci->InitDevice failed!\n"
              "Press any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 2);
}

}  // namespace
}  // namespace e2e
