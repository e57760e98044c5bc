// Big-endian field access for container images. Every number the platform
// layer stores is big-endian, whatever the host.
#ifndef FRUPLATFORM_STORE_BYTES_H
#define FRUPLATFORM_STORE_BYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/byte_order.h"

namespace fruplat {

using Bytes = std::vector<uint8_t>;

using fru_be::load_be;
using fru_be::load_be16;
using fru_be::load_be32;
using fru_be::store_be;

// The fill of erased EEPROM, and of every byte a container has not used.
inline constexpr uint8_t kErased = 0xFF;

inline void append_be(Bytes &out, uint64_t v, size_t width)
{
    const size_t at = out.size();
    out.resize(at + width);
    store_be(out.data() + at, v, width);
}

uint32_t crc32(const uint8_t *data, size_t size);

}  // namespace fruplat

#endif
