// The IPMI multirecord areas fructl show decodes agree record by record and field
// by field with FreeIPMI's ipmi-fru, on generated images carrying every
// record type with random contents and on the real images.
#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>

#include "crosscheck/decoder_output.h"
#include "ipmi/ipmi_builder.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;

struct Shown {
    std::string title;
    Fields fields;
};

// The multirecord area of `fructl show`: "  record N: title" then its
// fields, up to the next area's unindented title.
std::vector<Shown> parse_shown_area(const std::string &out)
{
    std::vector<Shown> records;
    std::istringstream in(out);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] != ' ')
            inside = line == "MultiRecord_Area_S";
        else if (inside && line.rfind("  record ", 0) == 0)
            records.push_back({line.substr(line.find(": ") + 2), {}});
        else if (inside && !records.empty())
            add_quillet_field(line, records.back().fields);
    }
    return records;
}

enum class Conv { Same, Units, Words, Voltage, Hex, ByteList, Maker };
using enum Conv;

// ipmi-fru's label after the record kind, quillet's field, and how the two
// notations meet.
struct Label {
    const char *label, *name;
    Conv conv = Same;
};
const std::vector<Label> kCompatibility = {
    {"Manufacturer ID", "manufacturer_id", Maker}, {"Entity ID", "entity_id", Hex},
    {"Comptability Base", "compatibility_base", Hex}, {"Comptability Code Start Value", "code_start", Hex},
    {"Code Mask", "code_range_mask", ByteList},
};
const struct Kind {
    const char *kind;
    std::vector<Label> labels;
} kKinds[] = {
    {"Power Supply ",
     {{"Overall Capacity", "overall_capacity", Units}, {"Peak VA", "peak_va"},
      {"Max Inrush Current", "inrush_current", Units}, {"Inrush Interval", "inrush_interval"},
      {"Low End Input Voltage 1", "low_input_voltage_1"}, {"High End Input Voltage 1", "high_input_voltage_1"},
      {"Low End Input Voltage 2", "low_input_voltage_2"}, {"High End Input Voltage 2", "high_input_voltage_2"},
      {"Low End Acceptable Frequency", "low_input_frequency"},
      {"High End Acceptable Frequency", "high_input_frequency"}, {"A/C Dropout Tolerance", "ac_dropout_tolerance"},
      {"Predictive Fail Support", "predictive_fail_support", Words},
      {"Predictive Fail", "predictive_fail_signal", Words},
      {"Power Factor Correction Supported", "power_factor_correction", Words},
      {"AutoSwitch Supprt", "autoswitch", Words}, {"Hot Swap Support", "hot_swap", Words},
      {"Peak Capacity", "peak_capacity", Units}, {"Hold Up Time", "hold_up_time"},
      {"Voltage 1", "voltage_1", Voltage}, {"Voltage 2", "voltage_2", Voltage},
      {"Total Combined Wattage", "combined_wattage", Units}}},
    {"DC Output ",
     {{"Output Number", "output_number"}, {"Output on Standy", "standby", Words},
      {"Nominal Voltage", "nominal_voltage"}, {"Maximum Negative Voltage Deviation", "max_negative_deviation"},
      {"Maximum Positive Voltage Deviation", "max_positive_deviation"}, {"Ripple and Noise pk-pk", "ripple_and_noise"},
      {"Minimum Current Draw", "min_current_draw"}, {"Maximum Current Draw", "max_current_draw"}}},
    {"DC Load ",
     {{"Output Number", "output_number"}, {"Nominal Voltage", "nominal_voltage"}, {"Minimum Voltage", "min_voltage"},
      {"Maximum Voltage", "max_voltage"}, {"Ripple and Noise pk-pk", "ripple_and_noise"},
      {"Minimum Current Load", "min_current_load"}, {"Maximum Current Load", "max_current_load"}}},
    {"Management Access ",
     {{"System Management URL", "system_management_url"}, {"System Name", "system_name"},
      {"System Ping Address", "system_ping_address"}, {"Component Management URL", "component_management_url"},
      {"Component Name", "component_name"}, {"Component Ping Address", "component_ping_address"},
      {"System Unique ID", "system_unique_id", ByteList}}},
    {"Base Compatibility ", kCompatibility},
    {"Extended Compatibility ", kCompatibility},
    {"OEM ", {{"Manufacturer ID", "manufacturer_id", Maker}, {"Data", "data", ByteList}}},
};

struct Section {
    const Kind *kind;
    std::vector<std::pair<std::string, std::string>> fields;  // label after the kind, value
};

