// The simulated boards' EEPROMs, kept in the state file between runs.
#ifndef KESTREL_DRIVERS_SIM_SIM_BOARDS_H
#define KESTREL_DRIVERS_SIM_SIM_BOARDS_H

#include <string>
#include <vector>

#include "board/plx9050.h"

// The EEPROM a simulated board holds when the state file says nothing of it:
// a plausible configuration in device order, with a short extra text.
EepromImage DefaultEeprom();

// One EEPROM per board, from the state file where it covers the board.
std::vector<EepromImage> LoadEeproms(const std::string& statePath, size_t boardCount);

// Rewrites the state file with every board's EEPROM; false when it cannot.
bool SaveEeproms(const std::string& statePath, const std::vector<EepromImage>& eeproms);

#endif
