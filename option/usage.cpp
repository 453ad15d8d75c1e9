#include "option/usage.h"

#include <algorithm>

#include "option/usage_internal.h"

namespace option {

namespace PrintUsageImplementation {

OStreamWriter::OStreamWriter(std::ostream& stream) : stream_(stream)
{
}

void OStreamWriter::Write(const char* text, size_t count)
{
    stream_.write(text, static_cast<std::streamsize>(count));
}

bool IsDoubleWidth(uint32_t codePoint)
{
    struct Range {
        uint32_t from;
        uint32_t to;
    };
    static constexpr Range kWide[] = {
        {0x1100, 0x115F}, {0x2329, 0x232A}, {0x2E80, 0x303E}, {0x3040, 0xA4C6}, {0xA960, 0xA97C},
        {0xAC00, 0xD7FB}, {0xF900, 0xFAFF}, {0xFE10, 0xFE6B}, {0xFF01, 0xFF60}, {0xFFE0, 0xFFE6},
    };
    if (codePoint >= 0x1B000) {
        return true;
    }
    for (const Range& range : kWide) {
        if (codePoint >= range.from && codePoint <= range.to) {
            return true;
        }
    }
    return false;
}

Character DecodeCharacter(const char* text, size_t length)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead <= 0xC1) {
        return {1, lead};
    }
    // The lead byte's bits below its highest zero bit; 0xFF has none.
    uint32_t codePoint = 0;
    for (int bit = 6; bit >= 0; --bit) {
        if ((lead & (1u << bit)) == 0) {
            codePoint = lead & ((1u << bit) - 1u);
            break;
        }
    }
    size_t bytes = 1;
    while (bytes < length && (static_cast<unsigned char>(text[bytes]) & 0xC0u) == 0x80u) {
        const uint32_t low = static_cast<unsigned char>(text[bytes]) & 0x3Fu;
        codePoint = codePoint > (0xFFFFFFFFu >> 6) ? 0xFFFFFFFFu : (codePoint << 6) | low;
        ++bytes;
    }
    return {bytes, codePoint};
}

int64_t CharacterColumns(uint32_t codePoint)
{
    return codePoint >= 0x1100 && IsDoubleWidth(codePoint) ? 2 : 1;
}

int64_t TextColumns(const char* text, size_t length)
{
    int64_t columns = 0;
    size_t taken = 0;
    while (taken < length) {
        const Character character = DecodeCharacter(text + taken, length - taken);
        columns += CharacterColumns(character.codePoint);
        taken += character.bytes;
    }
    return columns;
}

void WriteLineBreak(IStringWriter& writer)
{
    writer.Write("\n", 1);
}

void WriteSpaces(IStringWriter& writer, int64_t count)
{
    for (int64_t index = 0; index < count; ++index) {
        writer.Write(" ", 1);
    }
}

void PartCursor::Start(const OptionSpec* block)
{
    blockStart = block;
    row = block;
    partStart = nullptr;
    ResetRow();
    rowText = block->helpText;
}

void PartCursor::ResetRow()
{
    rowText = partStart;
    colIndex = -1;
    partBytes = 0;
    partWidth = 0;
    maxLineIndex = 0;
    lineIndex = 0;
    wantedLine = 0;
    wantedSeen = true;
}

bool PartCursor::AdvanceRow()
{
    if (partStart == nullptr) {
        partStart = rowText;
        ResetRow();
        return rowText != nullptr;
    }
    while (*partStart != '\n' && *partStart != '\0') {
        ++partStart;
    }
    if (*partStart == '\n') {
        ++partStart;
    } else {
        // The end of a help text ends the layout row; the next row's help
        // text, if the block goes on, begins the next one.
        if (!HasHelpText(row[1])) {
            return false;
        }
        ++row;
        partStart = row->helpText;
    }
    ResetRow();
    return true;
}

void PartCursor::RestartRow()
{
    partStart = rowText;
    ResetRow();
}

void PartCursor::MeasurePart()
{
    partBytes = 0;
    while (partStart[partBytes] != '\0' && partStart[partBytes] != '\t' && partStart[partBytes] != '\v' &&
           partStart[partBytes] != '\n') {
        ++partBytes;
    }
    partWidth = TextColumns(partStart, partBytes);
}

bool PartCursor::GivePart()
{
    MeasurePart();
    wantedSeen = true;
    return true;
}