// ipmi-fru's sections ("  FRU label: value", continued on indented lines),
// the multirecord ones only.
std::vector<Section> parse_ipmi_fru(const std::string &out)
{
    std::vector<Section> sections;
    bool open = false;            // a section has begun since the last blank line
    Section *section = nullptr;  // that section, if a multirecord one
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            open = false, section = nullptr;
        } else if (!line.starts_with("  FRU ")) {
            if (section != nullptr && line.starts_with("     ")) {
                std::string &value = section->fields.back().second;
                value += value.empty() ? "" : " ";
                value.append(line, line.find_first_not_of(' '));
            }
        } else {
            const size_t colon = line.find(':');
            std::string label = line.substr(6, colon - 6);
            // Some DC load labels carry a participle ("...'d Minimum Voltage")
            // that says nothing the table needs: the table leaves it out.
            if (const size_t mark = label.find("'d "); mark != std::string::npos)
                label.erase(label.rfind(' ', mark) + 1, label.find(' ', mark) - label.rfind(' ', mark));
            const Kind *kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                            [&](const Kind &k) { return label.starts_with(k.kind); });
            if (!open && kind != std::end(kKinds))
                section = &sections.emplace_back(Section{kind, {}});
            open = true;
            if (section == nullptr)
                continue;
            if (label.starts_with(section->kind->kind))
                label.erase(0, std::strlen(section->kind->kind));
            section->fields.emplace_back(label, trim(colon + 2 <= line.size() ? line.substr(colon + 2) : ""));
        }
    }
    return sections;
}

// ipmi-fru's words for flags and the predictive fail signal, and quillet's.
const std::map<std::string, std::string> kWords = {
    {"Yes", "yes"}, {"No", "no"}, {"Tach output, one pulse per rotation", "tachometer, one pulse per rotation"},
    {"Tach output, two pulses per rotation", "tachometer, two pulses per rotation"},
    {"Pass/Fail predictive fail pin (1 = fail)", "pass/fail pin, high on fail"},
    {"Pass/Fail predictive fail pin (0 = fail)", "pass/fail pin, low on fail"},
};

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Both notations brought to one: quillet's where it can be derived.
std::pair<std::string, std::string> meet(Conv conv, const std::string &theirs, const std::string &mine)
{
    const auto hex = [](const std::string &text) { return std::to_string(std::strtoul(text.c_str(), nullptr, 16)); };
    switch (conv) {
    case Same:
        return {theirs, mine};
    case Units:
        return {replaced(replaced(theirs, " Watts", " W"), " Amps", " A"), mine};
    case Words:
        return {kWords.count(theirs) ? kWords.at(theirs) : "unmapped: " + theirs, mine};
    case Voltage: {
        const std::string code = mine.substr(0, mine.find(" ("));
        return {theirs, code == "unknown" ? "" : replaced(code, " ", "")};
    }
    case Hex:
        return {hex(theirs), hex(mine)};
    case ByteList:
        return {freeipmi_bytes(theirs), mine};
    case Maker: {
        // "Intel Corporation (157h)" or "30201h"; quillet "343 (0x000157)".
        const size_t open = theirs.rfind('('), at = mine.find("(0x");
        return {hex(open == std::string::npos ? theirs : theirs.substr(open + 1)),
                at == std::string::npos ? mine : hex(mine.substr(at + 1))};
    }
    }
    return {theirs, mine};
}

