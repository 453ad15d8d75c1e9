// The usage printer: the program's usage text, and the layout rules on small
// tables of their own.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "option/option_table.h"
#include "option/usage.h"
#include "option/usage_internal.h"
#include "tests/fixtures/expected_texts.h"

namespace option {
namespace {

using PrintUsageImplementation::IStringWriter;

// Collects the text, and checks that line breaks and spaces of alignment
// come one per write.
class StringWriter : public IStringWriter {
public:
    void Write(const char* text, size_t count) override
    {
        const std::string piece(text, count);
        if (piece.find('\n') != std::string::npos || (count > 0 && piece.find_first_not_of(' ') == std::string::npos)) {
            EXPECT_EQ(count, 1u) << "line break or space written with others: \"" << piece << "\"";
        }
        output += piece;
    }
    std::string output;
};

std::string Usage(const OptionSpec* table)
{
    StringWriter writer;
    WriteUsage(writer, table);
    return writer.output;
}

// A table with one row per help text; null stands for a row without one.
std::string Usage(const std::vector<const char*>& helpTexts)
{
    std::vector<OptionSpec> table;
    for (const char* text : helpTexts) {
        table.push_back({0, 0, "", "", CheckNoValue, text});
    }
    table.push_back({0, 0, nullptr, nullptr, nullptr, nullptr});
    return Usage(table.data());
}

// "abc abc ... abc": `count` words, 4 * count - 1 characters.
std::string Words(int count)
{
    std::string text;
    for (int index = 0; index < count; ++index) {
        text += index == 0 ? "abc" : " abc";
    }
    return text;
}

std::string Spaces(int count)
{
    return std::string(static_cast<size_t>(count), ' ');
}

TEST(Usage, ProgramUsageText)
{
    EXPECT_EQ(Usage(OptionTable), fixtures::UsageText());
}

TEST(Usage, StreamWriterWritesTheBytesAsGiven)
{
    std::ostringstream stream;
    PrintUsageImplementation::OStreamWriter writer(stream);
    writer.Write("ab\0cd", 4);
    writer.Write("x", 0);
    EXPECT_EQ(stream.str(), std::string("ab\0c", 4));

    std::ostringstream usage;
    PrintUsageImplementation::OStreamWriter usageWriter(usage);
    WriteUsage(usageWriter, OptionTable);
    EXPECT_EQ(usage.str(), Usage(OptionTable));
}

TEST(Usage, Layouts)
{
    const std::string wide = "\xE5\xAD\x97";  // U+5B57, two columns
    const std::string c50(50, 'c');
    const std::string w90(90, 'w');
    const std::string x80(80, 'x');
    const std::string a79(79, 'a');
    const std::string line80 = Words(19) + " efgh";  // 80 characters, no space at the end
    std::string x80Times17;
    for (int index = 0; index < 17; ++index) {
        x80Times17 += x80;
    }
    std::string x80Lines17;
    for (int index = 0; index < 17; ++index) {
        x80Lines17 += x80 + "\n";
    }
    struct Case {
        const char* name;
        std::vector<const char*> rows;
        std::string expected;
    };
    const std::string noTabs = line80 + " tail";
    const std::string plainAfterTable = "ab \tcd\n" + Words(25);
    const std::string hardCut = std::string(85, 'x') + " yz";
    const std::string lastColumn = "-o \t" + Words(25);
    const std::string wideUncut = a79 + wide + "b";
    const std::string wideAligned1 = wide + wide + "\tx";
    const std::string pastNext = w90 + "\ty";
    const std::string flowing = "-o \t" + Words(25) + "\vend";
    const std::string below = c50 + "\t" + Words(16) + "\nab\tcd\nplain";
    const std::vector<Case> cases = {
        // No tab anywhere: one column, wrapped at 80 at the space right
        // after the 80th character, which is dropped.
        {"block without tabs", {noTabs.c_str()}, line80 + "\ntail\n"},
        // The last space among the first 81 characters is at 79.
        {"plain line in a table block", {plainAfterTable.c_str()}, "ab cd\n" + Words(20) + "\n" + Words(5) + "\n"},
        {"word cut hard", {hardCut.c_str()}, x80 + "\nxxxxx yz\n"},
        // Room 77 from column 3: 19 words stand on the row, the rest below.
        {"last column continues indented", {lastColumn.c_str()}, "-o " + Words(19) + "\n   " + Words(6) + "\n"},
        {"double width never cut", {wideUncut.c_str()}, a79 + "\n" + wide + "b\n"},
        {"double width aligns as two columns", {wideAligned1.c_str(), "abc\ty"}, wide + wide + "x\nabc y\n"},
        {"ninth column dropped", {"0\t1\t2\t3\t4\t5\t6\t7\t8"}, "01234567\n"},
        // The 90-wide cell is left out of the widths; column 1 starts at 6.
        {"cell past the next column", {"short \tx", pastNext.c_str()}, "short x\n" + w90 + "\n" + Spaces(6) + "y\n"},
        {"empty layout rows", {"\nfirst\n\nsecond\n"}, "\nfirst\n\nsecond\n\n"},
        // Cell line 1 reaches the empty columns with spaces.
        {"cell with vertical tab", {"ab\vc\tde\tfg"}, "abdefg\nc   \n"},
        // A waiting piece flows into the next cell line's output line.
        {"vertical tab in the last column",
         {flowing.c_str()},
         "-o " + Words(19) + "\n   " + Words(6) + "\n   end\n"},
        // Room 30 is too little: the last column goes below, from column 20,
        // 60 wide. Plain lines still print.
        {"below mode",
         {below.c_str()},
         c50 + "\n" + Spaces(20) + Words(15) + "\n" + Spaces(20) + "abc\n" + "ab" + Spaces(48) + "\n" + Spaces(20) +
             "cd\nplain\n"},
        // Separate layouts: the second block's wide cell does not move the
        // first block's column.
        {"blocks", {nullptr, "a \tb", nullptr, "long cell \tz"}, "a b\nlong cell z\n"},
        // More pieces than the ring holds: none is lost.
        {"more pieces than the queue holds", {x80Times17.c_str()}, x80Lines17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Usage(c.rows), c.expected) << c.name;
    }
}

TEST(Usage, CharacterWidths)
{
    using PrintUsageImplementation::IsDoubleWidth;
    const struct {
        uint32_t codePoint;
        bool wide;
    } points[] = {
        {0x10FF, false}, {0x1100, true},  {0x115F, true},  {0x1160, false}, {0x2329, true},   {0x232B, false},
        {0x2E7F, false}, {0x2E80, true},  {0x303E, true},  {0x303F, false}, {0x3040, true},   {0xA4C6, true},
        {0xA4C7, false}, {0xA960, true},  {0xA97D, false}, {0xAC00, true},  {0xD7FB, true},   {0xD7FC, false},
        {0xF900, true},  {0xFAFF, true},  {0xFE10, true},  {0xFE6B, true},  {0xFE6C, false},  {0xFF01, true},
        {0xFF60, true},  {0xFF61, false}, {0xFFE0, true},  {0xFFE6, true},  {0xFFE7, false},  {0x1AFFF, false},
        {0x1B000, true}, {0xFFFFFFFF, true},
    };
    for (const auto& point : points) {
        EXPECT_EQ(IsDoubleWidth(point.codePoint), point.wide) << std::hex << point.codePoint;
    }

    using PrintUsageImplementation::DecodeCharacter;
    const struct {
        std::string text;
        size_t length;  // bytes the decoder may look at
        size_t bytes;
        uint32_t codePoint;
    } characters[] = {
        {"a", 1, 1, 'a'},
        {"\xC0\x80", 2, 1, 0xC0},  // 0xC0 and 0xC1 stand alone
        {"\x80", 1, 1, 0x80},
        {"\xC2\xA9", 2, 2, 0xA9},
        {"\xE5\xAD\x97", 3, 3, 0x5B57},
        {"\xE5\xAD\x97", 2, 2, 0x16D},
        {"\xFB\xBF\xBF\xBF\xBF", 5, 5, 0x3FFFFFF},
        {"\xFF\x81", 2, 2, 0x01},  // 0xFF gives no bits of its own
        {"\xC2\xBF\xBF\xBF\xBF\xBF\xBF", 7, 7, 0xFFFFFFFF},  // saturates
    };
    for (const auto& c : characters) {
        const PrintUsageImplementation::Character decoded = DecodeCharacter(c.text.data(), c.length);
        EXPECT_EQ(decoded.bytes, c.bytes) << c.text;
        EXPECT_EQ(decoded.codePoint, c.codePoint) << c.text;
    }
    EXPECT_EQ(PrintUsageImplementation::TextColumns("a\xE5\xAD\x97\xC0\x80", 6), 5);
}

}  // namespace
}  // namespace option
