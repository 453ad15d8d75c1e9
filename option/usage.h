// The usage printer: lays the help texts of an option table out in aligned
// columns for an 80-column console and hands the text to a sink.
//
// Layout characters in a help text: "\t" ends a cell (the text after it is
// the next column), "\v" ends a cell line (the cell goes on below, in the
// same column), "\n" ends a layout row. Consecutive rows with a help text
// form one block with its own column layout; a row without one separates
// blocks.
#ifndef KESTREL_OPTION_USAGE_H
#define KESTREL_OPTION_USAGE_H

#include <cstddef>
#include <ostream>

#include "option/option_table.h"

namespace option {

namespace PrintUsageImplementation {

// Where the usage text goes.
class IStringWriter {
public:
    virtual ~IStringWriter() = default;
    // Writes exactly `count` bytes from `text` (which need not be terminated).
    virtual void Write(const char* text, size_t count) = 0;
};

// Hands every piece to a stream as one unformatted write, without a flush.
// Write failures stay in the stream's state.
class OStreamWriter : public IStringWriter {
public:
    explicit OStreamWriter(std::ostream& stream);
    void Write(const char* text, size_t count) override;

private:
    std::ostream& stream_;
};

}  // namespace PrintUsageImplementation

// Writes the usage text of `table`: nothing before the first line, nothing
// after the last line break. The text reaches the writer in many small
// writes: one per part of a help text, per line break, and per space.
void WriteUsage(PrintUsageImplementation::IStringWriter& writer, const OptionSpec* table);

}  // namespace option

#endif
