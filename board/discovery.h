// Probing the boards the driver library reaches, listing them by model, and
// choosing the one to work with.
#ifndef KESTREL_BOARD_DISCOVERY_H
#define KESTREL_BOARD_DISCOVERY_H

#include "board/plx9050.h"

#include <cstddef>
#include <cstdint>

// One known board model: the ID the driver library reports, and its name.
struct BoardModel {
    uint32_t id;
    const char* name;
};

// The known board models, looked up by exact ID.
struct BoardModelMap {
    static constexpr size_t kCapacity = 6;
    BoardModel rows[kCapacity];
    size_t count;
};

// Empty at start; filled once, as the run's first step.
extern BoardModelMap BoardModelTable;

// Fills BoardModelTable with the six known models (filling again starts
// over, so the table never holds a row twice).
void FillBoardModelTable();

// The model name for `id`, or null when the model is not known.
const char* FindBoardModel(uint32_t id);

// Writes "Search for PLX9050 devices...", then probes boards 1, 2, ... through
// `pci` until one does not answer, writing one line per board that does.
// Returns the number of boards listed, 0 when none answers.
uint32_t DiscoverBoards(IPLX9050* pci);

// Settles on a board among `count` listed ones: board 1 when there is only
// one, otherwise the number typed at the prompt "Select device to work with: ".
// Returns 0 ("no valid selection") for a count of 0, or when the typed
// number cannot be read or lies outside 1..count. Writes nothing after the
// prompt.
int32_t SelectBoard(uint32_t count);

#endif
