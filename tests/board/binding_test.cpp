// The driver library binding over a registry folder made by each test, with
// two small libraries: one exporting a StaticFactory object, one without.
#include "board/binding.h"
#include "board/registry.h"
#include "board/registry_posix.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kFactoryLibrary = TEST_FACTORY_LIBRARY;
const std::string kPlainLibrary = TEST_PLAIN_LIBRARY;

// Whether the dynamic loader holds the library at `path`, without loading it.
bool IsLoaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle != nullptr;
}

// The address of the factory library's StaticFactory object, as the loader
// sees it; null when the library is not loaded.
void* LoadedFactoryObject()
{
    void* handle = dlopen(kFactoryLibrary.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        return nullptr;
    }
    void* object = dlsym(handle, "StaticFactory");
    dlclose(handle);
    return object;
}

// `path` stretched to exactly `length` characters with extra folder
// separators before its file name; the loader still finds the same file.
std::string Stretched(const std::string& path, size_t length)
{
    const size_t slash = path.rfind('/');
    EXPECT_LT(path.size(), length);
    return path.substr(0, slash) + std::string(length - path.size(), '/') + path.substr(slash);
}

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kestrel-registry-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        savedFolder_ = m_registryFolder;
        m_registryFolder = root_.c_str();
        keyFolder_ = fs::path(root_) / "SOFTWARE" / "Orvalis LTD" / "Corvane" / "1.0" / "PLX9050";
    }

    void TearDown() override
    {
        UnbindDriverLibrary();
        m_registryFolder = savedFolder_;
        fs::remove_all(root_);
    }

    void MakeKey() { fs::create_directories(keyFolder_); }

    void RemoveKey() { fs::remove_all(fs::path(root_) / "SOFTWARE"); }

    void WriteValue(const std::string& bytes)
    {
        MakeKey();
        std::ofstream(keyFolder_ / "path", std::ios::binary | std::ios::trunc) << bytes;
    }

    void ExpectUnbound()
    {
        EXPECT_EQ(m_module, nullptr);
        EXPECT_EQ(m_factory, nullptr);
        EXPECT_FALSE(IsLoaded(kFactoryLibrary));
        EXPECT_FALSE(IsLoaded(kPlainLibrary));
    }

    std::string root_;
    fs::path keyFolder_;
    const char* savedFolder_ = nullptr;
};

TEST_F(BindingTest, BindsTheLibraryTheRegistryNames)
{
    WriteValue(kFactoryLibrary + "\n");

    StaticFactory* factory = BindDriverLibrary();

    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(static_cast<void*>(factory), LoadedFactoryObject());
    EXPECT_EQ(m_factory, factory);
    EXPECT_NE(m_module, nullptr);
    // The export is the object itself, so its table can be called.
    EXPECT_NE(factory->operations->CreateInterface(factory, PLX9050_INTERFACE_NAME, 0), nullptr);
}

