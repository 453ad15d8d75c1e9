// Turns the bytes a terminal sends for one key press into the key codes of a
// console: a character key gives its byte; a cursor, editing or function key
// gives two codes, first 224 (or 0 for F1 to F10), then the key's own code.
// The codes are those of Windows consoles, so both builds agree.
#ifndef KESTREL_APP_TERMINAL_KEYS_H
#define KESTREL_APP_TERMINAL_KEYS_H

#include <cstdint>

#include "app/console_keys.h"

// Where the decoder gets its bytes. `timeoutMs` < 0 waits without limit.
// Returns the byte (0..255), kNoByteYet when nothing came within the time,
// or kInputFailed when the terminal cannot be read.
class TerminalBytes {
public:
    static constexpr int kNoByteYet = -1;
    static constexpr int kInputFailed = -2;
    virtual int Next(int timeoutMs) = 0;

protected:
    ~TerminalBytes() = default;
};

// How long the rest of an escape sequence may take to arrive. A lone ESC
// is recognised when nothing follows within this pause.
constexpr int kEscapePauseMs = 50;

// Reads one key press. Bytes that form no known key (an unrecognised escape
// sequence) are consumed and the wait goes on.
KeyCodes ReadKeyPress(TerminalBytes& bytes);

#endif
