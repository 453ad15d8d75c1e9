// Board discovery and selection.
#include "board/discovery.h"

#include "app/console.h"

#include <charconv>
#include <string_view>

BoardModelMap BoardModelTable = {};

namespace {

constexpr BoardModel kKnownModels[] = {
    {0x1ADC1, "Merin-A1"}, {0x2ADC1, "Merin-A2"}, {0x3ADC1, "Merin-A3"},
    {0x1DDD1, "Merin-D4"}, {0x3DAC1, "Solva-B5"}, {0x2DDD1, "Solva-P6"},
};

static_assert(sizeof kKnownModels / sizeof kKnownModels[0] == BoardModelMap::kCapacity,
              "the table holds exactly the known models");

// Writes `value` in `base` (lowercase digits, no leading zeros, no sign).
void WriteNumber(uint32_t value, int base)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, base);
    WriteText(std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
}

// One listing line: "[n] <model> [id=0x<id>]", or "[n] Unknown device
// [id=0x<id>]" for a model not in the table; on the screen before the next
// probe.
void WriteBoardLine(uint32_t board, uint32_t id)
{
    WriteText("[");
    WriteNumber(board, 10);
    WriteText("] ");
    if (const char* model = FindBoardModel(id)) {
        WriteText(model);
        WriteText(" [id=0x");
    } else {
        WriteText("Unknown device [id=0x");
    }
    WriteNumber(id, 16);
    WriteText("]");
    EndLine();
}

}  // namespace

void FillBoardModelTable()
{
    BoardModelTable.count = 0;
    for (const BoardModel& model : kKnownModels) {
        BoardModelTable.rows[BoardModelTable.count++] = model;
    }
}

const char* FindBoardModel(uint32_t id)
{
    for (size_t row = 0; row < BoardModelTable.count; ++row) {
        if (BoardModelTable.rows[row].id == id) {
            return BoardModelTable.rows[row].name;
        }
    }
    return nullptr;
}

uint32_t DiscoverBoards(IPLX9050* pci)
{
    WriteLine("Search for PLX9050 devices...");
    const IPLX9050Operations* operations = pci->operations;
    uint32_t count = 0;
    for (int32_t board = 1; operations->InitDevice(pci, "", board) > 0; ++board) {
        const uint32_t id = static_cast<uint32_t>(operations->GetInfo(pci, Plx9050InfoBoardId));
        WriteBoardLine(static_cast<uint32_t>(board), id);
        ++count;
        // Board numbers are signed 32-bit values for the driver library, so
        // the probing ends at the largest one even if every board answers.
        if (board == INT32_MAX) {
            break;
        }
    }
    return count;
}

int32_t SelectBoard(uint32_t count)
{
    if (count < 2) {
        return count == 1 ? 1 : 0;
    }
    WriteText("Select device to work with: ");
    int32_t selection = 0;  // stays 0 when no number can be read
    ReadNumber(selection);
    if (selection < 1 || static_cast<uint32_t>(selection) > count) {
        return 0;
    }
    return selection;
}
