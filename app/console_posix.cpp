// Key input from the controlling terminal (/dev/tty), so keys come from the
// user even when standard input is redirected.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "app/console_keys.h"
#include "app/terminal_keys.h"

namespace {

constexpr int kNotOpenedYet = -2;

int m_terminal = kNotOpenedYet;  // the open terminal, or -1 when there is none

class TerminalReader : public TerminalBytes {
public:
    explicit TerminalReader(int fd) : fd_(fd) {}

    int Next(int timeoutMs) override
    {
        if (timeoutMs >= 0 && !WaitReadable(timeoutMs)) {
            return failed_ ? kInputFailed : kNoByteYet;
        }
        unsigned char byte = 0;
        for (;;) {
            const ssize_t count = read(fd_, &byte, 1);
            if (count == 1) {
                return byte;
            }
            if (count < 0 && errno == EINTR) {
                continue;
            }
            return kInputFailed;  // end of input (terminal hung up) or an error
        }
    }

private:
    bool WaitReadable(int timeoutMs)
    {
        pollfd request = {fd_, POLLIN, 0};
        for (;;) {
            const int ready = poll(&request, 1, timeoutMs);
            if (ready >= 0) {
                // POLLHUP without data is left to read(), which then fails.
                return ready > 0;
            }
            if (errno != EINTR) {
                failed_ = true;
                return false;
            }
        }
    }

    int fd_;
    bool failed_ = false;
};

// No line input, no echo, no signal keys (Ctrl+C arrives as 3), no flow
// control and no translation of Enter, one byte at a time.
termios RawMode(termios mode)
{
    mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL | ISIG | IEXTEN);
    mode.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT);
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
    return mode;
}

}  // namespace

KeyCodes ReadConsoleKey()
{
    constexpr KeyCodes kNoKey = {-1, 0};
    if (m_terminal == kNotOpenedYet) {
        m_terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    if (m_terminal < 0) {
        return kNoKey;
    }

    termios saved;
    if (tcgetattr(m_terminal, &saved) != 0) {
        return kNoKey;
    }
    // TCSANOW keeps keys typed before the wait: they end it at once.
    const termios raw = RawMode(saved);
    if (tcsetattr(m_terminal, TCSANOW, &raw) != 0) {
        return kNoKey;
    }
    TerminalReader reader(m_terminal);
    const KeyCodes key = ReadKeyPress(reader);
    tcsetattr(m_terminal, TCSANOW, &saved);
    return key;
}
