#include "option/parser.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace option {

namespace {

constexpr int32_t kCountLimit = 2147483647;

// A record that is a list of one: both links lead to itself, both marked.
void MakeListOfOne(ParsedOption& record)
{
    record.nextLink = MakeLink(&record, true);
    record.prevLink = MakeLink(&record, true);
}

// The first row whose long name is the whole of `name`, or its part before
// an "=". No abbreviations, no case folding.
const OptionSpec* FindLongRow(const OptionSpec* table, const char* name)
{
    for (const OptionSpec* row = table; !IsTerminator(*row); ++row) {
        const size_t length = std::strlen(row->longName);
        if (std::strncmp(name, row->longName, length) == 0 && (name[length] == '\0' || name[length] == '=')) {
            return row;
        }
    }
    return nullptr;
}

const OptionSpec* FindShortRow(const OptionSpec* table, char letter)
{
    for (const OptionSpec* row = table; !IsTerminator(*row); ++row) {
        if (std::strchr(row->shortChars, letter) != nullptr) {
            return row;
        }
    }
    return nullptr;
}

// The row that takes every option no row names: the first without names.
const OptionSpec* FindCatchAllRow(const OptionSpec* table)
{
    for (const OptionSpec* row = table; !IsTerminator(*row); ++row) {
        if (row->shortChars[0] == '\0' && row->longName[0] == '\0') {
            return row;
        }
    }
    return nullptr;
}

// Where the scan stands: the argument at `position` and the `remaining`
// arguments from it on. `more` tells, for the argument being read, whether
// another one follows.
struct Scan {
    const OptionSpec* table;
    Parser::Action& action;
    bool reportErrors;
    const char* const* position;
    int32_t remaining;
    bool more;
};

void StepOver(Scan& scan)
{
    ++scan.position;
    --scan.remaining;
}

enum class Handled { Failed, ValueTaken, NoValue };

// Checks one occurrence and hands it to the action. A value that is the very
// next argument is consumed when the check accepts it.
Handled HandleOccurrence(Scan& scan, const OptionSpec* row, const char* value, const char* text)
{
    if (row == nullptr) {
        row = FindCatchAllRow(scan.table);
    }
    if (row == nullptr) {
        return Handled::NoValue;  // no row takes unknown options: skipped
    }
    ParsedOption occurrence;
    occurrence.spec = row;
    occurrence.text = text;
    occurrence.value = value;
    occurrence.textLength = OptionTextLength(text);
    // A row without a check takes no argument, and so does any verdict
    // outside the four known ones.
    const ArgVerdict verdict = row->argCheck != nullptr ? row->argCheck(occurrence, scan.reportErrors) : ArgAbsent;
    if (verdict == ArgRejected) {
        return Handled::Failed;
    }
    const bool accepted = verdict == ArgAccepted;
    if (!accepted) {
        occurrence.value = nullptr;
    } else if (value != nullptr && scan.more && value == scan.position[1]) {
        StepOver(scan);
    }
    if (!scan.action.HandleOption(occurrence)) {
        return Handled::Failed;
    }
    return accepted ? Handled::ValueTaken : Handled::NoValue;
}

// "--name", "--name=value" or "--name value".
bool ScanLongOption(Scan& scan, const char* argument)
{
    const char* name = argument + 2;
    const char* equals = std::strchr(name, '=');
    const char* value = equals != nullptr ? equals + 1 : (scan.more ? scan.position[1] : nullptr);
    return HandleOccurrence(scan, FindLongRow(scan.table, name), value, argument) != Handled::Failed;
}

// "-abc": one option per letter, until one takes the rest of the argument
// (or the next argument) as its value.
bool ScanShortOptions(Scan& scan, const char* argument)
{
    for (const char* letter = argument + 1; *letter != '\0'; ++letter) {
        const char* value = letter[1] != '\0' ? letter + 1 : (scan.more ? scan.position[1] : nullptr);
        const Handled handled = HandleOccurrence(scan, FindShortRow(scan.table, *letter), value, letter);
        if (handled == Handled::Failed) {
            return false;
        }
        if (handled == Handled::ValueTaken) {
            break;
        }
    }
    return true;
}

bool IsOption(const char* argument)
{
    return argument != nullptr && argument[0] == '-' && argument[1] != '\0';
}

bool IsEndOfOptions(const char* argument)
{
    return std::strcmp(argument, "--") == 0;
}

}  // namespace

ParsedOption::ParsedOption() : spec(nullptr), text(nullptr), value(nullptr), textLength(0)
{
    MakeListOfOne(*this);
}

int32_t OptionTextLength(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    if (text[0] != '-' || text[1] == '\0') {
        return 1;
    }
    size_t length = 1;
    while (text[length] != '\0' && text[length] != '=') {
        ++length;
    }
    return length > static_cast<size_t>(kCountLimit) ? kCountLimit : static_cast<int32_t>(length);
}

