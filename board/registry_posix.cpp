// The registry on POSIX systems: HKEY_LOCAL_MACHINE is a folder fixed at
// build time, a key is a folder beneath it, a value is a regular file whose
// bytes are the value's text. Only plain string values exist here; anything
// in a value's place that is not a regular file counts as another type.
#include "board/registry.h"
#include "board/registry_posix.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* m_registryFolder = KESTREL_REGISTRY_DIR;

namespace {

// The key's folder: the registry folder, then the key name with each
// backslash read as a folder separator.
std::string KeyFolder(const char* keyName)
{
    std::string folder = m_registryFolder;
    folder += '/';
    for (const char* c = keyName; *c != '\0'; ++c) {
        folder += (*c == '\\') ? '/' : *c;
    }
    return folder;
}

// Reads up to `capacity` bytes, stopping early only at the end of the file.
// Returns the count read, or -1 on a read error.
ptrdiff_t ReadUpTo(int file, char* data, size_t capacity)
{
    size_t filled = 0;
    while (filled < capacity) {
        const ssize_t got = read(file, data + filled, capacity - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<size_t>(got);
    }
    return static_cast<ptrdiff_t>(filled);
}

// True when nothing follows in the file, which is what makes a full buffer
// hold the whole text.
bool AtEndOfFile(int file)
{
    char next = 0;
    return ReadUpTo(file, &next, 1) == 0;
}

// Reads the value's text into `data`: the file's bytes up to the first zero
// byte or the end of the file, one trailing line break dropped, then a
// terminating zero. False when the text with its terminator does not fit.
bool ReadValueText(int file, char* data, uint32_t& size)
{
    const size_t capacity = size;
    const ptrdiff_t filled = ReadUpTo(file, data, capacity);
    if (filled < 0) {
        return false;
    }
    size_t length = static_cast<size_t>(filled);
    const void* zero = std::memchr(data, '\0', length);
    const bool ended = (zero != nullptr) || length < capacity || AtEndOfFile(file);
    if (zero != nullptr) {
        length = static_cast<size_t>(static_cast<const char*>(zero) - data);
    }
    if (!ended) {
        return false;  // the text goes on past the buffer
    }
    if (length > 0 && data[length - 1] == '\n') {
        --length;
    }
    if (length >= capacity) {
        return false;  // no room for the terminator
    }
    data[length] = '\0';
    size = static_cast<uint32_t>(length + 1);
    return true;
}

}  // namespace

bool OpenRegistryKey(const char* keyName, RegistryKey& key)
{
    if (m_registryFolder == nullptr) {
        return false;
    }
    const int folder = open(KeyFolder(keyName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return false;
    }
    key.handle = folder;
    return true;
}

bool QueryRegistryValue(RegistryKey key, const char* valueName, RegistryValueType& type,
                        char* data, uint32_t& size)
{
    // Non-blocking, so that a pipe in the value's place is refused rather
    // than waited on.
    const int file = openat(static_cast<int>(key.handle), valueName,
                            O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    struct stat status {};
    bool found = fstat(file, &status) == 0;
    if (found && !S_ISREG(status.st_mode)) {
        type = RegistryValueType::Other;
        size = 0;
    } else if (found) {
        type = RegistryValueType::PlainString;
        found = ReadValueText(file, data, size);
    }
    close(file);
    return found;
}

void CloseRegistryKey(RegistryKey key)
{
    close(static_cast<int>(key.handle));
}
