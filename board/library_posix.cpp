// Dynamic libraries on POSIX systems, through the dynamic loader.
#include "board/library.h"

#include <dlfcn.h>

LibraryHandle OpenLibrary(const char* path)
{
    // The loader takes an empty path as the program itself; that is never a
    // driver library.
    if (path[0] == '\0') {
        return nullptr;
    }
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* FindLibraryExport(LibraryHandle library, const char* name)
{
    return dlsym(library, name);
}

void CloseLibrary(LibraryHandle library)
{
    dlclose(library);
}
