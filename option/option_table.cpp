#include "option/option_table.h"

#include "option/parser.h"

namespace option {

ArgVerdict CheckNoValue(const ParsedOption&, bool)
{
    return ArgAbsent;
}

ArgVerdict CheckValueRequired(const ParsedOption& option, bool)
{
    return option.value != nullptr ? ArgAccepted : ArgRejected;
}

// Rows 0 and 3 carry only usage text; row 0, the first row without names,
// also collects every option no row names.
const OptionSpec OptionTable[5] = {
    {OptUnknown, 0, "", "", CheckNoValue, "USAGE: Kestrel.exe [options]\n\nOptions:"},
    {OptFlash, 0, "f", "flash", CheckValueRequired,
     "  --flash, -f  \tWrite EEPROM from *.bin file to device flash.\nUsage: -f solva5.bin"},
    {OptSave, 0, "s", "save", CheckValueRequired,
     "  --save, -s  \tSave current EEPROM data from device flash to file.\nUsage: -s old_eeprom.bin"},
    {OptUnknown, 0, "", "", CheckNoValue,
     "\nExamples:\n  Kestrel.exe -f vireo.bin\n  Kestrel.exe --flash solva5.bin\n  Kestrel.exe -s 2014_10_11.bin\n"},
    {0, 0, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace option
