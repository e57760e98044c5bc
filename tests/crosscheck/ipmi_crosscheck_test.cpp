// Every field FreeIPMI's ipmi-fru prints for a generated IPMI FRU image
// appears in quillet's read of that image with the same value.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "crosscheck/corpus.h"
#include "crosscheck/crosscheck_fixture.h"

namespace quillet_test {
namespace {

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

// FreeIPMI follows one reading of BCD plus (a character per byte) and
// reports the standard's packing as an encoding error.
const std::string kFreeIpmiBcdError = "Error 'FRU invalid BCD encoding'";

std::string strip_tag(const std::string &value, std::string *tag)
{
    tag->clear();
    if (!value.empty() && value.back() == ']') {
        const size_t open = value.rfind(" [");
        if (open != std::string::npos) {
            *tag = value.substr(open + 2, value.size() - open - 3);
            return value.substr(0, open);
        }
    }
    return value;
}

std::string trim(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// "06/22/19 - 09:18:00" as quillet writes it.
std::string freeipmi_date(const std::string &text)
{
    unsigned month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%u/%u/%u - %u:%u:%u", &month, &day, &year, &hour, &minute,
                    &second) != 6)
        return "unparsed: " + text;
    char out[40];
    std::snprintf(out, sizeof out, "%u-%02u-%02u %02u:%02u:%02u UTC", year >= 96 ? 1900 + year : 2000 + year,
                  month, day, hour, minute, second);
    return out;
}

// "01h 02h" as quillet writes binary data.
std::string freeipmi_binary(const std::string &text)
{
    std::string out;
    std::istringstream in(text);
    std::string byte;
    while (in >> byte) {
        if (!out.empty())
            out += ' ';
        out += byte.substr(0, 2);
    }
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

class IpmiCrossCheck : public CrossCheck {};

TEST_F(IpmiCrossCheck, IpmiFruAgreesWithQuilletOnEveryField)
{
    if (!decoder_available("ipmi-fru")) {
        if (std::getenv("QUILLET_REQUIRE_CROSSCHECK") != nullptr)
            FAIL() << "ipmi-fru (freeipmi-tools) is required";
        GTEST_SKIP() << "ipmi-fru (freeipmi-tools) not installed";
    }
    const std::vector<IpmiSample> corpus = ipmi_corpus();
    ASSERT_GE(corpus.size(), 50u);
    size_t compared = 0;
    for (size_t n = 0; n < corpus.size(); ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        const IpmiSample &sample = corpus[n];
        const std::string path = write_file("ipmi" + std::to_string(n) + ".bin", sample.image);
        const std::string nac = "PS" + std::to_string(n);
        ASSERT_EQ(fructl({"add", nac, "ipmi", "--from", path}).status, 0);

        std::map<std::string, Presented> shown;
        for (const char *area : {"Chassis_Info_Area_S", "Board_Info_Area_S", "Product_Info_Area_S"}) {
            const Outcome o = quillet({"-c", nac, "-r", area});
            const bool present = std::find(sample.present_areas.begin(), sample.present_areas.end(),
                                           area) != sample.present_areas.end();
            ASSERT_EQ(o.status, present ? 0 : 14) << area << o.err;
            shown[area] = parse_presentation(o.out);
        }
        // What the generator put in is what quillet shows, tag and all.
        for (const ExpectedField &field : sample.fields) {
            std::string tag;
            EXPECT_EQ(strip_tag(value_of(shown[field.area], field.name), &tag), field.value)
                << field.area << " " << field.name;
            if (!field.value.empty()) {
                EXPECT_EQ(tag, field.encoding) << field.area << " " << field.name;
            }
        }

        const Outcome decoded = run_decoder({"ipmi-fru", "--fru-file=" + path});
        ASSERT_EQ(decoded.status, 0) << decoded.err;
        std::map<std::string, size_t> next_custom;
        std::string area;
        std::istringstream lines(decoded.out);
        std::string line;
        while (std::getline(lines, line)) {
            const size_t start = line.find("FRU ");
            const size_t colon = line.find(": ");
            if (line.rfind("  FRU ", 0) != 0 || colon == std::string::npos)
                continue;
            const std::string label = line.substr(start + 4, colon - start - 4);
            const std::string theirs = trim(line.substr(colon + 2));
            const Label *known = nullptr;
            for (const Label &l : kLabels)
                if (label == l.text)
                    known = &l;
            ASSERT_NE(known, nullptr) << "ipmi-fru printed a field quillet does not map: " << line;
            if (known->area != nullptr)
                area = known->area;
            std::string name = known->field != nullptr ? known->field : "";
            const Presented &mine = shown[area];
            if (name.empty()) {
                // Empty custom fields are not printed by ipmi-fru; skip ours.
                size_t &k = next_custom[area];
                std::string tag;
                do {
                    name = "custom_" + std::to_string(++k);
                } while (value_of(mine, name).rfind("<missing", 0) != 0 &&
                         strip_tag(value_of(mine, name), &tag).empty());
            }
            std::string tag;
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
                EXPECT_EQ(theirs, kFreeIpmiBcdError) << area << " " << name;
                ++compared;
                continue;
            }
            EXPECT_EQ(ours, expected) << area << " " << name << " from: " << line;
            ++compared;
        }
    }
    RecordProperty("fields_compared", static_cast<int>(compared));
    EXPECT_GT(compared, 500u);
}

}  // namespace
}  // namespace quillet_test
