// DDR5 SPD, 1024 bytes: bytes 0-509 under one CRC at 510, times in whole
// picoseconds; the maker's data from byte 512. LPDDR5 descriptors share
// the layout.
#include "dimm/spd_decode_internal.h"

namespace fruplat::spd {

namespace {

const char *const kModuleTypes[] = {
    "Reserved", "RDIMM", "UDIMM", "SO-DIMM", "LRDIMM", "CUDIMM", "CSODIMM", "MRDIMM",
    "CAMM2", "Reserved", "DDIMM", "Solder down", "Reserved", "Reserved", "Reserved", "Reserved",
};

// Byte 4: bits 4:0 capacity per die in Gb, bits 7:5 dies per package.
constexpr unsigned kDieGbit[32] = {0, 4, 8, 12, 16, 24, 32, 48, 64};
constexpr unsigned kDies[8] = {1, 0, 2, 4, 8, 16};

uint64_t package_mbit(const Bytes &spd)
{
    return uint64_t{kDieGbit[spd[4] & 0x1F]} * 1024 * kDies[spd[4] >> 5];
}

constexpr MakerLayout kMaker = {512, 552, 514, 515, 517, 521, 30};

void identity_fields(const Bytes &spd, Fields &fields)
{
    maker_fields(spd, kMaker, fields);
    fields.push_back(crc_field("crc", spd, 0, 509, 510));
}

}  // namespace

void decode_ddr5(const Bytes &spd, Fields &fields)
{
    const unsigned width = 4u << (spd[6] >> 5);
    const unsigned ranks = ((spd[234] >> 3) & 0x07) + 1;
    const unsigned sub_channels = ((spd[235] >> 5) & 0x03) + 1;
    const unsigned sub_bus = 8u << (spd[235] & 0x07);
    const unsigned extension = (spd[235] >> 3) & 0x03;
    fields.push_back(revision_field(spd[1]));
    fields.push_back({"module_type", kModuleTypes[spd[3] & 0x0F]});
    // Sub-channels x devices per sub-channel x what a package holds x ranks.
    fields.push_back(capacity_field(sub_channels * (sub_bus / width) * package_mbit(spd) / 8 * ranks));
    fields.push_back(count_field("ranks", ranks));
    fields.push_back(bits_field("device_width", width));
    fields.push_back(bits_field("data_width", sub_channels * sub_bus));
    fields.push_back({"ecc", extension == 0 ? "no"
                                            : printf_text("yes (%u-bit extension per sub-channel)", 4u << (extension - 1))});
    // DDR5 periods are 5 ns divided by a whole number (400 MT/s steps); the
    // SPD holds them truncated to a picosecond.
    const auto ps = [&](size_t at) { return int64_t{1000} * le16(spd, at); };
    const Clock clock = standard_clock(ps(20), 1000, 5000000);
    speed_fields(fields, clock, sub_channels * sub_bus, "PC5-");
    timing_field(fields, clock, {ps(30), ps(32), ps(34), ps(36)}, 25);
    // Byte 16 bits 7:4: the nominal VDD, 0 for 1.1 V.
    if ((spd[16] >> 4) == 0)
        fields.push_back(voltage_field(1100));
    else
        fields.push_back({"nominal_voltage", printf_text("unknown (0x%02X)", spd[16])});
    identity_fields(spd, fields);
}

// Soldered-down memory: the capacity is what one package's dies hold.
void decode_lpddr5(const Bytes &spd, Fields &fields)
{
    fields.push_back(revision_field(spd[1]));
    fields.push_back(capacity_field(package_mbit(spd) / 8));
    identity_fields(spd, fields);
}

}  // namespace fruplat::spd
