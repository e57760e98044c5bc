#include "store/bytes.h"

#include <array>

namespace fruplat {

namespace {

// The IEEE 802.3 CRC-32 (reflected 0xEDB88320), as zlib and most EEPROM
// tools compute it, so that an image can be checked with common tools.
// Four tables let the loop take four bytes a step; the bytes are combined
// by shifts, so the result does not depend on the host's byte order.
using Tables = std::array<std::array<uint32_t, 256>, 4>;

Tables make_tables()
{
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (size_t k = 1; k < 4; ++k)
            t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
    return t;
}

}  // namespace

uint32_t crc32(const uint8_t *data, size_t size)
{
    static const Tables t = make_tables();
    uint32_t c = 0xFFFFFFFFu;
    for (; size >= 4; size -= 4, data += 4) {
        c ^= static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
             static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
        c = t[3][c & 0xFF] ^ t[2][(c >> 8) & 0xFF] ^ t[1][(c >> 16) & 0xFF] ^ t[0][c >> 24];
    }
    for (; size > 0; --size, ++data)
        c = t[0][(c ^ *data) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace fruplat
