// The command-line parser: a counting pass that tells how many records the
// caller must provide, and a storing pass that fills them. Both passes run the
// same scan over the same table and arguments, so the storing pass always
// hands over exactly the occurrences the counting pass counted.
//
// How the run sequence uses it (everything lives to the end of the run):
//
//     option::Stats stats;                       // both counts start at 1
//     stats.Tally(option::OptionTable, argCount, args);
//     option::ParsedOption* slots = option::NewRecordArray(stats.slotCount);
//     option::ParsedOption* occurrences = option::NewRecordArray(stats.occurrenceCount);
//     // null from either: no memory for the records
//     option::Parser parser(option::OptionTable, argCount, args, slots, occurrences);
//     // argCount 0 or parser.failed: print the usage text
//     if (option::IsPresent(slots[option::OptFlash])) { ... slots[option::OptFlash].value ... }
//
// `args` is the argument array after the program name, with a null entry
// after its last argument. The parser allocates nothing and copies no text:
// records point into the argument strings, which must outlive them.
#ifndef KESTREL_OPTION_PARSER_H
#define KESTREL_OPTION_PARSER_H

#include <cstdint>

#include "option/option_table.h"

namespace option {

// One option occurrence. Records form circular doubly linked lists: the mark
// (lowest bit of a link) is set on the last record's nextLink, which leads
// back to the first, and on the first record's prevLink, which leads to the
// last. A record is present when `spec` is set.
//
// A record links to itself, so it is neither copied nor moved: records are
// made in place, and CopyAsListOfOne gives the copy the parser needs.
struct ParsedOption {
    uintptr_t nextLink;
    uintptr_t prevLink;
    const OptionSpec* spec;  // the row matched; null in an empty record
    const char* text;        // the whole long argument, or the short option's letter
    const char* value;       // the option's argument, or null
    int32_t textLength;      // length of the option's name at the start of `text`

    // An empty record: a list of one with nothing set.
    ParsedOption();
    ParsedOption(const ParsedOption&) = delete;
    ParsedOption& operator=(const ParsedOption&) = delete;
};

// The mark needs a free lowest bit in every record address.
static_assert(alignof(ParsedOption) >= 2, "records must be at least 2-byte aligned");

inline bool IsMarked(uintptr_t link)
{
    return (link & 1u) != 0;
}

inline ParsedOption* LinkTarget(uintptr_t link)
{
    return reinterpret_cast<ParsedOption*>(link & ~uintptr_t{1});
}

inline uintptr_t MakeLink(const ParsedOption* target, bool marked)
{
    return reinterpret_cast<uintptr_t>(target) | (marked ? 1u : 0u);
}

inline bool IsPresent(const ParsedOption& record)
{
    return record.spec != nullptr;
}

// The first record of a list has a marked prevLink, the last a marked nextLink.
inline bool IsFirst(const ParsedOption& record)
{
    return IsMarked(record.prevLink);
}

inline bool IsLast(const ParsedOption& record)
{
    return IsMarked(record.nextLink);
}

// The record after `record` in its list, or null after the last one.
inline const ParsedOption* Next(const ParsedOption& record)
{
    return IsLast(record) ? nullptr : LinkTarget(record.nextLink);
}

// Length of an option's name at the start of `text`: 0 without text; the
// position of the first "=" after the leading "-" (or the whole length) when
// `text` is "-" followed by more; 1 otherwise, as for a short option's letter.
int32_t OptionTextLength(const char* text);

// Makes `target` a list of one holding `source`'s spec, text and value.
void CopyAsListOfOne(ParsedOption& target, const ParsedOption& source);

// Appends `record` at the end of the list that contains `member`.
void AppendToList(ParsedOption& member, ParsedOption& record);

// Makes an array of `count` empty records for the parser, or returns null
// when the memory cannot be had. The byte size requested never wraps: a
// count too large for a 32-bit size requests the largest 32-bit size, which
// cannot hold the records, so the result is null. Never freed: the records
// live to the end of the run.
ParsedOption* NewRecordArray(uint32_t count);

// The storing pass, run by the constructor. `slots` (indexed by option id)
// gets the first occurrence of each option, heading the list of all its
// occurrences; `occurrences` gets every occurrence in command-line order.
class Parser {
public:
    class Action;
    class StoreOptionAction;

    Parser(const OptionSpec* table, int32_t argCount, const char* const* args, ParsedOption* slots,
           ParsedOption* occurrences);

    int32_t storedCount;          // occurrences stored
    int32_t leftoverCount;        // arguments left after the scan
    const char* const* leftover;  // the first of them
    bool failed;                  // an option was rejected, or a count ran out
};

// Receives what the scan finds.
class Parser::Action {
public:
    virtual ~Action() = default;
    // Takes one occurrence; false stops the scan with failure.
    virtual bool HandleOption(const ParsedOption& option) = 0;
    // Takes the arguments left after the scan; the answer is the scan's result.
    virtual bool HandleRest(int32_t count, const char* const* rest) = 0;
};

class Parser::StoreOptionAction : public Parser::Action {
public:
    StoreOptionAction(Parser& parser, ParsedOption* slots, ParsedOption* occurrences, int32_t storeLimit = -1);
    bool HandleOption(const ParsedOption& option) override;
    bool HandleRest(int32_t count, const char* const* rest) override;

    Parser& parser;
    ParsedOption* slots;
    ParsedOption* occurrences;
    int32_t storeLimit;  // negative: no limit
};

// The counting pass. The caller presets both counts to 1 (they start so).
class Stats {
public:
    class CountOptionsAction;

    void Tally(const OptionSpec* table, int32_t argCount, const char* const* args);

    uint32_t occurrenceCount = 1;  // records for the occurrences array: one per occurrence, plus one
    uint32_t slotCount = 1;        // records for the slots array: the highest id plus 2
};

class Stats::CountOptionsAction : public Parser::Action {
public:
    explicit CountOptionsAction(uint32_t& occurrenceCount);
    bool HandleOption(const ParsedOption& option) override;
    bool HandleRest(int32_t count, const char* const* rest) override;

    uint32_t& occurrenceCount;
};

// Walks the options at the start of `args` against `table` and hands every
// occurrence to `action`. "--" or the first argument that is not an option
// ends the scan. Returns false when an argument check rejected an option or
// the action refused one; otherwise what the action's HandleRest answers.
// A negative argCount names no arguments.
bool ScanArguments(const OptionSpec* table, int32_t argCount, const char* const* args, Parser::Action& action,
                   bool reportErrors);

}  // namespace option

#endif
