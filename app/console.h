// The console dialogue: lines on standard output, single key presses read
// straight from the terminal, and one number read from standard input.
#ifndef KESTREL_APP_CONSOLE_H
#define KESTREL_APP_CONSOLE_H

#include <cstdint>
#include <string_view>

// Writes `text`, a line break, and flushes standard output.
void WriteLine(std::string_view text);

// Writes `text` unchanged, without a line break and without a flush. Used for
// the pieces of a line that EndLine then ends, and for the two prompts that
// stay on the line the user answers on.
void WriteText(std::string_view text);

// Ends a line written in pieces: a line break and a flush.
void EndLine();

// Flushes standard output, so a prompt without a line break is on the
// screen before a key wait.
void FlushOutput();

// Waits for one key press without echo and returns its code, 0 to 255. A key
// without a character yields two codes, one per call: first 0 or 224, then
// the key's own code, which the next call returns without waiting. Returns -1
// at once when no key can be read (no terminal).
int32_t WaitKey();

// Reads one signed decimal number from standard input into `value`, after
// flushing standard output. Leaves `value` as it was when no number that fits
// a signed 32-bit value can be read.
void ReadNumber(int32_t& value);

#endif
