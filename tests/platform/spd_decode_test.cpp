// The SPD decodes decode-dimms cannot cross-check: DDR5 (it has no DDR5
// decoder) against values worked out by hand from the JEDEC layout, LPDDR
// descriptors, every JEP106 bank, reserved codes of DDR and DDR2, and
// images too short for their type.
#include <fstream>
#include <iterator>
#include <map>

#include <gtest/gtest.h>

#include "dimm/spd.h"
#include "dimm/spd_builder.h"

namespace {

using fruplat::Bytes;
using Fields = std::map<std::string, std::string>;

Fields decoded(const Bytes &spd)
{
    Fields fields;
    for (const fruplat::PresentedField &field : fruplat::decode_spd(spd))
        fields[field.name] = field.value;
    return fields;
}

Bytes data_file(const char *name)
{
    std::ifstream in(std::string(QUILLET_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void expect_fields(const Bytes &spd, const Fields &expected)
{
    const Fields shown = decoded(spd);
    for (const auto &[name, value] : expected) {
        const auto found = shown.find(name);
        EXPECT_EQ(found == shown.end() ? "<missing>" : found->second, value) << name;
    }
}

TEST(SpdDecode, RealDdr5ModuleReadsAsWorkedOutByHand)
{
    expect_fields(data_file("ddr5-udimm-teamgroup-ud5-6000.bin"),
                  {
                      {"memory_type", "DDR5 SDRAM"},  // byte 2 = 0x12
                      {"spd_revision", "1.0"},        // byte 1 = 0x10
                      {"module_type", "UDIMM"},       // byte 3 = 0x02
                      // byte 4 = 0x04: 16 Gb, one die; byte 6 = 0x20: x8; byte
                      // 234 = 0: one rank; byte 235 = 0x22: two 32-bit
                      // sub-channels, no ECC. 2 x 32/8 x 16 Gb/8 x 1 = 16384 MB.
                      {"capacity", "16384 MB"},
                      {"ranks", "1"},
                      {"device_width", "8 bits"},
                      {"data_width", "64 bits"},
                      {"ecc", "no"},
                      // bytes 20-21 = 0x01A0 = 416 ps: 5 ns / 12 (416.67 ps)
                      // truncated, 2000 / 0.41667 = 4800 MT/s, x 8 bytes.
                      {"cycle_time", "0.416 ns"},
                      {"max_speed", "4800 MT/s (PC5-38400)"},
                      // tAA = tRCD = tRP = 0x4100 = 16640 ps: 39.94 cycles ->
                      // 40; tRAS 0x7D00 = 32000 ps: 76.8 -> 77.
                      {"timings", "40-40-40-77"},
                      {"nominal_voltage", "1.1 V"},  // byte 16 bits 7:4 = 0
                      // bytes 512-513 = 04 EF: bank 5, 0xEF; 552-553 = 80 AD.
                      {"module_manufacturer", "Team Group Inc. (bank 5, 0xEF)"},
                      {"dram_manufacturer", "SK Hynix (former Hyundai Electronics) (bank 1, 0xAD)"},
                      {"manufacturing_date", "2023-W37"},  // bytes 515-516 = 23 37
                      {"serial_number", "0x0104EEFF"},
                      {"part_number", "UD5-6000"},
                      {"crc", "OK (0x8021 over bytes 0-509)"},  // bytes 510-511 = 21 80
                  });
}

TEST(SpdDecode, GeneratedDdr5ModulesReadAsWorkedOutByHand)
{
    fruplat::SpdContent c;
    c.type = fruplat::SpdType::Ddr5, c.module_type = 1, c.die_mbit = 16384, c.device_width = 4, c.ranks = 2;
    c.tck_ps = 357, c.taa_ps = c.trcd_ps = c.trp_ps = 16000, c.tras_ps = 32000, c.part_number = "M321R8GA0BB0-CQK";
    expect_fields(fruplat::build_ddr5_spd(c),
                  {
                      {"module_type", "RDIMM"},
                      // 2 sub-channels x 32/4 devices x 16 Gb/8 x 2 ranks
                      {"capacity", "65536 MB"},
                      {"ecc", "yes (8-bit extension per sub-channel)"},
                      // 357 ps is 5 ns / 14 truncated: 5600 MT/s
                      {"max_speed", "5600 MT/s (PC5-44800)"},
                      // 16000 / 357.14 = 44.8 -> 45; 32000 / 357.14 = 89.6 -> 90
                      {"timings", "45-45-45-90"},
                      {"module_manufacturer", "Samsung (bank 1, 0xCE)"},
                      {"manufacturing_date", "2012-W34"},
                      {"serial_number", "0x12345678"},
                      {"part_number", "M321R8GA0BB0-CQK"},
                  });
    c.module_type = 3, c.die_mbit = 24576, c.dies = 2, c.device_width = 8, c.ranks = 1, c.ecc = false;
    c.tck_ps = 312, c.continuations = 1, c.manufacturer = 0x98, c.part_number = "KF564S38IBK2-64";
    c.break_checksum = true;
    const Bytes image = fruplat::build_ddr5_spd(c);
    expect_fields(image,
                  {
                      {"module_type", "SO-DIMM"},
                      // 2 x 32/8 x (2 dies x 24 Gb)/8 x 1 rank
                      {"capacity", "49152 MB"},
                      {"ecc", "no"},
                      // 312 ps is 5 ns / 16 (312.5 ps) truncated: 6400 MT/s
                      {"max_speed", "6400 MT/s (PC5-51200)"},
                      // 16000 / 312.5 = 51.2 -> 52; 32000 / 312.5 = 102.4 -> 103
                      {"timings", "52-52-52-103"},
                      {"module_manufacturer", "Kingston (bank 2, 0x98)"},
                  });
    EXPECT_TRUE(decoded(image)["crc"].starts_with("BAD (stored ")) << decoded(image)["crc"];
}

TEST(SpdDecode, LpddrDescriptorsShowTypeCapacityMakerAndPart)
{
    Bytes lpddr4(512, 0);
    lpddr4[1] = 0x11, lpddr4[2] = 0x11;
    lpddr4[4] = 0x05;   // 8 Gb a die
    lpddr4[6] = 0x90;   // non-monolithic, two dies
    lpddr4[12] = 0x02;  // x16, one rank
    lpddr4[13] = 0x01;  // 16 bits: 8 Gb/8 x 16/16 x 1 x 2 dies = 2048 MB
    lpddr4[320] = 0x80, lpddr4[321] = 0x2C;
    const std::string part = "MT53E512M32D1";
    std::copy(part.begin(), part.end(), lpddr4.begin() + 329);
    expect_fields(lpddr4, {{"memory_type", "LPDDR4X SDRAM"},
                           {"capacity", "2048 MB"},
                           {"module_manufacturer", "Micron Technology (bank 1, 0x2C)"},
                           {"part_number", "MT53E512M32D1"}});
    Bytes lpddr5(1024, 0);
    lpddr5[2] = 0x13;
    lpddr5[4] = 0x44;  // two dies of 16 Gb: 4096 MB a package
    lpddr5[512] = 0x80, lpddr5[513] = 0xCE;
    expect_fields(lpddr5, {{"memory_type", "LPDDR5 SDRAM"},
                           {"capacity", "4096 MB"},
                           {"module_manufacturer", "Samsung (bank 1, 0xCE)"}});
}

TEST(SpdDecode, MakersOfEveryBankAreNamed)
{
    const struct {
        unsigned continuations;
        uint8_t code;
        const char *shown;
    } cases[] = {
        {0, 0x83, "Fairchild (bank 1, 0x83)"},
        {0, 0x03, "Fairchild (bank 1, 0x03)"},  // parity bit wrong: still the maker
        {8, 0x02, "Diehl Aerospace (bank 9, 0x02)"},
        {12, 0x8F, "Shenzhen Monarch Memory Technology (bank 13, 0x8F)"},
        {12, 0x10, "unknown (bank 13, 0x10)"},
        {13, 0x01, "unknown (bank 14, 0x01)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fruplat::jedec_manufacturer(c.continuations, c.code), c.shown);
}

// Bits JEDEC reserves name no latency, and parity bits are no data bits in
// the module's name.
TEST(SpdDecode, DdrAndDdr2ReservedBitsAndParityReadAsTheStandardSays)
{
    const struct {
        fruplat::SpdType type;
        uint8_t cas;     // byte 18
        uint8_t config;  // byte 11
        const char *timings, *speed;
    } cases[] = {
        {fruplat::SpdType::Ddr, 0xC0, 0x00, "4-3-3-8", "400 MT/s (PC3200)"},
        {fruplat::SpdType::Ddr, 0x80, 0x00, "<missing>", "400 MT/s (PC3200)"},
        {fruplat::SpdType::Ddr, 0x10, 0x01, "3-3-3-8", "400 MT/s (PC3200)"},
        {fruplat::SpdType::Ddr2, 0x80, 0x00, "<missing>", "400 MT/s (PC2-3200)"},
        {fruplat::SpdType::Ddr2, 0x03, 0x00, "<missing>", "400 MT/s (PC2-3200)"},
        {fruplat::SpdType::Ddr2, 0x48, 0x01, "6-3-3-8", "400 MT/s (PC2-3200)"},
    };
    for (const auto &c : cases) {
        fruplat::SpdContent content;
        content.type = c.type, content.tck_ps = 5000, content.taa_ps = 15000;
        content.trcd_ps = content.trp_ps = 15000, content.tras_ps = 40000;
        Bytes spd = fruplat::build_spd(content);
        spd[6] = c.config != 0 ? 72 : 64;  // with its check bits
        spd[11] = c.config;
        spd[18] = c.cas;
        expect_fields(spd, {{"timings", c.timings}, {"max_speed", c.speed}});
    }
}

// BCD as JEDEC has it, binary where a maker wrote that, the bytes as they
// are otherwise: the dates decode-dimms shows for the same bytes.
TEST(SpdDecode, DatesReadAsBcdOrBinaryOrAsTheyAre)
{
    const struct {
        uint8_t year, week;
        const char *shown;
    } cases[] = {
        {0x12, 0x34, "2012-W34"}, {0x96, 0x34, "1996-W34"}, {0x12, 0x00, "2012-W00"},
        {0x12, 0x1E, "2018-W30"}, {0x5A, 0x01, "1990-W01"}, {0x0A, 0x35, "2010-W53"},
        {0x0A, 0x36, "0x0A36"},   {0x0A, 0x00, "0x0A00"},   {0x64, 0x0A, "0x640A"},
        {0x9A, 0x34, "0x9A34"},   {0x00, 0x00, "unspecified"}, {0xFF, 0xFF, "unspecified"},
    };
    for (const auto &c : cases) {
        fruplat::SpdContent content;
        content.year_bcd = c.year, content.week_bcd = c.week;
        expect_fields(fruplat::build_spd(content), {{"manufacturing_date", c.shown}});
    }
}

TEST(SpdDecode, ImagesTooShortForTheirTypeSaySo)
{
    const struct {
        uint8_t code;
        size_t size;
        const char *shown;
    } cases[] = {
        {0x0C, 256, "SPD too short: 256 of 512 bytes"},
        {0x12, 512, "SPD too short: 512 of 1024 bytes"},
        {0x0B, 128, "SPD too short: 128 of 176 bytes"},
    };
    for (const auto &c : cases) {
        Bytes spd(c.size, 0);
        spd[2] = c.code;
        EXPECT_EQ(decoded(spd)["decode"], c.shown);
    }
    EXPECT_TRUE(fruplat::decode_spd(Bytes{0x23, 0x11, 0x01}).empty());
}

}  // namespace