void CopyAsListOfOne(ParsedOption& target, const ParsedOption& source)
{
    MakeListOfOne(target);
    target.spec = source.spec;
    target.text = source.text;
    target.value = source.value;
    target.textLength = OptionTextLength(source.text);
}

void AppendToList(ParsedOption& member, ParsedOption& record)
{
    ParsedOption* first = &member;
    while (!IsFirst(*first)) {
        first = LinkTarget(first->prevLink);
    }
    ParsedOption* last = LinkTarget(first->prevLink);
    last->nextLink = MakeLink(&record, false);
    record.prevLink = MakeLink(last, false);
    record.nextLink = MakeLink(first, true);
    first->prevLink = MakeLink(&record, true);
}

ParsedOption* NewRecordArray(uint32_t count)
{
    constexpr uint64_t kLargestRequest = 0xFFFFFFFFu;
    const uint64_t wanted = uint64_t{count} * sizeof(ParsedOption);
    const bool fits = wanted <= kLargestRequest;
    void* memory = ::operator new(static_cast<size_t>(fits ? wanted : kLargestRequest), std::nothrow);
    if (memory == nullptr) {
        return nullptr;
    }
    if (!fits) {
        // A 64-bit host may grant the largest 32-bit size, but it still
        // cannot hold `count` records.
        ::operator delete(memory);
        return nullptr;
    }
    ParsedOption* records = static_cast<ParsedOption*>(memory);
    for (uint32_t index = 0; index < count; ++index) {
        new (records + index) ParsedOption();
    }
    return records;
}

bool ScanArguments(const OptionSpec* table, int32_t argCount, const char* const* args, Parser::Action& action,
                   bool reportErrors)
{
    Scan scan{table, action, reportErrors, args, args != nullptr && argCount > 0 ? argCount : 0, false};
    while (scan.remaining > 0) {
        const char* argument = *scan.position;
        if (!IsOption(argument)) {
            break;  // the first non-option ends the scan; nothing after it is read
        }
        if (IsEndOfOptions(argument)) {
            StepOver(scan);
            break;
        }
        scan.more = scan.remaining > 1;
        const bool handled =
            argument[1] == '-' ? ScanLongOption(scan, argument) : ScanShortOptions(scan, argument);
        if (!handled) {
            return false;
        }
        StepOver(scan);
    }
    const int32_t rest = scan.remaining > 0 && *scan.position != nullptr ? scan.remaining : 0;
    return action.HandleRest(rest, scan.position);
}

Parser::Parser(const OptionSpec* table, int32_t argCount, const char* const* args, ParsedOption* slots,
               ParsedOption* occurrences)
    : storedCount(0), leftoverCount(0), leftover(nullptr), failed(false)
{
    // Without record arrays nothing can be stored: the command line counts
    // as not understood.
    if (slots == nullptr || occurrences == nullptr) {
        failed = true;
        return;
    }
    // Occurrences already in the array stay; new ones go after them.
    while (storedCount < kCountLimit && IsPresent(occurrences[storedCount])) {
        ++storedCount;
    }
    StoreOptionAction action(*this, slots, occurrences);
    failed = !ScanArguments(table, argCount, args, action, true);
}

Parser::StoreOptionAction::StoreOptionAction(Parser& parser, ParsedOption* slots, ParsedOption* occurrences,
                                             int32_t storeLimit)
    : parser(parser), slots(slots), occurrences(occurrences), storeLimit(storeLimit)
{
}

bool Parser::StoreOptionAction::HandleOption(const ParsedOption& option)
{
    if (storeLimit >= 0 && parser.storedCount >= storeLimit) {
        return true;
    }
    if (parser.storedCount == kCountLimit) {
        return false;
    }
    ParsedOption& record = occurrences[parser.storedCount];
    CopyAsListOfOne(record, option);
    ParsedOption& slot = slots[option.spec->id];
    if (IsPresent(slot)) {
        AppendToList(slot, record);
    } else {
        CopyAsListOfOne(slot, record);
    }
    ++parser.storedCount;
    return true;
}

bool Parser::StoreOptionAction::HandleRest(int32_t count, const char* const* rest)
{
    if (count > 0) {
        parser.leftoverCount = count;
        parser.leftover = rest;
    }
    return true;
}

void Stats::Tally(const OptionSpec* table, int32_t argCount, const char* const* args)
{
    for (const OptionSpec* row = table; !IsTerminator(*row); ++row) {
        if (row->id + 1 >= slotCount) {
            slotCount = row->id + 2;
        }
    }
    CountOptionsAction action(occurrenceCount);
    ScanArguments(table, argCount, args, action, false);
}

Stats::CountOptionsAction::CountOptionsAction(uint32_t& occurrenceCount) : occurrenceCount(occurrenceCount)
{
}

bool Stats::CountOptionsAction::HandleOption(const ParsedOption&)
{
    if (occurrenceCount == static_cast<uint32_t>(kCountLimit)) {
        return false;
    }
    ++occurrenceCount;
    return true;
}

bool Stats::CountOptionsAction::HandleRest(int32_t, const char* const*)
{
    return true;
}

}  // namespace option
