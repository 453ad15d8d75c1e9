// The command-line parser: both passes over the program's option table.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "option/option_table.h"
#include "option/parser.h"

namespace option {
namespace {

// An argument vector as the platform hands it over, with its null entry.
struct Arguments {
    explicit Arguments(std::vector<std::string> texts) : texts(std::move(texts))
    {
        for (std::string& text : this->texts) {
            pointers.push_back(text.data());
        }
        pointers.push_back(nullptr);
    }
    int32_t Count() const { return static_cast<int32_t>(texts.size()); }
    char** Vector() { return pointers.data(); }

    std::vector<std::string> texts;
    std::vector<char*> pointers;
};

// Both passes as the run sequence drives them.
struct Parse {
    explicit Parse(std::vector<std::string> texts) : args(std::move(texts))
    {
        stats.Tally(OptionTable, args.Count(), args.Vector());
        slots = NewRecordArray(stats.slotCount);
        occurrences = NewRecordArray(stats.occurrenceCount);
    }
    // The program keeps its arrays to the end of the run; a test gives them back.
    ~Parse()
    {
        ::operator delete(slots);
        ::operator delete(occurrences);
    }
    Parse(const Parse&) = delete;
    Parse& operator=(const Parse&) = delete;
    Parser Run() { return Parser(OptionTable, args.Count(), args.Vector(), slots, occurrences); }

