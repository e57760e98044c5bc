#include "dimm/spd_builder.h"

#include <algorithm>

#include "dimm/spd_generation.h"

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
    store_be(&spd[at], serial, 4);
}

void build_crc_layout(const SpdContent &content, Bytes &spd)
{
    spd[0] = static_cast<uint8_t>((content.crc_covers_117 ? 0x80 : 0) | 0x10 | 0x02);
    spd[1] = 0x10;
    spd[117] = with_parity(content.continuations);
    spd[118] = content.manufacturer;
    spd[119] = content.location;
    spd[120] = content.year_bcd;
    spd[121] = content.week_bcd;
    put_serial(spd, 122, content.serial);
    put_text(spd, 128, content.part_number, 18);
    const size_t covered = content.crc_covers_117 ? 117 : 126;
    uint16_t crc = spd_crc16(spd.data(), covered);
    if (content.break_checksum)
        crc ^= 0x0101;
    spd[126] = static_cast<uint8_t>(crc);
    spd[127] = static_cast<uint8_t>(crc >> 8);
}

void build_ddr3(const SpdContent &content, Bytes &spd)
{
    spd[2] = 0x0B;
    spd[3] = content.module_type;
    spd[4] = static_cast<uint8_t>(0x30 | log2_of(content.die_mbit / 256));
    spd[7] = static_cast<uint8_t>((content.ranks - 1) << 3 | log2_of(content.device_width / 4));
    spd[8] = static_cast<uint8_t>((content.ecc ? 0x08 : 0) | 0x03);
    spd[9] = 0x52;  // fine timebase 2.5 ps
    spd[10] = 1;    // medium timebase 1/8 ns
    spd[11] = 8;
    spd[12] = 0x0C;
    build_crc_layout(content, spd);
}

void build_fbdimm(const SpdContent &content, Bytes &spd)
{
    spd[2] = 0x09;
    spd[4] = static_cast<uint8_t>((content.rows - 12) << 5 | (content.columns - 9) << 2 |
                                  log2_of(content.banks / 4));
    spd[7] = static_cast<uint8_t>((content.ranks - 1) << 3 | log2_of(content.device_width / 4));
    build_crc_layout(content, spd);
}

void build_ddr2(const SpdContent &content, Bytes &spd)
{
    spd[0] = 128;
    spd[1] = 8;
    spd[2] = content.type == SpdType::Ddr ? 0x07 : 0x08;
    spd[3] = static_cast<uint8_t>(content.rows);
    spd[4] = static_cast<uint8_t>(content.columns);
    spd[5] = static_cast<uint8_t>(content.type == SpdType::Ddr ? content.ranks : 0x60 | (content.ranks - 1));
    spd[6] = content.ecc ? 72 : 64;
    spd[9] = 0x30;
    spd[11] = content.ecc ? 0x02 : 0x00;
    spd[13] = static_cast<uint8_t>(content.device_width);
    spd[17] = static_cast<uint8_t>(content.banks);
    spd[20] = content.module_type;
    spd[62] = 0x12;
    for (unsigned i = 0; i < content.continuations; ++i)
        spd[64 + i] = 0x7F;
    spd[64 + content.continuations] = content.manufacturer;
    spd[72] = content.location;
    put_text(spd, 73, content.part_number, 18);
    spd[93] = content.year_bcd;
    spd[94] = content.week_bcd;
    put_serial(spd, 95, content.serial);
    uint8_t sum = 0;
    for (size_t i = 0; i < 63; ++i)
        sum = static_cast<uint8_t>(sum + spd[i]);
    spd[63] = static_cast<uint8_t>(content.break_checksum ? sum + 1 : sum);
}

}  // namespace

void erase_customer_area(Bytes &spd)
{
    size_t begin = 0;
    size_t end = 0;
    if (customer_area_bounds(spd, &begin, &end) == kOk)
        std::fill(spd.begin() + static_cast<long>(begin), spd.begin() + static_cast<long>(end), kErased);
}

Bytes build_spd(const SpdContent &content)
{
    Bytes spd(256, 0);
    switch (content.type) {
    case SpdType::Ddr3:
        build_ddr3(content, spd);
        break;
    case SpdType::FbDimm:
        build_fbdimm(content, spd);
        break;
    case SpdType::Ddr:
    case SpdType::Ddr2:
        build_ddr2(content, spd);
        break;
    case SpdType::Other:
        break;
    }
    erase_customer_area(spd);
    return spd;
}

}  // namespace fruplat
