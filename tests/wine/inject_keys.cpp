// Types keys into another process's console the way a Windows console
// delivers them: one key-down and one key-up input record per key, with the
// virtual key, scan code, character and modifier state a real keyboard gives.
//
//   inject_keys.exe PID KEY...
//
// Attaches to the console of process PID, waits until that console's input is
// in mode 0 (the program is inside its key wait), then writes all the keys at
// once. Exit status 0 when written, 1 on any failure (told on standard error).
//
// A KEY is a name from the table below (esc, enter, ctrl-c, up, f1, shift,
// ...), a single printable character ("y", "Q"), or one of these forms:
//   alt+NAME, ctrl+NAME, shift+NAME  the key with that modifier held
//   NAME*N                           one record with repeat count N
//   up-only:NAME                     only the key's release
//   mouse, resize, focus             an event that is not a key
//
// Why not type on the terminal: Wine's terminal console turns typed bytes
// into records of its own making (seen with Wine 8: a lone ESC arrives with
// character 0, a typed cursor key without the enhanced-key flag, and Ctrl+C
// never arrives because the terminal's signal keys stay on and the process is
// killed with exit status 0). Writing the records straight into the console
// gives the program what a real Windows console gives it.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitLimitMs = 15000;
constexpr DWORD kPollMs = 10;

struct NamedKey {
    const char* name;
    WORD virtualKey;
    WORD scanCode;
    char character;
    DWORD state;  // modifier and enhanced-key flags the key itself sets
};

constexpr NamedKey kKeys[] = {
    {"esc", VK_ESCAPE, 0x01, 27, 0},
    {"enter", VK_RETURN, 0x1C, 13, 0},
    {"space", VK_SPACE, 0x39, ' ', 0},
    {"ctrl-c", 'C', 0x2E, 3, LEFT_CTRL_PRESSED},
    {"up", VK_UP, 0x48, 0, ENHANCED_KEY},
    {"down", VK_DOWN, 0x50, 0, ENHANCED_KEY},
    {"left", VK_LEFT, 0x4B, 0, ENHANCED_KEY},
    {"right", VK_RIGHT, 0x4D, 0, ENHANCED_KEY},
    {"home", VK_HOME, 0x47, 0, ENHANCED_KEY},
    {"end", VK_END, 0x4F, 0, ENHANCED_KEY},
    {"pgup", VK_PRIOR, 0x49, 0, ENHANCED_KEY},
    {"pgdn", VK_NEXT, 0x51, 0, ENHANCED_KEY},
    {"insert", VK_INSERT, 0x52, 0, ENHANCED_KEY},
    {"delete", VK_DELETE, 0x53, 0, ENHANCED_KEY},
    {"f1", VK_F1, 0x3B, 0, 0},
    {"f10", VK_F10, 0x44, 0, 0},
    {"f11", VK_F11, 0x57, 0, 0},
    {"f12", VK_F12, 0x58, 0, 0},
    {"shift", VK_SHIFT, 0x2A, 0, SHIFT_PRESSED},
    {"ctrl", VK_CONTROL, 0x1D, 0, LEFT_CTRL_PRESSED},
    {"alt", VK_MENU, 0x38, 0, LEFT_ALT_PRESSED},
    {"capslock", VK_CAPITAL, 0x3A, 0, CAPSLOCK_ON},
};

INPUT_RECORD KeyRecord(const NamedKey& key, bool down, WORD repeat, DWORD extraState)
{
    INPUT_RECORD record = {};
    record.EventType = KEY_EVENT;
    KEY_EVENT_RECORD& event = record.Event.KeyEvent;
    event.bKeyDown = down ? TRUE : FALSE;
    event.wRepeatCount = repeat;
    event.wVirtualKeyCode = key.virtualKey;
    event.wVirtualScanCode = key.scanCode;
    event.uChar.AsciiChar = key.character;
    event.dwControlKeyState = key.state | extraState;
    // A modifier key's own release no longer has it held.
    if (!down && (key.virtualKey == VK_SHIFT || key.virtualKey == VK_CONTROL || key.virtualKey == VK_MENU)) {
        event.dwControlKeyState &= ~key.state;
    }
    return record;
}

