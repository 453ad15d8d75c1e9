// A sample EEPROM image in file order and the register report it gives.
#ifndef KESTREL_TESTS_E2E_SAMPLE_IMAGE_H
#define KESTREL_TESTS_E2E_SAMPLE_IMAGE_H

#include <string>

namespace e2e {

inline std::string SampleFileImage()
{
    static const unsigned char bytes[128] = {
        0x2b, 0x1a, 0xf0, 0x00, 0x80, 0x06, 0x01, 0x00, 0x03, 0x00, 0xf0, 0x00, 0x00, 0x00, 0x00, 0x01,
        0x34, 0x12, 0x78, 0x56, 0xdc, 0xfe, 0x98, 0xba, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xcd, 0xab, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x78, 0x00, 0x12, 0x90, 0x72, 0x65, 0x76, 0x20, 0x42, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// The same image as a board holds it: the halves of register words 4 to 24
// exchanged.
inline std::string SampleDeviceImage()
{
    std::string image = SampleFileImage();
    for (size_t offset = 16; offset < 100; offset += 4) {
        std::swap(image[offset], image[offset + 2]);
        std::swap(image[offset + 1], image[offset + 3]);
    }
    return image;
}

inline const char* SampleReport()
{
    return "\n"
           "-------------------------------------\n"
           "Device ID: 0x1a2b\n"
           "Vendor ID: 0x00f0\n"
           "Class Code: 0x0680\n"
           "Class Code, Revision: 0x0001\n"
           "Subsystem ID: 0x0003\n"
           "Subsystem Vendor ID: 0x00f0\n"
           "Maximum Latency, Minimum Grant: 0x0000\n"
           "Interrupt Pin, Interrupt Line Routing: 0x0100\n"
           "Range for PCI-to-Local Adr. Space 0: 0x12345678\n"
           "Range for PCI-to-Local Adr. Space 1: 0xfedcba98\n"
           "Range for PCI-to-Local Adr. Space 2: 0x00000000\n"
           "Range for PCI-to-Local Adr. Space 3: 0x00000000\n"
           "Range for PCI-to-Local Expansion ROM: 0x00000000\n"
           "Local Base Adr. for PCI-to-Local Adr. Space 0: 0x0000abcd\n"
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
           "Miscell Control Reg.: 0x00789012\n"
           "Extra: rev B\n"
           "-------------------------------------\n"
           "\n";
}

}  // namespace e2e

#endif
