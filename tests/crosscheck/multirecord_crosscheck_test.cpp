// quillet's reads of IPMI multirecord areas agree record by record and field
// by field with FreeIPMI's ipmi-fru, on generated images carrying every
// record type with random contents and on the real images.
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "crosscheck/decoder_output.h"
#include "e2e/e2e_fixture.h"
#include "ipmi/ipmi_builder.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;

struct Shown {
    std::string title;
    std::map<std::string, std::string> fields;
};

// "  record N: title" then "    name: value" lines, as quillet shows the area.
std::vector<Shown> parse_quillet(const std::string &out)
{
    std::vector<Shown> records;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  record ", 0) == 0) {
            records.push_back({line.substr(line.find(": ") + 2), {}});
        } else if (line.rfind("    ", 0) == 0 && !records.empty()) {
            const size_t colon = line.find(':');
            std::string name = line.substr(4, colon - 4);
            name.erase(name.find_last_not_of(' ') + 1);
            records.back().fields[name] = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
        }
    }
    return records;
}

// ipmi-fru's sections ("  FRU label: value", continued on indented lines),
// the multirecord ones only, each label without the record kind before it.
const char *const kKinds[] = {"Power Supply ", "DC Output ", "DC Load ", "Management Access ",
                              "Base Compatibility ", "Extended Compatibility ", "OEM "};

std::vector<std::vector<std::pair<std::string, std::string>>> parse_ipmi_fru(const std::string &out)
{
    std::vector<std::vector<std::pair<std::string, std::string>>> sections;
    bool open = false, multirecord = false;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            open = false;
            continue;
        }
        if (line.rfind("  FRU ", 0) != 0) {
            if (open && multirecord && line.rfind("     ", 0) == 0) {
                std::string &value = sections.back().back().second;
                if (!value.empty())
                    value += ' ';
                value.append(line, line.find_first_not_of(' '));
            }
            continue;
        }
        const size_t colon = line.find(':');
        std::string label = line.substr(6, colon - 6);
        // Some DC load labels carry a participle ("...'d Minimum Voltage")
        // that says nothing the table needs: the table leaves it out.
        if (const size_t mark = label.find("'d "); mark != std::string::npos)
            label.erase(label.rfind(' ', mark) + 1, label.find(' ', mark) - label.rfind(' ', mark));
        std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
        value.erase(value.find_last_not_of(' ') + 1);
        if (!open) {
            open = true;
            multirecord = false;
            for (const char *kind : kKinds)
                multirecord = multirecord || label.rfind(kind, 0) == 0;
            if (multirecord)
                sections.emplace_back();
        }
        if (multirecord)
            sections.back().emplace_back(label, value);
    }
    return sections;
}

enum class Conv { Same, Units, YesNo, Signal, Voltage, Hex, Bytes, Manufacturer };

