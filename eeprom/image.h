// The process-wide EEPROM image and its two word orders.
#ifndef KESTREL_EEPROM_IMAGE_H
#define KESTREL_EEPROM_IMAGE_H

#include <cstddef>
#include <cstdint>

#include "board/plx9050.h"

// The one image of the process: zero at start, never cleared.
extern EepromImage m_image;

// Little-endian reads and writes, right on any host.
uint16_t ReadLe16(const Le16& value);
uint32_t ReadLe32(const Le32& value);
void WriteLe32(Le32& value, uint32_t number);

// The image seen as 32 little-endian 32-bit words; word i is at byte 4 * i.
constexpr size_t kImageWordCount = 32;
uint32_t ReadImageWord(const EepromImage& image, size_t index);
void WriteImageWord(EepromImage& image, size_t index, uint32_t word);

// Converts the process-wide image between file order and device order: the
// two 16-bit halves of each register word (words 4 to 24) are exchanged.
void SwapRegisterHalves();

#endif
