// Dynamic libraries on Windows, through the module loader.
#include <windows.h>

#include "board/library.h"

LibraryHandle OpenLibrary(const char* path)
{
    return LoadLibraryA(path);
}

// GetProcAddress gives the address of any export, data objects included;
// for the factory that address is the object itself.
void* FindLibraryExport(LibraryHandle library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library)
{
    FreeLibrary(static_cast<HMODULE>(library));
}
