#include "store/bytes.h"

namespace fruplat {

namespace {

// The IEEE 802.3 CRC-32 (reflected 0xEDB88320), as zlib and most EEPROM
// tools compute it, so that an image can be checked with common tools.
// Eight tables let the loop take eight bytes a step; the bytes are combined
// by shifts, so the result does not depend on the host's byte order. The
// tables are built by the compiler: made at run time they cost a small read
// a tenth of its instructions.
struct Crc32Tables {
    uint32_t t[8][256] = {};
    constexpr Crc32Tables()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int k = 1; k < 8; ++k)
                t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
    }
};
constexpr Crc32Tables kCrc32;

uint32_t little_endian32(const uint8_t *data)
{
    return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

}  // namespace

uint32_t crc32(const uint8_t *data, size_t size)
{
    const auto &t = kCrc32.t;
    uint32_t c = 0xFFFFFFFFu;
    for (; size >= 8; size -= 8, data += 8) {
        const uint32_t low = c ^ little_endian32(data);
        const uint32_t high = little_endian32(data + 4);
        c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
            t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; size > 0; --size, ++data)
        c = t[0][(c ^ *data) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace fruplat
