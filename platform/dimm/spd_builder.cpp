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

// DDR3 and DDR4 keep a time as a count of 1/8 ns and a signed correction
// in ps: the count rounded up, the correction zero or negative.
void put_time(Bytes &spd, size_t coarse, size_t fine, unsigned ps)
{
    const unsigned eighths = (ps + 124) / 125;
    spd[coarse] = static_cast<uint8_t>(eighths);
    spd[fine] = static_cast<uint8_t>(static_cast<int>(ps) - static_cast<int>(eighths * 125));
}

void put_crc(Bytes &spd, size_t first, size_t last, bool broken)
{
    const uint16_t crc = static_cast<uint16_t>(spd_crc16(&spd[first], last - first + 1) ^ (broken ? 0x0101 : 0));
    spd[last + 1] = static_cast<uint8_t>(crc);
    spd[last + 2] = static_cast<uint8_t>(crc >> 8);
}

void put_maker(Bytes &spd, size_t at, const SpdContent &content)
{
    spd[at] = with_parity(content.continuations);
    spd[at + 1] = content.manufacturer;
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
    spd[9] = 0x11;  // fine timebase 1 ps
    spd[10] = 1;    // medium timebase 1/8 ns
    spd[11] = 8;
    put_time(spd, 12, 34, content.tck_ps);
    put_time(spd, 16, 35, content.taa_ps);
    put_time(spd, 18, 36, content.trcd_ps);
    put_time(spd, 20, 37, content.trp_ps);
    spd[21] = static_cast<uint8_t>(content.tras_ps / 125 >> 8);
    spd[22] = static_cast<uint8_t>(content.tras_ps / 125);
    put_maker(spd, 148, content);
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

// Byte 9: whole ns and tenths, or DDR2's .25, .33, .66 and .75 as 0xA-0xD.
uint8_t ddr2_cycle_byte(unsigned ps)
{
    constexpr unsigned kFractions[4] = {250, 330, 660, 750};
    unsigned low = ps % 1000 / 100;
    for (unsigned i = 0; i < 4; ++i)
        if (ps % 1000 == kFractions[i])
            low = 0xA + i;
    return static_cast<uint8_t>(ps / 1000 << 4 | low);
}

// Bytes 27 and 29: whole ns and quarters.
uint8_t quarters_byte(unsigned ps)
{
    return static_cast<uint8_t>(ps / 1000 << 2 | ps % 1000 / 250);
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
    const bool ddr = content.type == SpdType::Ddr;
    spd[8] = ddr ? 0x04 : 0x05;  // SSTL 2.5 V, SSTL 1.8 V
    spd[9] = ddr2_cycle_byte(content.tck_ps);
    // The one CAS latency tAA asks for at that period: DDR2 bit n is CL n,
    // DDR bit n is CL (n + 2) / 2.
    const unsigned halves = (2 * content.taa_ps + content.tck_ps - 1) / content.tck_ps;
    const unsigned bit = ddr ? std::max(halves, 2u) - 2 : (halves + 1) / 2;
    spd[18] = static_cast<uint8_t>(bit < 7 ? 1u << bit : 0);
    spd[27] = quarters_byte(content.trp_ps);
    spd[29] = quarters_byte(content.trcd_ps);
    spd[30] = static_cast<uint8_t>(content.tras_ps / 1000);
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
    case SpdType::Ddr4:
        return build_ddr4_spd(content);
    case SpdType::Ddr5:
        return build_ddr5_spd(content);
    case SpdType::Lpddr:
    case SpdType::Other:
        break;
    }
    erase_customer_area(spd);
    return spd;
}

Bytes build_ddr4_spd(const SpdContent &content)
{
    Bytes spd(512, 0);
    spd[0] = 0x23;  // 384 bytes used of 512
    spd[1] = 0x11;
    spd[2] = 0x0C;
    spd[3] = content.module_type;
    // Capacity per die: powers of two from 256 Mb, then 12 and 24 Gb.
    const unsigned die = content.die_mbit == 12288 ? 8 : content.die_mbit == 24576 ? 9 : log2_of(content.die_mbit / 256);
    spd[4] = static_cast<uint8_t>(0x80 | die);  // four bank groups of four banks
    spd[5] = 0x19;                              // 16 row and 10 column address bits
    if (content.dies > 1)                       // 3DS: stacked dies behind one load
        spd[6] = static_cast<uint8_t>(0x82 | (content.dies - 1) << 4);
    spd[11] = 0x03;  // 1.2 V operable and endurant
    spd[12] = static_cast<uint8_t>((content.ranks - 1) << 3 | log2_of(content.device_width / 4));
    spd[13] = static_cast<uint8_t>((content.ecc ? 0x08 : 0) | 0x03);
    put_time(spd, 18, 125, content.tck_ps);
    put_time(spd, 24, 123, content.taa_ps);
    put_time(spd, 25, 122, content.trcd_ps);
    put_time(spd, 26, 121, content.trp_ps);
    spd[27] = static_cast<uint8_t>(content.tras_ps / 125 >> 8);
    spd[28] = static_cast<uint8_t>(content.tras_ps / 125);
    put_crc(spd, 0, 125, content.break_checksum);
    spd[128] = 0x11;  // 31-32 mm high
    spd[129] = 0x11;  // 2 mm thick on each side
    spd[130] = 0x22;  // reference card C
    put_crc(spd, 128, 253, false);
    put_maker(spd, 320, content);
    spd[322] = content.location;
    spd[323] = content.year_bcd;
    spd[324] = content.week_bcd;
    put_serial(spd, 325, content.serial);
    put_text(spd, 329, content.part_number, 20);
    put_maker(spd, 350, content);
    return spd;
}

Bytes build_ddr5_spd(const SpdContent &content)
{
    Bytes spd(1024, 0);
    constexpr unsigned kDieGbit[] = {0, 4, 8, 12, 16, 24, 32, 48, 64};
    unsigned density = 0;
    while (density + 1 < std::size(kDieGbit) && kDieGbit[density] * 1024 != content.die_mbit)
        ++density;
    spd[0] = 0x30;  // 1024 bytes
    spd[1] = 0x10;
    spd[2] = 0x12;
    spd[3] = content.module_type;
    spd[4] = static_cast<uint8_t>((content.dies > 1 ? log2_of(content.dies) + 1 : 0) << 5 | density);
    spd[6] = static_cast<uint8_t>(log2_of(content.device_width / 4) << 5);
    const auto put_ps = [&](size_t at, unsigned ps) {
        spd[at] = static_cast<uint8_t>(ps);
        spd[at + 1] = static_cast<uint8_t>(ps >> 8);
    };
    put_ps(20, content.tck_ps);
    put_ps(30, content.taa_ps);
    put_ps(32, content.trcd_ps);
    put_ps(34, content.trp_ps);
    put_ps(36, content.tras_ps);
    spd[234] = static_cast<uint8_t>((content.ranks - 1) << 3);
    spd[235] = static_cast<uint8_t>(0x20 | (content.ecc ? 0x10 : 0) | 0x02);  // 2 x (32 + 8 ECC) bits
    put_crc(spd, 0, 509, content.break_checksum);
    put_maker(spd, 512, content);
    spd[514] = content.location;
    spd[515] = content.year_bcd;
    spd[516] = content.week_bcd;
    put_serial(spd, 517, content.serial);
    put_text(spd, 521, content.part_number, 30);
    put_maker(spd, 552, content);
    return spd;
}

}  // namespace fruplat