// Every way the lookup or the load can fail, each tried right after a good
// library was loaded: a failed bind leaves nothing loaded.
TEST_F(BindingTest, FailedBindLeavesNothingLoaded)
{
    const std::string notALibrary = root_ + "/not-a-library.so";
    std::ofstream(notALibrary) << "text\n";

    const struct {
        const char* name;
        std::function<void()> arrange;
    } cases[] = {
        {"key missing", [] {}},
        {"value missing", [this] { MakeKey(); }},
        {"value is a folder", [this] { fs::create_directories(keyFolder_ / "path"); }},
        {"value is empty", [this] { WriteValue(""); }},
        {"value names no file", [this] { WriteValue(root_ + "/missing.so"); }},
        {"value names a file that is no library", [&] { WriteValue(notALibrary); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveKey();
        c.arrange();
        ASSERT_NE(LoadDriverLibrary(kFactoryLibrary.c_str()), nullptr);

        EXPECT_EQ(BindDriverLibrary(), nullptr);
        ExpectUnbound();
    }
}

// The value's text is the path: up to the first zero byte, one trailing
// line break dropped, at most 255 characters.
TEST_F(BindingTest, ValueTextBecomesThePath)
{
    const std::string path255 = Stretched(kFactoryLibrary, 255);
    const std::string path256 = Stretched(kFactoryLibrary, 256);
    const struct {
        const char* name;
        std::string text;
        bool binds;
    } cases[] = {
        {"plain", kFactoryLibrary, true},
        {"line break", kFactoryLibrary + "\n", true},
        {"two line breaks", kFactoryLibrary + "\n\n", false},
        {"zero byte ends it", kFactoryLibrary + std::string("\0/junk", 6), true},
        {"255 characters", path255, true},
        {"255 characters and a line break", path255 + "\n", true},
        {"256 characters", path256, false},
        {"256 characters and a line break", path256 + "\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteValue(c.text);

        StaticFactory* factory = BindDriverLibrary();

        if (c.binds) {
            EXPECT_NE(factory, nullptr);
            EXPECT_EQ(static_cast<void*>(factory), LoadedFactoryObject());
        } else {
            EXPECT_EQ(factory, nullptr);
            ExpectUnbound();
        }
        UnbindDriverLibrary();
    }
    // The long path itself is sound: only the lookup refuses it.
    EXPECT_NE(LoadDriverLibrary(path256.c_str()), nullptr);
}

// Without the export the library stays loaded, until the next bind, load or
// unbind takes it away.
TEST_F(BindingTest, MissingExportKeepsTheLibraryUntilTheNextCall)
{
    const struct {
        const char* name;
        std::function<void()> next;
    } cases[] = {
        {"bind", [this] { WriteValue(kFactoryLibrary); EXPECT_NE(BindDriverLibrary(), nullptr); }},
        {"load", [] { EXPECT_NE(LoadDriverLibrary(kFactoryLibrary.c_str()), nullptr); }},
        {"load of nothing", [] { EXPECT_EQ(LoadDriverLibrary(nullptr), nullptr); }},
        {"unbind", [] { UnbindDriverLibrary(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteValue(kPlainLibrary);

        EXPECT_EQ(BindDriverLibrary(), nullptr);
        EXPECT_NE(m_module, nullptr);
        EXPECT_EQ(m_factory, nullptr);
        EXPECT_TRUE(IsLoaded(kPlainLibrary));

        c.next();
        EXPECT_FALSE(IsLoaded(kPlainLibrary));
        UnbindDriverLibrary();
    }
}

TEST_F(BindingTest, BindingAgainUnloadsTheEarlierLibraryFirst)
{
    WriteValue(kFactoryLibrary);
    ASSERT_NE(BindDriverLibrary(), nullptr);

    WriteValue(kPlainLibrary);
    EXPECT_EQ(BindDriverLibrary(), nullptr);

    EXPECT_FALSE(IsLoaded(kFactoryLibrary));
    EXPECT_TRUE(IsLoaded(kPlainLibrary));
}

TEST_F(BindingTest, UnbindingLeadsToUnboundFromAnyState)
{
    UnbindDriverLibrary();
    ExpectUnbound();

    ASSERT_NE(LoadDriverLibrary(kFactoryLibrary.c_str()), nullptr);
    UnbindDriverLibrary();
    ExpectUnbound();
    UnbindDriverLibrary();
    ExpectUnbound();

    ASSERT_NE(LoadDriverLibrary(kFactoryLibrary.c_str()), nullptr);
    EXPECT_EQ(LoadDriverLibrary(nullptr), nullptr);
    ExpectUnbound();
}

// The registry layer stays within the caller's buffer, terminator included.
TEST_F(BindingTest, RegistryValueStaysWithinTheBuffer)
{
    const struct {
        std::string text;
        bool fits;
        std::string value;
    } cases[] = {
        {"1234567", true, "1234567"},
        {"1234567\n", true, "1234567"},
        {"12345678", false, ""},
        {"12345678\n", false, ""},
        {"", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteValue(c.text);
        RegistryKey key{};
        ASSERT_TRUE(OpenRegistryKey("SOFTWARE\\Orvalis LTD\\Corvane\\1.0\\PLX9050", key));
        std::vector<char> buffer(12, '#');
        RegistryValueType type = RegistryValueType::Other;
        uint32_t size = 8;

        const bool found = QueryRegistryValue(key, "path", type, buffer.data(), size);
        CloseRegistryKey(key);

        EXPECT_EQ(found, c.fits);
        if (c.fits) {
            EXPECT_EQ(type, RegistryValueType::PlainString);
            EXPECT_EQ(size, c.value.size() + 1);
            EXPECT_EQ(std::string(buffer.data()), c.value);
        }
        EXPECT_EQ(std::string(buffer.data() + 8, 4), "####");
    }
}

}  // namespace
