// The folder that stands for HKEY_LOCAL_MACHINE on POSIX systems. Each key is
// a folder beneath it (the key name with every backslash read as a folder
// separator), each value a regular file in the key's folder.
#ifndef KESTREL_BOARD_REGISTRY_POSIX_H
#define KESTREL_BOARD_REGISTRY_POSIX_H

// Fixed when the program is built; the program never changes it. Tests point
// it at a folder of their own.
extern const char* m_registryFolder;

#endif
