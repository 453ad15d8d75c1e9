// The register report: one labelled hexadecimal line per field, then the
// extra area as text.
#include "eeprom/report.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/console.h"
#include "eeprom/image.h"

namespace {

struct ReportLine {
    const char* label;
    size_t offset;  // of the field in the image
    size_t bytes;   // 2 for a header value, 4 for a register
};

constexpr ReportLine kReportLines[] = {
    {"Device ID: 0x", offsetof(EepromImage, DeviceId), 2},
    {"Vendor ID: 0x", offsetof(EepromImage, VendorId), 2},
    {"Class Code: 0x", offsetof(EepromImage, ClassCode), 2},
    {"Class Code, Revision: 0x", offsetof(EepromImage, ClassCodeRevision), 2},
    {"Subsystem ID: 0x", offsetof(EepromImage, SubsystemId), 2},
    {"Subsystem Vendor ID: 0x", offsetof(EepromImage, SubsystemVendorId), 2},
    {"Maximum Latency, Minimum Grant: 0x", offsetof(EepromImage, MaxLatencyMinGrant), 2},
    {"Interrupt Pin, Interrupt Line Routing: 0x", offsetof(EepromImage, InterruptPinLineRouting), 2},
    {"Range for PCI-to-Local Adr. Space 0: 0x", offsetof(EepromImage, RangeSpace0), 4},
    {"Range for PCI-to-Local Adr. Space 1: 0x", offsetof(EepromImage, RangeSpace1), 4},
    {"Range for PCI-to-Local Adr. Space 2: 0x", offsetof(EepromImage, RangeSpace2), 4},
    {"Range for PCI-to-Local Adr. Space 3: 0x", offsetof(EepromImage, RangeSpace3), 4},
    {"Range for PCI-to-Local Expansion ROM: 0x", offsetof(EepromImage, RangeExpansionRom), 4},
    {"Local Base Adr. for PCI-to-Local Adr. Space 0: 0x", offsetof(EepromImage, LocalBaseSpace0), 4},
    {"Local Base Adr. for PCI-to-Local Adr. Space 1: 0x", offsetof(EepromImage, LocalBaseSpace1), 4},
    {"Local Base Adr. for PCI-to-Local Adr. Space 2: 0x", offsetof(EepromImage, LocalBaseSpace2), 4},
    {"Local Base Adr. for PCI-to-Local Adr. Space 3: 0x", offsetof(EepromImage, LocalBaseSpace3), 4},
    {"Local Base Adr. for PCI-to-Local Expansion ROM: 0x", offsetof(EepromImage, LocalBaseExpansionRom), 4},
    {"Bus Region Descriptors for PCI-to-Local Adr. Space 0: 0x", offsetof(EepromImage, BusRegionSpace0), 4},
    {"Bus Region Descriptors for PCI-to-Local Adr. Space 1: 0x", offsetof(EepromImage, BusRegionSpace1), 4},
    {"Bus Region Descriptors for PCI-to-Local Adr. Space 2: 0x", offsetof(EepromImage, BusRegionSpace2), 4},
    {"Bus Region Descriptors for PCI-to-Local Adr. Space 3: 0x", offsetof(EepromImage, BusRegionSpace3), 4},
    {"Bus Region Descriptors for PCI-to-Local Expansion ROM: 0x", offsetof(EepromImage, BusRegionExpansionRom), 4},
    {"Chip Select 0: 0x", offsetof(EepromImage, ChipSelect0), 4},
    {"Chip Select 1: 0x", offsetof(EepromImage, ChipSelect1), 4},
    {"Chip Select 2: 0x", offsetof(EepromImage, ChipSelect2), 4},
    {"Chip Select 3: 0x", offsetof(EepromImage, ChipSelect3), 4},
    {"Interrupt Control Reg.: 0x", offsetof(EepromImage, InterruptControl), 4},
    {"Miscell Control Reg.: 0x", offsetof(EepromImage, MiscellControl), 4},
};

// The report opens with an empty line and closes with one, so it stands
// apart from the messages around it.
const char kOpeningSeparator[] = "\n-------------------------------------";
const char kClosingSeparator[] = "-------------------------------------\n";

// The little-endian value of `bytes` bytes at `offset`.
uint32_t ReadField(size_t offset, size_t bytes)
{
    const uint8_t* field = reinterpret_cast<const uint8_t*>(&m_image) + offset;
    uint32_t value = 0;
    for (size_t i = bytes; i > 0; --i) {
        value = value << 8 | field[i - 1];
    }
    return value;
}

// Two lower-case hexadecimal digits per byte, zero-filled. Formatted here
// rather than by the stream, so no base or fill is left set on the output.
void WriteHexDigits(uint32_t value, size_t bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    char text[8];
    const size_t count = 2 * bytes;
    for (size_t i = 0; i < count; ++i) {
        text[count - 1 - i] = kDigits[(value >> (4 * i)) & 0xf];
    }
    WriteText(std::string_view(text, count));
}

// The extra area up to its first zero byte, and never past its end.
std::string_view ExtraText()
{
    const auto* text = reinterpret_cast<const char*>(m_image.ExtraText);
    size_t length = 0;
    while (length < sizeof m_image.ExtraText && text[length] != '\0') {
        ++length;
    }
    return std::string_view(text, length);
}

}  // namespace

void PrintImageReport()
{
    WriteLine(kOpeningSeparator);
    for (const ReportLine& line : kReportLines) {
        WriteText(line.label);
        WriteHexDigits(ReadField(line.offset, line.bytes), line.bytes);
        EndLine();
    }
    WriteText("Extra: ");
    WriteText(ExtraText());
    EndLine();
    WriteLine(kClosingSeparator);
}
