#include "tests/e2e/harness.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/wine/wine_host.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

constexpr auto kRunTimeLimit = std::chrono::seconds(20);
const char kKeyFolder[] = "/SOFTWARE/Orvalis LTD/Corvane/1.0/PLX9050";

std::string RegistryKeyFolder()
{
    return std::string(KESTREL_E2E_REGISTRY) + kKeyFolder;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Drains whatever a pipe holds right now into `sink`; false once it is closed.
bool DrainPipe(int fd, std::string& sink)
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0) {
            sink.append(buffer, static_cast<size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno == EAGAIN) {
            return true;
        }
        return false;
    }
}

bool InKeyWait(int terminal)
{
    termios mode;
    return tcgetattr(terminal, &mode) == 0 && (mode.c_lflag & (ICANON | ECHO)) == 0;
}

bool SameMode(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// The test runner may be started with a standard stream closed (CI gives it
// no standard input). A pipe would then take that number, and the child's
// redirection would close it again; /dev/null keeps the numbers taken.
void KeepStandardStreamsOpen()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) {
            open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        }
    }
}

struct Pipes {
    int input[2] = {-1, -1};
    int output[2] = {-1, -1};
    int errors[2] = {-1, -1};
};

[[noreturn]] void ExecProgram(const Pipes& pipes, const std::string& dir, const std::vector<std::string>& command,
                              const std::string& config, bool errorsOnTerminal)
{
    dup2(pipes.input[0], STDIN_FILENO);
    dup2(pipes.output[1], STDOUT_FILENO);
    if (!errorsOnTerminal) {
        dup2(pipes.errors[1], STDERR_FILENO);
    }
    for (int fd : {pipes.input[0], pipes.input[1], pipes.output[0], pipes.output[1], pipes.errors[0], pipes.errors[1]}) {
        close(fd);
    }
    if (chdir(dir.c_str()) != 0) {
        _exit(126);
    }
    setenv("KESTREL_SIM_CONFIG", config.c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

}  // namespace

Workspace::Workspace()
{
    char pattern[] = "/tmp/kestrel-e2e-XXXXXX";
    const char* made = mkdtemp(pattern);
    dir_ = made ? made : "";
    WriteConfig();
    RegisterSimulatedLibrary();
}

Workspace::~Workspace()
{
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

void Workspace::SetBoards(const std::vector<std::string>& boardLines)
{
    boards_ = boardLines;
    WriteConfig();
}

void Workspace::SetInterfaceNull()
{
    interfaceNull_ = true;
    WriteConfig();
}

void Workspace::SetEeproms(const std::string& bytes) { WriteBytes(Path("state.bin"), bytes); }

std::string Workspace::Eeproms() const { return ReadBytes(Path("state.bin")); }

void Workspace::WriteConfig() const
{
    std::ostringstream config;
    config << "state " << wine::ProgramPath(Path("state.bin")) << "\n";
    config << "log " << wine::ProgramPath(Path("calls.log")) << "\n";
    if (interfaceNull_) {
        config << "interface null\n";
    }
    for (const std::string& line : boards_) {
        config << line << "\n";
    }
    WriteBytes(Path("sim.conf"), config.str());
}

void Workspace::WriteFile(const std::string& name, const std::string& bytes) const { WriteBytes(Path(name), bytes); }

bool Workspace::Exists(const std::string& name) const { return fs::exists(Path(name)); }

std::string Workspace::ReadFile(const std::string& name) const { return ReadBytes(Path(name)); }

std::vector<std::string> Workspace::Calls() const
{
    std::vector<std::string> calls;
    std::ifstream log(Path("calls.log"));
    for (std::string line; std::getline(log, line);) {
        // The Windows build of the library writes its record in text mode.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        calls.push_back(line);
    }
    return calls;
}

void Workspace::RegisterSimulatedLibrary() const
{
    RegisterLibraryPath(wine::Enabled() ? wine::SimulatedLibrary() : KESTREL_E2E_SIM);
}

void Workspace::RegisterLibraryPath(const std::string& path) const
{
    if (wine::Enabled()) {
        wine::SetLibraryPath(path);
        return;
    }
    fs::create_directories(RegistryKeyFolder());
    WriteBytes(RegistryKeyFolder() + "/path", path + "\n");
}

void Workspace::UnregisterLibrary() const
{
    if (wine::Enabled()) {
        wine::DeleteLibraryKey();
        return;
    }
    std::error_code ignored;
    fs::remove_all(std::string(KESTREL_E2E_REGISTRY) + "/SOFTWARE", ignored);
}

Result Workspace::Start(const Launch& run) const
{
    Result result;
    KeepStandardStreamsOpen();
    Pipes pipes;
    if (pipe(pipes.input) != 0 || pipe(pipes.output) != 0 || pipe(pipes.errors) != 0) {
        return result;
    }

    std::vector<std::string> command = {KESTREL_E2E_PROGRAM};
    command.insert(command.end(), run.args.begin(), run.args.end());
    if (wine::Enabled()) {
        command = wine::Command(dir_, run.args, run.terminal);
    }
    const bool errorsOnTerminal = wine::KeepsErrorsOnTerminal(run.terminal);

    int master = -1;
    pid_t child;
    if (run.terminal) {
        child = forkpty(&master, nullptr, nullptr, nullptr);
    } else {
        child = fork();
        if (child == 0) {
            setsid();  // no controlling terminal: every key wait returns at once
        }
    }
    if (child == 0) {
        ExecProgram(pipes, dir_, command, wine::ProgramPath(Path("sim.conf")), errorsOnTerminal);
    }

    close(pipes.input[0]);
    close(pipes.output[1]);
    close(pipes.errors[1]);
    // The whole input is there from the start, as if typed ahead.
    if (!run.input.empty()) {
        const ssize_t written = write(pipes.input[1], run.input.data(), run.input.size());
        (void)written;
    }
    close(pipes.input[1]);
    fcntl(pipes.output[0], F_SETFL, O_NONBLOCK);
    fcntl(pipes.errors[0], F_SETFL, O_NONBLOCK);

    // The parent watches the terminal through its own handle on the slave side.
    int slave = -1;
    termios before{};
    if (run.terminal) {
        slave = open(ptsname(master), O_RDWR | O_NOCTTY);
        tcgetattr(slave, &before);
    }

    const auto deadline = std::chrono::steady_clock::now() + kRunTimeLimit;
    size_t nextKey = 0;
    bool outputOpen = true;
    bool errorsOpen = true;
    while (outputOpen || errorsOpen) {
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(child, SIGKILL);
            break;
        }
        pollfd watch[2] = {{pipes.output[0], POLLIN, 0}, {pipes.errors[0], POLLIN, 0}};
        poll(watch, 2, 10);
        if (outputOpen) {
            outputOpen = DrainPipe(pipes.output[0], result.output);
        }
        if (errorsOpen) {
            errorsOpen = DrainPipe(pipes.errors[0], result.errors);
        }
        if (run.terminal && master >= 0) {
            // Keep the terminal's own echo and output from filling up.
            char sink[256];
            fcntl(master, F_SETFL, O_NONBLOCK);
            while (read(master, sink, sizeof sink) > 0) {
            }
        }
        if (nextKey < run.keys.size() &&
            result.output.find(wine::ProgramLineEnds(run.keys[nextKey].afterOutput)) != std::string::npos &&
            (wine::Enabled() || run.keys[nextKey].typedAhead || InKeyWait(slave))) {
            const std::string& bytes = run.keys[nextKey].bytes;
            if (wine::Enabled()) {
                // Typed into the program's console once it waits.
                wine::SendKey(dir_, bytes);
            } else {
                const ssize_t written = write(master, bytes.data(), bytes.size());
                (void)written;
            }
            ++nextKey;
        }
    }

    int status = 0;
    waitpid(child, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (run.terminal) {
        termios after{};
        tcgetattr(slave, &after);
        result.terminalRestored = SameMode(before, after);
        close(slave);
        close(master);
    }
    close(pipes.output[0]);
    close(pipes.errors[0]);
    if (wine::Enabled()) {
        result.output = wine::PlainLineEnds(result.output);
        if (errorsOnTerminal) {
            result.errors = wine::TerminalRunErrors(dir_);
        }
    }
    return result;
}

Result RunChecked(const Workspace& ws, const Launch& run)
{
    Result result = ws.Start(run);
    EXPECT_FALSE(result.timedOut) << "the run did not end by itself; its output:\n" << result.output;
    EXPECT_EQ(result.errors, "") << "nothing may go to standard error";
    EXPECT_TRUE(result.terminalRestored) << "the terminal's mode must be restored";
    return result;
}

Result RunChecked(const Workspace& ws, const std::vector<std::string>& args, const std::string& input)
{
    Launch run;
    run.args = args;
    run.input = input;
    return RunChecked(ws, run);
}

int CountCalls(const std::vector<std::string>& calls, const std::string& prefix)
{
    int count = 0;
    for (const std::string& call : calls) {
        count += call.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    }
    return count;
}

std::string LastWrittenImage(const std::vector<std::string>& calls)
{
    std::string image;
    for (const std::string& call : calls) {
        if (call.compare(0, 11, "WriteFlash ") == 0) {
            const std::string hex = call.substr(11, 256);
            image.clear();
            for (size_t i = 0; i + 1 < hex.size(); i += 2) {
                image.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
            }
        }
    }
    return image;
}

std::string Hex(const std::string& bytes)
{
    std::string text;
    char pair[4];
    for (unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x ", byte);
        text += pair;
    }
    return text;
}

}  // namespace e2e
