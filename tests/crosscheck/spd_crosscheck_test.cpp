// quillet's decode of DDR3 and DDR4 SPDs agrees with i2c-tools'
// decode-dimms on every field both show: generated modules across speed
// grades, widths, ranks, stacked dies, makers of several banks and broken
// CRCs, and the real modules in tests/data.
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "dimm/spd_builder.h"
#include "crosscheck/decoder_output.h"
#include "e2e/e2e_fixture.h"
#include "present/presenter.h"

namespace quillet_test {
namespace {

using fruplat::SpdContent;
using fruplat::SpdType;

// How a decode-dimms value reads in quillet's notation.
enum class Match {
    Same,     // byte for byte
    Maker,    // quillet adds " (bank N, 0xCC)" to the name
    NoCase,   // hex digits in either case
    Verdict,  // "OK (0x1234)" against "OK (0x1234 over bytes ...)"; a bad CRC by its first word
    Voltage,  // "1.5V" against "1.5 V"
};

const struct {
    const char *label, *name;
    Match match;
} kLabels[] = {
    {"Fundamental Memory type", "memory_type", Match::Same},
    {"SPD Revision", "spd_revision", Match::Same},
    {"Module Type", "module_type", Match::Same},
    {"Size", "capacity", Match::Same},
    {"Ranks", "ranks", Match::Same},
    {"SDRAM Device Width", "device_width", Match::Same},
    {"Primary Bus Width", "data_width", Match::Same},
    {"Minimum Cycle Time (tCK)", "cycle_time", Match::Same},
    {"Minimum Cycle Time (tCKmin)", "cycle_time", Match::Same},
    {"Maximum module speed", "max_speed", Match::Same},
    {"tCL-tRCD-tRP-tRAS", "timings", Match::Same},
    {"AA-RCD-RP-RAS (cycles)", "timings", Match::Same},
    {"Operable voltages", "nominal_voltage", Match::Voltage},
    {"Module Nominal Voltage", "nominal_voltage", Match::Same},
    {"Module Manufacturer", "module_manufacturer", Match::Maker},
    {"DRAM Manufacturer", "dram_manufacturer", Match::Maker},
    {"Manufacturing Location Code", "manufacturing_location", Match::NoCase},
    {"Manufacturing Date", "manufacturing_date", Match::Same},
    {"Assembly Serial Number", "serial_number", Match::NoCase},
    {"Part Number", "part_number", Match::Same},
    {"EEPROM CRC of bytes 0-116", "crc", Match::Verdict},
    {"EEPROM CRC of bytes 0-125", "crc", Match::Verdict},
    {"EEPROM CRC of bytes 128-253", "crc_module_specific", Match::Verdict},
};

std::string without_spaces(std::string text)
{
    std::erase(text, ' ');
    return text;
}

std::string ours_as_theirs(Match match, const std::string &ours, const std::string &theirs)
{
    switch (match) {
    case Match::Same:
        return ours;
    case Match::Maker:
        return ours.substr(0, ours.rfind(" (bank "));
    case Match::NoCase:
        return lower(ours);
    case Match::Voltage:
        return without_spaces(ours);
    case Match::Verdict:
        // decode-dimms names the stored CRC when it holds, "BAD" otherwise.
        return theirs.starts_with("OK") ? ours.substr(0, ours.find(" over ")) + ")" : lower(ours.substr(0, 3));
    }
    return ours;
}

std::string theirs_as_compared(Match match, const std::string &theirs)
{
    if (match == Match::NoCase)
        return lower(theirs);
    if (match == Match::Verdict && !theirs.starts_with("OK"))
        return lower(theirs.substr(0, 3));
    return theirs;
}

// DDR3 and DDR4 modules as makers ship them: each row changes the one
// before; a broken CRC ends a generation.
std::vector<SpdContent> corpus()
{
    std::vector<SpdContent> rows;
    SpdContent c;
    const auto keep = [&] { rows.push_back(c); };
    keep();  // DDR3-1333 9-9-9-24 registered, ECC
    c.module_type = 2, c.die_mbit = 4096, c.ranks = 2, c.ecc = false, c.manufacturer = 0x2C;
    c.tck_ps = 1250, c.taa_ps = c.trcd_ps = c.trp_ps = 13750, c.tras_ps = 35000;  // DDR3-1600 11-11-11-28
    c.part_number = "MT16KTF1G64AZ-1G6", keep();
    // DDR3-1866: 7.5/7 ns stored as 1.071 ns, 13.91 ns / 1.0714 = 12.98 -> 13
    c.module_type = 3, c.device_width = 16, c.ranks = 1, c.continuations = 1, c.manufacturer = 0x98;
    c.tck_ps = 1071, c.taa_ps = c.trcd_ps = c.trp_ps = 13910, c.tras_ps = 34000, c.part_number = "KVR18S13S8/4", keep();
    c.module_type = 1, c.tck_ps = 1875, c.taa_ps = c.trcd_ps = c.trp_ps = 13125, c.tras_ps = 37500;
    c.crc_covers_117 = false, c.break_checksum = true, keep();
    c = SpdContent();
    c.type = SpdType::Ddr4, c.die_mbit = 4096, c.device_width = 4;  // DDR4-2133 15-15-15-36
    c.tck_ps = 938, c.taa_ps = c.trcd_ps = c.trp_ps = 13750, c.tras_ps = 33000, c.part_number = "M393A1G40EB1-CPB";
    keep();
    // DDR4-2400: 7.5/9 ns stored as 0.833 ns; 14.16 / 0.8333 = 16.99 -> 17
    c.module_type = 2, c.die_mbit = 8192, c.device_width = 8, c.ranks = 2, c.ecc = false, c.manufacturer = 0x2C;
    c.tck_ps = 833, c.taa_ps = c.trcd_ps = c.trp_ps = 14160, c.tras_ps = 32000, c.part_number = "MTA16ATF2G64AZ-2G3";
    keep();
    c.module_type = 3, c.die_mbit = 16384, c.device_width = 16, c.ranks = 1, c.manufacturer = 0xAD;
    c.tck_ps = 750, c.taa_ps = c.trcd_ps = c.trp_ps = 13750, c.part_number = "HMAA1GS6CJR6N-XN", keep();
    // Stacked: two dies per package behind one load count twice.
    c.module_type = 4, c.die_mbit = 8192, c.device_width = 4, c.ranks = 2, c.dies = 2, c.ecc = true;
    c.continuations = 4, c.manufacturer = 0xEF, c.tck_ps = 625, c.part_number = "TEAMED4LR3200", keep();
    c.break_checksum = true, keep();
    return rows;
}

class SpdCrossCheck : public EndToEnd {
protected:
    std::string dump(const fruplat::Bytes &image)
    {
        std::string text;
        char offset[32];
        for (size_t i = 0; i < image.size(); i += 16) {
            std::snprintf(offset, sizeof offset, "%08zx: ", i);
            text += offset + fruplat::hex_bytes(&image[i], std::min<size_t>(16, image.size() - i), " ") + "\n";
        }
        return temp_file(text);
    }