bool FindKey(const std::string& name, NamedKey& key)
{
    for (const NamedKey& candidate : kKeys) {
        if (name == candidate.name) {
            key = candidate;
            return true;
        }
    }
    if (name.size() == 1 && std::isprint(static_cast<unsigned char>(name[0]))) {
        // The keyboard layout says which key and which shift state type it.
        const SHORT typed = VkKeyScanA(name[0]);
        key.name = "";
        key.virtualKey = LOBYTE(typed);
        key.scanCode = static_cast<WORD>(MapVirtualKeyA(key.virtualKey, MAPVK_VK_TO_VSC));
        key.character = name[0];
        key.state = (HIBYTE(typed) & 1) != 0 ? SHIFT_PRESSED : 0;
        return true;
    }
    return false;
}

INPUT_RECORD OtherEvent(const std::string& name)
{
    INPUT_RECORD record = {};
    if (name == "mouse") {
        record.EventType = MOUSE_EVENT;
        record.Event.MouseEvent.dwMousePosition = {3, 2};
        record.Event.MouseEvent.dwButtonState = FROM_LEFT_1ST_BUTTON_PRESSED;
    } else if (name == "resize") {
        record.EventType = WINDOW_BUFFER_SIZE_EVENT;
        record.Event.WindowBufferSizeEvent.dwSize = {100, 40};
    } else {
        record.EventType = FOCUS_EVENT;
        record.Event.FocusEvent.bSetFocus = TRUE;
    }
    return record;
}

// Turns one KEY argument into its records; false when it names nothing.
bool AddRecords(std::string spec, std::vector<INPUT_RECORD>& records)
{
    if (spec == "mouse" || spec == "resize" || spec == "focus") {
        records.push_back(OtherEvent(spec));
        return true;
    }
    bool releaseOnly = false;
    if (spec.rfind("up-only:", 0) == 0) {
        releaseOnly = true;
        spec.erase(0, 8);
    }
    DWORD modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& prefix : {std::make_pair("alt+", LEFT_ALT_PRESSED),
                                   std::make_pair("ctrl+", LEFT_CTRL_PRESSED), std::make_pair("shift+", SHIFT_PRESSED)}) {
            if (spec.rfind(prefix.first, 0) == 0 && spec.size() > std::strlen(prefix.first)) {
                modifiers |= prefix.second;
                spec.erase(0, std::strlen(prefix.first));
                found = true;
            }
        }
    }
    WORD repeat = 1;
    const size_t star = spec.find('*');
    if (star != std::string::npos && star > 0) {
        repeat = static_cast<WORD>(std::atoi(spec.c_str() + star + 1));
        spec.erase(star);
    }
    NamedKey key;
    if (!FindKey(spec, key)) {
        return false;
    }
    if (!releaseOnly) {
        records.push_back(KeyRecord(key, true, repeat, modifiers));
    }
    records.push_back(KeyRecord(key, false, 1, modifiers));
    return true;
}

bool AttachTo(DWORD pid)
{
    FreeConsole();
    const DWORD start = GetTickCount();
    while (!AttachConsole(pid)) {
        if (GetTickCount() - start > kWaitLimitMs) {
            return false;
        }
        Sleep(kPollMs);
    }
    return true;
}

bool WaitForRawMode(HANDLE input)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD mode = 0;
        if (GetConsoleMode(input, &mode) && mode == 0) {
            return true;
        }
        if (GetTickCount() - start > kWaitLimitMs) {
            return false;
        }
        Sleep(kPollMs);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: inject_keys.exe PID KEY...\n");
        return 1;
    }
    std::vector<INPUT_RECORD> records;
    for (int i = 2; i < argc; ++i) {
        if (!AddRecords(argv[i], records)) {
            std::fprintf(stderr, "inject_keys.exe: unknown key %s\n", argv[i]);
            return 1;
        }
    }
    const DWORD pid = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    if (!AttachTo(pid)) {
        std::fprintf(stderr, "inject_keys.exe: cannot attach to the console of process %lu (error %lu)\n",
                     static_cast<unsigned long>(pid), GetLastError());
        return 1;
    }
    const HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "inject_keys.exe: no console input\n");
        return 1;
    }
    if (!WaitForRawMode(input)) {
        std::fprintf(stderr, "inject_keys.exe: the program never entered its key wait\n");
        return 1;
    }
    DWORD written = 0;
    if (!WriteConsoleInputA(input, records.data(), static_cast<DWORD>(records.size()), &written) ||
        written != records.size()) {
        std::fprintf(stderr, "inject_keys.exe: writing the keys failed (error %lu)\n", GetLastError());
        return 1;
    }
    return 0;
}
