// Runs the real program against the simulated board library and collects
// exactly what a technician or a script would see: the output bytes, the
// exit status, the files, and the library's record of calls.
#ifndef KESTREL_TESTS_E2E_HARNESS_H
#define KESTREL_TESTS_E2E_HARNESS_H

#include <string>
#include <vector>

namespace e2e {

// One key press sent on the pseudo-terminal once the output holds
// `afterOutput` (counted from the start of the run) and the program has put
// the terminal into raw mode, i.e. is inside its key wait.
struct KeyPress {
    std::string afterOutput;
    std::string bytes;
    bool typedAhead = false;  // sent as soon as the output is there, before the wait
};

struct Launch {
    std::vector<std::string> args;
    std::string input;            // standard input (a pipe)
    bool terminal = false;        // give the program a controlling terminal
    std::vector<KeyPress> keys;   // sent in order; needs `terminal`
};

struct Result {
    std::string output;  // standard output, byte for byte
    std::string errors;  // standard error: must stay empty
    int exitStatus = -1;
    bool timedOut = false;
    bool terminalRestored = true;  // the terminal's mode after the run is the one before it
};

// A private folder for one test: the simulated library's configuration,
// its state file and call record, and the files the program reads and writes.
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const std::string& dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // The simulated boards, one configuration line each ("board 0x1adc1 init=2").
    void SetBoards(const std::vector<std::string>& boardLines);
    void SetInterfaceNull();
    // The EEPROMs the boards hold (device order, 128 bytes per board).
    void SetEeproms(const std::string& bytes);
    std::string Eeproms() const;

    void WriteFile(const std::string& name, const std::string& bytes) const;
    bool Exists(const std::string& name) const;
    std::string ReadFile(const std::string& name) const;

    // The library's call record, one call per line.
    std::vector<std::string> Calls() const;

    // Points the program's registry at the simulated library, or at `path`,
    // or removes the key.
    void RegisterSimulatedLibrary() const;
    void RegisterLibraryPath(const std::string& path) const;
    void UnregisterLibrary() const;

    // Runs the program in this folder with this folder's configuration.
    Result Start(const Launch& run) const;

private:
    void WriteConfig() const;

    std::string dir_;
    std::vector<std::string> boards_;
    bool interfaceNull_ = false;
};

// Runs the program and checks what every run must keep: it ends by itself,
// writes nothing to standard error, and leaves the terminal's mode as it
// found it.
Result RunChecked(const Workspace& ws, const Launch& run);
// The same for a run with these arguments and this standard input, without
// a terminal.
Result RunChecked(const Workspace& ws, const std::vector<std::string>& args, const std::string& input = "");

// Reading helpers for the call record.
int CountCalls(const std::vector<std::string>& calls, const std::string& prefix);
// The bytes given to the last WriteFlash, or "" when it was never called.
std::string LastWrittenImage(const std::vector<std::string>& calls);

// Hexadecimal text of bytes, for readable comparisons.
std::string Hex(const std::string& bytes);

}  // namespace e2e

#endif
