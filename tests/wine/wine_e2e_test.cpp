// Kestrel.exe under Wine on what only the Windows calls decide: the registry
// value's type and length, and which names the image file calls
// open, create and replace. Skipped unless tests/wine/run-tests.sh runs the
// suite under Wine; everything else is the shared end-to-end suite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/e2e/harness.h"
#include "tests/fixtures/expected_texts.h"
#include "tests/wine/wine_host.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kListing[] = "Search for PLX9050 devices...\n[1] Merin-A1 [id=0x1adc1]\nPress any key to exit...\n";
const char kNotFound[] = "PLX9050.DLL library was not found!\nPress any key to exit...\n";

class UnderWine : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!wine::Enabled()) {
            GTEST_SKIP() << "runs only under Wine (tests/wine/run-tests.sh)";
        }
    }

    Result Go(const std::vector<std::string>& args)
    {
        return RunChecked(ws, args);
    }

    // A copy of the simulated DLL whose full Windows path is `length` long.
    std::string LibraryPathOfLength(size_t length)
    {
        const std::string folder = wine::WindowsPath(ws.dir()) + "\\";
        const std::string name = std::string(length - folder.size() - 4, 'p') + ".dll";
        fs::copy_file(std::getenv("KESTREL_E2E_WINE_SIM"), ws.Path(name), fs::copy_options::overwrite_existing);
        return folder + name;
    }

    // Files the save left beside its target under a temporary name.
    std::vector<std::string> LeftoverFiles() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(ws.dir())) {
            const std::string name = entry.path().filename().string();
            if (name[0] == '.') {
                names.push_back(name);
            }
        }
        return names;
    }

    Workspace ws;
};

TEST_F(UnderWine, OnlyAPlainStringValueNamesTheLibrary)
{
    struct Case {
        const char* type;
        std::string data;
        bool found;
    };
    const std::string dll = wine::SimulatedLibrary();
    for (const Case& c : {Case{"REG_SZ", dll, true}, Case{"REG_EXPAND_SZ", dll, false},
                          Case{"REG_MULTI_SZ", dll, false}, Case{"REG_SZ", dll + ".missing", false},
                          Case{"REG_SZ", "", false}}) {
        SCOPED_TRACE(std::string(c.type) + " " + c.data);
        wine::SetLibraryPath(c.data, c.type);
        const Result result = Go({"-x"});
        EXPECT_EQ(result.output, c.found ? kListing : kNotFound);
        EXPECT_EQ(result.exitStatus, c.found ? 0 : 2);
    }
}

// A string stored without its terminator cannot be made here: Wine 8 ends
// every REG_SZ it stores (through reg.exe, regedit and RegSetValueExA/W
// alike), so only the length limit shows under Wine.
TEST_F(UnderWine, APathFitsInTwoHundredFiftyFiveCharacters)
{
    for (const size_t length : {255u, 256u}) {
        SCOPED_TRACE(length);
        wine::SetLibraryPath(LibraryPathOfLength(length));
        EXPECT_EQ(Go({"-x"}).output, length == 255 ? kListing : kNotFound);
    }
}

TEST_F(UnderWine, OnlyAnOrdinaryFileLoadsAsAnImage)
{
    fs::create_directory(ws.Path("folder.bin"));
    for (const char* name : {"folder.bin", "NUL", "CON"}) {
        SCOPED_TRACE(name);
        const Result result = Go({"-f", name});
        EXPECT_NE(result.output.find(std::string("Couldn`t open file ") + name + "\n\nPress any key to exit..."),
                  std::string::npos)
            << result.output;
        EXPECT_EQ(CountCalls(ws.Calls(), "WriteFlash"), 0);
    }
}

TEST_F(UnderWine, ASaveReplacesTheTargetWholeAndLeavesNothingBehind)
{
    ws.SetEeproms(fixtures::SampleDeviceImage());
    ws.WriteFile("old.bin", std::string(300, 'o'));
    Result result = Go({"-s", "old.bin"});
    EXPECT_NE(result.output.find("EEPROM data was saved successfully.\n"), std::string::npos);
    EXPECT_EQ(Hex(ws.ReadFile("old.bin")), Hex(fixtures::SampleFileImage()));
    EXPECT_EQ(LeftoverFiles(), std::vector<std::string>{});

    // A folder of that name stays a folder.
    fs::create_directory(ws.Path("folder.bin"));
    result = Go({"-s", "folder.bin"});
    EXPECT_NE(result.output.find("Couldn`t open file\nPress any key to exit...\n"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(ws.Path("folder.bin")));
    EXPECT_EQ(LeftoverFiles(), std::vector<std::string>{});
}

}  // namespace
}  // namespace e2e
