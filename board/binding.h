// Finding, loading and unloading the board driver library. Its path comes
// from one registry value; what it yields is its exported StaticFactory
// object. Nothing here prints.
#ifndef KESTREL_BOARD_BINDING_H
#define KESTREL_BOARD_BINDING_H

#include "board/library.h"
#include "board/plx9050.h"

// The loaded driver library; null while none is loaded.
extern LibraryHandle m_module;

// The loaded library's StaticFactory object; null while there is none. Never
// set while m_module is null. When the library lacks the export, m_module
// stays set and m_factory null until the next bind, load or unbind.
extern StaticFactory* m_factory;

// Unloads any library, then loads the one whose path the registry value
// "path" of "SOFTWARE\Orvalis LTD\Corvane\1.0\PLX9050" (local machine) gives.
// Returns its StaticFactory object, or null on any failure.
StaticFactory* BindDriverLibrary();

// Unloads any library, then loads the library at `path` (null: load none).
// Returns its StaticFactory object, or null.
StaticFactory* LoadDriverLibrary(const char* path);

// Unloads the library, if one is loaded. Any board interface it created must
// not be used afterwards.
void UnbindDriverLibrary();

#endif
