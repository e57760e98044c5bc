// DDR3 and FB-DIMM SPD: the base section in bytes 0-116 or 0-125 under a
// CRC, the maker's data from byte 117 and the part number from 128.
#include "dimm/spd_decode_internal.h"

namespace fruplat::spd {

namespace {

const char *const kDdr3ModuleTypes[] = {
    "Undefined", "RDIMM", "UDIMM", "SO-DIMM", "Micro-DIMM", "Mini-RDIMM", "Mini-UDIMM",
    "Mini-CDIMM", "72b-SO-UDIMM", "72b-SO-RDIMM", "72b-SO-CDIMM", "LRDIMM", "16b-SO-DIMM",
    "32b-SO-DIMM", "Undefined", "Undefined",
};

// Byte 0 bit 7 says whether the CRC stops before the maker's data.
void identity_fields(const Bytes &spd, Fields &fields, bool dram_maker)
{
    maker_fields(spd, {117, dram_maker ? size_t{148} : 0, 119, 120, 122, 128, 18}, fields);
    fields.push_back(crc_field("crc", spd, 0, (spd[0] & 0x80) != 0 ? 116 : 125, 126));
}

// Times are a count of the medium timebase (byte 10 / byte 11 ns) plus a
// signed count of the fine one (byte 9: high nibble / low nibble ps).
void ddr3_speed(const Bytes &spd, unsigned bus_bits, Fields &fields)
{
    if ((spd[9] & 0x0F) == 0 || spd[11] == 0) {
        speed_fields(fields, Clock{0, 1, 0}, bus_bits, "PC3-");
        return;
    }
    const int64_t medium = int64_t{1000000} * spd[10] / spd[11];
    const int64_t fine = int64_t{1000} * (spd[9] >> 4) / (spd[9] & 0x0F);
    const auto time = [&](size_t coarse, size_t correction) {
        return spd[coarse] * medium + signed8(spd[correction]) * fine;
    };
    // From DDR3-1866 on, makers round the period to the fine timebase; the
    // standard periods are 7.5 ns divided by a whole number.
    const Clock clock = standard_clock(time(12, 34), fine, 7500000);
    speed_fields(fields, clock, bus_bits, "PC3-");
    timing_field(fields, clock, {time(16, 35), time(18, 36), time(20, 37), ((spd[21] & 0x0F) << 8 | spd[22]) * medium},
                 0);
}

}  // namespace

void decode_ddr3(const Bytes &spd, Fields &fields)
{
    const unsigned die_mbit = 256u << (spd[4] & 0x0F);
    const unsigned bus = 8u << (spd[8] & 0x07);
    const unsigned width = 4u << (spd[7] & 0x07);
    const unsigned ranks = ((spd[7] >> 3) & 0x07) + 1;
    fields.push_back(revision_field(spd[1]));
    fields.push_back({"module_type", kDdr3ModuleTypes[spd[3] & 0x0F]});
    fields.push_back(capacity_field(uint64_t{die_mbit} / 8 * bus / width * ranks));
    fields.push_back(count_field("ranks", ranks));
    fields.push_back(bits_field("device_width", width));
    fields.push_back(bits_field("data_width", bus));
    fields.push_back({"ecc", ((spd[8] >> 3) & 0x03) == 1 ? "yes (8-bit extension)" : "no"});
    ddr3_speed(spd, bus, fields);
    // Byte 6: bit 0 set means not operable at 1.5 V; bits 1 and 2 the
    // low-voltage levels the module runs at.
    fields.push_back(voltage_field((spd[6] & 0x01) == 0 ? 1500 : (spd[6] & 0x02) != 0 ? 1350 : 1250));
    identity_fields(spd, fields, true);
}

// FB-DIMM addressing: byte 4 holds rows (bits 7-5, from 12), columns (bits
// 4-2, from 9) and banks (bits 1-0, 4 << n); byte 7 the device width (bits
// 2-0, 4 << n) and ranks (bits 5-3, plus one). Data is 64 bits wide.
void decode_fbdimm(const Bytes &spd, Fields &fields)
{
    const unsigned rows = 12 + ((spd[4] >> 5) & 0x07);
    const unsigned columns = 9 + ((spd[4] >> 2) & 0x07);
    const unsigned banks = 4u << (spd[4] & 0x03);
    const unsigned width = 4u << (spd[7] & 0x07);
    const unsigned ranks = ((spd[7] >> 3) & 0x07) + 1;
    const uint64_t bytes_per_rank = (uint64_t{1} << (rows + columns)) * banks * 8;
    fields.push_back(revision_field(spd[1]));
    fields.push_back({"module_type", "FB-DIMM"});
    fields.push_back(capacity_field(bytes_per_rank * ranks >> 20));
    fields.push_back(count_field("ranks", ranks));
    fields.push_back(bits_field("device_width", width));
    fields.push_back(bits_field("data_width", 64));
    fields.push_back({"ecc", "yes (8-bit extension)"});
    identity_fields(spd, fields, false);
}

}  // namespace fruplat::spd
