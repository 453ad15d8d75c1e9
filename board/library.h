// Loading a dynamic library at run time and finding an exported data object
// in it. Each platform supplies these three operations in its own file.
#ifndef KESTREL_BOARD_LIBRARY_H
#define KESTREL_BOARD_LIBRARY_H

// A loaded library as the platform names it: a module handle on Windows, a
// dynamic loader handle on POSIX. Null stands for no library.
using LibraryHandle = void*;

// Loads the library at `path`, resolving all its symbols now and keeping
// them to itself. Null when it does not load.
LibraryHandle OpenLibrary(const char* path);

// The address of the object that `library` exports as `name` (the object
// itself, not a pointer to it), or null when there is no such export.
void* FindLibraryExport(LibraryHandle library, const char* name);

// Unloads a library that OpenLibrary loaded.
void CloseLibrary(LibraryHandle library);

#endif
