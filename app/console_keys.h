// The platform's half of the key wait: one key press read straight from the
// console or terminal, with its input mode restored afterwards. WaitKey
// (app/console.cpp) hands out its codes one per call.
#ifndef KESTREL_APP_CONSOLE_KEYS_H
#define KESTREL_APP_CONSOLE_KEYS_H

#include <cstdint>

// The codes of one key press: a character key gives its byte alone; a key
// without a character gives 224 (or 0 for F1 to F10), then its own code.
struct KeyCodes {
    int32_t first;   // -1: no key could be read
    int32_t second;  // 0: a one-code key
};

// Waits for one key press without echo. Returns {-1, 0} at once when there is
// no console or terminal to read from, or when reading fails.
KeyCodes ReadConsoleKey();

#endif
