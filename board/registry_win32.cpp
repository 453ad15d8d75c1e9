// The registry on Windows: keys of HKEY_LOCAL_MACHINE opened for reading,
// one value queried into the caller's buffer. Only REG_SZ counts as a plain
// string; REG_EXPAND_SZ and every other type are reported as other types, so
// their data is never taken, let alone expanded.
#include <windows.h>

#include "board/registry.h"

namespace {

HKEY KeyOf(RegistryKey key)
{
    return reinterpret_cast<HKEY>(key.handle);
}

}  // namespace

bool OpenRegistryKey(const char* keyName, RegistryKey& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    key.handle = reinterpret_cast<intptr_t>(opened);
    return true;
}

// The data comes as stored: a string written without its terminating zero
// arrives without it, and the caller ends it within the buffer. A value
// larger than the buffer fails (ERROR_MORE_DATA) with nothing to rely on.
bool QueryRegistryValue(RegistryKey key, const char* valueName, RegistryValueType& type,
                        char* data, uint32_t& size)
{
    DWORD storedType = REG_NONE;
    DWORD storedSize = size;
    if (RegQueryValueExA(KeyOf(key), valueName, nullptr, &storedType, reinterpret_cast<BYTE*>(data), &storedSize) !=
        ERROR_SUCCESS) {
        return false;
    }
    type = storedType == REG_SZ ? RegistryValueType::PlainString : RegistryValueType::Other;
    size = storedSize;
    return true;
}

void CloseRegistryKey(RegistryKey key)
{
    RegCloseKey(KeyOf(key));
}
