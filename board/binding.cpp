// The driver library binding: a registry lookup for the library's path, the
// load, and the StaticFactory export.
#include "board/binding.h"

#include "board/registry.h"

#include <cstring>

LibraryHandle m_module = nullptr;
StaticFactory* m_factory = nullptr;

namespace {

constexpr char kDriverKey[] = "SOFTWARE\\Orvalis LTD\\Corvane\\1.0\\PLX9050";
constexpr char kPathValue[] = "path";
constexpr uint32_t kPathBufferSize = 256;

static_assert(sizeof kDriverKey <= kPathBufferSize, "the key name fits the path buffer");

// Makes sure the `size` bytes a string value delivered end within the
// buffer: a registry may store a string without its terminator. False when
// there is no room left to add one.
bool EndValueText(char* buffer, uint32_t size)
{
    if (size > kPathBufferSize) {
        return false;
    }
    if (std::memchr(buffer, '\0', size) != nullptr) {
        return true;
    }
    if (size == kPathBufferSize) {
        return false;
    }
    buffer[size] = '\0';
    return true;
}

}  // namespace

StaticFactory* BindDriverLibrary()
{
    UnbindDriverLibrary();

    // One buffer first names the key, then receives the library's path.
    char buffer[kPathBufferSize];
    std::memcpy(buffer, kDriverKey, sizeof kDriverKey);

    RegistryKey key{};
    if (!OpenRegistryKey(buffer, key)) {
        return nullptr;
    }
    RegistryValueType type = RegistryValueType::Other;
    uint32_t size = kPathBufferSize;
    const bool found = QueryRegistryValue(key, kPathValue, type, buffer, size);
    CloseRegistryKey(key);

    if (!found || type != RegistryValueType::PlainString || !EndValueText(buffer, size)) {
        return nullptr;
    }
    return LoadDriverLibrary(buffer);
}

StaticFactory* LoadDriverLibrary(const char* path)
{
    UnbindDriverLibrary();
    if (path == nullptr) {
        return nullptr;
    }
    m_module = OpenLibrary(path);
    if (m_module == nullptr) {
        return nullptr;
    }
    // The export is the factory object itself.
    m_factory = static_cast<StaticFactory*>(FindLibraryExport(m_module, PLX9050_FACTORY_EXPORT));
    return m_factory;
}

void UnbindDriverLibrary()
{
    if (m_module != nullptr) {
        CloseLibrary(m_module);
        m_module = nullptr;
    }
    m_factory = nullptr;
}
