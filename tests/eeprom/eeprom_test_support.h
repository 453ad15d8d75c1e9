// Shared pieces of the image tests: the process-wide image reset for every
// test, standard output captured, a scratch folder, and the sample image.
#ifndef KESTREL_TESTS_EEPROM_EEPROM_TEST_SUPPORT_H
#define KESTREL_TESTS_EEPROM_EEPROM_TEST_SUPPORT_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "eeprom/file_io.h"
#include "eeprom/image.h"
#include "tests/fixtures/expected_texts.h"

namespace eeprom_test {

namespace fs = std::filesystem;

using fixtures::SampleFileImage;

// A recognisable byte run: byte i is (i * 7 + 1) mod 256, never zero for
// the first 36 bytes and different from its neighbours.
inline std::string PatternBytes(size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>((i * 7 + 1) & 0xff);
    }
    return bytes;
}

inline std::string ImageBytes()
{
    return std::string(reinterpret_cast<const char*>(&m_image), sizeof m_image);
}

inline void SetImageBytes(const std::string& bytes)
{
    ASSERT_EQ(bytes.size(), sizeof m_image);
    std::memcpy(&m_image, bytes.data(), sizeof m_image);
}

inline std::string ReadFileBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every test starts from an all-zero image, the platform's file calls and
// an empty scratch folder, and sees what it printed in Output().
class EepromTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_image = EepromImage{};
        m_fileOperations = &kPlatformFileOperations;
        std::string pattern = (fs::temp_directory_path() / "kestrel-eeprom-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        savedOutput_ = std::cout.rdbuf(output_.rdbuf());
    }

    void TearDown() override
    {
        std::cout.rdbuf(savedOutput_);
        m_fileOperations = &kPlatformFileOperations;
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string Output() const { return output_.str(); }
    fs::path Folder() const { return folder_; }

    std::set<std::string> FolderEntries() const
    {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

private:
    std::ostringstream output_;
    std::streambuf* savedOutput_ = nullptr;
    fs::path folder_;
};

}  // namespace eeprom_test

#endif
