// What the simulated board library simulates, read from the file named by
// the environment variable KESTREL_SIM_CONFIG (the library's own setting; the
// program knows nothing of it). Without it: one Merin-A1 board with a
// realistic EEPROM, nothing recorded, nothing kept between runs.
//
// The file has one directive per line; '#' starts a comment:
//   state PATH       the boards' EEPROMs, 128 bytes each in board order and in
//                    device order; read at start, rewritten after every write.
//                    Boards beyond its end start from the default EEPROM.
//   log PATH         append one line per call the program makes
//   interface null   CreateInterface gives null
//   board ID [init=N] [read=N] [write=N]
//                    the next board (the first line is board 1): its ID and
//                    the results of InitDevice, ReadFlash and WriteFlash
//                    (defaults 1, 1 and 64). A board whose init is 0 or less
//                    does not answer.
// Without any board line there is one Merin-A1 board.
#ifndef KESTREL_DRIVERS_SIM_SIM_CONFIG_H
#define KESTREL_DRIVERS_SIM_SIM_CONFIG_H

#include <cstdint>
#include <string>
#include <vector>

struct SimBoard {
    uint32_t id = 0x1ADC1;
    int32_t initResult = 1;
    int32_t readResult = 1;
    int32_t writeResult = 64;
};

struct SimConfig {
    std::string statePath;
    std::string logPath;
    bool createInterface = true;
    std::vector<SimBoard> boards;
};

// Reads the configuration; a file that cannot be read or a line that makes
// no sense leaves the defaults for what it would have set.
SimConfig LoadSimConfig();

#endif