// Images whose records are random bytes of every type: the first holds one
// of each, the rest a random mix, reserved types among them.
std::vector<Bytes> multirecord_corpus()
{
    std::mt19937 random(20261206);
    const auto number = [&](unsigned low, unsigned high) {
        return std::uniform_int_distribution<unsigned>(low, high)(random);
    };
    const auto bytes = [&](size_t size, unsigned low = 0, unsigned high = 255) {
        Bytes data(size);
        for (uint8_t &b : data)
            b = static_cast<uint8_t>(number(low, high));
        return data;
    };
    // ipmi-fru reads input voltages as signed and keeps DC voltages in mV
    // in 16 bits; values beyond those (over 327 V) are not drawn.
    const auto volts = [&](Bytes data, std::initializer_list<size_t> at, int low, int high) {
        for (size_t offset : at) {
            const uint16_t stored = static_cast<uint16_t>(static_cast<int>(number(0, unsigned(high - low))) + low);
            data[offset] = static_cast<uint8_t>(stored), data[offset + 1] = static_cast<uint8_t>(stored >> 8);
        }
        return data;
    };
    const auto record = [&](unsigned kind) -> fruplat::IpmiMultiRecord {
        switch (kind) {
        case 0:
            return {0x00, volts(bytes(24), {6, 8, 10, 12}, 0, 32767)};
        case 1:
        case 2:
            return {static_cast<uint8_t>(kind), volts(bytes(13), {1, 3, 5}, -3276, 3276)};
        case 3: {
            const uint8_t sub = static_cast<uint8_t>(number(1, 7));
            Bytes data = sub == 7 ? bytes(16) : bytes(number(1, 40), 0x21, 0x7E);
            data.insert(data.begin(), sub);
            return {0x03, data};
        }
        case 4:
        case 5:
            return {static_cast<uint8_t>(kind), bytes(number(7, 14))};
        case 6:
            return {static_cast<uint8_t>(number(0xC0, 0xFF)), bytes(number(3, 40))};
        default:
            return {static_cast<uint8_t>(number(0x06, 0xBF)), bytes(number(0, 12))};
        }
    };
    std::vector<Bytes> corpus;
    for (unsigned n = 0; n < 24; ++n) {
        fruplat::IpmiImageContent content;
        content.board = {true, 0, 12345, {fruplat::ipmi_text("Maker"), fruplat::ipmi_text("Board")}};
        for (unsigned r = 0; r < (n == 0 ? 8 : number(1, 10)); ++r)
            content.multirecords.push_back(record(n == 0 ? r : number(0, 7)));
        corpus.push_back(fruplat::build_ipmi_image(content));
    }
    return corpus;
}

class MultirecordCrossCheck : public CrossCheck {
protected:
    // Shows the image at `path` through fructl and ipmi-fru; returns the
    // fields compared.
    size_t compare(const std::string &nac, const std::string &path)
    {
        EXPECT_EQ(fructl({"add", nac, "ipmi", "--from", path}).status, 0);
        const Outcome read = fructl({"show", nac});
        EXPECT_EQ(read.status, 0) << read.err;
        std::vector<Shown> mine = parse_shown_area(read.out);
        // ipmi-fru shows a reserved type's record as an empty section.
        std::erase_if(mine, [](const Shown &s) { return s.title.rfind("reserved", 0) == 0; });
        const Outcome decoded = decode("ipmi-fru", {"--fru-file=" + path});
        EXPECT_EQ(decoded.status, 0) << decoded.err;
        const std::vector<Section> theirs = parse_ipmi_fru(decoded.out);
        EXPECT_EQ(mine.size(), theirs.size()) << read.out << decoded.out;
        size_t compared = 0;
        for (size_t r = 0; r < std::min(mine.size(), theirs.size()); ++r) {
            for (const auto &[label, value] : theirs[r].fields) {
                const auto &labels = theirs[r].kind->labels;
                const auto known = std::find_if(labels.begin(), labels.end(),
                                                [&shown = label](const Label &l) { return shown == l.label; });
                if (known == labels.end()) {
                    ADD_FAILURE() << "ipmi-fru printed a label quillet does not map: " << theirs[r].kind->kind << label;
                    continue;
                }
                const auto [expected, actual] = meet(known->conv, value, value_of(mine[r].fields, known->name));
                EXPECT_EQ(actual, expected) << "record " << r + 1 << " (" << mine[r].title << ") " << label;
                ++compared;
            }
        }
        return compared;
    }
};

TEST_F(MultirecordCrossCheck, IpmiFruAgreesOnEveryRecordType)
{
    REQUIRE_DECODER("ipmi-fru", "freeipmi-tools");
    const std::vector<Bytes> corpus = multirecord_corpus();
    size_t compared = 0;
    for (size_t n = 0; n < corpus.size(); ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        compared += compare("MR" + std::to_string(n), file_of(corpus[n]));
    }
    RecordProperty("fields_compared", static_cast<int>(compared));
    EXPECT_GT(compared, 500u);
}

TEST_F(MultirecordCrossCheck, IpmiFruAgreesOnRealImages)
{
    REQUIRE_DECODER("ipmi-fru", "freeipmi-tools");
    size_t compared = 0;
    for (const std::string file : {"caen-fmc-pico-1m4.bin", "damc-fmc2zup.bin", "uLOG_FRU.bin"}) {
        SCOPED_TRACE(file);
        compared += compare(std::string("R").append(file, 0, 4), QUILLET_TEST_DATA "/" + file);
    }
    EXPECT_GT(compared, 50u);
}

}  // namespace
}  // namespace quillet_test
