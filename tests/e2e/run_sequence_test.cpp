// Every way a run can end, and the two workflows, as a script sees them:
// no terminal, so every key wait returns at once.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/fixtures/expected_texts.h"

namespace e2e {
namespace {

const std::string kUsage = fixtures::UsageText();

const std::string kOneBoard = "Search for PLX9050 devices...\n[1] Merin-A1 [id=0x1adc1]\n";

const std::string kFlashHead =
    "Reading EEPROM data from file image.bin...\n"
    "EEPROM data was loaded successfully.\n"
    "EEPROM data from file:\n" +
    std::string(fixtures::SampleReport()) +
    "\n"
    "!WARNING! EEPROM writing operation is irreversible! !WARNING!\n"
    "\n"
    "Press ESC to abort writing operation or any other key to continue...\n";

const std::string kSaveHead =
    "Reading EEPROM data from device...\n"
    "EEPROM data from device flash:\n" +
    std::string(fixtures::SampleReport());

class RunSequence : public ::testing::Test {
protected:
    Result Go(const std::vector<std::string>& args) { return RunChecked(ws, args); }

    Workspace ws;
};

TEST_F(RunSequence, WithoutArgumentsShowsUsageAndNeverTouchesTheLibrary)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-f"}, {"--save"}}) {
        const Result result = Go(args);
        EXPECT_EQ(result.output, kUsage + "Press any key to exit...\n");
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_FALSE(ws.Exists("calls.log"));
    }
}

