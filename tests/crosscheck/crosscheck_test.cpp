// quillet's reads of generated IPMI FRU and SPD images agree field by field
// with two independent decoders: FreeIPMI's ipmi-fru and i2c-tools'
// decode-dimms.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

#include "crosscheck/corpus.h"
#include "e2e/e2e_fixture.h"

namespace quillet_test {
namespace {

using fruplat::SpdType;
// Name and value pairs of a quillet read, in the order printed.
using Presented = std::vector<std::pair<std::string, std::string>>;

Presented parse_presentation(const std::string &out)
{
    Presented lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        const size_t colon = line.find(':');
        if (line.rfind("    ", 0) != 0 || colon == std::string::npos)
            continue;
        std::string name = line.substr(4, colon - 4);
        name.erase(name.find_last_not_of(' ') + 1);
        lines.emplace_back(name, colon + 2 <= line.size() ? line.substr(colon + 2) : "");
    }
    return lines;
}

std::string value_of(const Presented &lines, const std::string &name)
{
    for (const auto &[n, v] : lines)
        if (n == name)
            return v;
    return "<missing " + name + ">";
}

std::string trim(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
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

struct Label {
    const char *text;   // after "FRU " in ipmi-fru's output
    const char *area;   // null: the area of the line before
    const char *field;  // null: the next custom field
};

// FRU File ID is printed under the same label in the board and product
// sections; it belongs to the section being printed.
const Label kLabels[] = {
    {"Chassis Type", "Chassis_Info_Area_S", "chassis_type"},
    {"Chassis Part Number", "Chassis_Info_Area_S", "part_number"},
    {"Chassis Serial Number", "Chassis_Info_Area_S", "serial_number"},
    {"Chassis Custom Info", "Chassis_Info_Area_S", nullptr},
    {"Board Manufacturing Date/Time", "Board_Info_Area_S", "mfg_date_time"},
    {"Board Manufacturer", "Board_Info_Area_S", "manufacturer"},
    {"Board Product Name", "Board_Info_Area_S", "product_name"},
    {"Board Serial Number", "Board_Info_Area_S", "serial_number"},
    {"Board Part Number", "Board_Info_Area_S", "part_number"},
    {"Board Custom Info", "Board_Info_Area_S", nullptr},
    {"Product Manufacturer Name", "Product_Info_Area_S", "manufacturer"},
    {"Product Name", "Product_Info_Area_S", "product_name"},
    {"Product Part/Model Number", "Product_Info_Area_S", "part_model_number"},
    {"Product Version", "Product_Info_Area_S", "version"},
    {"Product Serial Number", "Product_Info_Area_S", "serial_number"},
    {"Product Asset Tag", "Product_Info_Area_S", "asset_tag"},
    {"Product Custom Info", "Product_Info_Area_S", nullptr},
    {"FRU File ID", nullptr, "fru_file_id"},
};

// Splits "value [tag]" as quillet prints an encoded field.
std::string strip_tag(const std::string &value, std::string *tag)
{
    tag->clear();
    const size_t open = value.rfind(" [");
    if (value.empty() || value.back() != ']' || open == std::string::npos)
        return value;
    *tag = value.substr(open + 2, value.size() - open - 3);
    return value.substr(0, open);
}

// ipmi-fru's "06/22/19 - 09:18:00" as quillet writes it.
std::string freeipmi_date(const std::string &text)
{
    unsigned month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%u/%u/%u - %u:%u:%u", &month, &day, &year, &hour, &minute, &second) != 6)
        return "unparsed: " + text;
    char out[40];
    std::snprintf(out, sizeof out, "%u-%02u-%02u %02u:%02u:%02u UTC", year >= 96 ? 1900 + year : 2000 + year,
                  month, day, hour, minute, second);
    return out;
}

// ipmi-fru's "01h 02h" as quillet writes binary data.
std::string freeipmi_binary(const std::string &text)
{
    std::string out;
    std::istringstream in(text);
    for (std::string byte; in >> byte;)
        out += (out.empty() ? "" : " ") + byte.substr(0, 2);
    return lower(out);
}

TEST_F(CrossCheck, IpmiFruAgreesWithQuilletOnEveryField)
{
    REQUIRE_DECODER("ipmi-fru", "freeipmi-tools");
    const std::vector<IpmiSample> corpus = ipmi_corpus();
    ASSERT_GE(corpus.size(), 50u);
    size_t compared = 0;
    for (size_t n = 0; n < corpus.size(); ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        const IpmiSample &sample = corpus[n];
        const std::string path = write_file(sample.image);
        const std::string nac = "PS" + std::to_string(n);
        ASSERT_EQ(fructl({"add", nac, "ipmi", "--from", path}).status, 0);

        std::map<std::string, Presented> shown;
        for (const char *area : {"Chassis_Info_Area_S", "Board_Info_Area_S", "Product_Info_Area_S"}) {
            const Outcome o = quillet({"-c", nac, "-r", area});
            const auto &present = sample.present_areas;
            ASSERT_EQ(o.status, std::find(present.begin(), present.end(), area) != present.end() ? 0 : 14)
                << area << o.err;
            shown[area] = parse_presentation(o.out);
        }
        // What the generator put in is what quillet shows, tag and all.
        for (const ExpectedField &field : sample.fields) {
            std::string tag;
            EXPECT_EQ(strip_tag(value_of(shown[field.area], field.name), &tag), field.value)
                << field.area << " " << field.name;
            EXPECT_TRUE(field.value.empty() || tag == field.encoding) << field.area << " " << field.name;
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
            const std::string label = line.substr(6, colon - 6);
            const std::string theirs = trim(line.substr(colon + 2));
            const Label *known = std::find_if(std::begin(kLabels), std::end(kLabels),
                                              [&](const Label &l) { return label == l.text; });
            ASSERT_NE(known, std::end(kLabels)) << "ipmi-fru printed a field quillet does not map: " << line;
            if (known->area != nullptr)
                area = known->area;
            std::string name = known->field != nullptr ? known->field : "";
            const Presented &mine = shown[area];
            std::string tag;
            // Empty custom fields are not printed by ipmi-fru; skip ours.
            while (name.empty() || (name.starts_with("custom_") && value_of(mine, name).rfind("<missing", 0) != 0 &&
                                    strip_tag(value_of(mine, name), &tag).empty()))
                name = "custom_" + std::to_string(++next_custom[area]);
            std::string ours = strip_tag(value_of(mine, name), &tag);
            if (name == "chassis_type")
                ours = ours.substr(0, ours.rfind(" (0x"));
            std::string expected = theirs;
            if (name == "mfg_date_time") {
                expected = freeipmi_date(theirs);
                if (ours == "unspecified")
                    expected = theirs == "01/01/96 - 00:00:00" ? ours : "not the epoch: " + theirs;
            } else if (tag == "binary") {
                expected = freeipmi_binary(theirs);
            } else if (tag == "BCD plus") {
                // FreeIPMI follows one reading of BCD plus (a character per
                // byte) and reports the standard's packing as an error.
                ours = "Error 'FRU invalid BCD encoding'";
            }
            EXPECT_EQ(ours, expected) << area << " " << name << " from: " << line;
            ++compared;
        }
    }
    RecordProperty("fields_compared", static_cast<int>(compared));
    EXPECT_GT(compared, 500u);
}

// decode-dimms' "label   value" lines, both trimmed.
std::map<std::string, std::string> decode_dimms_fields(const std::string &out)
{
    std::map<std::string, std::string> fields;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.size() >= 49 && line[0] != '#' && line.rfind("---", 0) != 0)
            fields.emplace(trim(line.substr(0, 48)), trim(line.substr(49)));
    return fields;
}

std::string before(const std::string &text, const std::string &mark)
{
    return text.substr(0, text.find(mark));
}

TEST_F(CrossCheck, DecodeDimmsAgreesWithQuillet)
{
    REQUIRE_DECODER("decode-dimms", "i2c-tools");
    const std::vector<SpdSample> corpus = spd_corpus();
    ASSERT_GE(corpus.size(), 10u);
    for (size_t n = 0; n < corpus.size(); ++n) {
        const SpdSample &sample = corpus[n];
        const SpdType type = sample.content.type;
        SCOPED_TRACE(sample.label);
        const std::string nac = "D" + std::to_string(n);
        ASSERT_EQ(fructl({"add", nac, "dimm", "--from", write_file(sample.image)}).status, 0);
        const char *record = type == SpdType::Ddr3 ? "SPD_DDR3_R" : type == SpdType::FbDimm ? "SPD_FBDIMM_R" : "SPD1_R";
        const Outcome read = quillet({"-c", nac, "-r", record});
        ASSERT_EQ(read.status, 0) << read.err;
        const Presented mine = parse_presentation(read.out);
        for (const char *other : {"SPD_DDR3_R", "SPD_FBDIMM_R", "SPD1_R"})
            EXPECT_EQ(quillet({"-c", nac, "-r", other}).status, std::string(other) == record ? 0 : 14) << other;

        // decode-dimms reads a hex dump of the bytes.
        std::string dump;
        char item[16];
        for (size_t i = 0; i < sample.image.size(); ++i) {
            if (i % 16 == 0 && std::snprintf(item, sizeof item, "\n%08zx:", i) > 0)
                dump += item;
            std::snprintf(item, sizeof item, " %02x", sample.image[i]);
            dump += item;
        }
        const Outcome decoded = decode({"decode-dimms", "-c", "-x", temp_file(dump.substr(1) + "\n")});
        ASSERT_EQ(decoded.status, 0) << decoded.err;
        auto theirs = decode_dimms_fields(decoded.out);

        EXPECT_NE(value_of(mine, "memory_type").find(theirs["Fundamental Memory type"]), std::string::npos);
        const bool checksum_ok = type == SpdType::Ddr2 ? theirs["EEPROM Checksum of bytes 0-62"].starts_with("OK")
                                                       : theirs["EEPROM CRC of bytes 0-116"].starts_with("OK") ||
                                                             theirs["EEPROM CRC of bytes 0-125"].starts_with("OK");
        const std::string verdict = value_of(mine, type == SpdType::Ddr2 ? "checksum" : "crc");
        EXPECT_EQ(verdict.starts_with("OK"), checksum_ok) << verdict;
        EXPECT_EQ(checksum_ok, !sample.content.break_checksum);

        if (type == SpdType::FbDimm) {
            // decode-dimms reads an FB-DIMM's maker and part number where a
            // DDR2 SPD keeps them (bytes 64 and 73), while FB-DIMM keeps them
            // with the CRC layout at 117 and 128, as quillet reads them.
            EXPECT_EQ(theirs["Manufacturer"], "Undefined");
            EXPECT_EQ(value_of(mine, "part_number"), sample.content.part_number);
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