    Arguments args;
    Stats stats;
    ParsedOption* slots = nullptr;
    ParsedOption* occurrences = nullptr;
};

// Where a view must point: into argument `arg` at `offset`.
struct At {
    int arg;
    int offset;
};
constexpr At kAbsent{-1, 0};    // the slot is not present
constexpr At kNoValue{-2, 0};   // the slot is present, without a value

void ExpectSlot(const Parse& parse, uint32_t id, At expected)
{
    const ParsedOption& slot = parse.slots[id];
    if (expected.arg == kAbsent.arg) {
        EXPECT_FALSE(IsPresent(slot)) << "slot " << id;
        return;
    }
    ASSERT_TRUE(IsPresent(slot)) << "slot " << id;
    EXPECT_EQ(slot.spec->id, id);
    if (expected.arg == kNoValue.arg) {
        EXPECT_EQ(slot.value, nullptr) << "slot " << id;
    } else {
        // A view into the argument string itself, not a copy.
        EXPECT_EQ(slot.value, parse.args.pointers[expected.arg] + expected.offset) << "slot " << id;
    }
}

TEST(Parser, CommandLines)
{
    struct Case {
        std::vector<std::string> args;
        At flash;
        At save;
        At unknown;
        At firstText;  // `text` of the first occurrence stored
        int32_t stored;
        int32_t leftoverCount;
        int leftoverAt;  // argument index of `leftover`, -1 for none
        bool failed;
    };
    const std::vector<Case> cases = {
        {{}, kAbsent, kAbsent, kAbsent, kAbsent, 0, 0, -1, false},
        {{"-f", "a.bin"}, {1, 0}, kAbsent, kAbsent, {0, 1}, 1, 0, -1, false},
        {{"-fa.bin"}, {0, 2}, kAbsent, kAbsent, {0, 1}, 1, 0, -1, false},
        {{"--flash", "a.bin"}, {1, 0}, kAbsent, kAbsent, {0, 0}, 1, 0, -1, false},
        {{"--flash=a.bin"}, {0, 8}, kAbsent, kAbsent, {0, 0}, 1, 0, -1, false},
        {{"--flash="}, {0, 8}, kAbsent, kAbsent, {0, 0}, 1, 0, -1, false},
        {{"-f=a.bin"}, {0, 2}, kAbsent, kAbsent, {0, 1}, 1, 0, -1, false},
        {{"-flash"}, {0, 2}, kAbsent, kAbsent, {0, 1}, 1, 0, -1, false},
        {{"-f", "-s"}, {1, 0}, kAbsent, kAbsent, {0, 1}, 1, 0, -1, false},
        {{"-sf"}, kAbsent, {0, 2}, kAbsent, {0, 1}, 1, 0, -1, false},
        {{"-x"}, kAbsent, kAbsent, kNoValue, {0, 1}, 1, 0, -1, false},
        {{"--verbose"}, kAbsent, kAbsent, kNoValue, {0, 0}, 1, 0, -1, false},
        {{"--fla", "a.bin"}, kAbsent, kAbsent, kNoValue, {0, 0}, 1, 1, 1, false},
        {{"--=3"}, kAbsent, kAbsent, kNoValue, {0, 0}, 1, 0, -1, false},
        {{"-xf", "a.bin"}, {1, 0}, kAbsent, kNoValue, {0, 1}, 2, 0, -1, false},
        {{"-x", "a.bin", "-f", "b.bin"}, kAbsent, kAbsent, kNoValue, {0, 1}, 1, 3, 1, false},
        {{"a.bin", "-f", "b.bin"}, kAbsent, kAbsent, kAbsent, kAbsent, 0, 3, 0, false},
        {{"--", "-f", "a.bin"}, kAbsent, kAbsent, kAbsent, kAbsent, 0, 2, 1, false},
        {{"-"}, kAbsent, kAbsent, kAbsent, kAbsent, 0, 1, 0, false},
        {{"-f"}, kAbsent, kAbsent, kAbsent, kAbsent, 0, 0, -1, true},
        {{"--flash"}, kAbsent, kAbsent, kAbsent, kAbsent, 0, 0, -1, true},
        {{"-x", "-f"}, kAbsent, kAbsent, kNoValue, {0, 1}, 1, 0, -1, true},
        {{"-f", "a.bin", "-f", "b.bin"}, {1, 0}, kAbsent, kAbsent, {0, 1}, 2, 0, -1, false},
        {{"-f", "a.bin", "-s", "b.bin"}, {1, 0}, {3, 0}, kAbsent, {0, 1}, 2, 0, -1, false},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& arg : c.args) {
            line += arg + " ";
        }
        SCOPED_TRACE("arguments: " + line);
        Parse parse(c.args);
        ASSERT_NE(parse.slots, nullptr);
        ASSERT_NE(parse.occurrences, nullptr);
        const Parser parser = parse.Run();

        EXPECT_EQ(parser.failed, c.failed);
        EXPECT_EQ(parser.storedCount, c.stored);
        EXPECT_EQ(parse.stats.slotCount, 4u);
        EXPECT_EQ(parse.stats.occurrenceCount, static_cast<uint32_t>(c.stored) + 1);
        EXPECT_FALSE(IsPresent(parse.occurrences[c.stored]));
        EXPECT_EQ(parser.leftoverCount, c.leftoverCount);
        EXPECT_EQ(parser.leftover, c.leftoverAt < 0 ? nullptr : parse.args.Vector() + c.leftoverAt);
        ExpectSlot(parse, OptFlash, c.flash);
        ExpectSlot(parse, OptSave, c.save);
        ExpectSlot(parse, OptUnknown, c.unknown);
        if (c.firstText.arg >= 0) {
            EXPECT_EQ(parse.occurrences[0].text, parse.args.pointers[c.firstText.arg] + c.firstText.offset);
        }
    }
}

TEST(Parser, LaterOccurrencesAreLinkedBehindTheSlot)
{
    Parse parse({"-f", "a.bin", "-f", "b.bin", "--flash=c.bin"});
    const Parser parser = parse.Run();
    ASSERT_EQ(parser.storedCount, 3);
    EXPECT_EQ(parse.stats.occurrenceCount, 4u);
    const ParsedOption& slot = parse.slots[OptFlash];
    ParsedOption* second = &parse.occurrences[1];
    ParsedOption* third = &parse.occurrences[2];

    // The slot heads the list: slot, second, third, and back.
    EXPECT_EQ(slot.value, parse.args.pointers[1]);
    EXPECT_EQ(slot.nextLink, MakeLink(second, false));
    EXPECT_EQ(slot.prevLink, MakeLink(third, true));
    EXPECT_EQ(second->prevLink, MakeLink(&slot, false));
    EXPECT_EQ(second->nextLink, MakeLink(third, false));
    EXPECT_EQ(third->prevLink, MakeLink(second, false));
    EXPECT_EQ(third->nextLink, MakeLink(&slot, true));
    EXPECT_EQ(second->value, parse.args.pointers[3]);
    EXPECT_EQ(third->value, parse.args.pointers[4] + 8);
    EXPECT_EQ(Next(slot), second);
    EXPECT_EQ(Next(*third), nullptr);

    // The first occurrence's own record stays a list of one.
    const ParsedOption& first = parse.occurrences[0];
    EXPECT_EQ(first.nextLink, MakeLink(&first, true));
    EXPECT_EQ(first.prevLink, MakeLink(&first, true));
    EXPECT_EQ(first.value, parse.args.pointers[1]);
}

TEST(Parser, TextLengthRule)
{
    const struct {
        const char* text;
        int32_t length;
    } cases[] = {
        {nullptr, 0}, {"f", 1}, {"fa.bin", 1}, {"-", 1}, {"--flash=a.bin", 7}, {"--flash", 7}, {"-=x", 1}, {"-b", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OptionTextLength(c.text), c.length) << (c.text ? c.text : "(null)");
    }
    Parse parse({"--flash=a.bin"});
    parse.Run();
    EXPECT_EQ(parse.occurrences[0].textLength, 7);
    EXPECT_EQ(parse.slots[OptFlash].textLength, 7);
}

TEST(Parser, TableWithoutCatchAllRowSkipsUnknownOptions)
{
    const OptionSpec table[] = {
        {5, 0, "f", "flash", CheckValueRequired, nullptr},
        {0, 0, nullptr, nullptr, nullptr, nullptr},
    };
    Arguments args({"-xf", "a.bin", "--other"});
    Stats stats;
    stats.Tally(table, args.Count(), args.Vector());
    EXPECT_EQ(stats.slotCount, 7u);
    EXPECT_EQ(stats.occurrenceCount, 2u);
    ParsedOption* slots = NewRecordArray(stats.slotCount);
    ParsedOption* occurrences = NewRecordArray(stats.occurrenceCount);
    const Parser parser(table, args.Count(), args.Vector(), slots, occurrences);
    EXPECT_FALSE(parser.failed);
    EXPECT_EQ(parser.storedCount, 1);
    EXPECT_EQ(slots[5].value, args.pointers[1]);
    ::operator delete(slots);
    ::operator delete(occurrences);
}

TEST(Parser, StoreLimitAndCountLimit)
{
    Parse parse({"-f", "a.bin", "-s", "b.bin"});
    Arguments none({});
    Parser parser(OptionTable, none.Count(), none.Vector(), parse.slots, parse.occurrences);
    ASSERT_EQ(parser.storedCount, 0);
    // With a limit, occurrences past it are passed over without failing.
    Parser::StoreOptionAction limited(parser, parse.slots, parse.occurrences, 1);
    EXPECT_TRUE(ScanArguments(OptionTable, parse.args.Count(), parse.args.Vector(), limited, true));
    EXPECT_EQ(parser.storedCount, 1);
    EXPECT_TRUE(IsPresent(parse.slots[OptFlash]));
    EXPECT_FALSE(IsPresent(parse.slots[OptSave]));

    uint32_t count = 2147483647u;
    Stats::CountOptionsAction counter(count);
    EXPECT_FALSE(ScanArguments(OptionTable, parse.args.Count(), parse.args.Vector(), counter, false));
    EXPECT_EQ(count, 2147483647u);
}

TEST(Parser, MissingRecordArraysFailTheParse)
{
    Arguments args({"-f", "a.bin"});
    const Parser parser(OptionTable, args.Count(), args.Vector(), nullptr, nullptr);
    EXPECT_TRUE(parser.failed);
    EXPECT_EQ(parser.storedCount, 0);
}

TEST(RecordArray, HoldsEmptyListsOfOne)
{
    ParsedOption* records = NewRecordArray(3);
    ASSERT_NE(records, nullptr);
    for (int index = 0; index < 3; ++index) {
        const ParsedOption& record = records[index];
        EXPECT_FALSE(IsPresent(record));
        EXPECT_EQ(record.nextLink, MakeLink(&record, true));
        EXPECT_EQ(record.prevLink, MakeLink(&record, true));
        EXPECT_EQ(record.text, nullptr);
        EXPECT_EQ(record.value, nullptr);
        EXPECT_EQ(record.textLength, 0);
    }
    ::operator delete(records);
}

TEST(RecordArray, SizeBeyond32BitsGivesNull)
{
    EXPECT_EQ(NewRecordArray(0x7FFFFFFFu), nullptr);
}

}  // namespace
}  // namespace option