// ipmi-fru's label, quillet's field, and how the two notations meet.
const std::map<std::string, std::pair<std::string, Conv>> kLabels = {
    {"Power Supply Overall Capacity", {"overall_capacity", Conv::Units}},
    {"Power Supply Peak VA", {"peak_va", Conv::Same}},
    {"Power Supply Max Inrush Current", {"inrush_current", Conv::Units}},
    {"Power Supply Inrush Interval", {"inrush_interval", Conv::Same}},
    {"Power Supply Low End Input Voltage 1", {"low_input_voltage_1", Conv::Same}},
    {"Power Supply High End Input Voltage 1", {"high_input_voltage_1", Conv::Same}},
    {"Power Supply Low End Input Voltage 2", {"low_input_voltage_2", Conv::Same}},
    {"Power Supply High End Input Voltage 2", {"high_input_voltage_2", Conv::Same}},
    {"Power Supply Low End Acceptable Frequency", {"low_input_frequency", Conv::Same}},
    {"Power Supply High End Acceptable Frequency", {"high_input_frequency", Conv::Same}},
    {"Power Supply A/C Dropout Tolerance", {"ac_dropout_tolerance", Conv::Same}},
    {"Power Supply Predictive Fail Support", {"predictive_fail_support", Conv::YesNo}},
    {"Power Supply Predictive Fail", {"predictive_fail_signal", Conv::Signal}},
    {"Power Supply Power Factor Correction Supported", {"power_factor_correction", Conv::YesNo}},
    {"Power Supply AutoSwitch Supprt", {"autoswitch", Conv::YesNo}},
    {"Power Supply Hot Swap Support", {"hot_swap", Conv::YesNo}},
    {"Power Supply Peak Capacity", {"peak_capacity", Conv::Units}},
    {"Power Supply Hold Up Time", {"hold_up_time", Conv::Same}},
    {"Power Supply Voltage 1", {"voltage_1", Conv::Voltage}},
    {"Power Supply Voltage 2", {"voltage_2", Conv::Voltage}},
    {"Power Supply Total Combined Wattage", {"combined_wattage", Conv::Units}},
    {"DC Output Output Number", {"output_number", Conv::Same}},
    {"DC Output Output on Standy", {"standby", Conv::YesNo}},
    {"DC Output Nominal Voltage", {"nominal_voltage", Conv::Same}},
    {"DC Output Maximum Negative Voltage Deviation", {"max_negative_deviation", Conv::Same}},
    {"DC Output Maximum Positive Voltage Deviation", {"max_positive_deviation", Conv::Same}},
    {"DC Output Ripple and Noise pk-pk", {"ripple_and_noise", Conv::Same}},
    {"DC Output Minimum Current Draw", {"min_current_draw", Conv::Same}},
    {"DC Output Maximum Current Draw", {"max_current_draw", Conv::Same}},
    {"DC Load Output Number", {"output_number", Conv::Same}},
    {"DC Load Nominal Voltage", {"nominal_voltage", Conv::Same}},
    {"DC Load Minimum Voltage", {"min_voltage", Conv::Same}},
    {"DC Load Maximum Voltage", {"max_voltage", Conv::Same}},
    {"DC Load Ripple and Noise pk-pk", {"ripple_and_noise", Conv::Same}},
    {"DC Load Minimum Current Load", {"min_current_load", Conv::Same}},
    {"DC Load Maximum Current Load", {"max_current_load", Conv::Same}},
    {"Management Access System Management URL", {"system_management_url", Conv::Same}},
    {"Management Access System Name", {"system_name", Conv::Same}},
    {"Management Access System Ping Address", {"system_ping_address", Conv::Same}},
    {"Management Access Component Management URL", {"component_management_url", Conv::Same}},
    {"Management Access Component Name", {"component_name", Conv::Same}},
    {"Management Access Component Ping Address", {"component_ping_address", Conv::Same}},
    {"Management Access System Unique ID", {"system_unique_id", Conv::Bytes}},
    {"Base Compatibility Manufacturer ID", {"manufacturer_id", Conv::Manufacturer}},
    {"Base Compatibility Entity ID", {"entity_id", Conv::Hex}},
    {"Base Compatibility Comptability Base", {"compatibility_base", Conv::Hex}},
    {"Base Compatibility Comptability Code Start Value", {"code_start", Conv::Hex}},
    {"Base Compatibility Code Mask", {"code_range_mask", Conv::Bytes}},
    {"Extended Compatibility Manufacturer ID", {"manufacturer_id", Conv::Manufacturer}},
    {"Extended Compatibility Entity ID", {"entity_id", Conv::Hex}},
    {"Extended Compatibility Comptability Base", {"compatibility_base", Conv::Hex}},
    {"Extended Compatibility Comptability Code Start Value", {"code_start", Conv::Hex}},
    {"Extended Compatibility Code Mask", {"code_range_mask", Conv::Bytes}},
    {"OEM Manufacturer ID", {"manufacturer_id", Conv::Manufacturer}},
    {"OEM Data", {"data", Conv::Bytes}},
};

