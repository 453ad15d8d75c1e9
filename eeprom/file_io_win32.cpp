// The image file's calls on Windows.
//
// Saving writes a new file beside the target and moves it over the target
// with MoveFileExA, which decides what a target name can be:
// - a missing name or a file: the new file takes its place, with the archive
//   attribute and the folder's inherited permissions (an existing file's own
//   attributes and permissions are not carried over); a read-only file is
//   not replaced and the save fails;
// - a folder: refused before anything is created.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "eeprom/file_io.h"

namespace {

// The temporary name carries the target's name to show whose it is; a very
// long name is cut so the temporary name stays within the path limit.
constexpr size_t kNameKeptInTemporary = 64;
// Tries of a fresh temporary name before giving up.
constexpr int kTemporaryNameTries = 100;

HANDLE HandleOf(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

FileHandle FileOf(HANDLE handle)
{
    return reinterpret_cast<FileHandle>(handle);
}

static_assert(kNoFile == -1, "kNoFile is the value of INVALID_HANDLE_VALUE");

// Only an ordinary file on a disk is an image: CreateFileA also opens
// devices (CON, NUL, COM1) and pipes, which are refused here.
bool IsOrdinaryFile(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information;
    return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &information) &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileHandle OpenForReading(const char* fileName)
{
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened at all.
    const HANDLE handle =
        CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return kNoFile;
    }
    if (!IsOrdinaryFile(handle)) {
        CloseHandle(handle);
        return kNoFile;
    }
    return FileOf(handle);
}

uint32_t FileSize(FileHandle file)
{
    DWORD high = 0;
    const DWORD low = GetFileSize(HandleOf(file), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return 0;
    }
    return high != 0 ? UINT32_MAX : low;
}

uint32_t ReadOnce(FileHandle file, void* buffer, uint32_t count)
{
    // Only the count delivered tells how the read went.
    DWORD delivered = 0;
    ReadFile(HandleOf(file), buffer, count, &delivered, nullptr);
    return delivered;
}

void Close(FileHandle file)
{
    CloseHandle(HandleOf(file));
}

// The folder part of a path, with its separator or drive colon ("" for the
// current folder), and the name after it.
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t end = path.find_last_of("\\/:");
    folder = end == std::string::npos ? std::string() : path.substr(0, end + 1);
    name = end == std::string::npos ? path : path.substr(end + 1);
}

bool IsFolder(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A name that no other save of this process or of another one picks at the
// same moment: the process id, a counter and the clock.
std::string TemporaryName(const std::string& folder, const std::string& name, int attempt)
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%lx%lx%x.tmp", static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned long>(GetTickCount()), static_cast<unsigned>(attempt));
    return folder + "." + name.substr(0, kNameKeptInTemporary) + suffix;
}

FileHandle CreateTemporary(const char* targetName, std::string& temporaryName)
{
    std::string folder;
    std::string name;
    SplitPath(targetName, folder, name);
    if (name.empty() || name == "." || name == ".." || IsFolder(targetName)) {
        return kNoFile;
    }
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::string candidate = TemporaryName(folder, name, attempt);
        // Shared with nobody while it is written; CREATE_NEW never takes over
        // an existing file.
        const HANDLE handle = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_ARCHIVE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            temporaryName = candidate;
            return FileOf(handle);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return kNoFile;  // no such folder, no right to create, ...
        }
    }
    return kNoFile;
}

uint32_t WriteOnce(FileHandle file, const void* data, uint32_t count)
{
    DWORD written = 0;
    WriteFile(HandleOf(file), data, count, &written, nullptr);
    return written;
}

bool FlushToDisk(FileHandle file)
{
    return FlushFileBuffers(HandleOf(file)) != 0;
}

// MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
bool ReplaceTarget(const char* temporaryName, const char* targetName)
{
    return MoveFileExA(temporaryName, targetName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveTemporary(const char* temporaryName)
{
    DeleteFileA(temporaryName);
}

}  // namespace

const FileOperations kPlatformFileOperations = {
    OpenForReading, FileSize, ReadOnce, Close, CreateTemporary, WriteOnce, FlushToDisk, ReplaceTarget, RemoveTemporary,
};
