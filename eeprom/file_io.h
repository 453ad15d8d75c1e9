// The file calls that the image file needs, as one table of operations per
// platform. The image file code goes through `m_fileOperations` only, so the
// platform layer stays small and tests can swap in a table that fails on
// purpose (a short read, a short write, a failed flush or rename).
#ifndef KESTREL_EEPROM_FILE_IO_H
#define KESTREL_EEPROM_FILE_IO_H

#include <cstdint>
#include <string>

// An open file: a descriptor on POSIX, a handle value on Windows.
using FileHandle = intptr_t;

// The value of a file that could not be opened or created (also the value
// of an invalid handle on Windows).
constexpr FileHandle kNoFile = -1;

struct FileOperations {
    // Opens an existing regular file for reading, letting others read it
    // meanwhile. Anything that is not a regular file (a folder, a device, a
    // pipe) is refused. Returns kNoFile when the file cannot be opened.
    FileHandle (*OpenForReading)(const char* fileName);

    // The size of an open file in bytes; a size that does not fit 32 bits
    // gives UINT32_MAX.
    uint32_t (*FileSize)(FileHandle file);

    // One read request of `count` bytes into `buffer`; returns the count
    // delivered (0 on an error).
    uint32_t (*ReadOnce)(FileHandle file, void* buffer, uint32_t count);

    // Closes a file opened or created by this table.
    void (*Close)(FileHandle file);

    // Creates a new, empty file with a unique name in the folder of
    // `targetName`, open for writing, and stores its name in `temporaryName`.
    // Refuses (kNoFile) when the target names something that cannot be
    // replaced by a file, such as a folder.
    FileHandle (*CreateTemporary)(const char* targetName, std::string& temporaryName);

    // One write request of `count` bytes from `data`; returns the count
    // written (0 on an error).
    uint32_t (*WriteOnce)(FileHandle file, const void* data, uint32_t count);

    // Pushes what was written to the disk; false when that fails.
    bool (*FlushToDisk)(FileHandle file);

    // Puts the closed temporary file in place of the target in one step, so
    // the target name holds either the old file or the complete new one.
    bool (*ReplaceTarget)(const char* temporaryName, const char* targetName);

    // Removes a temporary file that is not wanted any more.
    void (*RemoveTemporary)(const char* temporaryName);
};

// The operations of the platform the program was built for.
extern const FileOperations kPlatformFileOperations;

// The operations in use; points to kPlatformFileOperations unless a test
// replaced it.
extern const FileOperations* m_fileOperations;

#endif
