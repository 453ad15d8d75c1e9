#include <gtest/gtest.h>

#include <string>

#include "app/terminal_keys.h"

namespace {

// Bytes as a terminal would deliver them; a pause is marked by '|', the end
// of input follows the last byte.
class ScriptedBytes : public TerminalBytes {
public:
    explicit ScriptedBytes(std::string script) : script_(std::move(script)) {}

    int Next(int timeoutMs) override
    {
        if (at_ < script_.size() && script_[at_] == '|') {
            if (timeoutMs >= 0) {
                return kNoByteYet;  // the pause outlasts any wait for more bytes
            }
            ++at_;
        }
        if (at_ >= script_.size()) {
            return timeoutMs >= 0 ? kNoByteYet : kInputFailed;
        }
        return static_cast<unsigned char>(script_[at_++]);
    }

    size_t consumed() const { return at_; }

private:
    std::string script_;
    size_t at_ = 0;
};

struct KeyCase {
    const char* name;
    std::string bytes;
    int32_t first;
    int32_t second;
};

TEST(TerminalKeys, DecodesCharactersAndKeySequences)
{
    const KeyCase cases[] = {
        {"letter", "a", 'a', 0},
        {"capital", "Q", 'Q', 0},
        {"enter", "\r", 13, 0},
        {"ctrl+c", "\x03", 3, 0},
        {"high byte", "\xe9", 0xe9, 0},
        {"lone esc", "\x1b|x", 27, 0},
        {"esc at end", "\x1b", 27, 0},
        {"alt+x", "\x1bx", 'x', 0},
        {"up", "\x1b[A", 224, 72},
        {"down app mode", "\x1bOB", 224, 80},
        {"left", "\x1b[D", 224, 75},
        {"right", "\x1b[C", 224, 77},
        {"ctrl+right", "\x1b[1;5C", 224, 77},
        {"home", "\x1b[H", 224, 71},
        {"home vt", "\x1b[1~", 224, 71},
        {"end", "\x1b[F", 224, 79},
        {"end vt", "\x1b[4~", 224, 79},
        {"page up", "\x1b[5~", 224, 73},
        {"page down", "\x1b[6~", 224, 81},
        {"insert", "\x1b[2~", 224, 82},
        {"delete", "\x1b[3~", 224, 83},
        {"f1", "\x1bOP", 0, 59},
        {"f4", "\x1bOS", 0, 62},
        {"f1 linux console", "\x1b[[A", 0, 59},
        {"f5", "\x1b[15~", 0, 63},
        {"f6", "\x1b[17~", 0, 64},
        {"f10", "\x1b[21~", 0, 68},
        {"f11", "\x1b[23~", 224, 133},
        {"f12 with shift", "\x1b[24;2~", 224, 134},
        {"unknown sequence then a key", "\x1b[99z" "k", 'k', 0},
        {"broken sequence then a key", "\x1b[1|k", 'k', 0},
        {"unknown then esc", "\x1b[200~\x1b", 27, 0},
        {"nothing", "", -1, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBytes bytes(c.bytes);
        const KeyCodes key = ReadKeyPress(bytes);
        EXPECT_EQ(key.first, c.first);
        EXPECT_EQ(key.second, c.second);
    }
}

TEST(TerminalKeys, ASequenceIsConsumedWholeAndNothingMore)
{
    ScriptedBytes bytes("\x1b[3~z");
    ReadKeyPress(bytes);
    EXPECT_EQ(bytes.consumed(), 4u);
}

}  // namespace
