#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "option/option_table.h"
#include "option/usage.h"
#include "tests/fuzz/fuzz_checks.h"

namespace fuzz {
namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken usage printer invariant: %s\n", what);
        std::abort();
    }
}

constexpr size_t kMostRows = 8;

// Accepts only single spaces, single line breaks, and views into the help
// texts; measures every output line.
class CheckingWriter : public option::PrintUsageImplementation::IStringWriter {
public:
    explicit CheckingWriter(const std::vector<std::string>& texts) : texts_(texts) {}

    void Write(const char* text, size_t count) override
    {
        if (count == 0) {
            return;
        }
        const bool spaceOrBreak = count == 1 && (text[0] == ' ' || text[0] == '\n');
        Require(spaceOrBreak || InsideHelpText(text, count), "writes only spaces, line breaks and help text");
        for (size_t index = 0; index < count; ++index) {
            output_.push_back(text[index]);
            if (text[index] == '\n') {
                longestLine_ = std::max(longestLine_, lineBytes_);
                lineBytes_ = 0;
            } else {
                ++lineBytes_;
            }
        }
    }

    const std::string& Output() const { return output_; }
    size_t LongestLine() const { return std::max(longestLine_, lineBytes_); }

private:
    bool InsideHelpText(const char* text, size_t count) const
    {
        for (const std::string& help : texts_) {
            if (text >= help.data() && text + count <= help.data() + help.size()) {
                return true;
            }
        }
        return false;
    }

    const std::vector<std::string>& texts_;
    std::string output_;
    size_t lineBytes_ = 0;
    size_t longestLine_ = 0;
};

// The longest layout row of any help text, in bytes.
size_t LongestLayoutRow(const std::vector<std::string>& texts)
{
    size_t longest = 0;
    for (const std::string& text : texts) {
        size_t run = 0;
        for (const char byte : text) {
            run = byte == '\n' ? 0 : run + 1;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

}  // namespace

void CheckUsageInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> pieces(1);
    for (size_t index = 0; index < size && pieces.size() <= kMostRows; ++index) {
        if (data[index] == 0) {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(static_cast<char>(data[index]));
        }
    }
    if (pieces.size() > kMostRows) {
        pieces.resize(kMostRows);
    }
    std::vector<std::string> texts;
    std::vector<bool> hasText;
    for (const std::string& piece : pieces) {
        const bool withText = piece.empty() || piece[0] != '\x01';
        hasText.push_back(withText);
        if (withText) {
            texts.push_back(piece);
        }
    }
    std::vector<option::OptionSpec> table;
    size_t next = 0;
    for (const bool withText : hasText) {
        table.push_back({0, 0, "", "", option::CheckNoValue, withText ? texts[next++].c_str() : nullptr});
    }
    table.push_back({0, 0, nullptr, nullptr, nullptr, nullptr});

    CheckingWriter writer(texts);
    option::WriteUsage(writer, table.data());

    const std::string& output = writer.Output();
    Require(output.empty() == texts.empty(), "every help text gives at least one line");
    Require(output.empty() || output.back() == '\n', "the text ends with a line break");
    // Spaces of alignment or indentation never pass column 80 on a line, and
    // the rest of a line comes from one layout row of a help text.
    Require(writer.LongestLine() <= LongestLayoutRow(texts) + 82, "line length");
}

}  // namespace fuzz
