// The image file: the EEPROM image in file order, byte for byte.
#ifndef KESTREL_EEPROM_IMAGE_FILE_H
#define KESTREL_EEPROM_IMAGE_FILE_H

#include <cstdint>

// Reads up to the first 128 bytes of the file into the image, from byte 0;
// image bytes beyond a shorter file keep their value. Prints one message.
// Returns 0 when every byte asked for was read, -1 when the file cannot be
// opened, -3 when fewer bytes were read than asked for.
int32_t LoadImageFile(const char* fileName);

// Writes the 128 bytes of the image as the file, replacing any file of that
// name only once the new content is complete on the disk. Prints one message.
// Returns 1 when saved, -1 when the file cannot be created or put in place,
// -2 when fewer than 128 bytes were written. After a failure an existing file
// of that name is left as it was.
int32_t SaveImageFile(const char* fileName);

#endif
