// quillet's decode of SPDs agrees with i2c-tools' decode-dimms on every
// field both show: generated DDR, DDR2, FB-DIMM, DDR3 and DDR4 modules
// across speed grades, CAS latencies, widths, ranks, stacked dies, makers
// of several banks and broken checksums, and the real modules in
// tests/data.
#include <algorithm>
#include <cmath>

#include "crosscheck/decoder_output.h"
#include "dimm/spd_builder.h"
#include "present/presenter.h"

namespace quillet_test {
namespace {

using fruplat::SpdContent;
using fruplat::SpdType;

// How a decode-dimms value reads in quillet's notation.
enum class Match {
    Same,         // byte for byte
    Maker,        // quillet adds " (bank N, 0xCC)" to the name
    NoCase,       // hex digits in either case
    Verdict,      // "OK (0x1234)" against "OK (0x1234 over bytes ...)"; a bad one by its first word
    Voltage,      // "1.5V" against "1.5 V"
    Level,        // "SSTL 1.8V" against "1.8 V": the level's voltage
    Nanoseconds,  // "2.50 ns at CAS 5 (tCK min)" against "2.500 ns"
    Timings,      // "5-5-5-18 as DDR2-800" against "5-5-5-18": at the highest speed
    Name,         // "UDIMM (133.25 mm)" against "UDIMM"
    Ending,       // "FB-DIMM" against "DDR2 SDRAM FB-DIMM": ours says more first
};

using enum Match;

const struct {
    const char *label, *name;
    Match match = Same;
} kLabels[] = {
    {"Fundamental Memory type", "memory_type", Ending}, {"SPD Revision", "spd_revision"},
    {"Module Type", "module_type", Name}, {"Size", "capacity"}, {"Ranks", "ranks"},
    {"SDRAM Device Width", "device_width"}, {"Primary Bus Width", "data_width"},
    {"Minimum Cycle Time", "cycle_time", Nanoseconds}, {"Minimum Cycle Time (tCK)", "cycle_time"},
    {"Minimum Cycle Time (tCKmin)", "cycle_time"}, {"Maximum module speed", "max_speed"},
    {"tCL-tRCD-tRP-tRAS", "timings", Timings}, {"AA-RCD-RP-RAS (cycles)", "timings"},
    {"Voltage Interface Level", "nominal_voltage", Level}, {"Operable voltages", "nominal_voltage", Voltage},
    {"Module Nominal Voltage", "nominal_voltage"}, {"Manufacturer", "module_manufacturer", Maker},
    {"Module Manufacturer", "module_manufacturer", Maker}, {"DRAM Manufacturer", "dram_manufacturer", Maker},
    {"Manufacturing Location Code", "manufacturing_location", NoCase},
    {"Manufacturing Date", "manufacturing_date"}, {"Assembly Serial Number", "serial_number", NoCase},
    {"Part Number", "part_number"}, {"EEPROM Checksum of bytes 0-62", "checksum", Verdict},
    {"EEPROM CRC of bytes 0-116", "crc", Verdict}, {"EEPROM CRC of bytes 0-125", "crc", Verdict},
    {"EEPROM CRC of bytes 128-253", "crc_module_specific", Verdict},
};

std::string without_spaces(std::string text)
{
    std::erase(text, ' ');
    return text;
}

std::string before(const std::string &text, const char *mark)
{
    return text.substr(0, text.find(mark));
}

// Both values in one notation: quillet's, then decode-dimms'.
std::pair<std::string, std::string> meet(Match match, const std::string &ours, const std::string &theirs)
{
    const auto centi = [](const std::string &ns) {
        return std::to_string(std::lround(std::strtod(ns.c_str(), nullptr) * 100));
    };
    switch (match) {
    case Same:
        return {ours, theirs};
    case Maker:
        return {before(ours, " (bank "), theirs};
    case Ending:
        return {ours.ends_with(theirs) ? theirs : ours, theirs};
    case NoCase:
        return {lower(ours), lower(theirs)};
    case Voltage:
        return {without_spaces(ours), theirs};
    case Level: {
        const std::string level = without_spaces(theirs);
        // SSTL and HSTL levels name their voltage last; TTL levels have none.
        return {without_spaces(ours), level.starts_with("SSTL") || level.starts_with("HSTL") ? level.substr(4) : level};
    }
    case Nanoseconds:
        return {centi(ours), centi(theirs)};
    case Timings:
        return {ours, before(theirs, " as ")};
    case Name:
        return {ours, before(theirs, " (")};
    case Verdict:
        // decode-dimms names the stored sum when it holds, "BAD" otherwise.
        if (theirs.starts_with("OK"))
            return {before(ours, " over ") + ")", theirs};
        return {lower(ours.substr(0, 3)), lower(theirs.substr(0, 3))};
    }
    return {ours, theirs};
}

// Modules as makers ship them, one generation after another: each row
// changes the one before, a broken checksum ends a generation. DDR and DDR2
// give tCK at the CAS latency tAA asks for.
std::vector<SpdContent> corpus()
{
    std::vector<SpdContent> rows;
    SpdContent c;
    const auto keep = [&] { rows.push_back(c); };
    const auto next = [&](SpdType type) { c.break_checksum = true, keep(), c = SpdContent(), c.type = type; };
    c.type = SpdType::Ddr, c.rows = 13, c.banks = 4, c.ranks = 2, c.ecc = false, c.module_type = 0;
    c.tck_ps = 5000, c.taa_ps = 15000, c.trcd_ps = c.trp_ps = 15000, c.tras_ps = 40000;  // DDR-400 3-3-3-8
    c.part_number = "HYMD564646CP8J-D43", keep();
    c.tck_ps = 6000, c.taa_ps = 15000, c.tras_ps = 42000, c.ecc = true, c.ranks = 1;  // DDR-333 2.5-3-3-7
    c.continuations = 1, c.manufacturer = 0x98, c.part_number = "KVR333X72C25/512", keep();
    c.tck_ps = 7500, c.taa_ps = 15000, c.trcd_ps = c.trp_ps = 20000, c.tras_ps = 45000;  // DDR-266 2-3-3-6
    c.part_number = "MT16VDDF6464AG-265", keep();
    next(SpdType::Ddr2);
    c.module_type = 0x01, c.ranks = 2, c.rows = 14, c.columns = 10, c.banks = 8;  // DDR2-800 5-5-5-18
    c.tck_ps = 2500, c.taa_ps = c.trcd_ps = c.trp_ps = 12500, c.tras_ps = 45000;
    c.part_number = "M393T5750CZ3-CD5", c.year_bcd = 0x07, c.week_bcd = 0x21, keep();
    c.module_type = 0x02, c.ranks = 1, c.rows = 13, c.banks = 4, c.ecc = false, c.continuations = 3;
    c.tck_ps = 3000, c.taa_ps = c.trcd_ps = c.trp_ps = 15000, c.tras_ps = 45000;  // DDR2-667 5-5-5-15
    c.manufacturer = 0x0B, c.part_number = "NT1GT64U8HB0BY-37B", keep();
    c.module_type = 0x04, c.continuations = 5, c.manufacturer = 0x51, c.part_number = "HYS64T64020EM-3S-B";
    c.tck_ps = 3750, c.taa_ps = c.trcd_ps = c.trp_ps = 15000, c.tras_ps = 40000;  // DDR2-533 4-4-4-11
    c.serial = 0x00C0FFEE, keep();
    next(SpdType::FbDimm);
    c.rows = 14, c.columns = 10, c.banks = 8, c.ranks = 2, c.device_width = 4;
    c.manufacturer = 0x2C, c.part_number = "MT36HTF51272FZ-667", keep();
    c.manufacturer = 0xC1, c.ranks = 1, c.part_number = "HYS72T256420EFA-3S", keep();
    next(SpdType::Ddr3), keep();  // DDR3-1333 9-9-9-24 registered, ECC
    c.module_type = 2, c.die_mbit = 4096, c.ranks = 2, c.ecc = false, c.manufacturer = 0x2C;
    c.tck_ps = 1250, c.taa_ps = c.trcd_ps = c.trp_ps = 13750, c.tras_ps = 35000;  // DDR3-1600 11-11-11-28
    c.part_number = "MT16KTF1G64AZ-1G6", c.crc_covers_117 = false, keep();
    // DDR3-1866: 7.5/7 ns stored as 1.071 ns, 13.91 ns / 1.0714 = 12.98 -> 13
    c.module_type = 3, c.device_width = 16, c.ranks = 1, c.continuations = 1, c.manufacturer = 0x98;
    c.tck_ps = 1071, c.taa_ps = c.trcd_ps = c.trp_ps = 13910, c.tras_ps = 34000, c.part_number = "KVR18S13S8/4", keep();
    c.module_type = 1, c.device_width = 4, c.ranks = 4, c.die_mbit = 2048, c.ecc = true, c.continuations = 0;
    c.tck_ps = 1875, c.taa_ps = c.trcd_ps = c.trp_ps = 13125, c.tras_ps = 37500;
    c.manufacturer = 0xAD, c.part_number = "HMT42GR7AFR4C-RD", c.crc_covers_117 = true, keep();
    next(SpdType::Ddr4);
    c.die_mbit = 4096, c.device_width = 4;  // DDR4-2133 15-15-15-36
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

// What each generation reads through, and how many fields decode-dimms
// shows of it: FB-DIMM only its type and CRC (it looks for the maker and
// part number where DDR2 keeps them, and finds nothing).
const struct {
    SpdType type;
    fruplat::Bytes (*build)(const SpdContent &);
    const char *record, *verdict;
    size_t fields;
} kGenerations[] = {
    {SpdType::Ddr, fruplat::build_spd, "SPD1_R", "checksum", 14},
    {SpdType::Ddr2, fruplat::build_spd, "SPD1_R", "checksum", 16},
    {SpdType::FbDimm, fruplat::build_spd, "SPD_FBDIMM_R", "crc", 2},
    {SpdType::Ddr3, fruplat::build_spd, "SPD_DDR3_R", "crc", 18},
    {SpdType::Ddr4, fruplat::build_ddr4_spd, "SPD1_R", "crc", 19},
};

class SpdCrossCheck : public CrossCheck {
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
    size_t compare(const std::string &nac, const fruplat::Bytes &image, const char *record, bool fbdimm,
                   Fields *shown = nullptr)
    {
        add_image(nac, "dimm", image);
        const Outcome read = quillet({"-c", nac, "-r", record});
        EXPECT_EQ(read.status, 0) << read.err;
        // Only the record of the module's own generation reads.
        for (const char *other : {"SPD_DDR3_R", "SPD_FBDIMM_R", "SPD1_R"}) {
            if (std::string(other) != record) {
                EXPECT_EQ(quillet({"-c", nac, "-r", other}).status, 14) << other;
            }
        }
        const Outcome decoded = decode("decode-dimms", {"-c", "-x", dump(image)});
        EXPECT_EQ(decoded.status, 0) << decoded.err;
        const Fields mine = parse_fields(read.out, true), theirs = parse_fields(decoded.out, false);
        if (shown != nullptr)
            *shown = mine;
        size_t compared = 0;
        for (const auto &row : kLabels) {
            const auto found = theirs.find(row.label);
            if (found == theirs.end() || (fbdimm && found->second == "Undefined"))
                continue;
            const auto ours = mine.find(row.name);
            if (ours == mine.end()) {
                ADD_FAILURE() << "quillet shows no " << row.name << " for " << row.label;
                continue;
            }
            const auto [mine_as_compared, theirs_as_compared] = meet(row.match, ours->second, found->second);
            EXPECT_EQ(mine_as_compared, theirs_as_compared) << row.label;
            ++compared;
        }
        return compared;
    }
};

TEST_F(SpdCrossCheck, GeneratedModulesOfEveryGenerationAgreeWithDecodeDimms)
{
    REQUIRE_DECODER("decode-dimms", "i2c-tools");
    const std::vector<SpdContent> rows = corpus();
    size_t compared = 0;
    for (size_t n = 0; n < rows.size(); ++n) {
        const SpdContent &c = rows[n];
        SCOPED_TRACE(c.part_number + (c.break_checksum ? " broken" : ""));
        const auto generation = std::find_if(std::begin(kGenerations), std::end(kGenerations),
                                             [&](const auto &g) { return g.type == c.type; });
        ASSERT_NE(generation, std::end(kGenerations));
        const bool fbdimm = c.type == SpdType::FbDimm;
        Fields mine;
        const size_t fields = compare("D" + std::to_string(n), generation->build(c), generation->record, fbdimm, &mine);
        EXPECT_EQ(fields, generation->fields);
        compared += fields;
        // The module as it was built, where decode-dimms cannot say: whether
        // its checksum was broken, and an FB-DIMM's geometry and part.
        EXPECT_EQ(value_of(mine, generation->verdict).substr(0, 3), c.break_checksum ? "BAD" : "OK ");
        if (fbdimm) {
            const uint64_t bytes = (uint64_t{1} << (c.rows + c.columns)) * c.banks * 8 * c.ranks;
            EXPECT_EQ(mine["capacity"], std::to_string(bytes >> 20) + " MB");
            EXPECT_EQ(mine["ranks"], std::to_string(c.ranks));
            EXPECT_EQ(mine["part_number"], c.part_number);
        }
    }
    RecordProperty("fields_compared", static_cast<int>(compared));
}

TEST_F(SpdCrossCheck, RealModulesAgreeWithDecodeDimms)
{
    REQUIRE_DECODER("decode-dimms", "i2c-tools");
    const struct {
        const char *nac, *file, *record;
        size_t fields;
    } modules[] = {
        {"DDR3", "ddr3-sodimm-samsung-M471B2873FHS-CF8.bin", "SPD_DDR3_R", 18},
        {"DDR4", "ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin", "SPD1_R", 19},
    };
    for (const auto &[nac, file, record, fields] : modules) {
        SCOPED_TRACE(file);
        const std::string image = slurp(std::string(QUILLET_TEST_DATA) + "/" + file);
        ASSERT_FALSE(image.empty());
        EXPECT_EQ(compare(nac, {image.begin(), image.end()}, record, false), fields);
    }
}

}  // namespace
}  // namespace quillet_test
