#include "app/terminal_keys.h"

#include <cstring>

namespace {

constexpr int kEsc = 27;

// One escape sequence: ESC, the introducer ('[' or 'O'), the leading number
// of its parameters (0 when there is none) and its final byte.
struct EscapeKey {
    char introducer;
    int number;
    char final;
    int32_t first;
    int32_t second;
};

constexpr int32_t kExt = 224;  // cursor, editing, F11 and F12
constexpr int32_t kFn = 0;     // F1 to F10

// xterm, VT220 and Linux console forms. Modifier parameters (";5" for Ctrl
// and so on) are ignored: the key is the same key.
constexpr EscapeKey kEscapeKeys[] = {
    {'[', 0, 'A', kExt, 72}, {'[', 0, 'B', kExt, 80}, {'[', 0, 'C', kExt, 77},
    {'[', 0, 'D', kExt, 75}, {'[', 0, 'H', kExt, 71}, {'[', 0, 'F', kExt, 79},
    {'[', 1, 'A', kExt, 72}, {'[', 1, 'B', kExt, 80}, {'[', 1, 'C', kExt, 77},
    {'[', 1, 'D', kExt, 75}, {'[', 1, 'H', kExt, 71}, {'[', 1, 'F', kExt, 79},
    {'[', 1, 'P', kFn, 59},  {'[', 1, 'Q', kFn, 60},  {'[', 1, 'R', kFn, 61},
    {'[', 1, 'S', kFn, 62},
    {'O', 0, 'A', kExt, 72}, {'O', 0, 'B', kExt, 80}, {'O', 0, 'C', kExt, 77},
    {'O', 0, 'D', kExt, 75}, {'O', 0, 'H', kExt, 71}, {'O', 0, 'F', kExt, 79},
    {'O', 0, 'P', kFn, 59},  {'O', 0, 'Q', kFn, 60},  {'O', 0, 'R', kFn, 61},
    {'O', 0, 'S', kFn, 62},
    {'[', 1, '~', kExt, 71}, {'[', 2, '~', kExt, 82}, {'[', 3, '~', kExt, 83},
    {'[', 4, '~', kExt, 79}, {'[', 5, '~', kExt, 73}, {'[', 6, '~', kExt, 81},
    {'[', 7, '~', kExt, 71}, {'[', 8, '~', kExt, 79},
    {'[', 11, '~', kFn, 59}, {'[', 12, '~', kFn, 60}, {'[', 13, '~', kFn, 61},
    {'[', 14, '~', kFn, 62}, {'[', 15, '~', kFn, 63}, {'[', 17, '~', kFn, 64},
    {'[', 18, '~', kFn, 65}, {'[', 19, '~', kFn, 66}, {'[', 20, '~', kFn, 67},
    {'[', 21, '~', kFn, 68}, {'[', 23, '~', kExt, 133}, {'[', 24, '~', kExt, 134},
};

// The Linux console sends F1 to F5 as ESC [ [ A to ESC [ [ E.
constexpr char kLinuxConsoleFunctionFinals[] = "ABCDE";

constexpr KeyCodes kNoKey = {-2, 0};  // bytes consumed, no key: wait on
constexpr KeyCodes kFailed = {-1, 0};

bool IsParameterByte(int b) { return b >= 0x20 && b <= 0x3F; }
bool IsFinalByte(int b) { return b >= 0x40 && b <= 0x7E; }

KeyCodes LookUp(char introducer, int number, int final)
{
    for (const EscapeKey& key : kEscapeKeys) {
        if (key.introducer == introducer && key.number == number && key.final == final) {
            return {key.first, key.second};
        }
    }
    return kNoKey;
}

// Reads the rest of an escape sequence after its introducer: parameter bytes,
// then one final byte. A pause or a stray byte ends it unrecognised; either
// way the whole sequence is consumed.
KeyCodes ReadSequence(TerminalBytes& bytes, char introducer)
{
    int number = 0;
    bool inFirstParameter = true;
    for (bool first = true;; first = false) {
        const int b = bytes.Next(kEscapePauseMs);
        if (b == TerminalBytes::kInputFailed) {
            return kFailed;
        }
        if (b == TerminalBytes::kNoByteYet) {
            return kNoKey;
        }
        if (first && introducer == '[' && b == '[') {
            const int final = bytes.Next(kEscapePauseMs);
            if (final == TerminalBytes::kInputFailed) {
                return kFailed;
            }
            const char* hit = final > 0 ? std::strchr(kLinuxConsoleFunctionFinals, final) : nullptr;
            if (hit == nullptr) {
                return kNoKey;
            }
            return {kFn, static_cast<int32_t>(59 + (hit - kLinuxConsoleFunctionFinals))};
        }
        if (IsFinalByte(b)) {
            return LookUp(introducer, number, b);
        }
        if (!IsParameterByte(b)) {
            return kNoKey;
        }
        if (b >= '0' && b <= '9' && inFirstParameter) {
            number = number < 1000 ? number * 10 + (b - '0') : number;
        } else {
            inFirstParameter = false;
        }
    }
}

// Decodes what follows an ESC.
KeyCodes ReadAfterEscape(TerminalBytes& bytes)
{
    const int next = bytes.Next(kEscapePauseMs);
    if (next == TerminalBytes::kInputFailed) {
        return kFailed;
    }
    if (next == TerminalBytes::kNoByteYet) {
        return {kEsc, 0};
    }
    if (next == '[' || next == 'O') {
        return ReadSequence(bytes, static_cast<char>(next));
    }
    // ESC and a character together is how terminals send Alt with a key; a
    // console reports such a key press as the character itself.
    return {next, 0};
}

}  // namespace

KeyCodes ReadKeyPress(TerminalBytes& bytes)
{
    for (;;) {
        const int b = bytes.Next(-1);
        if (b < 0) {
            return kFailed;
        }
        if (b != kEsc) {
            return {b, 0};
        }
        const KeyCodes key = ReadAfterEscape(bytes);
        if (key.first != kNoKey.first) {
            return key;
        }
    }
}
