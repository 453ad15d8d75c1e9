// Starts a program in this process's console and tells the caller its process
// id, so the key injector can attach to the same console.
//
//   launch.exe PIDFILE ERRFILE PROGRAM [ARGUMENT...]
//
// The program shares this process's console, standard input and standard
// output; its standard error goes to ERRFILE, so the caller can check it apart
// from the console's own output. PIDFILE receives the program's process id and
// a line break once the program runs. The exit status is the program's, or 120
// when it cannot be started.
//
// Under Wine a process gets a console only when one of its standard streams is
// a terminal; the caller therefore leaves this launcher's standard error on a
// pseudo-terminal and keeps standard input and output as pipes.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kCannotStart = 120;

// Quotes one argument so the program's start-up code splits it back exactly:
// backslashes are doubled only where they come before a quote.
std::string QuoteArgument(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, '\\');
    quoted.push_back('"');
    return quoted;
}

HANDLE CreateErrorFile(const char* path)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    return CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Written to a temporary name and renamed, so a reader never sees half a number.
bool WritePidFile(const char* path, DWORD pid)
{
    const std::string temporary = std::string(path) + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "%lu\n", static_cast<unsigned long>(pid));
    std::fclose(file);
    return MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: launch.exe PIDFILE ERRFILE PROGRAM [ARGUMENT...]\n");
        return kCannotStart;
    }
    std::string commandLine = QuoteArgument(argv[3]);
    for (int i = 4; i < argc; ++i) {
        commandLine += ' ';
        commandLine += QuoteArgument(argv[i]);
    }

    const HANDLE errors = CreateErrorFile(argv[2]);
    if (errors == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "launch.exe: cannot create %s\n", argv[2]);
        return kCannotStart;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = errors;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "launch.exe: cannot start %s (error %lu)\n", argv[3], GetLastError());
        return kCannotStart;
    }
    CloseHandle(errors);
    CloseHandle(process.hThread);
    if (!WritePidFile(argv[1], process.dwProcessId)) {
        std::fprintf(stderr, "launch.exe: cannot write %s\n", argv[1]);
    }

    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = kCannotStart;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
