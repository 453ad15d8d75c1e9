#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "eeprom/file_io.h"
#include "eeprom/image.h"
#include "eeprom/image_file.h"
#include "eeprom_test_support.h"

namespace eeprom_test {
namespace {

// What an image holds before a load, so that untouched bytes show.
const std::string kUntouched(128, '\xee');

using LoadImage = EepromTest;

TEST_F(LoadImage, TakesAtMostTheFirst128BytesAndKeepsTheRest)
{
    for (size_t size : {0u, 100u, 128u, 200u}) {
        SCOPED_TRACE(size);
        const fs::path path = Folder() / "image.bin";
        const std::string content = PatternBytes(size);
        WriteFileBytes(path, content);
        SetImageBytes(kUntouched);
        const size_t before = Output().size();

        EXPECT_EQ(LoadImageFile(path.c_str()), 0);

        const size_t loaded = size < 128 ? size : 128;
        EXPECT_EQ(ImageBytes(), content.substr(0, loaded) + kUntouched.substr(loaded));
        EXPECT_EQ(Output().substr(before), "EEPROM data was loaded successfully.\n");
    }
}

TEST_F(LoadImage, RefusesWhatIsNotAnExistingRegularFile)
{
    const std::string missing = (Folder() / "missing.bin").string();
    const std::string folder = Folder().string();
    for (const std::string& name : {missing, folder, std::string("/dev/null")}) {
        SCOPED_TRACE(name);
        SetImageBytes(kUntouched);
        const size_t before = Output().size();

        EXPECT_EQ(LoadImageFile(name.c_str()), -1);

        EXPECT_EQ(Output().substr(before), "Couldn`t open file " + name + "\n");
        EXPECT_EQ(ImageBytes(), kUntouched);
    }
}

TEST_F(LoadImage, ShortReadFails)
{
    static FileOperations shortRead = kPlatformFileOperations;
    shortRead.ReadOnce = [](FileHandle file, void* buffer, uint32_t count) {
        return kPlatformFileOperations.ReadOnce(file, buffer, count - 1);
    };
    m_fileOperations = &shortRead;
    const fs::path path = Folder() / "image.bin";
    WriteFileBytes(path, PatternBytes(128));

    EXPECT_EQ(LoadImageFile(path.c_str()), -3);
    EXPECT_EQ(Output(), "File reading failed!\n");
}

class SaveImage : public EepromTest {
protected:
    void SetUp() override
    {
        EepromTest::SetUp();
        SetImageBytes(SampleFileImage());
    }

    fs::path Target() const { return Folder() / "old_eeprom.bin"; }
};

TEST_F(SaveImage, ReplacesALongerFileWithExactlyTheImage)
{
    WriteFileBytes(Target(), PatternBytes(300));

    EXPECT_EQ(SaveImageFile(Target().c_str()), 1);

    EXPECT_EQ(Output(), "EEPROM data was saved successfully.\n");
    EXPECT_EQ(ReadFileBytes(Target()), SampleFileImage());
    EXPECT_EQ(FolderEntries(), std::set<std::string>{"old_eeprom.bin"});
}

TEST_F(SaveImage, NewFileIsAnOrdinaryFileAndAnOldFileKeepsItsMode)
{
    const mode_t mask = umask(027);
    const fs::path fresh = Folder() / "new.bin";
    WriteFileBytes(Target(), "old");
    ASSERT_EQ(chmod(Target().c_str(), 0604), 0);

    EXPECT_EQ(SaveImageFile(fresh.c_str()), 1);
    EXPECT_EQ(SaveImageFile(Target().c_str()), 1);
    umask(mask);

    struct stat status {};
    ASSERT_EQ(stat(fresh.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    ASSERT_EQ(stat(Target().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
}

TEST_F(SaveImage, ReplacesASymbolicLinkAndLeavesWhatItPointedTo)
{
    const fs::path pointed = Folder() / "elsewhere.bin";
    WriteFileBytes(pointed, "keep me");
    fs::create_symlink(pointed, Target());

    EXPECT_EQ(SaveImageFile(Target().c_str()), 1);

    EXPECT_FALSE(fs::is_symlink(Target()));
    EXPECT_EQ(ReadFileBytes(Target()), SampleFileImage());
    EXPECT_EQ(ReadFileBytes(pointed), "keep me");
}

TEST_F(SaveImage, NamesThatCannotHoldTheFileFailWithoutCreatingAnything)
{
    fs::create_directory(Folder() / "sub");
    const std::string cases[] = {
        (Folder() / "no_such_folder" / "a.bin").string(),  // missing folder
        (Folder() / "sub").string(),                       // a folder
        (Folder() / "sub").string() + "/",                 // a folder name only
    };
    for (const std::string& name : cases) {
        SCOPED_TRACE(name);
        const size_t before = Output().size();

        EXPECT_EQ(SaveImageFile(name.c_str()), -1);

        EXPECT_EQ(Output().substr(before), "Couldn`t open file\n");
        EXPECT_EQ(FolderEntries(), std::set<std::string>{"sub"});
        EXPECT_TRUE(fs::is_empty(Folder() / "sub"));
    }
}

// Each fault strikes after the temporary file exists, so each must remove it
// and leave the earlier backup as it was.
struct SaveFault {
    const char* what;
    FileOperations operations;
    int32_t result;
    const char* message;
};

FileOperations WithShortWrite()
{
    FileOperations operations = kPlatformFileOperations;
    operations.WriteOnce = [](FileHandle file, const void* data, uint32_t count) {
        return kPlatformFileOperations.WriteOnce(file, data, count / 2);
    };
    return operations;
}

FileOperations WithFailedFlush()
{
    FileOperations operations = kPlatformFileOperations;
    operations.FlushToDisk = [](FileHandle) { return false; };
    return operations;
}

FileOperations WithFailedRename()
{
    FileOperations operations = kPlatformFileOperations;
    operations.ReplaceTarget = [](const char*, const char*) { return false; };
    return operations;
}

TEST_F(SaveImage, FailureLeavesTheOldFileAndNoTemporaryFile)
{
    static const SaveFault faults[] = {
        {"short write", WithShortWrite(), -2, "Error write file\n"},
        {"failed flush", WithFailedFlush(), -1, "Couldn`t open file\n"},
        {"failed rename", WithFailedRename(), -1, "Couldn`t open file\n"},
    };
    for (const SaveFault& fault : faults) {
        SCOPED_TRACE(fault.what);
        WriteFileBytes(Target(), "earlier backup");
        m_fileOperations = &fault.operations;
        const size_t before = Output().size();

        EXPECT_EQ(SaveImageFile(Target().c_str()), fault.result);

        EXPECT_EQ(Output().substr(before), fault.message);
        EXPECT_EQ(ReadFileBytes(Target()), "earlier backup");
        EXPECT_EQ(FolderEntries(), std::set<std::string>{"old_eeprom.bin"});
    }
}

TEST_F(SaveImage, SavedFileLoadsBackToTheSameImage)
{
    ASSERT_EQ(SaveImageFile(Target().c_str()), 1);
    m_image = EepromImage{};

    EXPECT_EQ(LoadImageFile(Target().c_str()), 0);
    EXPECT_EQ(ImageBytes(), SampleFileImage());
}

}  // namespace
}  // namespace eeprom_test
