// The decoded register report of the EEPROM image.
#ifndef KESTREL_EEPROM_REPORT_H
#define KESTREL_EEPROM_REPORT_H

// Prints the image, which must be in device order, between two separator
// lines: the eight header values, the 21 registers and the extra text.
void PrintImageReport();

#endif
