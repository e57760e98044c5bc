// Little-endian field access for IPMI FRU images, whose numbers are stored
// least significant byte first, unlike every record the platform writes.
#ifndef FRUPLATFORM_IPMI_IPMI_LE_H
#define FRUPLATFORM_IPMI_IPMI_LE_H

#include <cstddef>
#include <cstdint>

#include "store/bytes.h"

namespace fruplat {

inline uint64_t load_le(const uint8_t *field, size_t width)
{
    uint64_t value = 0;
    for (size_t i = width; i > 0; --i)
        value = (value << 8) | field[i - 1];
    return value;
}

inline void append_le(Bytes &out, uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace fruplat

#endif
