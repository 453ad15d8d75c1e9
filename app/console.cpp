// Standard output lines and the number input; the key wait is per platform.
#include "app/console.h"

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
