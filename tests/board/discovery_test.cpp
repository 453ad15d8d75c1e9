// Board discovery and selection against an in-process board library, with
// standard output and standard input redirected into the test.
#include "board/discovery.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Keeps what was written apart from what was flushed, so a test can tell
// whether a line was on the screen at a given moment.
class FlushRecorder : public std::streambuf {
public:
    std::string flushed;
    std::string pending;

    std::string All() const { return flushed + pending; }

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            pending += traits_type::to_char_type(c);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending.append(text, static_cast<size_t>(count));
        return count;
    }

    int sync() override
    {
        flushed += pending;
        pending.clear();
        return 0;
    }
};

// The boards of the fake library: what InitDevice answers for each board
// number (boards past the list do not answer) and the ID each reports.
struct FakeBoards {
    std::vector<int32_t> answers;
    std::vector<uint32_t> ids;
    std::vector<int32_t> probed;
    std::vector<std::string> flushedAtProbe;
    bool oddArguments = false;
    int32_t current = 0;
    const FlushRecorder* output = nullptr;
};

FakeBoards fake;

int32_t FakeInitDevice(IPLX9050*, const char* location, int32_t board)
{
    fake.probed.push_back(board);
    fake.flushedAtProbe.push_back(fake.output->flushed);
    fake.oddArguments |= (location == nullptr || location[0] != '\0');
    fake.current = board;
    const size_t index = static_cast<size_t>(board - 1);
    return index < fake.answers.size() ? fake.answers[index] : 0;
}

int32_t FakeGetInfo(IPLX9050*, uint32_t selector)
{
    fake.oddArguments |= (selector != 5);
    return static_cast<int32_t>(fake.ids.at(static_cast<size_t>(fake.current - 1)));
}

const IPLX9050Operations kFakeOperations = {nullptr, nullptr, FakeInitDevice, FakeGetInfo,
                                            nullptr, nullptr};
IPLX9050 fakeInterface = {&kFakeOperations};

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake = FakeBoards{};
        fake.output = &output_;
        savedOutput_ = std::cout.rdbuf(&output_);
        savedInput_ = std::cin.rdbuf(&input_);
        FillBoardModelTable();
    }

    void TearDown() override
    {
        std::cout.rdbuf(savedOutput_);
        std::cin.rdbuf(savedInput_);
    }

    // Boards 1..n answer with 1 and report `ids` in turn.
    uint32_t Discover(const std::vector<uint32_t>& ids)
    {
        fake.answers.assign(ids.size(), 1);
        fake.ids = ids;
        return DiscoverBoards(&fakeInterface);
    }

    int32_t Select(uint32_t count, const std::string& typed)
    {
        input_.str(typed);
        return SelectBoard(count);
    }

    FlushRecorder output_;
    std::stringbuf input_;
    std::streambuf* savedOutput_ = nullptr;
    std::streambuf* savedInput_ = nullptr;
};

constexpr char kHeader[] = "Search for PLX9050 devices...\n";

TEST_F(DiscoveryTest, ListsKnownModelsByName)
{
    EXPECT_EQ(Discover({0x1ADC1, 0x2ADC1, 0x3ADC1, 0x1DDD1, 0x3DAC1, 0x2DDD1}), 6u);

    EXPECT_EQ(output_.All(), std::string(kHeader) +
                                 "[1] Merin-A1 [id=0x1adc1]\n"
                                 "[2] Merin-A2 [id=0x2adc1]\n"
                                 "[3] Merin-A3 [id=0x3adc1]\n"
                                 "[4] Merin-D4 [id=0x1ddd1]\n"
                                 "[5] Solva-B5 [id=0x3dac1]\n"
                                 "[6] Solva-P6 [id=0x2ddd1]\n");
    EXPECT_FALSE(fake.oddArguments);
}

TEST_F(DiscoveryTest, ListsUnknownIdsInHexWithoutSign)
{
    EXPECT_EQ(Discover({0xABCDE, 0x80000000, 0xFFFFFFFF, 0, 0x1ADC0}), 5u);

    EXPECT_EQ(output_.All(), std::string(kHeader) +
                                 "[1] Unknown device [id=0xabcde]\n"
                                 "[2] Unknown device [id=0x80000000]\n"
                                 "[3] Unknown device [id=0xffffffff]\n"
                                 "[4] Unknown device [id=0x0]\n"
                                 "[5] Unknown device [id=0x1adc0]\n");
}

