#include "board/board_interface.h"

IPLX9050* m_pci = nullptr;
