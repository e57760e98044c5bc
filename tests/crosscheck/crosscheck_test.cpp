// quillet's reads of generated IPMI FRU and SPD images agree field by field
// with two independent decoders: FreeIPMI's ipmi-fru and i2c-tools'
// decode-dimms. The images come from seeded generators, with what each
// field must decode to.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "dimm/spd_builder.h"
#include "crosscheck/decoder_output.h"
#include "e2e/e2e_fixture.h"
#include "ipmi/ipmi_builder.h"
#include "present/presenter.h"

namespace quillet_test {
namespace {

using fruplat::SpdType;

struct ExpectedField {
    std::string area, name, value, tag;  // value decoded and unpadded, tag as quillet appends it
};

struct IpmiSample {
    fruplat::Bytes image;
    std::vector<std::string> present_areas;
    std::vector<ExpectedField> fields;
};

// How each encoding's values are drawn: first, middle and last characters.
// Text has blanks inside, never at the ends (both decoders trim those); a
// first BCD digit above 0 keeps the first byte out of the range a
// one-character-per-byte reading would accept. The last row is the empty field.
struct EncodingRow {
    const char *tag, *head, *tail;
    std::string body;
    size_t min, max;
};
const EncodingRow kEncodings[] = {
    {"", "ABCXYZabcxyz0189", "KLMNOklmno234", "ABCDEFGHIJ abcdefghij-_./0123456789", 0, 24},
    {"6-bit ASCII", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-", 0, 15},
    {"BCD plus", "123456789", "", "0123456789-.", 1, 11},
    {"binary", "", "", std::string("\x01\x12\x7f\x80\xab\xfe\xff\x00", 8), 1, 8},
    {"", "", "", "", 0, 0},
};

const struct {
    const char *name;
    std::vector<const char *> fields;
} kPlans[] = {
    {"Chassis_Info_Area_S", {"part_number", "serial_number"}},
    {"Board_Info_Area_S", {"manufacturer", "product_name", "serial_number", "part_number", "fru_file_id"}},
    {"Product_Info_Area_S", {"manufacturer", "product_name", "part_model_number", "version", "serial_number",
                             "asset_tag", "fru_file_id"}},
};

// Sixty images varying every encoding, custom fields, empty fields and
// absent areas.
std::vector<IpmiSample> ipmi_corpus()
{
    std::mt19937 random(20261205);
    const auto number = [&](unsigned low, unsigned high) { return std::uniform_int_distribution<unsigned>(low, high)(random); };
    const auto pick = [&](const std::string &alphabet, size_t min, size_t max) {
        std::string text(alphabet.empty() ? 0 : number(unsigned(min), unsigned(max)), ' ');
        for (char &c : text)
            c = alphabet[number(0, unsigned(alphabet.size() - 1))];
        return text;
    };
    std::vector<IpmiSample> corpus(60);
    for (unsigned n = 0; n < corpus.size(); ++n) {
        IpmiSample &sample = corpus[n];
        fruplat::IpmiImageContent content;
        fruplat::IpmiAreaContent *areas[] = {&content.chassis, &content.board, &content.product};
        for (unsigned a = 0; a < 3; ++a) {
            fruplat::IpmiAreaContent &area = *areas[a];
            // Areas go missing in every combination, all three at once too.
            if (!(area.present = n % 8 != 7 && (n / 3 + a) % 5 != 0))
                continue;
            sample.present_areas.push_back(kPlans[a].name);
            area.type_or_language = uint8_t(a == 0 ? number(1, 0x1D) : n % 5 == 0 ? 25 : 0);
            area.mfg_minutes = n % 9 == 0 ? 0 : number(1, (1u << 24) - 1);
            const size_t named = kPlans[a].fields.size();
            for (size_t f = 0; f < named + (n + a) % 4; ++f) {
                const size_t e = (n + 3 * a + f) % std::size(kEncodings);
                const EncodingRow &row = kEncodings[e];
                std::string value = pick(row.head, 1, 1) + pick(row.body, row.min, row.max) + pick(row.tail, 1, 1);
                value += e == 2 && value.size() % 2 != 0 ? "9" : "";
                const fruplat::Bytes raw(value.begin(), value.end());
                area.fields.push_back(e == 1   ? fruplat::ipmi_six_bit(value)
                                      : e == 2 ? fruplat::ipmi_bcd_plus(value)
                                      : e == 3 ? fruplat::ipmi_binary(raw)
                                               : fruplat::ipmi_text(value));
                if (e == 3)
                    value = fruplat::hex_bytes(raw.data(), raw.size(), " ");
                sample.fields.push_back({kPlans[a].name,
                                         f < named ? kPlans[a].fields[f] : "custom_" + std::to_string(f - named + 1),
                                         value, row.tag});
            }
        }
        sample.image = fruplat::build_ipmi_image(content);
    }
    return corpus;
}

// SPDs of every type, module kind, maker bank and checksum verdict; each
// row changes the one before, a broken checksum ends a type.
std::vector<fruplat::SpdContent> spd_corpus()
{
    std::vector<fruplat::SpdContent> corpus;
    fruplat::SpdContent c;
    const auto keep = [&] { corpus.push_back(c); };
    const auto broken = [&] { c.break_checksum = true, keep(), c = fruplat::SpdContent(); };
    keep();
    c.module_type = 2, c.ranks = 1, c.die_mbit = 1024, c.ecc = false, c.manufacturer = 0x2C;
    c.part_number = "MT8JTF12864AZ-1G4", c.serial = 0xA1B2C3D4, c.year_bcd = 0x09, c.week_bcd = 0x48;
    c.crc_covers_117 = false, keep();
    c.module_type = 3, c.device_width = 16, c.die_mbit = 4096, c.ranks = 2, c.continuations = 1;
    c.manufacturer = 0x98, c.part_number = "KVR16S11/8", keep();
    c.module_type = 1, c.device_width = 4, c.ranks = 4, c.die_mbit = 2048, c.ecc = true, c.continuations = 0;
    c.manufacturer = 0xAD, c.part_number = "HMT42GR7AFR4C-RD", keep(), broken();
    c.type = SpdType::Ddr2, c.module_type = 0x01, c.ranks = 2, c.rows = 14, c.columns = 10, c.banks = 8;
    c.part_number = "M393T5750CZ3-CD5", c.year_bcd = 0x07, c.week_bcd = 0x21, keep();
    c.module_type = 0x02, c.ranks = 1, c.rows = 13, c.banks = 4, c.ecc = false, c.continuations = 3;
    c.manufacturer = 0x0B, c.part_number = "NT1GT64U8HB0BY-37B", keep();
    c.module_type = 0x04, c.continuations = 5, c.manufacturer = 0x51, c.part_number = "HYS64T64020EM-3S-B";
    c.serial = 0x00C0FFEE, keep(), broken();
    c.type = SpdType::FbDimm, c.rows = 14, c.columns = 10, c.banks = 8, c.ranks = 2, c.device_width = 4;
    c.manufacturer = 0x2C, c.part_number = "MT36HTF51272FZ-667", keep();
    c.manufacturer = 0xC1, c.ranks = 1, c.part_number = "HYS72T256420EFA-3S", keep(), broken();
    return corpus;
}

std::string value_of(const Fields &fields, const std::string &name)
{
    const auto found = fields.find(name);
    return found == fields.end() ? "<missing " + name + ">" : found->second;
}

// Splits "value [tag]" as quillet prints an encoded field.
std::string strip_tag(const std::string &value, std::string *tag)
{
    const size_t open = value.rfind(" [");
    const bool tagged = !value.empty() && value.back() == ']' && open != std::string::npos;
    *tag = tagged ? value.substr(open + 2, value.size() - open - 3) : "";
    return tagged ? value.substr(0, open) : value;
}

// CI sets QUILLET_REQUIRE_CROSSCHECK: there a missing decoder fails.
#define REQUIRE_DECODER(program, package)                                              \
    if (std::system("command -v " program " >/dev/null 2>&1") != 0) {                \
        if (std::getenv("QUILLET_REQUIRE_CROSSCHECK") != nullptr)                     \
            FAIL() << program " (" package ") is required";                          \
        GTEST_SKIP() << program " (" package ") not installed";                      \
    }

class CrossCheck : public EndToEnd {
protected:
    // The decoders print dates in local time; quillet prints UTC.
    void SetUp() override
    {
        setenv("TZ", "UTC0", 1);
        EndToEnd::SetUp();
    }
    std::string write_file(const fruplat::Bytes &bytes) { return temp_file(std::string(bytes.begin(), bytes.end())); }
    Outcome decode(const std::vector<std::string> &argv)
    {
        return run_program(argv[0], {argv.begin() + 1, argv.end()}, "", scratch_, false);
    }
};

// ipmi-fru's labels (after "FRU ") and quillet's field names. The first word
// names the area; FRU File ID belongs to the section being printed; an empty
// name is the next custom field.
const std::map<std::string, std::string> kLabels = {
    {"Chassis Type", "chassis_type"}, {"Chassis Part Number", "part_number"},
    {"Chassis Serial Number", "serial_number"}, {"Chassis Custom Info", ""},
    {"Board Manufacturing Date/Time", "mfg_date_time"}, {"Board Manufacturer", "manufacturer"},
    {"Board Product Name", "product_name"}, {"Board Serial Number", "serial_number"},
    {"Board Part Number", "part_number"}, {"Board Custom Info", ""},
    {"Product Manufacturer Name", "manufacturer"}, {"Product Name", "product_name"},
    {"Product Part/Model Number", "part_model_number"}, {"Product Version", "version"},
    {"Product Serial Number", "serial_number"}, {"Product Asset Tag", "asset_tag"},
    {"Product Custom Info", ""}, {"FRU File ID", "fru_file_id"},
};

// What quillet prints for a value as ipmi-fru prints it: dates
// "06/22/19 - 09:18:00", binary "01h 02h".
std::string from_freeipmi(const std::string &name, const std::string &tag, const std::string &theirs)
{
    unsigned month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    char out[40];
    if (name == "mfg_date_time") {
        if (std::sscanf(theirs.c_str(), "%u/%u/%u - %u:%u:%u", &month, &day, &year, &hour, &minute, &second) != 6)
            return "unparsed: " + theirs;
        std::snprintf(out, sizeof out, "%u-%02u-%02u %02u:%02u:%02u UTC", year >= 96 ? 1900 + year : 2000 + year,
                      month, day, hour, minute, second);
        return out;
    }
    if (tag != "binary")
        return theirs;
    std::string bytes;
    std::istringstream in(theirs);
    for (std::string byte; in >> byte;)
        bytes += (bytes.empty() ? "" : " ") + lower(byte.substr(0, 2));
    return bytes;
}

TEST_F(CrossCheck, IpmiFruAgreesWithQuilletOnEveryField)
{
    REQUIRE_DECODER("ipmi-fru", "freeipmi-tools");
    const std::vector<IpmiSample> corpus = ipmi_corpus();
    size_t compared = 0, generated = 0;
    for (size_t n = 0; n < corpus.size(); ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        const IpmiSample &sample = corpus[n];
        const std::string path = write_file(sample.image);
        const std::string nac = "PS" + std::to_string(n);
        ASSERT_EQ(fructl({"add", nac, "ipmi", "--from", path}).status, 0);

        std::map<std::string, Fields> shown;
        for (const auto &plan : kPlans) {
            const Outcome o = quillet({"-c", nac, "-r", plan.name});
            const auto &present = sample.present_areas;
            ASSERT_EQ(o.status, std::count(present.begin(), present.end(), plan.name) ? 0 : 14) << plan.name << o.err;
            shown[plan.name] = parse_fields(o.out, true);
        }
        // What the generator put in is what quillet shows, tag and all.
        for (const ExpectedField &field : sample.fields) {
            std::string tag;
            EXPECT_EQ(strip_tag(value_of(shown[field.area], field.name), &tag), field.value) << field.area << " " << field.name;
            EXPECT_TRUE(field.value.empty() || tag == field.tag) << field.area << " " << field.name;
            ++generated;
        }

        const Outcome decoded = decode({"ipmi-fru", "--fru-file=" + path});
        ASSERT_EQ(decoded.status, 0) << decoded.err;
        std::map<std::string, size_t> next_custom;
        std::string area;
        std::istringstream lines(decoded.out);
        for (std::string line; std::getline(lines, line);) {
            const size_t colon = line.find(": ");
            if (line.rfind("  FRU ", 0) != 0 || colon == std::string::npos)
                continue;
            const std::string label = line.substr(6, colon - 6), theirs = trim(line.substr(colon + 2));
            const auto known = kLabels.find(label);
            ASSERT_NE(known, kLabels.end()) << "ipmi-fru printed a field quillet does not map: " << line;
            if (!label.starts_with("FRU "))
                area = label.substr(0, label.find(' ')) + "_Info_Area_S";
            std::string name = known->second, tag;
            const Fields &mine = shown[area];
            // Empty custom fields are not printed by ipmi-fru; skip ours.
            while (name.empty() ||
                   (name.starts_with("custom_") && mine.count(name) && strip_tag(mine.at(name), &tag).empty()))
                name = "custom_" + std::to_string(++next_custom[area]);
            std::string ours = strip_tag(value_of(mine, name), &tag);
            if (name == "chassis_type")
                ours = ours.substr(0, ours.rfind(" (0x"));
            std::string expected = from_freeipmi(name, tag, theirs);
            if (name == "mfg_date_time" && ours == "unspecified")
                expected = theirs == "01/01/96 - 00:00:00" ? ours : "not the epoch: " + theirs;
            // FreeIPMI follows one reading of BCD plus (a character per byte)
            // and reports the standard's packing as an error.
            if (tag == "BCD plus")
                ours = "Error 'FRU invalid BCD encoding'";
            EXPECT_EQ(ours, expected) << area << " " << name << " from: " << line;
            ++compared;
        }
    }
    RecordProperty("fields_generated", static_cast<int>(generated));
    RecordProperty("fields_compared", static_cast<int>(compared));
    EXPECT_GT(compared, 500u);
}

std::string before(const std::string &text, const std::string &mark) { return text.substr(0, text.find(mark)); }

TEST_F(CrossCheck, DecodeDimmsAgreesWithQuillet)
{
    REQUIRE_DECODER("decode-dimms", "i2c-tools");
    const std::vector<fruplat::SpdContent> corpus = spd_corpus();
    ASSERT_EQ(corpus.size(), 12u);
    for (size_t n = 0; n < corpus.size(); ++n) {
        const fruplat::SpdContent &content = corpus[n];
        const fruplat::Bytes image = fruplat::build_spd(content);
        const SpdType type = content.type;
        SCOPED_TRACE(content.part_number + (content.break_checksum ? " broken" : ""));
        const std::string nac = "D" + std::to_string(n);
        ASSERT_EQ(fructl({"add", nac, "dimm", "--from", write_file(image)}).status, 0);
        const char *record = type == SpdType::Ddr3 ? "SPD_DDR3_R" : type == SpdType::FbDimm ? "SPD_FBDIMM_R" : "SPD1_R";
        const Outcome read = quillet({"-c", nac, "-r", record});
        ASSERT_EQ(read.status, 0) << read.err;
        const Fields mine = parse_fields(read.out, true);
        for (const char *other : {"SPD_DDR3_R", "SPD_FBDIMM_R", "SPD1_R"})
            EXPECT_EQ(quillet({"-c", nac, "-r", other}).status, std::string(other) == record ? 0 : 14) << other;

        // decode-dimms reads a hex dump of the bytes.
        std::string dump;
        char item[32];
        for (size_t i = 0; i < image.size(); i += 16) {
            std::snprintf(item, sizeof item, "%08zx: ", i);
            dump += item + fruplat::hex_bytes(&image[i], std::min<size_t>(16, image.size() - i), " ") + "\n";
        }
        const Outcome decoded = decode({"decode-dimms", "-c", "-x", temp_file(dump)});
        ASSERT_EQ(decoded.status, 0) << decoded.err;
        Fields theirs = parse_fields(decoded.out, false);

        EXPECT_NE(value_of(mine, "memory_type").find(theirs["Fundamental Memory type"]), std::string::npos);
        const bool checksum_ok = type == SpdType::Ddr2 ? theirs["EEPROM Checksum of bytes 0-62"].starts_with("OK")
                                                       : theirs["EEPROM CRC of bytes 0-116"].starts_with("OK") ||
                                                             theirs["EEPROM CRC of bytes 0-125"].starts_with("OK");
        const std::string verdict = value_of(mine, type == SpdType::Ddr2 ? "checksum" : "crc");
        EXPECT_EQ(verdict.starts_with("OK"), checksum_ok) << verdict;
        EXPECT_EQ(checksum_ok, !content.break_checksum);
        // The geometry the image was built with, as quillet reads it back.
        EXPECT_EQ(value_of(mine, "device_width"), std::to_string(content.device_width) + " bits");
        EXPECT_EQ(value_of(mine, "ranks"), std::to_string(content.ranks));
        EXPECT_EQ(value_of(mine, "data_width"), type == SpdType::Ddr2 && content.ecc ? "72 bits" : "64 bits");

        if (type == SpdType::FbDimm) {
            // decode-dimms reads an FB-DIMM's maker and part number where a
            // DDR2 SPD keeps them (bytes 64 and 73), while FB-DIMM keeps them
            // with the CRC layout at 117 and 128, as quillet reads them.
            EXPECT_EQ(theirs["Manufacturer"], "Undefined");
            const uint64_t bytes = (uint64_t{1} << (content.rows + content.columns)) * content.banks * 8 * content.ranks;
            EXPECT_EQ(value_of(mine, "capacity"), std::to_string(bytes >> 20) + " MB");
            EXPECT_EQ(value_of(mine, "part_number"), content.part_number);
            continue;
        }
        const std::string maker = theirs[type == SpdType::Ddr3 ? "Module Manufacturer" : "Manufacturer"];
        EXPECT_NE(lower(maker).find(lower(before(value_of(mine, "module_manufacturer"), " (bank"))), std::string::npos)
            << maker;
        EXPECT_EQ(before(theirs["Module Type"], " ("), value_of(mine, "module_type"));
        EXPECT_EQ(lower(theirs["Assembly Serial Number"]), lower(value_of(mine, "serial_number")));
        for (const auto &[label, name] : {std::pair<const char *, const char *>{"Size", "capacity"},
                                          {"Part Number", "part_number"},
                                          {"Manufacturing Date", "manufacturing_date"},
                                          {"Ranks", "ranks"}})
            EXPECT_EQ(theirs[label], value_of(mine, name)) << label;
    }
}

}  // namespace
}  // namespace quillet_test
