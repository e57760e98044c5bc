// Big-endian field access for container images. Every number the platform
// layer stores is big-endian, whatever the host.
#ifndef FRUPLATFORM_STORE_BYTES_H
#define FRUPLATFORM_STORE_BYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fruplat {

using Bytes = std::vector<uint8_t>;

inline uint64_t get_be(const uint8_t *p, size_t width)
{
    uint64_t v = 0;
    for (size_t i = 0; i < width; ++i)
        v = (v << 8) | p[i];
    return v;
}

inline void put_be(uint8_t *p, uint64_t v, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        p[width - 1 - i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint16_t get_be16(const uint8_t *p) { return static_cast<uint16_t>(get_be(p, 2)); }
inline uint32_t get_be32(const uint8_t *p) { return static_cast<uint32_t>(get_be(p, 4)); }

inline void append_be(Bytes &out, uint64_t v, size_t width)
{
    const size_t at = out.size();
    out.resize(at + width);
    put_be(out.data() + at, v, width);
}

uint32_t crc32(const uint8_t *data, size_t size);

}  // namespace fruplat

#endif
