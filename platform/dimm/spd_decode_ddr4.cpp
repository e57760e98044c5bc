// DDR4 SPD, 512 bytes: the base section (0-125) and the module-specific
// one (128-253), each under its own CRC; the maker's data from byte 320.
// LPDDR3 and LPDDR4 descriptors of soldered-down memory share the layout.
#include "dimm/spd_decode_internal.h"

namespace fruplat::spd {

namespace {

const char *const kModuleTypes[] = {
    "Extended", "RDIMM", "UDIMM", "SO-DIMM", "LRDIMM", "Mini-RDIMM", "Mini-UDIMM", "Reserved",
    "72b-SO-RDIMM", "72b-SO-UDIMM", "Reserved", "Reserved", "16b-SO-DIMM", "32b-SO-DIMM", "Reserved",
    "Reserved",
};

// Byte 4 bits 3:0: capacity per die in Mb; 12 and 24 Gb come after 32.
constexpr unsigned kDieMbit[16] = {256, 512, 1024, 2048, 4096, 8192, 16384, 32768, 12288, 24576};

constexpr MakerLayout kMaker = {320, 350, 322, 323, 325, 329, 20};

// Byte 17 fixes the timebases (0: medium 125 ps, fine 1 ps); a time is a
// count of the medium one plus a signed count of the fine one.
void speed(const Bytes &spd, unsigned bus_bits, Fields &fields)
{
    if (spd[17] != 0) {
        speed_fields(fields, Clock{0, 1, 0}, bus_bits, "PC4-");
        return;
    }
    const auto time = [&](size_t coarse, size_t correction) -> int64_t {
        return (spd[coarse] * 125 + signed8(spd[correction])) * int64_t{1000};
    };
    const Clock clock = standard_clock(time(18, 125), 1000, 7500000);
    speed_fields(fields, clock, bus_bits, "PC4-");
    timing_field(fields, clock,
                 {time(24, 123), time(25, 122), time(26, 121), ((spd[27] & 0x0F) << 8 | spd[28]) * int64_t{125000}},
                 25);
}

// Capacity per die / 8 x bus width / device width x package ranks, and x
// dies where they stack behind one load (3DS: byte 6 bits 1:0 = 2).
uint64_t capacity(const Bytes &spd, bool every_die)
{
    const uint64_t dies = ((spd[6] >> 4) & 0x07) + 1u;
    const bool stacked = every_die ? (spd[6] & 0x80) != 0 : (spd[6] & 0x03) == 2;
    return uint64_t{kDieMbit[spd[4] & 0x0F]} / 8 * (8u << (spd[13] & 0x07)) / (4u << (spd[12] & 0x07)) *
           (((spd[12] >> 3) & 0x07) + 1u) * (stacked ? dies : 1);
}

}  // namespace

void decode_ddr4(const Bytes &spd, Fields &fields)
{
    const unsigned bus = 8u << (spd[13] & 0x07);
    fields.push_back(revision_field(spd[1]));
    fields.push_back({"module_type", kModuleTypes[spd[3] & 0x0F]});
    fields.push_back(capacity_field(capacity(spd, false)));
    fields.push_back(count_field("ranks", ((spd[12] >> 3) & 0x07) + 1u));
    fields.push_back(bits_field("device_width", 4u << (spd[12] & 0x07)));
    fields.push_back(bits_field("data_width", bus));
    fields.push_back({"ecc", ((spd[13] >> 3) & 0x03) == 1 ? "yes (8-bit extension)" : "no"});
    speed(spd, bus, fields);
    if ((spd[11] & 0x01) != 0)
        fields.push_back(voltage_field(1200));
    else
        fields.push_back({"nominal_voltage", "not operable at 1.2 V"});
    maker_fields(spd, kMaker, fields);
    fields.push_back(crc_field("crc", spd, 0, 125, 126));
    fields.push_back(crc_field("crc_module_specific", spd, 128, 253, 254));
}

// Soldered-down memory: no module, so the capacity is what the package's
// dies hold together; every die counts, stacked or not.
void decode_lpddr4(const Bytes &spd, Fields &fields)
{
    fields.push_back(revision_field(spd[1]));
    fields.push_back(capacity_field(capacity(spd, true)));
    maker_fields(spd, kMaker, fields);
    fields.push_back(crc_field("crc", spd, 0, 125, 126));
}

}  // namespace fruplat::spd
