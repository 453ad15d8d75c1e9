#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "eeprom/image.h"
#include "eeprom/report.h"
#include "eeprom_test_support.h"

namespace eeprom_test {
namespace {

const char kAllZeroReport[] =
    "\n"
    "-------------------------------------\n"
    "Device ID: 0x0000\n"
    "Vendor ID: 0x0000\n"
    "Class Code: 0x0000\n"
    "Class Code, Revision: 0x0000\n"
    "Subsystem ID: 0x0000\n"
    "Subsystem Vendor ID: 0x0000\n"
    "Maximum Latency, Minimum Grant: 0x0000\n"
    "Interrupt Pin, Interrupt Line Routing: 0x0000\n"
    "Range for PCI-to-Local Adr. Space 0: 0x00000000\n"
    "Range for PCI-to-Local Adr. Space 1: 0x00000000\n"
    "Range for PCI-to-Local Adr. Space 2: 0x00000000\n"
    "Range for PCI-to-Local Adr. Space 3: 0x00000000\n"
    "Range for PCI-to-Local Expansion ROM: 0x00000000\n"
    "Local Base Adr. for PCI-to-Local Adr. Space 0: 0x00000000\n"
    "Local Base Adr. for PCI-to-Local Adr. Space 1: 0x00000000\n"
    "Local Base Adr. for PCI-to-Local Adr. Space 2: 0x00000000\n"
    "Local Base Adr. for PCI-to-Local Adr. Space 3: 0x00000000\n"
    "Local Base Adr. for PCI-to-Local Expansion ROM: 0x00000000\n"
    "Bus Region Descriptors for PCI-to-Local Adr. Space 0: 0x00000000\n"
    "Bus Region Descriptors for PCI-to-Local Adr. Space 1: 0x00000000\n"
    "Bus Region Descriptors for PCI-to-Local Adr. Space 2: 0x00000000\n"
    "Bus Region Descriptors for PCI-to-Local Adr. Space 3: 0x00000000\n"
    "Bus Region Descriptors for PCI-to-Local Expansion ROM: 0x00000000\n"
    "Chip Select 0: 0x00000000\n"
    "Chip Select 1: 0x00000000\n"
    "Chip Select 2: 0x00000000\n"
    "Chip Select 3: 0x00000000\n"
    "Interrupt Control Reg.: 0x00000000\n"
    "Miscell Control Reg.: 0x00000000\n"
    "Extra: \n"
    "-------------------------------------\n"
    "\n";

using ImageReport = EepromTest;

TEST_F(ImageReport, AllZeroImage)
{
    PrintImageReport();
    EXPECT_EQ(Output(), kAllZeroReport);
}

TEST_F(ImageReport, SampleImageShowsDeviceOrder)
{
    SetImageBytes(SampleFileImage());
    SwapRegisterHalves();
    const std::string image = ImageBytes();

    PrintImageReport();

    EXPECT_EQ(Output(), fixtures::SampleReport());
    EXPECT_EQ(ImageBytes(), image);
    EXPECT_FALSE(std::cout.flags() & std::ios::hex);
}

// The extra line is the only one whose content varies in length; its end is
// fixed by the closing separator that must follow right after it. A scan
// past the 28 bytes reads beyond the image, which the sanitizer build
// reports even when the memory there happens to be zero.
TEST_F(ImageReport, ExtraTextStopsAtTheFirstZeroOrAtTheEndOfTheArea)
{
    struct ExtraCase {
        const char* what;
        std::string area;  // the 28 bytes
        std::string shown;
    };
    const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x7f\xff";
    const ExtraCase cases[] = {
        {"no zero byte", full, full},
        {"first byte zero", std::string(1, '\0') + full.substr(1), ""},
        {"zero inside", std::string("a\tb\x80", 4) + std::string(1, '\0') + full.substr(5), "a\tb\x80"},
    };
    for (const ExtraCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.area.size(), sizeof m_image.ExtraText);
        std::memcpy(m_image.ExtraText, c.area.data(), c.area.size());
        const size_t before = Output().size();

        PrintImageReport();

        const std::string report = Output().substr(before);
        const std::string tail = "Extra: " + c.shown + "\n-------------------------------------\n\n";
        ASSERT_GE(report.size(), tail.size());
        EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
    }
}

TEST_F(ImageReport, TopBitValuesShowUnsigned)
{
    WriteImageWord(m_image, 0, 0xffff8000u);
    WriteLe32(m_image.InterruptControl, 0x80000000u);

    PrintImageReport();

    const std::string report = Output();
    EXPECT_NE(report.find("\nDevice ID: 0x8000\nVendor ID: 0xffff\n"), std::string::npos);
    EXPECT_NE(report.find("\nInterrupt Control Reg.: 0x80000000\n"), std::string::npos);
}

}  // namespace
}  // namespace eeprom_test
