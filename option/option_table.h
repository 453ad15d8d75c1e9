// The options the program understands and the usage text that goes with
// them. A table is an array of OptionSpec rows closed by a terminating row
// whose fields are all absent; the parser and the usage printer walk any such
// table, the program uses OptionTable.
#ifndef KESTREL_OPTION_OPTION_TABLE_H
#define KESTREL_OPTION_OPTION_TABLE_H

#include <cstdint>

namespace option {

struct ParsedOption;

// What an argument check decides about an occurrence's argument.
enum ArgVerdict : int32_t {
    ArgAbsent = 0,    // no argument: the value is cleared, the next letter of a group is read as an option
    ArgAccepted = 1,  // the value stays; a following argument used as value is consumed
    ArgDropped = 2,   // treated exactly like ArgAbsent
    ArgRejected = 3,  // the scan stops and fails; the occurrence is not stored
};

// Decides whether and how an option takes an argument. `reportErrors` is
// true in the storing pass and false in the counting pass.
using ArgCheck = ArgVerdict (*)(const ParsedOption& option, bool reportErrors);

struct OptionSpec {
    uint32_t id;             // the option index; several rows may share one
    int32_t kind;            // free per-row integer, unused by the program
    const char* shortChars;  // every character is one accepted short option letter
    const char* longName;    // the long form without its leading "--"
    ArgCheck argCheck;
    const char* helpText;    // usage text with its layout characters ("\t", "\v", "\n")
};

// Row indices of OptionTable that the run sequence reads. OptUnknown also
// receives every option that no row names.
enum OptionIndex : uint32_t {
    OptUnknown = 0,
    OptFlash = 1,
    OptSave = 2,
};

// The option takes no argument.
ArgVerdict CheckNoValue(const ParsedOption& option, bool reportErrors);

// The option needs an argument; an empty text counts as one.
ArgVerdict CheckValueRequired(const ParsedOption& option, bool reportErrors);

// Rows before the terminator have both names present (possibly empty). A row
// missing either name ends the table, so a malformed row never reaches a
// name comparison.
inline bool IsTerminator(const OptionSpec& row)
{
    return row.shortChars == nullptr || row.longName == nullptr;
}

// The program's four rows and the terminator.
extern const OptionSpec OptionTable[5];

}  // namespace option

#endif
