// quillet's reads of generated IPMI FRU and SPD images agree field by field
// with two independent decoders: FreeIPMI's ipmi-fru and i2c-tools'
// decode-dimms. The images come from seeded generators, with what each
// field must decode to.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

#include <functional>
#include <random>

#include "dimm/spd_builder.h"
#include "e2e/e2e_fixture.h"
#include "ipmi/ipmi_builder.h"
#include "present/presenter.h"

namespace quillet_test {
namespace {

using fruplat::SpdType;

struct ExpectedField {
    std::string area;      // Chassis_Info_Area_S, Board_Info_Area_S, Product_Info_Area_S
    std::string name;      // as quillet presents it
    std::string value;     // decoded, without padding
    std::string encoding;  // "", "binary", "BCD plus", "6-bit ASCII"
};

struct IpmiSample {
    fruplat::Bytes image;
    std::vector<std::string> present_areas;
    std::vector<ExpectedField> fields;
};

using fruplat::IpmiAreaContent;
using fruplat::IpmiField;

enum Encoding { kText, kSixBit, kBcdPlus, kBinary, kEmpty, kEncodings };

struct FieldMaker {
    explicit FieldMaker(unsigned seed) : random_(seed) {}

    std::string pick(const std::string &alphabet, size_t min, size_t max)
    {
        std::uniform_int_distribution<size_t> length(min, max);
        std::uniform_int_distribution<size_t> index(0, alphabet.size() - 1);
        std::string text;
        const size_t n = length(random_);
        for (size_t i = 0; i < n; ++i)
            text += alphabet[index(random_)];
        return text;
    }

