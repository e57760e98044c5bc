#include "store/bytes.h"

#include <array>

namespace fruplat {

namespace {

// The IEEE 802.3 CRC-32 (reflected 0xEDB88320), as zlib and most EEPROM
// tools compute it, so that an image can be checked with common tools.
std::array<uint32_t, 256> make_table()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

}  // namespace

uint32_t crc32(const uint8_t *data, size_t size)
{
    static const std::array<uint32_t, 256> table = make_table();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace fruplat