bool PartCursor::AdvancePart()
{
    if (partStart == nullptr) {
        return false;
    }
    if (colIndex == -1) {
        colIndex = 0;
        MeasurePart();
        return true;
    }
    partStart += partBytes;
    for (;;) {
        const char byte = *partStart;
        if (byte == '\n' || byte == '\0') {
            if (!wantedSeen) {
                return GivePart();  // this column has no text on wantedLine
            }
            ++wantedLine;
            if (wantedLine > maxLineIndex) {
                MeasurePart();
                return false;
            }
            // The next cell line: walk the row again from its first column.
            partStart = rowText;
            colIndex = 0;
            lineIndex = 0;
            wantedSeen = false;
        } else if (byte == '\t') {
            if (!wantedSeen) {
                return GivePart();
            }
            ++colIndex;
            ++partStart;
            wantedSeen = false;
            lineIndex = 0;
            if (lineIndex == wantedLine) {
                return GivePart();
            }
        } else if (byte == '\v') {
            ++lineIndex;
            maxLineIndex = std::max(maxLineIndex, lineIndex);
            ++partStart;
            if (lineIndex == wantedLine) {
                return GivePart();
            }
        } else {
            ++partStart;
        }
    }
}

bool PartCursor::InTableLine() const
{
    const char after = partStart[partBytes];
    return colIndex > 0 || wantedLine > 0 || after == '\t' || after == '\v';
}

void WrapQueue::Reset(int64_t indent, int64_t width)
{
    indentCols = indent;
    wrapWidth = width;
    putIndex = 0;
    takeIndex = kQueueSlots - 1;
    emitted = false;
}

bool WrapQueue::IsEmpty() const
{
    return (takeIndex + 1) % kQueueSlots == putIndex;
}

bool WrapQueue::IsFull() const
{
    return takeIndex == putIndex;
}

void WrapQueue::Queue(IStringWriter& writer, const char* text, size_t length)
{
    if (IsFull()) {
        EmitLine(writer);
    }
    pieceText[putIndex] = text;
    pieceLength[putIndex] = length;
    putIndex = (putIndex + 1) % kQueueSlots;
}

// The bytes of the longest run of whole characters that fits wrapWidth
// columns. A double-width character is never split across the width.
size_t WrapQueue::FittingBytes(const char* text, size_t length) const
{
    size_t fit = 0;
    int64_t columns = 0;
    while (fit < length && columns < wrapWidth) {
        const Character character = DecodeCharacter(text + fit, length - fit);
        const int64_t width = CharacterColumns(character.codePoint);
        if (width == 2 && columns + width > wrapWidth) {
            break;
        }
        columns += width;
        fit += character.bytes;
    }
    return fit;
}

void WrapQueue::Feed(IStringWriter& writer, const char* text, size_t length)
{
    emitted = false;
    while (length > 0) {
        if (length <= static_cast<size_t>(wrapWidth)) {
            Queue(writer, text, length);
            break;
        }
        const size_t fit = FittingBytes(text, length);
        if (fit == length) {
            Queue(writer, text, length);
            break;
        }
        // Break at the last space at or before the first byte that did not
        // fit; that space is dropped. Without one, cut the word hard.
        size_t cut = fit;
        bool atSpace = false;
        for (size_t position = fit + 1; position-- > 0;) {
            if (text[position] == ' ') {
                cut = position;
                atSpace = true;
                break;
            }
        }
        Queue(writer, text, cut);
        const size_t consumed = atSpace ? cut + 1 : cut;
        text += consumed;
        length -= consumed;
    }
    if (!emitted) {
        EmitLine(writer);
    }
}

void WrapQueue::EmitLine(IStringWriter& writer)
{
    if (emitted) {
        WriteLineBreak(writer);
        WriteSpaces(writer, indentCols);
    }
    if (!IsEmpty()) {
        takeIndex = (takeIndex + 1) % kQueueSlots;
        writer.Write(pieceText[takeIndex], pieceLength[takeIndex]);
    }
    emitted = true;
}

void WrapQueue::Drain(IStringWriter& writer)
{
    if (IsEmpty()) {
        return;
    }
    WriteSpaces(writer, indentCols);
    emitted = false;
    while (!IsEmpty()) {
        EmitLine(writer);
    }
    WriteLineBreak(writer);
}

}  // namespace PrintUsageImplementation

