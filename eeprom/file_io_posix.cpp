// The image file's calls on POSIX systems.
//
// Saving replaces the target by rename(2), which decides what a target name
// can be:
// - a missing name or a regular file: the new file takes its place; an
//   existing file's permission bits are kept, a new file gets 0666 less the
//   umask, as a plain create would give (owner and group become those of the
//   saving user, and other hard links keep the old content);
// - a symbolic link: the link itself is replaced by the new file and the
//   file it pointed to is not touched, so a save never writes outside the
//   named folder entry;
// - a folder, device, pipe or socket: refused before anything is created.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "eeprom/file_io.h"

namespace {

// The temporary name carries the target's name to show whose it is; a very
// long name is cut so the temporary name stays within the name limit.
constexpr size_t kNameKeptInTemporary = 64;
constexpr mode_t kPlainFileMode = 0666;

int DescriptorOf(FileHandle file)
{
    return static_cast<int>(file);
}

FileHandle OpenForReading(const char* fileName)
{
    // Non-blocking, so that naming a pipe cannot hang the open; for a regular
    // file the flag changes nothing.
    const int fd = open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return kNoFile;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return kNoFile;
    }
    return fd;
}

uint32_t FileSize(FileHandle file)
{
    struct stat status {};
    if (fstat(DescriptorOf(file), &status) != 0 || status.st_size < 0) {
        return 0;
    }
    const auto size = static_cast<uint64_t>(status.st_size);
    return size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
}

uint32_t ReadOnce(FileHandle file, void* buffer, uint32_t count)
{
    for (;;) {
        const ssize_t delivered = read(DescriptorOf(file), buffer, count);
        if (delivered >= 0) {
            return static_cast<uint32_t>(delivered);
        }
        if (errno != EINTR) {
            return 0;
        }
    }
}

void Close(FileHandle file)
{
    close(DescriptorOf(file));
}

// The folder part of a path with its trailing slash ("" for the current
// folder) and the name after it.
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t CurrentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Whether the target may be replaced, and the permission bits its new file
// gets (see the top of this file).
bool ChooseNewFileMode(const char* targetName, mode_t& mode)
{
    struct stat status {};
    if (lstat(targetName, &status) != 0) {
        mode = kPlainFileMode & ~CurrentUmask();
        return true;
    }
    if (S_ISREG(status.st_mode)) {
        mode = status.st_mode & 0777;
        return true;
    }
    if (S_ISLNK(status.st_mode)) {
        mode = kPlainFileMode & ~CurrentUmask();
        return true;
    }
    return false;
}

FileHandle CreateTemporary(const char* targetName, std::string& temporaryName)
{
    std::string folder;
    std::string name;
    SplitPath(targetName, folder, name);
    mode_t mode = 0;
    if (name.empty() || name == "." || name == ".." || !ChooseNewFileMode(targetName, mode)) {
        return kNoFile;
    }

    std::string pattern = folder + "." + name.substr(0, kNameKeptInTemporary) + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd < 0) {
        return kNoFile;
    }
    temporaryName.assign(buffer.data());
    // mkstemp makes the file private (0600); the saved image is an ordinary
    // file, so it gets the mode chosen above.
    if (fchmod(fd, mode) != 0) {
        close(fd);
        unlink(temporaryName.c_str());
        return kNoFile;
    }
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
}

uint32_t WriteOnce(FileHandle file, const void* data, uint32_t count)
{
    for (;;) {
        const ssize_t written = write(DescriptorOf(file), data, count);
        if (written >= 0) {
            return static_cast<uint32_t>(written);
        }
        if (errno != EINTR) {
            return 0;
        }
    }
}

bool FlushToDisk(FileHandle file)
{
    return fsync(DescriptorOf(file)) == 0;
}

// Makes the rename itself lasting. Some file systems cannot sync a folder;
// the new file is complete either way, so a failure here changes nothing.
void FlushFolderOf(const char* path)
{
    std::string folder;
    std::string name;
    SplitPath(path, folder, name);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

bool ReplaceTarget(const char* temporaryName, const char* targetName)
{
    if (rename(temporaryName, targetName) != 0) {
        return false;
    }
    FlushFolderOf(targetName);
    return true;
}

void RemoveTemporary(const char* temporaryName)
{
    unlink(temporaryName);
}

}  // namespace

const FileOperations kPlatformFileOperations = {
    OpenForReading, FileSize, ReadOnce, Close, CreateTemporary, WriteOnce, FlushToDisk, ReplaceTarget, RemoveTemporary,
};
