#include "dimm/spd.h"

namespace fruplat {

namespace {

// A byte at a time: every SPD shown checks one to three sections.
struct Crc16Table {
    uint16_t next[256] = {};
    constexpr Crc16Table()
    {
        for (unsigned byte = 0; byte < 256; ++byte) {
            unsigned crc = byte << 8;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1;
            next[byte] = static_cast<uint16_t>(crc);
        }
    }
};
constexpr Crc16Table kCrc16;

}  // namespace

uint16_t spd_crc16(const uint8_t *data, size_t size)
{
    unsigned crc = 0;
    for (size_t i = 0; i < size; ++i)
        crc = ((crc << 8) ^ kCrc16.next[((crc >> 8) ^ data[i]) & 0xFF]) & 0xFFFF;
    return static_cast<uint16_t>(crc);
}

}  // namespace fruplat
