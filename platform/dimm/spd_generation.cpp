#include "dimm/spd_generation.h"

#include "dimm/spd_decode_internal.h"

#include "store/status.h"

namespace fruplat {

namespace {

// DDR and DDR2 leave bytes 128 to 255 open for customer use, FB-DIMM and
// DDR3 bytes 176 to 255; DDR4 and DDR5 reserve their last 128 and 384 bytes
// for the end user. LPDDR descriptors describe memory soldered down on the
// board and give the end user nothing: they are read only here.
constexpr SpdGeneration kGenerations[] = {
    {.memory_type = 0x07, .name = "DDR SDRAM", .spd_size = 256,
     .customer_begin = 128, .customer_end = 256, .record = "SPD1_R", .record_length = 128,
     .decode_size = 128, .decode = spd::decode_ddr},
    {.memory_type = 0x08, .name = "DDR2 SDRAM", .spd_size = 256,
     .customer_begin = 128, .customer_end = 256, .record = "SPD1_R", .record_length = 128,
     .decode_size = 128, .decode = spd::decode_ddr2},
    {.memory_type = 0x09, .name = "DDR2 SDRAM FB-DIMM", .spd_size = 256,
     .customer_begin = 176, .customer_end = 256, .record = "SPD_FBDIMM_R", .record_length = 176,
     .decode_size = 176, .decode = spd::decode_fbdimm},
    {.memory_type = 0x0B, .name = "DDR3 SDRAM", .spd_size = 256,
     .customer_begin = 176, .customer_end = 256, .record = "SPD_DDR3_R", .record_length = 176,
     .decode_size = 176, .decode = spd::decode_ddr3},
    {.memory_type = 0x0C, .name = "DDR4 SDRAM", .spd_size = 512,
     .customer_begin = 384, .customer_end = 512, .record = "SPD1_R", .record_length = 128,
     .decode_size = 512, .decode = spd::decode_ddr4},
    {.memory_type = 0x0F, .name = "LPDDR3 SDRAM", .spd_size = 512,
     .customer_begin = 0, .customer_end = 0, .record = "SPD1_R", .record_length = 128,
     .decode_size = 512, .decode = spd::decode_lpddr4},
    {.memory_type = 0x10, .name = "LPDDR4 SDRAM", .spd_size = 512,
     .customer_begin = 0, .customer_end = 0, .record = "SPD1_R", .record_length = 128,
     .decode_size = 512, .decode = spd::decode_lpddr4},
    {.memory_type = 0x11, .name = "LPDDR4X SDRAM", .spd_size = 512,
     .customer_begin = 0, .customer_end = 0, .record = "SPD1_R", .record_length = 128,
     .decode_size = 512, .decode = spd::decode_lpddr4},
    {.memory_type = 0x12, .name = "DDR5 SDRAM", .spd_size = 1024,
     .customer_begin = 640, .customer_end = 1024, .record = "SPD1_R", .record_length = 128,
     .decode_size = 1024, .decode = spd::decode_ddr5},
    {.memory_type = 0x13, .name = "LPDDR5 SDRAM", .spd_size = 1024,
     .customer_begin = 0, .customer_end = 0, .record = "SPD1_R", .record_length = 128,
     .decode_size = 1024, .decode = spd::decode_lpddr5},
    {.memory_type = 0x15, .name = "LPDDR5X SDRAM", .spd_size = 1024,
     .customer_begin = 0, .customer_end = 0, .record = "SPD1_R", .record_length = 128,
     .decode_size = 1024, .decode = spd::decode_lpddr5},
};

}  // namespace

const SpdGeneration *spd_generation(const Bytes &spd)
{
    if (spd.size() < 3)
        return nullptr;
    for (const SpdGeneration &g : kGenerations)
        if (g.memory_type == spd[2])
            return &g;
    return nullptr;
}

const SpdGeneration *spd_generation_at(size_t index)
{
    return index < sizeof kGenerations / sizeof kGenerations[0] ? &kGenerations[index] : nullptr;
}

int32_t customer_area_bounds(const Bytes &spd, size_t *begin, size_t *end)
{
    const SpdGeneration *g = spd_generation(spd);
    if (g == nullptr)
        return kUnknownMemoryType;
    if (!has_customer_area(*g))
        return kNoCustomerArea;
    *begin = g->customer_begin;
    *end = g->customer_end;
    return kOk;
}

}  // namespace fruplat
