#include "drivers/sim/sim_boards.h"

#include <cstdio>
#include <cstring>

namespace {

void Set16(Le16& field, uint16_t value)
{
    field.bytes[0] = static_cast<uint8_t>(value);
    field.bytes[1] = static_cast<uint8_t>(value >> 8);
}

void Set32(Le32& field, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        field.bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

EepromImage DefaultEeprom()
{
    EepromImage image;
    std::memset(&image, 0, sizeof image);
    Set16(image.DeviceId, 0x9050);
    Set16(image.VendorId, 0x10B5);
    Set16(image.ClassCode, 0x0680);           // bridge, other
    Set16(image.ClassCodeRevision, 0x0001);
    Set16(image.SubsystemId, 0x1ADC);
    Set16(image.SubsystemVendorId, 0x10B5);
    Set16(image.MaxLatencyMinGrant, 0x0000);
    Set16(image.InterruptPinLineRouting, 0x0100);  // INTA#
    Set32(image.RangeSpace0, 0x0FFFF000);     // 4 KiB of memory
    Set32(image.RangeSpace1, 0x0FFFFF81);     // 128 bytes of I/O
    Set32(image.LocalBaseSpace0, 0x00000001);
    Set32(image.LocalBaseSpace1, 0x00001001);
    Set32(image.BusRegionSpace0, 0x00400022);  // 16-bit bus, ready enabled
    Set32(image.BusRegionSpace1, 0x00400022);
    Set32(image.ChipSelect0, 0x00000801);
    Set32(image.InterruptControl, 0x00000041);  // LINTi1 enabled, PCI interrupt on
    Set32(image.MiscellControl, 0x00780000);
    const char extra[] = "Merin-A1 rev C";
    std::memcpy(image.ExtraText, extra, sizeof extra - 1);
    return image;
}

std::vector<EepromImage> LoadEeproms(const std::string& statePath, size_t boardCount)
{
    std::vector<EepromImage> eeproms(boardCount, DefaultEeprom());
    if (statePath.empty()) {
        return eeproms;
    }
    if (std::FILE* file = std::fopen(statePath.c_str(), "rb")) {
        for (EepromImage& eeprom : eeproms) {
            EepromImage stored;
            if (std::fread(&stored, sizeof stored, 1, file) != 1) {
                break;
            }
            eeprom = stored;
        }
        std::fclose(file);
    }
    return eeproms;
}

bool SaveEeproms(const std::string& statePath, const std::vector<EepromImage>& eeproms)
{
    if (statePath.empty()) {
        return true;
    }
    std::FILE* file = std::fopen(statePath.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const size_t written = std::fwrite(eeproms.data(), sizeof(EepromImage), eeproms.size(), file);
    const bool closed = std::fclose(file) == 0;
    return written == eeproms.size() && closed;
}
