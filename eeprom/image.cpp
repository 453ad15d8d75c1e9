// The process-wide EEPROM image, its little-endian fields and the conversion
// between file order and device order.
#include "eeprom/image.h"

namespace {

// Register words are words 4 to 24; the header before them and the extra area
// after them read the same in both orders.
constexpr size_t kFirstRegisterWord = 4;
constexpr size_t kLastRegisterWord = 24;

// The record is 128 plain bytes with no gaps, so its bytes are its content.
const uint8_t* BytesOf(const EepromImage& image)
{
    return reinterpret_cast<const uint8_t*>(&image);
}

uint8_t* BytesOf(EepromImage& image)
{
    return reinterpret_cast<uint8_t*>(&image);
}

uint32_t ReadLe32Bytes(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void WriteLe32Bytes(uint8_t* bytes, uint32_t number)
{
    bytes[0] = static_cast<uint8_t>(number);
    bytes[1] = static_cast<uint8_t>(number >> 8);
    bytes[2] = static_cast<uint8_t>(number >> 16);
    bytes[3] = static_cast<uint8_t>(number >> 24);
}

}  // namespace

EepromImage m_image{};

uint16_t ReadLe16(const Le16& value)
{
    return static_cast<uint16_t>(value.bytes[0] | value.bytes[1] << 8);
}

uint32_t ReadLe32(const Le32& value)
{
    return ReadLe32Bytes(value.bytes);
}

void WriteLe32(Le32& value, uint32_t number)
{
    WriteLe32Bytes(value.bytes, number);
}

// An index past the image reads as 0 and writes nothing, so a slip can never
// reach memory beyond the record.
uint32_t ReadImageWord(const EepromImage& image, size_t index)
{
    if (index >= kImageWordCount) {
        return 0;
    }
    return ReadLe32Bytes(BytesOf(image) + 4 * index);
}

void WriteImageWord(EepromImage& image, size_t index, uint32_t word)
{
    if (index >= kImageWordCount) {
        return;
    }
    WriteLe32Bytes(BytesOf(image) + 4 * index, word);
}

void SwapRegisterHalves()
{
    for (size_t index = kFirstRegisterWord; index <= kLastRegisterWord; ++index) {
        const uint32_t word = ReadImageWord(m_image, index);
        WriteImageWord(m_image, index, word << 16 | word >> 16);
    }
}
