// Lets the end-to-end harness run Kestrel.exe under Wine instead of the host
// program. tests/wine/run-tests.sh turns it on by setting, beside WINEPREFIX:
//   KESTREL_E2E_WINE_PROGRAM  Kestrel.exe
//   KESTREL_E2E_WINE_SIM      plx9050sim.dll
//   KESTREL_E2E_WINE_HELPERS  the folder of launch.exe and inject_keys.exe
// Without them every test runs the host program as before.
#ifndef KESTREL_TESTS_WINE_WINE_HOST_H
#define KESTREL_TESTS_WINE_WINE_HOST_H

#include <string>
#include <vector>

namespace e2e::wine {

bool Enabled();

// The Windows form of a host path ("/tmp/x" is "Z:\tmp\x").
std::string WindowsPath(const std::string& hostPath);

// A host path as the program sees it: its Windows form under Wine, else
// unchanged.
std::string ProgramPath(const std::string& hostPath);

// The simulated DLL's path in Windows form.
std::string SimulatedLibrary();

// The registry value "path" of the driver library's key, through Wine's own
// reg.exe, with `type` REG_SZ, REG_EXPAND_SZ, ...; or the whole key deleted.
void SetLibraryPath(const std::string& windowsPath, const std::string& type = "REG_SZ");
void DeleteLibraryKey();

// The command line that starts the program in `workspace`. A terminal run
// goes through launch.exe, which tells the program's process id so keys can
// be typed into its console, and keeps its standard error apart.
std::vector<std::string> Command(const std::string& workspace, const std::vector<std::string>& args,
                                 bool terminal);

// For a terminal run: whether the child's standard error stays on the
// pseudo-terminal (Wine makes a console only for a process with a standard
// stream on a terminal), and what the program wrote to its standard error.
bool KeepsErrorsOnTerminal(bool terminal);
std::string TerminalRunErrors(const std::string& workspace);

// Types the key that a terminal would send as `bytes` into the program's
// console, once the program is inside its key wait. A key that could not be
// typed fails the running test.
void SendKey(const std::string& workspace, const std::string& bytes);

// A text as the program writes it: under Wine with CR LF line breaks.
std::string ProgramLineEnds(const std::string& text);

// The output with every CR LF made a plain line break; a line break without
// its carriage return fails the running test.
std::string PlainLineEnds(const std::string& output);

}  // namespace e2e::wine

#endif
