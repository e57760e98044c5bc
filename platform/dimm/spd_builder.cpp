#include "dimm/spd_builder.h"

#include <algorithm>

namespace fruplat {

namespace {

unsigned log2_of(unsigned value)
{
    unsigned n = 0;
    while ((1u << (n + 1)) <= value)
        ++n;
    return n;
}

uint8_t with_parity(unsigned continuations)
{
    unsigned ones = 0;
    for (unsigned v = continuations; v != 0; v >>= 1)
        ones += v & 1;
    return static_cast<uint8_t>(continuations | (ones % 2 == 0 ? 0x80 : 0));
}

void put_text(Bytes &spd, size_t at, const std::string &text, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        spd[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

void put_serial(Bytes &spd, size_t at, uint32_t serial)
{
    put_be(&spd[at], serial, 4);
}

void build_crc_layout(const SpdSpec &spec, Bytes &spd)
{
    spd[0] = static_cast<uint8_t>((spec.crc_covers_117 ? 0x80 : 0) | 0x10 | 0x02);
    spd[1] = 0x10;
    spd[117] = with_parity(spec.continuations);
    spd[118] = spec.manufacturer;
    spd[119] = spec.location;
    spd[120] = spec.year_bcd;
    spd[121] = spec.week_bcd;
    put_serial(spd, 122, spec.serial);
    put_text(spd, 128, spec.part_number, 18);
    const size_t covered = spec.crc_covers_117 ? 117 : 126;
    uint16_t crc = spd_crc16(spd.data(), covered);
    if (spec.break_checksum)
        crc ^= 0x0101;
    spd[126] = static_cast<uint8_t>(crc);
    spd[127] = static_cast<uint8_t>(crc >> 8);
}

void build_ddr3(const SpdSpec &spec, Bytes &spd)
{
    spd[2] = 0x0B;
    spd[3] = spec.module_type;
    spd[4] = static_cast<uint8_t>(0x30 | log2_of(spec.die_mbit / 256));
    spd[7] = static_cast<uint8_t>((spec.ranks - 1) << 3 | log2_of(spec.device_width / 4));
    spd[8] = static_cast<uint8_t>((spec.ecc ? 0x08 : 0) | 0x03);
    spd[9] = 0x52;  // fine timebase 2.5 ps
    spd[10] = 1;    // medium timebase 1/8 ns
    spd[11] = 8;
    spd[12] = 0x0C;
    build_crc_layout(spec, spd);
}

void build_fbdimm(const SpdSpec &spec, Bytes &spd)
{
    spd[2] = 0x09;
    spd[4] = static_cast<uint8_t>((spec.rows - 12) << 5 | (spec.columns - 9) << 2 |
                                  log2_of(spec.banks / 4));
    spd[7] = static_cast<uint8_t>((spec.ranks - 1) << 3 | log2_of(spec.device_width / 4));
    build_crc_layout(spec, spd);
}

void build_ddr2(const SpdSpec &spec, Bytes &spd)
{
    spd[0] = 128;
    spd[1] = 8;
    spd[2] = spec.type == SpdType::Ddr ? 0x07 : 0x08;
    spd[3] = static_cast<uint8_t>(spec.rows);
    spd[4] = static_cast<uint8_t>(spec.columns);
    spd[5] = static_cast<uint8_t>(spec.type == SpdType::Ddr ? spec.ranks : 0x60 | (spec.ranks - 1));
    spd[6] = spec.ecc ? 72 : 64;
    spd[9] = 0x30;
    spd[11] = spec.ecc ? 0x02 : 0x00;
    spd[13] = static_cast<uint8_t>(spec.device_width);
    spd[17] = static_cast<uint8_t>(spec.banks);
    spd[20] = spec.module_type;
    spd[62] = 0x12;
    for (unsigned i = 0; i < spec.continuations; ++i)
        spd[64 + i] = 0x7F;
    spd[64 + spec.continuations] = spec.manufacturer;
    spd[72] = spec.location;
    put_text(spd, 73, spec.part_number, 18);
    spd[93] = spec.year_bcd;
    spd[94] = spec.week_bcd;
    put_serial(spd, 95, spec.serial);
    uint8_t sum = 0;
    for (size_t i = 0; i < 63; ++i)
        sum = static_cast<uint8_t>(sum + spd[i]);
    spd[63] = static_cast<uint8_t>(spec.break_checksum ? sum + 1 : sum);
}

}  // namespace

Bytes build_spd(const SpdSpec &spec)
{
    Bytes spd(256, 0);
    std::fill(spd.begin() + kCustomerStart, spd.end(), 0xFF);
    switch (spec.type) {
    case SpdType::Ddr3:
        build_ddr3(spec, spd);
        break;
    case SpdType::FbDimm:
        build_fbdimm(spec, spd);
        break;
    case SpdType::Ddr:
    case SpdType::Ddr2:
        build_ddr2(spec, spd);
        break;
    case SpdType::Other:
        break;
    }
    return spd;
}

}  // namespace fruplat
