#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "option/option_table.h"
#include "option/parser.h"
#include "tests/fuzz/fuzz_checks.h"

namespace fuzz {
namespace {

using option::ArgVerdict;
using option::OptionSpec;
using option::ParsedOption;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken parser invariant: %s\n", what);
        std::abort();
    }
}

ArgVerdict DropValue(const ParsedOption&, bool)
{
    return option::ArgDropped;
}

ArgVerdict AcceptAlways(const ParsedOption&, bool)
{
    return option::ArgAccepted;
}

ArgVerdict OutOfRange(const ParsedOption&, bool)
{
    return static_cast<ArgVerdict>(7);
}

// Rows sharing ids, a letter "-" and "=", an empty long name before the
// catch-all row, a check that accepts a missing value, and no check at all.
const OptionSpec kOddTable[] = {
    {3, 0, "ab", "alpha", option::CheckValueRequired, nullptr},
    {1, 0, "c-=", "", option::CheckNoValue, nullptr},
    {3, 0, "d", "delta", DropValue, nullptr},
    {6, 0, "e", "e=x", AcceptAlways, nullptr},
    {2, 0, "g", "gamma", OutOfRange, nullptr},
    {4, 0, "h", "", nullptr, nullptr},
    {0, 0, "", "", option::CheckNoValue, nullptr},
    {0, 0, nullptr, nullptr, nullptr, nullptr},
};

struct Arguments {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;

    // Whether `view` points into argument text, its terminator included.
    bool Holds(const char* view) const
    {
        for (const std::string& text : texts) {
            if (view >= text.data() && view <= text.data() + text.size()) {
                return true;
            }
        }
        return false;
    }
};

Arguments Split(const uint8_t* data, size_t size)
{
    Arguments args;
    args.texts.emplace_back();
    for (size_t index = 0; index < size; ++index) {
        if (data[index] == 0) {
            args.texts.emplace_back();
        } else {
            args.texts.back().push_back(static_cast<char>(data[index]));
        }
    }
    if (size == 0) {
        args.texts.clear();
    }
    for (const std::string& text : args.texts) {
        args.pointers.push_back(text.c_str());
    }
    args.pointers.push_back(nullptr);
    return args;
}

bool IsListOfOne(const ParsedOption& record)
{
    return record.nextLink == option::MakeLink(&record, true) && record.prevLink == option::MakeLink(&record, true);
}

bool InArray(const ParsedOption* record, const ParsedOption* array, int32_t count)
{
    for (int32_t index = 0; index < count; ++index) {
        if (record == &array[index]) {
            return true;
        }
    }
    return false;
}

// A slot heads a well-formed circular list of every occurrence of its id:
// the slot first, then the later occurrences' own records in order.
void CheckSlot(uint32_t id, const ParsedOption& slot, const ParsedOption* occurrences, int32_t stored)
{
    std::vector<const ParsedOption*> sameId;
    for (int32_t index = 0; index < stored; ++index) {
        if (occurrences[index].spec->id == id) {
            sameId.push_back(&occurrences[index]);
        }
    }
    if (!option::IsPresent(slot)) {
        Require(IsListOfOne(slot) && slot.text == nullptr && slot.value == nullptr, "absent slot is empty");
        Require(sameId.empty(), "every stored id has its slot");
        return;
    }
    Require(!sameId.empty() && sameId[0]->spec == slot.spec && sameId[0]->text == slot.text &&
                sameId[0]->value == slot.value && sameId[0]->textLength == slot.textLength,
            "slot holds the first occurrence");
    Require(IsListOfOne(*sameId[0]), "first occurrence's record is a list of one");
    Require(option::IsFirst(slot), "slot is first in its list");
    const ParsedOption* previous = &slot;
    size_t length = 1;
    while (!option::IsLast(*previous)) {
        const ParsedOption* record = option::LinkTarget(previous->nextLink);
        Require(length < sameId.size(), "list no longer than the occurrences of its id");
        Require(record == sameId[length], "list in command-line order");
        Require(InArray(record, occurrences, stored), "list records are stored occurrences");
        Require(record->prevLink == option::MakeLink(previous, false), "back link of a middle record");
        previous = record;
        ++length;
    }
    Require(length == sameId.size(), "list holds every occurrence of its id");
    Require(option::LinkTarget(previous->nextLink) == &slot, "last record leads back to the slot");
    Require(slot.prevLink == option::MakeLink(previous, true), "slot leads to the last record");
}

}  // namespace

void CheckParserInput(const uint8_t* data, size_t size)
{
    const bool odd = size > 0 && data[0] == '#';
    const OptionSpec* table = odd ? kOddTable : option::OptionTable;
    const Arguments args = odd ? Split(data + 1, size - 1) : Split(data, size);
    const auto argCount = static_cast<int32_t>(args.texts.size());
    const char* const* argv = args.pointers.data();

    option::Stats stats;
    stats.Tally(table, argCount, argv);
    ParsedOption* slots = option::NewRecordArray(stats.slotCount);
    ParsedOption* occurrences = option::NewRecordArray(stats.occurrenceCount);
    Require(slots != nullptr && occurrences != nullptr, "record arrays");
    const option::Parser parser(table, argCount, argv, slots, occurrences);

    Require(parser.storedCount >= 0 && static_cast<uint32_t>(parser.storedCount) + 1 == stats.occurrenceCount,
            "storing pass stores what the counting pass counted");
    Require(!option::IsPresent(occurrences[parser.storedCount]) && IsListOfOne(occurrences[parser.storedCount]),
            "occurrences end with an empty record");
    for (int32_t index = 0; index < parser.storedCount; ++index) {
        const ParsedOption& record = occurrences[index];
        Require(option::IsPresent(record) && record.spec->id + 1 < stats.slotCount, "stored record has a row");
        Require(args.Holds(record.text), "text is a view into the arguments");
        Require(record.value == nullptr || args.Holds(record.value), "value is a view into the arguments");
        Require(record.textLength == option::OptionTextLength(record.text), "text length rule");
    }
    for (uint32_t id = 0; id < stats.slotCount; ++id) {
        CheckSlot(id, slots[id], occurrences, parser.storedCount);
    }
    Require(parser.leftoverCount >= 0 && parser.leftoverCount <= argCount, "leftover count");
    if (parser.leftoverCount > 0) {
        Require(parser.leftover >= argv && parser.leftover + parser.leftoverCount == argv + argCount,
                "leftover runs to the last argument");
    }
    // The program keeps its arrays to the end of the run; the fuzzer must not.
    ::operator delete(slots);
    ::operator delete(occurrences);
}

}  // namespace fuzz
