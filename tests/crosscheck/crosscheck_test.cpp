// quillet's reads of generated IPMI FRU images agree field by field with
// an independent decoder, FreeIPMI's ipmi-fru. The images come from a
// seeded generator, with what each field must decode to.
#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>

#include "crosscheck/decoder_output.h"
#include "ipmi/ipmi_builder.h"
#include "present/presenter.h"

namespace quillet_test {
namespace {

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

// Splits "value [tag]" as quillet prints an encoded field.
std::string strip_tag(const std::string &value, std::string *tag)
{
    const size_t open = value.rfind(" [");
    const bool tagged = !value.empty() && value.back() == ']' && open != std::string::npos;
    *tag = tagged ? value.substr(open + 2, value.size() - open - 3) : "";
    return tagged ? value.substr(0, open) : value;
}

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
    return tag == "binary" ? freeipmi_bytes(theirs) : theirs;
}

TEST_F(CrossCheck, IpmiFruAgreesWithQuilletOnEveryField)
{
    REQUIRE_DECODER("ipmi-fru", "freeipmi-tools");
    const std::vector<IpmiSample> corpus = ipmi_corpus();
    size_t compared = 0, generated = 0;
    for (size_t n = 0; n < corpus.size(); ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        const IpmiSample &sample = corpus[n];
        const std::string path = file_of(sample.image);
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

        const Outcome decoded = decode("ipmi-fru", {"--fru-file=" + path});
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

}  // namespace
}  // namespace quillet_test
