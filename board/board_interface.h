// The board interface that the driver library's factory creates.
#ifndef KESTREL_BOARD_BOARD_INTERFACE_H
#define KESTREL_BOARD_BOARD_INTERFACE_H

#include "board/plx9050.h"

// Null at start; set once, right after the driver library is bound, and
// never released: the library owns it, and it is abandoned when the library
// is unloaded.
extern IPLX9050* m_pci;

#endif
