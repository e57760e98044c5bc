// Big-endian stores and loads for packed record and container images, shared
// by the tool and the platform layer. Fields sit at any offset, so every
// multi-byte number goes through these helpers and never through a cast of a
// struct or a wider pointer.
#ifndef QUILLET_PLATFORM_BYTE_ORDER_H
#define QUILLET_PLATFORM_BYTE_ORDER_H

#include <cstddef>
#include <cstdint>

namespace fru_be {

// Stores the low-order `width` bytes of value, most significant first.
inline void store_be(uint8_t *field, uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        field[width - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint64_t load_be(const uint8_t *field, size_t width)
{
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = (value << 8) | field[i];
    return value;
}

inline void store_be32(uint8_t *field, uint32_t value) { store_be(field, value, 4); }
inline uint16_t load_be16(const uint8_t *field) { return static_cast<uint16_t>(load_be(field, 2)); }
inline uint32_t load_be32(const uint8_t *field) { return static_cast<uint32_t>(load_be(field, 4)); }

}  // namespace fru_be

#endif
