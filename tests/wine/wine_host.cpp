#include "tests/wine/wine_host.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace e2e::wine {

namespace {

const char kDriverKey[] = "HKLM\\SOFTWARE\\Orvalis LTD\\Corvane\\1.0\\PLX9050";
constexpr auto kPidFileLimit = std::chrono::seconds(15);

std::string Setting(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string Helper(const char* name)
{
    return Setting("KESTREL_E2E_WINE_HELPERS") + "/" + name;
}

// Runs a host command with its output thrown away; its exit status, or -1.
int RunQuietly(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the registry holds now, as far as this process set it, so that the
// many workspaces that all register the simulated DLL cost one reg.exe call.
std::string& RegistryState()
{
    static std::string state;
    return state;
}

std::string PidFile(const std::string& workspace) { return workspace + "/wine.pid"; }
std::string ErrorFile(const std::string& workspace) { return workspace + "/wine.err"; }

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The process id that launch.exe wrote, once it is there.
std::string WaitForPid(const std::string& workspace)
{
    const auto deadline = std::chrono::steady_clock::now() + kPidFileLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string text = ReadAll(PidFile(workspace));
        if (!text.empty() && text.back() == '\n') {
            return text.substr(0, text.size() - 1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "";
}

// The key a terminal's bytes stand for, as inject_keys.exe names it.
std::string KeyName(const std::string& bytes)
{
    if (bytes == "\x1b") {
        return "esc";
    }
    if (bytes == "\x03") {
        return "ctrl-c";
    }
    if (bytes == "\r" || bytes == "\n") {
        return "enter";
    }
    if (bytes == "\x1b[A") {
        return "up";
    }
    if (bytes.size() == 1 && bytes[0] > ' ' && bytes[0] < 0x7f) {
        return bytes;
    }
    // A terminal sequence that stands for no key; a Windows console has no
    // such thing, so the nearest is an event that ends no wait either.
    return "shift";
}

}  // namespace

bool Enabled()
{
    static const bool enabled = !Setting("KESTREL_E2E_WINE_PROGRAM").empty();
    return enabled;
}

std::string WindowsPath(const std::string& hostPath)
{
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

std::string ProgramPath(const std::string& hostPath)
{
    return Enabled() ? WindowsPath(hostPath) : hostPath;
}

std::string SimulatedLibrary()
{
    return WindowsPath(Setting("KESTREL_E2E_WINE_SIM"));
}

void SetLibraryPath(const std::string& windowsPath, const std::string& type)
{
    const std::string state = type + ":" + windowsPath;
    if (RegistryState() == state) {
        return;
    }
    const int status = RunQuietly({"wine", "reg", "add", kDriverKey, "/v", "path", "/t", type, "/d", windowsPath, "/f"});
    EXPECT_EQ(status, 0) << "reg add " << type << " " << windowsPath;
    RegistryState() = status == 0 ? state : "";
}

void DeleteLibraryKey()
{
    if (RegistryState() == "deleted") {
        return;
    }
    // Fails harmlessly when the key is not there.
    RunQuietly({"wine", "reg", "delete", kDriverKey, "/f"});
    RegistryState() = "deleted";
}

std::vector<std::string> Command(const std::string& workspace, const std::vector<std::string>& args, bool terminal)
{
    std::vector<std::string> command = {"wine"};
    if (terminal) {
        // A process id left by an earlier run in this workspace is stale.
        unlink(PidFile(workspace).c_str());
        unlink(ErrorFile(workspace).c_str());
        command.insert(command.end(), {Helper("launch.exe"), WindowsPath(PidFile(workspace)),
                                       WindowsPath(ErrorFile(workspace))});
    }
    command.push_back(WindowsPath(Setting("KESTREL_E2E_WINE_PROGRAM")));
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

bool KeepsErrorsOnTerminal(bool terminal)
{
    return Enabled() && terminal;
}

std::string TerminalRunErrors(const std::string& workspace)
{
    return ReadAll(ErrorFile(workspace));
}

void SendKey(const std::string& workspace, const std::string& bytes)
{
    const std::string pid = WaitForPid(workspace);
    if (pid.empty()) {
        ADD_FAILURE() << "launch.exe told no process id";
        return;
    }
    EXPECT_EQ(RunQuietly({"wine", Helper("inject_keys.exe"), pid, KeyName(bytes)}), 0)
        << "inject_keys.exe " << KeyName(bytes);
}

std::string ProgramLineEnds(const std::string& text)
{
    if (!Enabled()) {
        return text;
    }
    std::string converted;
    for (char c : text) {
        if (c == '\n') {
            converted.push_back('\r');
        }
        converted.push_back(c);
    }
    return converted;
}

std::string PlainLineEnds(const std::string& output)
{
    std::string plain;
    for (size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\n' && (i == 0 || output[i - 1] != '\r')) {
            ADD_FAILURE() << "a line break without CR at byte " << i << " of the output";
        }
        if (output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n') {
            continue;
        }
        plain.push_back(output[i]);
    }
    return plain;
}

}  // namespace e2e::wine
