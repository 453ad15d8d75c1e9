// Read-only access to keys of the local machine hive, as narrow as the
// driver library lookup needs: open a key, query one value, close the key.
// Each platform supplies these three operations in its own file.
#ifndef KESTREL_BOARD_REGISTRY_H
#define KESTREL_BOARD_REGISTRY_H

#include <cstdint>

// An open key of HKEY_LOCAL_MACHINE. What `handle` holds is the platform's
// own: a key handle on Windows, a descriptor of the key's folder on POSIX.
struct RegistryKey {
    intptr_t handle;
};

// The type of a value: a plain string (REG_SZ) or anything else.
enum class RegistryValueType {
    PlainString,
    Other,
};

// Opens the key `keyName` (parts separated by backslashes) for reading.
// `keyName` is used only during the call. False when the key is missing or
// cannot be opened for reading; `key` is then left unchanged.
bool OpenRegistryKey(const char* keyName, RegistryKey& key);

// Queries the value `valueName` of `key`. On entry `size` is the capacity of
// `data` in bytes; on success it is the number of bytes stored, and `type`
// tells the value's type. The data of a plain string may lack its
// terminating zero on some platforms, so the caller ends it itself. False
// when the value is missing, cannot be read, or does not fit `data`.
// Nothing beyond `size` bytes of `data` is ever touched.
bool QueryRegistryValue(RegistryKey key, const char* valueName, RegistryValueType& type,
                        char* data, uint32_t& size);

// Closes a key that OpenRegistryKey opened.
void CloseRegistryKey(RegistryKey key);

#endif
