// Standard output lines and the number input; the key wait is per platform.
#include "app/console.h"

#include "app/console_keys.h"

#include <cstdint>
#include <iostream>

void WriteLine(std::string_view text)
{
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    EndLine();
}

void WriteText(std::string_view text)
{
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void EndLine()
{
    std::cout.put('\n');
    std::cout.flush();
}

void FlushOutput()
{
    std::cout.flush();
}

namespace {

int32_t m_pendingKey = -1;  // the second code of a two-code key, for the next wait

bool IsBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

// Reads straight from standard input's buffer so that nothing after the
// number is taken, and so that a failed read leaves `value` alone (the
// stream's own extraction would store 0 or a clamped value).
void ReadNumber(int32_t& value)
{
    FlushOutput();
    std::streambuf* input = std::cin.rdbuf();
    constexpr int kEnd = std::char_traits<char>::eof();

    int c = input->sgetc();
    while (c != kEnd && IsBlank(c)) {
        c = input->snextc();
    }

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = (c == '-');
        c = input->snextc();
    }

    // The magnitude is capped just past the largest one that can fit, so a
    // long run of digits cannot overflow while it is consumed.
    constexpr int64_t kTooLarge = (int64_t{1} << 31) + 1;
    int64_t magnitude = 0;
    bool anyDigit = false;
    while (c >= '0' && c <= '9') {
        anyDigit = true;
        if (magnitude < kTooLarge) {
            magnitude = magnitude * 10 + (c - '0');
        }
        c = input->snextc();
    }

    const int64_t number = negative ? -magnitude : magnitude;
    if (anyDigit && number >= INT32_MIN && number <= INT32_MAX) {
        value = static_cast<int32_t>(number);
    }
}

int32_t WaitKey()
{
    if (m_pendingKey >= 0) {
        const int32_t key = m_pendingKey;
        m_pendingKey = -1;
        return key;
    }
    const KeyCodes key = ReadConsoleKey();
    if (key.first >= 0 && key.second != 0) {
        m_pendingKey = key.second;
    }
    return key.first;
}
