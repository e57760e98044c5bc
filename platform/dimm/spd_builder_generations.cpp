// SPD images of every generation, as small as a test of the customer area
// needs them: the JEDEC bytes are a pattern, not a module.
#include "dimm/spd_builder.h"
#include "dimm/spd_generation.h"

namespace fruplat {

namespace {

// Byte 0's size code, the bytes each CRC-16 covers and where it is stored
// (low byte first), per memory type; an 8-bit sum for DDR and DDR2.
struct Sealing {
    uint8_t memory_type;
    uint8_t byte0;
    size_t crc_ranges[2][2];  // [first, last] covered; stored after last + 1
    bool sum_at_63;
};

constexpr Sealing kSealings[] = {
    {0x07, 0x80, {{0, 0}, {0, 0}}, true},
    {0x08, 0x80, {{0, 0}, {0, 0}}, true},
    {0x09, 0x92, {{0, 125}, {0, 0}}, false},
    {0x0B, 0x92, {{0, 125}, {0, 0}}, false},
    {0x0C, 0x23, {{0, 125}, {128, 253}}, false},
    {0x12, 0x30, {{0, 509}, {0, 0}}, false},
};

void seal(Bytes &spd, const Sealing &s)
{
    spd[0] = s.byte0;
    if (s.sum_at_63) {
        uint8_t sum = 0;
        for (size_t i = 0; i < 63; ++i)
            sum = static_cast<uint8_t>(sum + spd[i]);
        spd[63] = sum;
    }
    for (const auto &range : s.crc_ranges) {
        if (range[1] == 0)
            continue;
        const uint16_t crc = spd_crc16(&spd[range[0]], range[1] - range[0] + 1);
        spd[range[1] + 1] = static_cast<uint8_t>(crc);
        spd[range[1] + 2] = static_cast<uint8_t>(crc >> 8);
    }
}

}  // namespace

Bytes build_generation_spd(uint8_t memory_type)
{
    Bytes probe(3, 0);
    probe[2] = memory_type;
    const SpdGeneration *generation = spd_generation(probe);
    Bytes spd(generation != nullptr ? generation->spd_size : 256);
    for (size_t i = 0; i < spd.size(); ++i)
        spd[i] = static_cast<uint8_t>(i * 7 + 3);
    spd[2] = memory_type;
    for (const Sealing &s : kSealings)
        if (s.memory_type == memory_type)
            seal(spd, s);
    erase_customer_area(spd);
    return spd;
}

}  // namespace fruplat
