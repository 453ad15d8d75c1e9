// The pieces of the usage printer: the walker over the parts of a table
// block, the wrapping queues, and character widths. Kept apart from
// usage.h so that only the printer and its tests see them.
#ifndef KESTREL_OPTION_USAGE_INTERNAL_H
#define KESTREL_OPTION_USAGE_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "option/option_table.h"
#include "option/usage.h"

namespace option {
namespace PrintUsageImplementation {

constexpr int64_t kLineWidth = 80;
constexpr int64_t kMaxColumns = 8;
constexpr int64_t kFirstMeasureLimit = 10000;
constexpr int64_t kLeastLastColumnRoom = 40;
constexpr int64_t kBelowModeStart = 20;
constexpr int64_t kBelowModeWidth = 60;
constexpr int64_t kLeastWrapWidth = 2;
constexpr uint32_t kQueueSlots = 16;

// Whether a code point takes two columns on the console (wide East Asian
// scripts, full-width forms, and everything from U+1B000 up).
bool IsDoubleWidth(uint32_t codePoint);

// One character at the start of a text of `length` (at least 1) bytes: a
// byte above 0xC1 with every 10xxxxxx byte after it (within `length`), or any
// other single byte. The code point takes the lead byte's bits below its
// highest zero bit and six bits of each following byte. Lead bytes 0xF8 to
// 0xFE follow the same rule; 0xFF has no zero bit and gives no bits of its
// own. A code point too large for 32 bits saturates at 0xFFFFFFFF, which
// keeps it above every narrow range.
struct Character {
    size_t bytes;
    uint32_t codePoint;
};
Character DecodeCharacter(const char* text, size_t length);

// 2 for a double-width character at or above U+1100, 1 otherwise.
int64_t CharacterColumns(uint32_t codePoint);

// The columns that `length` bytes of text take on the console.
int64_t TextColumns(const char* text, size_t length);

// Whether a row takes part in the layout: a row before the terminator with
// a help text.
inline bool HasHelpText(const OptionSpec& row)
{
    return !IsTerminator(row) && row.helpText != nullptr;
}

// Walks a table block part by part: every layout row in turn, and within it
// every column's part of cell line 0 from left to right, then of cell line 1,
// and so on. A column without text on a cell line gives an empty part.
struct PartCursor {
    const OptionSpec* blockStart;
    const OptionSpec* row;
    const char* rowText;    // start of the current layout row
    const char* partStart;  // null before the first layout row of a walk
    int64_t colIndex;       // -1 before the first part of a layout row
    size_t partBytes;
    int64_t partWidth;
    int64_t maxLineIndex;
    int64_t lineIndex;
    int64_t wantedLine;
    bool wantedSeen;

    // Sets the walk back to the first layout row of the block at `block`.
    void Start(const OptionSpec* block);
    // Moves to the next layout row; false when the block is done.
    bool AdvanceRow();
    // Moves to the next part of the layout row; false when the row is done.
    bool AdvancePart();
    // Walks the current layout row again from its start.
    void RestartRow();
    // Measures the part at partStart, up to the next "\t", "\v", "\n" or end.
    void MeasurePart();
    // Whether the current part belongs to a line with a tab or vertical tab.
    bool InTableLine() const;

private:
    void ResetRow();
    bool GivePart();
};

// Splits texts into pieces that fit `wrapWidth` columns and writes them as
// lines indented by `indentCols`. The 16 slots form a ring that holds at most
// 15 pieces: empty when takeIndex + 1 equals putIndex, full when they are
// equal.
struct WrapQueue {
    size_t pieceLength[kQueueSlots];
    const char* pieceText[kQueueSlots];
    int64_t indentCols;
    int64_t wrapWidth;
    uint32_t putIndex;
    uint32_t takeIndex;  // the slot written last
    bool emitted;        // whether the current Feed or Drain has written a line

    // An empty queue for lines of `width` columns after `indent` spaces.
    void Reset(int64_t indent, int64_t width);
    bool IsEmpty() const;
    bool IsFull() const;
    // Queues the pieces of a text and writes one line: the oldest piece waiting.
    void Feed(IStringWriter& writer, const char* text, size_t length);
    // Writes the oldest piece waiting, on a new indented line after the first.
    void EmitLine(IStringWriter& writer);
    // Writes every piece waiting, each on an indented line of its own.
    void Drain(IStringWriter& writer);

private:
    void Queue(IStringWriter& writer, const char* text, size_t length);
    size_t FittingBytes(const char* text, size_t length) const;
};

void WriteLineBreak(IStringWriter& writer);
void WriteSpaces(IStringWriter& writer, int64_t count);

}  // namespace PrintUsageImplementation
}  // namespace option

#endif