TEST_F(RunSequence, LibraryNotFound)
{
    ws.UnregisterLibrary();
    const Result result = Go({"-s", "out.bin"});
    EXPECT_EQ(result.output, "PLX9050.DLL library was not found!\nPress any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_FALSE(ws.Exists("out.bin"));
}

TEST_F(RunSequence, InterfaceNotCreated)
{
    ws.SetInterfaceNull();
    const Result result = Go({"-s", "out.bin"});
    EXPECT_EQ(result.output, "IPLX9050 interface was not created!\nPress any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(ws.Calls(), std::vector<std::string>{"CreateInterface IPLX9050 0 -> null"});
}

TEST_F(RunSequence, NoBoardFound)
{
    ws.SetBoards({"board 0x1adc1 init=0"});
    const Result result = Go({"-f", "image.bin"});
    EXPECT_EQ(result.output,
              "Search for PLX9050 devices...\nNo active PLX9050 devices found.\nPress any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 2);
}

TEST_F(RunSequence, FlashWithMissingFileStopsBeforeTheBoard)
{
    ws.SetBoards({"board 0x3adc1"});
    const Result result = Go({"-f", "nofile.bin"});
    EXPECT_EQ(result.output,
              "Search for PLX9050 devices...\n"
              "[1] Merin-A3 [id=0x3adc1]\n"
              "Reading EEPROM data from file nofile.bin...\n"
              "Couldn`t open file nofile.bin\n"
              "\n"
              "Press any key to exit...");
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(CountCalls(ws.Calls(), "InitDevice"), 2) << "discovery only: board 1 and the probe of board 2";
}

TEST_F(RunSequence, FlashWritesTheImageInDeviceOrder)
{
    ws.WriteFile("image.bin", fixtures::SampleFileImage());
    const Result result = Go({"-f", "image.bin"});
    EXPECT_EQ(result.output, kOneBoard + kFlashHead +
                                 "Writing EEPROM...\n"
                                 "EEPROM data was succesfully written to flash.\n"
                                 "Press any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 0);
    const std::vector<std::string> calls = ws.Calls();
    EXPECT_EQ(Hex(LastWrittenImage(calls)), Hex(fixtures::SampleDeviceImage()));
    EXPECT_NE(calls.back().find(" -> 64"), std::string::npos);
    EXPECT_EQ(calls[calls.size() - 2], "InitDevice \"\" 1 -> 1") << "the board is opened right before the write";
    EXPECT_EQ(Hex(ws.Eeproms()), Hex(fixtures::SampleDeviceImage()));
    EXPECT_EQ(CountCalls(calls, "Reserved"), 0);
}

TEST_F(RunSequence, FlashFailures)
{
    struct Case {
        const char* board;
        const char* message;
        int writes;
    };
    for (const Case& c : {Case{"board 0x1adc1 init=2", "m_pci->InitDevice failed!", 0},
                          Case{"board 0x1adc1 write=0", "m_pci->WriteFlash failed!", 1}}) {
        SCOPED_TRACE(c.board);
        Workspace fresh;
        fresh.SetBoards({c.board});
        fresh.WriteFile("image.bin", fixtures::SampleFileImage());
        const Result result = RunChecked(fresh, {"-f", "image.bin"});
        EXPECT_EQ(result.output, kOneBoard + kFlashHead + "Writing EEPROM...\n" + c.message +
                                     "\nPress any key to exit...\n");
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(CountCalls(fresh.Calls(), "WriteFlash"), c.writes);
        EXPECT_FALSE(fresh.Exists("state.bin")) << "the board's EEPROM is unchanged";
    }
}

TEST_F(RunSequence, SaveWritesTheImageInFileOrder)
{
    ws.SetBoards({"board 0x1ddd1"});
    ws.SetEeproms(fixtures::SampleDeviceImage());
    const Result result = Go({"-s", "old_eeprom.bin"});
    EXPECT_EQ(result.output, "Search for PLX9050 devices...\n[1] Merin-D4 [id=0x1ddd1]\n" + kSaveHead +
                                 "Writing EEPROM data to file old_eeprom.bin...\n"
                                 "EEPROM data was saved successfully.\n"
                                 "Press any key to exit...\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(Hex(ws.ReadFile("old_eeprom.bin")), Hex(fixtures::SampleFileImage()));
    EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 0);
}

TEST_F(RunSequence, SaveFailures)
{
    struct Case {
        const char* board;
        const char* file;
        const char* tail;
    };
    const std::string report = kSaveHead;
    for (const Case& c : {
             Case{"board 0x1adc1 init=2", "out.bin", "m_pci->InitDevice failed!\n"},
             Case{"board 0x1adc1 read=0", "out.bin", "m_pci->ReadFlash failed!\n"},
             Case{"board 0x1adc1", "missing/out.bin", nullptr},
         }) {
        SCOPED_TRACE(c.board);
        Workspace fresh;
        fresh.SetBoards({c.board});
        fresh.SetEeproms(fixtures::SampleDeviceImage());
        const Result result = RunChecked(fresh, {"-s", c.file});
        const std::string tail = c.tail ? std::string("Reading EEPROM data from device...\n") + c.tail
                                        : report + "Writing EEPROM data to file missing/out.bin...\n"
                                                   "Couldn`t open file\n";
        EXPECT_EQ(result.output, kOneBoard + tail + "Press any key to exit...\n");
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_FALSE(fresh.Exists("out.bin"));
        EXPECT_FALSE(fresh.Exists("missing"));
    }
}

TEST_F(RunSequence, NeitherOptionListsTheBoardsAndEnds)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-x"}, {"plain"}}) {
        Workspace fresh;
        fresh.SetBoards({"board 0x2adc1"});
        const Result result = RunChecked(fresh, args);
        EXPECT_EQ(result.output, "Search for PLX9050 devices...\n[1] Merin-A2 [id=0x2adc1]\nPress any key to exit...\n");
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(CountCalls(fresh.Calls(), "ReadFlash"), 0);
        EXPECT_EQ(CountCalls(fresh.Calls(), "WriteFlash"), 0);
    }
}

TEST_F(RunSequence, FlashWinsOverSaveAndTheFirstOccurrenceCounts)
{
    ws.WriteFile("a.bin", fixtures::SampleFileImage());
    Result result = Go({"-f", "a.bin", "-s", "b.bin"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_FALSE(ws.Exists("b.bin"));
    EXPECT_EQ(result.output.find("b.bin"), std::string::npos);

    result = Go({"-f", "a.bin", "-f", "b.bin"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.output.find("Reading EEPROM data from file a.bin...\n"), std::string::npos);
    EXPECT_EQ(result.output.find("b.bin"), std::string::npos);
}

TEST_F(RunSequence, SaveThenFlashWritesBackExactlyWhatWasRead)
{
    ws.SetEeproms(fixtures::SampleDeviceImage());
    ASSERT_EQ(Go({"-s", "backup.bin"}).exitStatus, 0);
    // Another image on the board, then the backup flashed back.
    ws.SetEeproms(std::string(128, '\x5a'));
    ASSERT_EQ(Go({"--flash", "backup.bin"}).exitStatus, 0);
    EXPECT_EQ(Hex(LastWrittenImage(ws.Calls())), Hex(fixtures::SampleDeviceImage()));
    EXPECT_EQ(Hex(ws.Eeproms()), Hex(fixtures::SampleDeviceImage()));
}

}  // namespace
}  // namespace e2e
