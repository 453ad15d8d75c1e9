// Loading and saving the image file.
#include "eeprom/image_file.h"

#include <string>

#include "app/console.h"
#include "eeprom/file_io.h"
#include "eeprom/image.h"

namespace {

constexpr uint32_t kImageSize = sizeof(EepromImage);

}  // namespace

const FileOperations* m_fileOperations = &kPlatformFileOperations;

int32_t LoadImageFile(const char* fileName)
{
    const FileOperations& files = *m_fileOperations;
    const FileHandle file = files.OpenForReading(fileName);
    if (file == kNoFile) {
        WriteText("Couldn`t open file ");
        WriteText(fileName);
        EndLine();
        return -1;
    }

    // A longer file gives only its first 128 bytes; a shorter one leaves the
    // rest of the image as it was.
    const uint32_t size = files.FileSize(file);
    const uint32_t asked = size < kImageSize ? size : kImageSize;
    const uint32_t delivered = files.ReadOnce(file, &m_image, asked);
    files.Close(file);

    if (delivered != asked) {
        WriteLine("File reading failed!");
        return -3;
    }
    WriteLine("EEPROM data was loaded successfully.");
    return 0;
}

// The image goes to a new file beside the target, which replaces the target
// only when all 128 bytes are on the disk. A save that fails half-way thus
// never leaves an earlier backup truncated or half-written.
int32_t SaveImageFile(const char* fileName)
{
    const FileOperations& files = *m_fileOperations;
    std::string temporaryName;
    const FileHandle file = files.CreateTemporary(fileName, temporaryName);
    if (file == kNoFile) {
        WriteLine("Couldn`t open file");
        return -1;
    }

    const uint32_t written = files.WriteOnce(file, &m_image, kImageSize);
    const bool complete = written == kImageSize;
    const bool flushed = complete && files.FlushToDisk(file);
    files.Close(file);

    if (!complete) {
        files.RemoveTemporary(temporaryName.c_str());
        WriteLine("Error write file");
        return -2;
    }
    if (!flushed || !files.ReplaceTarget(temporaryName.c_str(), fileName)) {
        files.RemoveTemporary(temporaryName.c_str());
        WriteLine("Couldn`t open file");
        return -1;
    }
    WriteLine("EEPROM data was saved successfully.");
    return 1;
}