const std::map<std::string, std::string> kSignals = {
    {"Tach output, one pulse per rotation", "tachometer, one pulse per rotation"},
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
    switch (conv) {
    case Conv::Same:
        return {theirs, mine};
    case Conv::Units:
        return {replaced(replaced(theirs, " Watts", " W"), " Amps", " A"), mine};
    case Conv::YesNo:
        return {theirs == "Yes" ? "yes" : theirs == "No" ? "no" : theirs, mine};
    case Conv::Signal:
        return {kSignals.count(theirs) ? kSignals.at(theirs) : "unmapped: " + theirs, mine};
    case Conv::Voltage: {
        std::string code = mine.substr(0, mine.find(" ("));
        code = code == "unknown" ? "" : replaced(code, " ", "");
        return {theirs, code};
    }
    case Conv::Hex:
        return {std::to_string(std::strtoul(theirs.c_str(), nullptr, 16)),
                std::to_string(std::strtoul(mine.c_str(), nullptr, 16))};
    case Conv::Bytes: {
        std::string bytes;
        std::istringstream in(theirs);
        for (std::string byte; in >> byte;) {
            if (!bytes.empty())
                bytes += ' ';
            bytes += {char(std::tolower(byte[0])), char(std::tolower(byte[1]))};
        }
        return {bytes, mine};
    }
    case Conv::Manufacturer: {
        // "Intel Corporation (157h)" or "30201h"; quillet "343 (0x000157)".
        const size_t open = theirs.rfind('(');
        const std::string hex = open == std::string::npos ? theirs : theirs.substr(open + 1);
        const size_t at = mine.find("(0x");
        return {std::to_string(std::strtoul(hex.c_str(), nullptr, 16)),
                at == std::string::npos ? mine : std::to_string(std::strtoul(mine.c_str() + at + 1, nullptr, 16))};
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
    const auto bytes = [&](size_t size) {
        Bytes data(size);
        for (uint8_t &b : data)
            b = static_cast<uint8_t>(number(0, 255));
        return data;
    };
    const auto text = [&](size_t size) {
        Bytes data(size);
        for (uint8_t &b : data)
            b = static_cast<uint8_t>(number(0x21, 0x7E));
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
            Bytes data = sub == 7 ? bytes(16) : text(number(1, 40));
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

class MultirecordCrossCheck : public EndToEnd {
protected:
    // Reads `image` through quillet and ipmi-fru; returns the fields compared.
    size_t compare(const std::string &nac, const std::string &path)
    {
        EXPECT_EQ(fructl({"add", nac, "ipmi", "--from", path}).status, 0);
        const Outcome read = quillet({"-c", nac, "-r", "MultiRecord_Area_S"});
        EXPECT_EQ(read.status, 0) << read.err;
        std::vector<Shown> mine = parse_quillet(read.out);
        // ipmi-fru shows a reserved type's record as an empty section.
        std::erase_if(mine, [](const Shown &s) { return s.title.rfind("reserved", 0) == 0; });
        const Outcome decoded = run_program("ipmi-fru", {"--fru-file=" + path}, "", scratch_, false);
        EXPECT_EQ(decoded.status, 0) << decoded.err;
        const auto theirs = parse_ipmi_fru(decoded.out);
        EXPECT_EQ(mine.size(), theirs.size()) << read.out << decoded.out;
        size_t compared = 0;
        for (size_t r = 0; r < std::min(mine.size(), theirs.size()); ++r) {
            for (const auto &[label, value] : theirs[r]) {
                const auto known = kLabels.find(label);
                if (known == kLabels.end()) {
                    ADD_FAILURE() << "ipmi-fru printed a label quillet does not map: " << label;
                    continue;
                }
                const auto found = mine[r].fields.find(known->second.first);
                const std::string shown = found == mine[r].fields.end() ? "<missing>" : found->second;
                const auto [expected, actual] = meet(known->second.second, value, shown);
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
        compared += compare("MR" + std::to_string(n), temp_file(std::string(corpus[n].begin(), corpus[n].end())));
    }
    RecordProperty("fields_compared", static_cast<int>(compared));
    EXPECT_GT(compared, 500u);
}

TEST_F(MultirecordCrossCheck, IpmiFruAgreesOnRealImages)
{
    REQUIRE_DECODER("ipmi-fru", "freeipmi-tools");
    size_t compared = 0;
    const std::string files[] = {"caen-fmc-pico-1m4.bin", "damc-fmc2zup.bin", "uLOG_FRU.bin"};
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        std::string nac = "R";
        nac.append(file, 0, 4);
        compared += compare(nac, QUILLET_TEST_DATA "/" + file);
    }
    EXPECT_GT(compared, 50u);
}

}  // namespace
}  // namespace quillet_test
