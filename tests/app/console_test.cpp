#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "app/console.h"

namespace {

struct NumberCase {
    const char* input;
    int32_t expected;   // with the preset 77
    const char* rest;   // what is left unread
};

TEST(ReadNumber, TakesOneSignedNumberAndLeavesTheRest)
{
    const NumberCase cases[] = {
        {"2\n", 2, "\n"},
        {"   2\n", 2, "\n"},
        {"\n\n  \t\n2x\n", 2, "x\n"},
        {"2abc", 2, "abc"},
        {"-3\n", -3, "\n"},
        {"+4", 4, ""},
        {"2147483647", 2147483647, ""},
        {"-2147483648", INT32_MIN, ""},
        {"2147483648", 77, ""},
        {"12345678901\n", 77, "\n"},
        {"abc\n", 77, "abc\n"},
        {"-x", 77, "x"},
        {"", 77, ""},
        {"\n\n", 77, ""},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.input);
        std::istringstream input(c.input);
        std::streambuf* saved = std::cin.rdbuf(input.rdbuf());
        int32_t value = 77;
        ReadNumber(value);
        std::cin.rdbuf(saved);
        EXPECT_EQ(value, c.expected);
        std::string rest;
        std::getline(input, rest, '\0');
        EXPECT_EQ(rest, c.rest);
    }
}

TEST(WriteLine, PiecesMakeOneLine)
{
    std::ostringstream output;
    std::streambuf* saved = std::cout.rdbuf(output.rdbuf());
    WriteText("Reading ");
    WriteText("a.bin");
    EndLine();
    WriteLine("done");
    WriteText("Select device to work with: ");
    std::cout.rdbuf(saved);
    EXPECT_EQ(output.str(), "Reading a.bin\ndone\nSelect device to work with: ");
}

}  // namespace