    // A field in the given encoding and what it decodes to.
    IpmiField make(Encoding encoding, std::string *value, std::string *tag)
    {
        switch (encoding) {
        case kText:
            // Blanks inside, never at the ends: both decoders trim those.
            *value = pick("ABCXYZabcxyz0189", 1, 2) + pick("ABCDEFGHIJ abcdefghij-_./0123456789", 0, 24) +
                     pick("KLMNOklmno234", 1, 1);
            *tag = "";
            return fruplat::ipmi_text(*value);
        case kSixBit:
            *value = pick("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 1) + pick("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-", 0, 15);
            *tag = "6-bit ASCII";
            return fruplat::ipmi_six_bit(*value);
        case kBcdPlus:
            // A first digit above 0 keeps the first byte out of the range a
            // one-character-per-byte reading would accept.
            *value = pick("123456789", 1, 1) + pick("0123456789-.", 1, 11);
            if (value->size() % 2 != 0)
                *value += "9";
            *tag = "BCD plus";
            return fruplat::ipmi_bcd_plus(*value);
        case kBinary: {
            const std::string raw = pick(std::string("\x01\x12\x7f\x80\xab\xfe\xff\x00", 8), 1, 8);
            const fruplat::Bytes bytes(raw.begin(), raw.end());
            *value = fruplat::hex_bytes(bytes.data(), bytes.size(), " ");
            *tag = "binary";
            return fruplat::ipmi_binary(bytes);
        }
        default:
            *value = *tag = "";
            return fruplat::ipmi_text("");
        }
    }

    unsigned number(unsigned low, unsigned high) { return std::uniform_int_distribution<unsigned>(low, high)(random_); }

    std::mt19937 random_;
};

struct AreaPlan {
    const char *name;
    std::vector<const char *> fields;
};

const AreaPlan kPlans[] = {
    {"Chassis_Info_Area_S", {"part_number", "serial_number"}},
    {"Board_Info_Area_S", {"manufacturer", "product_name", "serial_number", "part_number", "fru_file_id"}},
    {"Product_Info_Area_S", {"manufacturer", "product_name", "part_model_number", "version", "serial_number",
                             "asset_tag", "fru_file_id"}},
};

// At least 50 images varying every encoding, custom fields, empty fields
// and absent areas.
std::vector<IpmiSample> ipmi_corpus()
{
    std::vector<IpmiSample> corpus;
    FieldMaker maker(20261205);
    for (unsigned n = 0; n < 60; ++n) {
        IpmiSample sample;
        fruplat::IpmiImageContent content;
        IpmiAreaContent *areas[] = {&content.chassis, &content.board, &content.product};
        for (unsigned a = 0; a < 3; ++a) {
            IpmiAreaContent &area = *areas[a];
            // Areas go missing in every combination, all three at once too.
            area.present = n % 8 != 7 && (n / 3 + a) % 5 != 0;
            if (!area.present)
                continue;
            sample.present_areas.push_back(kPlans[a].name);
            area.type_or_language = a == 0 ? static_cast<uint8_t>(maker.number(1, 0x1D))
                                           : static_cast<uint8_t>(n % 5 == 0 ? 25 : 0);
            area.mfg_minutes = n % 9 == 0 ? 0 : maker.number(1, (1u << 24) - 1);
            const size_t customs = (n + a) % 4;
            const size_t total = kPlans[a].fields.size() + customs;
            for (size_t f = 0; f < total; ++f) {
                std::string value, tag;
                const auto encoding = static_cast<Encoding>((n + 3 * a + f) % kEncodings);
                area.fields.push_back(maker.make(encoding, &value, &tag));
                const std::string name = f < kPlans[a].fields.size()
                                             ? kPlans[a].fields[f]
                                             : "custom_" + std::to_string(f - kPlans[a].fields.size() + 1);
                sample.fields.push_back({kPlans[a].name, name, value, tag});
            }
        }
        sample.image = fruplat::build_ipmi_image(content);
        corpus.push_back(sample);
    }
    return corpus;
}

// Twelve SPDs of every type, module kind, maker bank and checksum verdict;
// each row changes the one before.
std::vector<fruplat::SpdContent> spd_corpus()
{
    std::vector<fruplat::SpdContent> corpus;
    fruplat::SpdContent c;
    const auto add = [&](const std::function<void(fruplat::SpdContent &)> &change) {
        change(c);
        corpus.push_back(c);
    };
    add([](auto &) {});
    add([](auto &c) {
        c.module_type = 2, c.ranks = 1, c.die_mbit = 1024, c.ecc = false, c.manufacturer = 0x2C;
        c.part_number = "MT8JTF12864AZ-1G4", c.serial = 0xA1B2C3D4, c.year_bcd = 0x09, c.week_bcd = 0x48;
        c.crc_covers_117 = false;
    });
    add([](auto &c) {
        c.module_type = 3, c.device_width = 16, c.die_mbit = 4096, c.ranks = 2, c.continuations = 1;
        c.manufacturer = 0x98, c.part_number = "KVR16S11/8";
    });
    add([](auto &c) {
        c.module_type = 1, c.device_width = 4, c.ranks = 4, c.die_mbit = 2048, c.ecc = true, c.continuations = 0;
        c.manufacturer = 0xAD, c.part_number = "HMT42GR7AFR4C-RD";
    });
    add([](auto &c) { c.break_checksum = true; });
    c = fruplat::SpdContent();
    add([](auto &c) {
        c.type = SpdType::Ddr2, c.module_type = 0x01, c.ranks = 2, c.rows = 14, c.columns = 10, c.banks = 8;
        c.part_number = "M393T5750CZ3-CD5", c.year_bcd = 0x07, c.week_bcd = 0x21;
    });
    add([](auto &c) {
        c.module_type = 0x02, c.ranks = 1, c.rows = 13, c.banks = 4, c.ecc = false, c.continuations = 3;
        c.manufacturer = 0x0B, c.part_number = "NT1GT64U8HB0BY-37B";
    });
    add([](auto &c) {
        c.module_type = 0x04, c.continuations = 5, c.manufacturer = 0x51, c.part_number = "HYS64T64020EM-3S-B";
        c.serial = 0x00C0FFEE;
    });
    add([](auto &c) { c.break_checksum = true; });
    c = fruplat::SpdContent();
    add([](auto &c) {
        c.type = SpdType::FbDimm, c.rows = 14, c.columns = 10, c.banks = 8, c.ranks = 2, c.device_width = 4;
        c.manufacturer = 0x2C, c.part_number = "MT36HTF51272FZ-667";
    });
    add([](auto &c) { c.manufacturer = 0xC1, c.ranks = 1, c.part_number = "HYS72T256420EFA-3S"; });
    add([](auto &c) { c.break_checksum = true; });
    return corpus;
}

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
        const Presented mine = parse_presentation(read.out);
        for (const char *other : {"SPD_DDR3_R", "SPD_FBDIMM_R", "SPD1_R"})
            EXPECT_EQ(quillet({"-c", nac, "-r", other}).status, std::string(other) == record ? 0 : 14) << other;

        // decode-dimms reads a hex dump of the bytes.
        std::string dump;
        char item[16];
        for (size_t i = 0; i < image.size(); ++i) {
            if (i % 16 == 0 && std::snprintf(item, sizeof item, "\n%08zx:", i) > 0)
                dump += item;
            std::snprintf(item, sizeof item, " %02x", image[i]);
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
        EXPECT_EQ(checksum_ok, !content.break_checksum);

        if (type == SpdType::FbDimm) {
            // decode-dimms reads an FB-DIMM's maker and part number where a
            // DDR2 SPD keeps them (bytes 64 and 73), while FB-DIMM keeps them
            // with the CRC layout at 117 and 128, as quillet reads them.
            EXPECT_EQ(theirs["Manufacturer"], "Undefined");
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
