// Key input from the console itself ("CONIN$"), so keys come from the user
// even when standard input is redirected.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "app/console_keys.h"

namespace {

HANDLE m_consoleInput = INVALID_HANDLE_VALUE;  // opened at the first wait
bool m_consoleInputTried = false;              // the open is tried only once

// A key without a character and its two codes: the lead (224, or 0 for F1
// to F10) and the key's own code, plain and with a modifier held. The codes
// are the usual console ones; the plain codes are also what the Linux
// build's terminal decoder gives. Shift changes nothing on the cursor and
// editing keys.
struct ExtendedKey {
    WORD virtualKey;
    uint8_t lead;
    uint8_t plain;
    uint8_t alt;
    uint8_t ctrl;
    uint8_t shift;
};

constexpr ExtendedKey kExtendedKeys[] = {
    {VK_HOME, 224, 71, 151, 119, 71},
    {VK_UP, 224, 72, 152, 141, 72},
    {VK_PRIOR, 224, 73, 153, 134, 73},
    {VK_LEFT, 224, 75, 155, 115, 75},
    {VK_RIGHT, 224, 77, 157, 116, 77},
    {VK_END, 224, 79, 159, 117, 79},
    {VK_DOWN, 224, 80, 154, 145, 80},
    {VK_NEXT, 224, 81, 161, 118, 81},
    {VK_INSERT, 224, 82, 162, 146, 82},
    {VK_DELETE, 224, 83, 163, 147, 83},
    {VK_F1, 0, 59, 104, 94, 84},
    {VK_F2, 0, 60, 105, 95, 85},
    {VK_F3, 0, 61, 106, 96, 86},
    {VK_F4, 0, 62, 107, 97, 87},
    {VK_F5, 0, 63, 108, 98, 88},
    {VK_F6, 0, 64, 109, 99, 89},
    {VK_F7, 0, 65, 110, 100, 90},
    {VK_F8, 0, 66, 111, 101, 91},
    {VK_F9, 0, 67, 112, 102, 92},
    {VK_F10, 0, 68, 113, 103, 93},
    {VK_F11, 224, 133, 139, 137, 135},
    {VK_F12, 224, 134, 140, 138, 136},
};

const ExtendedKey* FindExtendedKey(WORD virtualKey)
{
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.virtualKey == virtualKey) {
            return &key;
        }
    }
    return nullptr;
}

// Alt wins over Ctrl, Ctrl over Shift.
uint8_t SecondCode(const ExtendedKey& key, DWORD modifiers)
{
    if ((modifiers & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0) {
        return key.alt;
    }
    if ((modifiers & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0) {
        return key.ctrl;
    }
    if ((modifiers & SHIFT_PRESSED) != 0) {
        return key.shift;
    }
    return key.plain;
}

constexpr KeyCodes kNoKey = {-1, 0};

// A key-down event with a character gives that byte; one without a character
// gives two codes when it is a known extended key. Everything else (key
// releases, modifier and lock keys alone, mouse, focus and resize events)
// leaves the wait going.
KeyCodes DecodeRecord(const INPUT_RECORD& record)
{
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) {
        return kNoKey;
    }
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    const auto character = static_cast<unsigned char>(key.uChar.AsciiChar);
    if (character != 0) {
        return {character, 0};
    }
    const ExtendedKey* extended = FindExtendedKey(key.wVirtualKeyCode);
    if (extended == nullptr) {
        return kNoKey;
    }
    return {extended->lead, SecondCode(*extended, key.dwControlKeyState)};
}

HANDLE ConsoleInput()
{
    if (!m_consoleInputTried) {
        m_consoleInputTried = true;
        m_consoleInput = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    }
    return m_consoleInput;
}

// Reads records one at a time until one of them is a key press; one result
// per press, whatever its repeat count.
KeyCodes ReadKeyPress(HANDLE input)
{
    for (;;) {
        INPUT_RECORD record;
        DWORD count = 0;
        if (!ReadConsoleInputA(input, &record, 1, &count) || count == 0) {
            return kNoKey;
        }
        const KeyCodes key = DecodeRecord(record);
        if (key.first >= 0) {
            return key;
        }
    }
}

}  // namespace

KeyCodes ReadConsoleKey()
{
    const HANDLE input = ConsoleInput();
    if (input == INVALID_HANDLE_VALUE) {
        return kNoKey;
    }

    // Mode 0: no line input, no echo, and Ctrl+C arrives as the key 3
    // instead of ending the program. Keys already queued are kept.
    DWORD saved = 0;
    if (!GetConsoleMode(input, &saved) || !SetConsoleMode(input, 0)) {
        return kNoKey;
    }
    const KeyCodes key = ReadKeyPress(input);
    SetConsoleMode(input, saved);
    return key;
}