    // Every field decode-dimms shows that quillet also decodes; returns how
    // many were compared.
    size_t compare(const std::string &nac, const fruplat::Bytes &image, const char *record)
    {
        EXPECT_EQ(fructl({"add", nac, "dimm", "--from", temp_file(std::string(image.begin(), image.end()))}).status, 0);
        const Outcome read = quillet({"-c", nac, "-r", record});
        EXPECT_EQ(read.status, 0) << read.err;
        const Outcome decoded =
            run_program("decode-dimms", {"-c", "-x", dump(image)}, "", scratch_, false);
        EXPECT_EQ(decoded.status, 0) << decoded.err;
        const Fields mine = parse_fields(read.out, true), theirs = parse_fields(decoded.out, false);
        size_t compared = 0;
        for (const auto &row : kLabels) {
            const auto found = theirs.find(row.label);
            if (found == theirs.end())
                continue;
            const auto ours = mine.find(row.name);
            if (ours == mine.end()) {
                ADD_FAILURE() << "quillet shows no " << row.name << " for " << row.label;
                continue;
            }
            EXPECT_EQ(ours_as_theirs(row.match, ours->second, found->second),
                      theirs_as_compared(row.match, found->second))
                << row.label;
            ++compared;
        }
        return compared;
    }
};

#define REQUIRE_DECODE_DIMMS()                                                       \
    if (std::system("command -v decode-dimms >/dev/null 2>&1") != 0) {               \
        if (std::getenv("QUILLET_REQUIRE_CROSSCHECK") != nullptr)                     \
            FAIL() << "decode-dimms (i2c-tools) is required";                        \
        GTEST_SKIP() << "decode-dimms (i2c-tools) not installed";                    \
    }

TEST_F(SpdCrossCheck, GeneratedDdr3AndDdr4ModulesAgreeWithDecodeDimms)
{
    REQUIRE_DECODE_DIMMS();
    const std::vector<SpdContent> rows = corpus();
    for (size_t n = 0; n < rows.size(); ++n) {
        SCOPED_TRACE(rows[n].part_number + (rows[n].break_checksum ? " broken" : ""));
        const bool ddr4 = rows[n].type == SpdType::Ddr4;
        const fruplat::Bytes image = ddr4 ? fruplat::build_ddr4_spd(rows[n]) : fruplat::build_spd(rows[n]);
        // DDR3: 18 fields, DDR4 one more CRC.
        std::string nac = "D";
        nac += std::to_string(n);
        EXPECT_EQ(compare(nac, image, ddr4 ? "SPD1_R" : "SPD_DDR3_R"), ddr4 ? 19u : 18u);
    }
}

TEST_F(SpdCrossCheck, RealModulesAgreeWithDecodeDimms)
{
    REQUIRE_DECODE_DIMMS();
    const struct {
        const char *file, *record;
        size_t fields;
    } modules[] = {
        {"ddr3-sodimm-samsung-M471B2873FHS-CF8.bin", "SPD_DDR3_R", 18},
        {"ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin", "SPD1_R", 19},
    };
    for (const auto &module : modules) {
        SCOPED_TRACE(module.file);
        std::ifstream in(std::string(QUILLET_TEST_DATA) + "/" + module.file, std::ios::binary);
        const fruplat::Bytes image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(image.empty());
        EXPECT_EQ(compare(module.record == std::string("SPD1_R") ? "DDR4" : "DDR3", image, module.record),
                  module.fields);
    }
}

}  // namespace
}  // namespace quillet_test
