// The fixed order of the stages: command line, driver library, board
// interface, discovery and selection, then the flash or the save workflow,
// and the closing prompt. Every failure ends the run where it arises, with
// its message, the prompt, a key wait and, once the library is bound, its
// unbinding.
#include "app/run_sequence.h"

#include <cstdint>
#include <iostream>

#include "app/console.h"
#include "board/binding.h"
#include "board/board_interface.h"
#include "board/discovery.h"
#include "eeprom/image.h"
#include "eeprom/image_file.h"
#include "eeprom/report.h"
#include "option/option_table.h"
#include "option/parser.h"
#include "option/usage.h"

namespace {

constexpr char kPressAnyKey[] = "Press any key to exit...";
constexpr int32_t kKeyEsc = 27;
constexpr int32_t kKeyCtrlC = 3;

// The parser's record arrays: allocated once, kept to the end of the process.
option::ParsedOption* m_slots = nullptr;
option::ParsedOption* m_occurrences = nullptr;

// Ends every path after a successful bind: the prompt, a key, the library
// released.
int Close(int status)
{
    WriteLine(kPressAnyKey);
    WaitKey();
    UnbindDriverLibrary();
    return status;
}

int Fail(const char* message)
{
    WriteLine(message);
    return Close(kExitFailed);
}

int32_t InitBoard(int32_t board)
{
    return m_pci->operations->InitDevice(m_pci, "", board);
}

// Loads, converts, reports and confirms the image before the board is
// addressed again; only then is it written.
int FlashWorkflow(const char* fileName, int32_t board)
{
    WriteText("Reading EEPROM data from file ");
    WriteText(fileName);
    WriteText("...");
    EndLine();
    if (LoadImageFile(fileName) < 0) {
        EndLine();
        WriteText(kPressAnyKey);
        FlushOutput();
        WaitKey();
        UnbindDriverLibrary();
        return kExitFailed;
    }
    SwapRegisterHalves();
    WriteLine("EEPROM data from file:");
    PrintImageReport();
    WriteLine("\n!WARNING! EEPROM writing operation is irreversible! !WARNING!\n");
    WriteLine("Press ESC to abort writing operation or any other key to continue...");

    // Ctrl+C means stop, exactly like ESC: it never lets an irreversible
    // write go on.
    const int32_t key = WaitKey();
    if (key == kKeyEsc || key == kKeyCtrlC) {
        UnbindDriverLibrary();
        return kExitDone;
    }

    WriteLine("Writing EEPROM...");
    if (InitBoard(board) != 1) {
        return Fail("m_pci->InitDevice failed!");
    }
    if (m_pci->operations->WriteFlash(m_pci, m_image) != 64) {
        return Fail("m_pci->WriteFlash failed!");
    }
    WriteLine("EEPROM data was succesfully written to flash.");
    return Close(kExitDone);
}

int SaveWorkflow(const char* fileName, int32_t board)
{
    WriteLine("Reading EEPROM data from device...");
    if (InitBoard(board) != 1) {
        return Fail("m_pci->InitDevice failed!");
    }
    if (m_pci->operations->ReadFlash(m_pci, &m_image) != 1) {
        return Fail("m_pci->ReadFlash failed!");
    }
    WriteLine("EEPROM data from device flash:");
    PrintImageReport();
    SwapRegisterHalves();
    WriteText("Writing EEPROM data to file ");
    WriteText(fileName);
    WriteText("...");
    EndLine();
    // The save prints its own message; a failed save still reaches the
    // closing prompt, but the exit status tells it.
    const bool saved = SaveImageFile(fileName) >= 0;
    return Close(saved ? kExitDone : kExitFailed);
}

int ShowUsage()
{
    option::PrintUsageImplementation::OStreamWriter writer(std::cout);
    option::WriteUsage(writer, option::OptionTable);
    WriteLine(kPressAnyKey);
    WaitKey();
    return kExitUsage;
}

}  // namespace

int RunSequence(int argc, char** argv)
{
    FillBoardModelTable();

    const int32_t argCount = argc > 1 ? argc - 1 : 0;
    char** args = argc > 0 ? argv + 1 : argv;

    // The record arrays live to the end of the run and are never freed.
    option::Stats stats;
    stats.occurrenceCount = 1;
    stats.slotCount = 1;
    stats.Tally(option::OptionTable, argCount, args);
    m_slots = option::NewRecordArray(stats.slotCount);
    m_occurrences = option::NewRecordArray(stats.occurrenceCount);
    // Without memory for the records the command line cannot be judged: it
    // is treated as a failed parse.
    if (m_slots == nullptr || m_occurrences == nullptr) {
        return ShowUsage();
    }
    const option::Parser parser(option::OptionTable, argCount, args, m_slots, m_occurrences);
    if (argCount == 0 || parser.failed) {
        return ShowUsage();
    }

    StaticFactory* factory = BindDriverLibrary();
    if (factory == nullptr) {
        WriteLine("PLX9050.DLL library was not found!");
        WriteLine(kPressAnyKey);
        WaitKey();
        return kExitFailed;
    }
    m_pci = factory->operations->CreateInterface(factory, PLX9050_INTERFACE_NAME, 0);
    if (m_pci == nullptr) {
        return Fail("IPLX9050 interface was not created!");
    }

    const uint32_t boardCount = DiscoverBoards(m_pci);
    if (boardCount == 0) {
        return Fail("No active PLX9050 devices found.");
    }
    const int32_t board = SelectBoard(boardCount);
    if (board == 0) {
        return Fail("Invalid device number!");
    }

    const option::ParsedOption& flash = m_slots[option::OptFlash];
    const option::ParsedOption& save = m_slots[option::OptSave];
    if (option::IsPresent(flash)) {
        return FlashWorkflow(flash.value, board);
    }
    if (option::IsPresent(save)) {
        return SaveWorkflow(save.value, board);
    }
    return Close(kExitDone);
}