TEST_F(DiscoveryTest, ListsBoardsWithTheSameIdAlike)
{
    EXPECT_EQ(Discover({0x3DAC1, 0x3DAC1}), 2u);

    EXPECT_EQ(output_.All(), std::string(kHeader) +
                                 "[1] Solva-B5 [id=0x3dac1]\n"
                                 "[2] Solva-B5 [id=0x3dac1]\n");
}

TEST_F(DiscoveryTest, EachLineIsOnTheScreenBeforeTheNextProbe)
{
    Discover({0x1ADC1, 0xABC});

    ASSERT_EQ(fake.flushedAtProbe.size(), 3u);
    EXPECT_EQ(fake.flushedAtProbe[0], kHeader);
    EXPECT_EQ(fake.flushedAtProbe[1], std::string(kHeader) + "[1] Merin-A1 [id=0x1adc1]\n");
    EXPECT_EQ(fake.flushedAtProbe[2], output_.All());
    EXPECT_EQ(output_.pending, "");
}

// Probing stops at the first board that does not answer, even when a later
// one would; any answer above 0 counts as present.
TEST_F(DiscoveryTest, ProbingStopsAtTheFirstSilentBoard)
{
    const struct {
        std::vector<int32_t> answers;
        uint32_t count;
    } cases[] = {
        {{}, 0},
        {{0, 1}, 0},
        {{1, 0, 1}, 1},
        {{1, -1, 1}, 1},
        {{2, 1, 0, 1}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.answers));
        fake.answers = c.answers;
        fake.ids.assign(c.answers.size(), 0x1ADC1);
        fake.probed.clear();
        output_.flushed.clear();

        EXPECT_EQ(DiscoverBoards(&fakeInterface), c.count);

        std::vector<int32_t> expectedProbes;
        for (int32_t board = 1; board <= static_cast<int32_t>(c.count) + 1; ++board) {
            expectedProbes.push_back(board);
        }
        EXPECT_EQ(fake.probed, expectedProbes);
        std::string expected = kHeader;
        for (uint32_t board = 1; board <= c.count; ++board) {
            expected += "[" + std::to_string(board) + "] Merin-A1 [id=0x1adc1]\n";
        }
        EXPECT_EQ(output_.All(), expected);
    }
}

TEST_F(DiscoveryTest, TenthBoardIsListedAndChosenAsTen)
{
    EXPECT_EQ(Discover(std::vector<uint32_t>(10, 0x2DDD1)), 10u);
    EXPECT_NE(output_.All().find("\n[10] Solva-P6 [id=0x2ddd1]\n"), std::string::npos);

    EXPECT_EQ(Select(10, "10\n"), 10);
}

TEST_F(DiscoveryTest, ModelsAreFoundOnlyByExactId)
{
    EXPECT_STREQ(FindBoardModel(0x1ADC1), "Merin-A1");
    EXPECT_STREQ(FindBoardModel(0x2DDD1), "Solva-P6");
    EXPECT_EQ(FindBoardModel(0x1ADC1 | 0x80000000), nullptr);
    EXPECT_EQ(FindBoardModel(0), nullptr);

    FillBoardModelTable();
    EXPECT_EQ(BoardModelTable.count, 6u);
}

// Among two boards the typed number decides; anything that is not a board
// number gives 0, no valid selection.
TEST_F(DiscoveryTest, SelectionTakesOnlyABoardNumber)
{
    const struct {
        const char* typed;
        int32_t selection;
    } cases[] = {
        {"2\n", 2},  {"   2\n", 2}, {"\n\n2\n", 2}, {"2abc\n", 2}, {"1\n", 1},
        {"-1\n", 0}, {"0\n", 0},    {"3\n", 0},     {"abc\n", 0}, {"99999999999\n", 0},
        {"", 0},     {"\n\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.typed));
        output_.flushed.clear();

        EXPECT_EQ(Select(2, c.typed), c.selection);
        EXPECT_EQ(output_.flushed, "Select device to work with: ");
        EXPECT_EQ(output_.pending, "");
    }
}

TEST_F(DiscoveryTest, OneBoardIsChosenWithoutAsking)
{
    EXPECT_EQ(Select(1, "2\n"), 1);

    EXPECT_EQ(output_.All(), "");
    EXPECT_EQ(input_.in_avail(), 2);
}

}  // namespace
