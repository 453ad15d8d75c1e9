#include <gtest/gtest.h>

#include <string>

#include "eeprom/image.h"
#include "eeprom_test_support.h"

namespace eeprom_test {
namespace {

using ImageConversion = EepromTest;

TEST_F(ImageConversion, RegisterWordFromFileShowsItsValueInDeviceOrder)
{
    std::string bytes(128, '\0');
    bytes.replace(16, 4, "\x34\x12\x78\x56");
    SetImageBytes(bytes);

    SwapRegisterHalves();

    EXPECT_EQ(ImageBytes().substr(16, 4), "\x78\x56\x34\x12");
    EXPECT_EQ(ReadImageWord(m_image, 4), 0x12345678u);
    EXPECT_EQ(ReadLe32(m_image.RangeSpace0), 0x12345678u);
}

TEST_F(ImageConversion, ExchangesHalvesOfRegisterWordsOnlyAndUndoesItself)
{
    const std::string fileOrder = PatternBytes(128);
    SetImageBytes(fileOrder);

    SwapRegisterHalves();

    const std::string deviceOrder = ImageBytes();
    EXPECT_EQ(deviceOrder.substr(0, 16), fileOrder.substr(0, 16));
    EXPECT_EQ(deviceOrder.substr(100), fileOrder.substr(100));
    for (size_t word = 4; word <= 24; ++word) {
        SCOPED_TRACE(word);
        const std::string was = fileOrder.substr(4 * word, 4);
        EXPECT_EQ(deviceOrder.substr(4 * word, 4), was.substr(2) + was.substr(0, 2));
    }

    SwapRegisterHalves();
    EXPECT_EQ(ImageBytes(), fileOrder);
}

TEST_F(ImageConversion, WordsAndFieldsAreLittleEndianBytes)
{
    WriteImageWord(m_image, 0, 0x00f01a2bu);
    WriteImageWord(m_image, 31, 0x44332211u);
    WriteLe32(m_image.ChipSelect2, 0x80000001u);

    const std::string bytes = ImageBytes();
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x2b\x1a\xf0\x00", 4));
    EXPECT_EQ(bytes.substr(84, 4), std::string("\x01\x00\x00\x80", 4));
    EXPECT_EQ(bytes.substr(124, 4), "\x11\x22\x33\x44");
    EXPECT_EQ(ReadLe16(m_image.DeviceId), 0x1a2bu);
    EXPECT_EQ(ReadLe16(m_image.VendorId), 0x00f0u);
    EXPECT_EQ(ReadImageWord(m_image, 21), 0x80000001u);
}

}  // namespace
}  // namespace eeprom_test
