// Calls the program's own WaitKey a given number of times and prints what
// each call returned, so the console layer can be checked key by key.
//
//   key_probe.exe COUNT
//
// One line per call: the code, then "restored" when the console input's mode
// after the call is the one it had before, else "changed". Starts with the
// line "ready" (flushed) so the caller knows the first wait is near.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/console.h"

namespace {

// The mode as any handle on this console's input sees it, or ~0 without one.
DWORD InputMode()
{
    const HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = ~DWORD{0};
    if (input != INVALID_HANDLE_VALUE) {
        GetConsoleMode(input, &mode);
        CloseHandle(input);
    }
    return mode;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0; i < count; ++i) {
        const DWORD before = InputMode();
        const int32_t key = WaitKey();
        const DWORD after = InputMode();
        std::printf("%d %s\n", static_cast<int>(key), before == after ? "restored" : "changed");
        std::fflush(stdout);
    }
    return 0;
}