namespace {

using PrintUsageImplementation::IStringWriter;
using PrintUsageImplementation::PartCursor;
using PrintUsageImplementation::WrapQueue;
namespace layout = PrintUsageImplementation;

// The column layout of one table block.
struct BlockLayout {
    int64_t columnWidth[layout::kMaxColumns];
    int64_t columnStart[layout::kMaxColumns];
    int64_t lastColumn;
    int64_t measureLimit;
    bool belowMode;
};

// One pass over the block: the widest part of each column among the table
// lines, leaving out parts at least measureLimit wide.
void MeasurePass(BlockLayout& block, const OptionSpec* blockStart)
{
    std::fill(std::begin(block.columnWidth), std::end(block.columnWidth), 0);
    block.lastColumn = 0;
    PartCursor cursor;
    cursor.Start(blockStart);
    while (cursor.AdvanceRow()) {
        while (cursor.AdvancePart()) {
            if (cursor.colIndex >= layout::kMaxColumns) {
                continue;
            }
            block.lastColumn = std::max(block.lastColumn, cursor.colIndex);
            if (cursor.partWidth < block.measureLimit && cursor.InTableLine()) {
                int64_t& width = block.columnWidth[cursor.colIndex];
                width = std::max(width, cursor.partWidth);
            }
        }
    }
}

// Measures until the columns before the last fit the line: each further pass
// leaves out the parts as wide as the widest column of the pass before.
void MeasureColumns(BlockLayout& block, const OptionSpec* blockStart)
{
    block.measureLimit = layout::kFirstMeasureLimit;
    for (;;) {
        MeasurePass(block, blockStart);
        if (block.lastColumn == 0) {
            return;
        }
        int64_t sum = 0;
        int64_t widest = 0;
        for (int64_t column = 0; column < block.lastColumn; ++column) {
            sum += block.columnWidth[column];
            widest = std::max(widest, block.columnWidth[column]);
        }
        block.measureLimit = widest;
        if (sum <= layout::kLineWidth) {
            return;
        }
    }
}

// Places the columns and sets up both queues. A last column with too little
// room goes below its row, indented, in below mode.
void PlanBlock(BlockLayout& block, WrapQueue& lastColumnQueue, WrapQueue& plainLineQueue)
{
    int64_t start = 0;
    for (int64_t column = 0; column < layout::kMaxColumns; ++column) {
        block.columnStart[column] = start;
        start += block.columnWidth[column];
    }
    int64_t room = layout::kLineWidth - block.columnStart[block.lastColumn];
    block.belowMode = block.lastColumn > 0 && room < layout::kLeastLastColumnRoom &&
                      room < block.columnWidth[block.lastColumn];
    if (block.belowMode) {
        room = layout::kBelowModeWidth;
    }
    lastColumnQueue.Reset(layout::kLineWidth - room, std::max(room, layout::kLeastWrapWidth));
    plainLineQueue.Reset(0, layout::kLineWidth);
}

// Prints one layout row. Parts of the columns before the last are written as
// they are; the last column and lines without tabs go through the queues.
//
// In below mode the last column is printed on lines of its own under the
// row, in a second walk over it. Lines without tab or vertical tab still go
// through plainLineQueue in below mode, as outside it, so no text of such a
// block is lost.
void PrintRow(IStringWriter& writer, const BlockLayout& block, PartCursor& cursor, WrapQueue& lastColumnQueue,
              WrapQueue& plainLineQueue)
{
    int64_t cursorX = -1;
    while (cursor.AdvancePart()) {
        const int64_t column = cursor.colIndex;
        if (column > block.lastColumn) {
            continue;  // a ninth or later column is not printed
        }
        if (column == 0) {
            if (cursorX >= 0) {
                layout::WriteLineBreak(writer);
            }
            cursorX = 0;
        }
        int64_t gap = block.columnStart[column] - cursorX;
        if (gap < 0) {
            // The cell before reached past this column's start.
            layout::WriteLineBreak(writer);
            gap = block.columnStart[column];
        }
        layout::WriteSpaces(writer, gap);
        cursorX = block.columnStart[column];
        const bool tableLine = cursor.InTableLine();
        if (column < block.lastColumn && tableLine) {
            writer.Write(cursor.partStart, cursor.partBytes);
            cursorX += cursor.partWidth;
        } else if (column == 0) {
            plainLineQueue.Feed(writer, cursor.partStart, cursor.partBytes);
        } else if (!block.belowMode) {
            lastColumnQueue.Feed(writer, cursor.partStart, cursor.partBytes);
        }
    }
    if (block.belowMode) {
        cursor.RestartRow();
        while (cursor.AdvancePart()) {
            if (cursor.colIndex == block.lastColumn) {
                layout::WriteLineBreak(writer);
                layout::WriteSpaces(writer, lastColumnQueue.indentCols);
                lastColumnQueue.Feed(writer, cursor.partStart, cursor.partBytes);
            }
        }
    }
    layout::WriteLineBreak(writer);
    lastColumnQueue.Drain(writer);
    plainLineQueue.Drain(writer);
}

void PrintBlock(IStringWriter& writer, const OptionSpec* blockStart)
{
    BlockLayout block{};
    MeasureColumns(block, blockStart);
    WrapQueue lastColumnQueue{};
    WrapQueue plainLineQueue{};
    PlanBlock(block, lastColumnQueue, plainLineQueue);
    PartCursor cursor;
    cursor.Start(blockStart);
    while (cursor.AdvanceRow()) {
        PrintRow(writer, block, cursor, lastColumnQueue, plainLineQueue);
    }
}

}  // namespace

void WriteUsage(IStringWriter& writer, const OptionSpec* table)
{
    const OptionSpec* row = table;
    while (!IsTerminator(*row)) {
        if (row->helpText == nullptr) {
            ++row;
            continue;
        }
        PrintBlock(writer, row);
        while (layout::HasHelpText(*row)) {
            ++row;
        }
    }
}

}  // namespace option
