// What each multirecord type holds, as rows: where a field sits in the
// record's data, how it is read and in which unit it is shown. Voltages
// are stored in 10 mV steps and shown in mV, as FreeIPMI's ipmi-fru shows
// them, so that the two can be compared value for value.
#include <cinttypes>
#include <span>

#include "ipmi/ipmi_fru.h"
#include "ipmi/ipmi_le.h"
#include "ipmi/ipmi_multirecord.h"
#include "store/status.h"

namespace fruplat {

namespace {

enum class Kind {
    Number,        // unsigned or signed bit field, times `scale`, in `unit`
    Flag,          // one bit: "yes" or "no"
    Voltage,       // a power supply's voltage code
    Hex,           // a code shown as hex
    Manufacturer,  // IANA enterprise number, 3 bytes
    Signal,        // what the predictive fail pin carries
    AccessData,    // management access: text, or the unique ID's bytes
    Rest,          // the bytes from `offset` to the end
};

struct Row {
    const char *name;
    Kind kind;
    uint8_t offset;
    uint8_t width = 1;
    uint8_t shift = 0;
    uint8_t bits = 0;  // 0: the whole width
    bool is_signed = false;
    int scale = 1;
    const char *unit = "";
};

const Row kPowerSupply[] = {
    {"overall_capacity", Kind::Number, 0, 2, 0, 12, false, 1, "W"},
    {"peak_va", Kind::Number, 2, 2, 0, 0, false, 1, "VA"},
    {"inrush_current", Kind::Number, 4, 1, 0, 0, false, 1, "A"},
    {"inrush_interval", Kind::Number, 5, 1, 0, 0, false, 1, "ms"},
    {"low_input_voltage_1", Kind::Number, 6, 2, 0, 0, false, 10, "mV"},
    {"high_input_voltage_1", Kind::Number, 8, 2, 0, 0, false, 10, "mV"},
    {"low_input_voltage_2", Kind::Number, 10, 2, 0, 0, false, 10, "mV"},
    {"high_input_voltage_2", Kind::Number, 12, 2, 0, 0, false, 10, "mV"},
    {"low_input_frequency", Kind::Number, 14, 1, 0, 0, false, 1, "Hz"},
    {"high_input_frequency", Kind::Number, 15, 1, 0, 0, false, 1, "Hz"},
    {"ac_dropout_tolerance", Kind::Number, 16, 1, 0, 0, false, 1, "ms"},
    {"predictive_fail_support", Kind::Flag, 17, 1, 0},
    {"predictive_fail_signal", Kind::Signal, 17},
    {"power_factor_correction", Kind::Flag, 17, 1, 1},
    {"autoswitch", Kind::Flag, 17, 1, 2},
    {"hot_swap", Kind::Flag, 17, 1, 3},
    {"peak_capacity", Kind::Number, 18, 2, 0, 12, false, 1, "W"},
    {"hold_up_time", Kind::Number, 18, 2, 12, 4, false, 1, "s"},
    {"voltage_1", Kind::Voltage, 20, 1, 4, 4},
    {"voltage_2", Kind::Voltage, 20, 1, 0, 4},
    {"combined_wattage", Kind::Number, 21, 2, 0, 0, false, 1, "W"},
    {"predictive_fail_tach_threshold", Kind::Number, 23, 1, 0, 0, false, 1, "RPS"},
};

const Row kDcOutput[] = {
    {"output_number", Kind::Number, 0, 1, 0, 4},
    {"standby", Kind::Flag, 0, 1, 7},
    {"nominal_voltage", Kind::Number, 1, 2, 0, 0, true, 10, "mV"},
    {"max_negative_deviation", Kind::Number, 3, 2, 0, 0, true, 10, "mV"},
    {"max_positive_deviation", Kind::Number, 5, 2, 0, 0, true, 10, "mV"},
    {"ripple_and_noise", Kind::Number, 7, 2, 0, 0, false, 1, "mV"},
    {"min_current_draw", Kind::Number, 9, 2, 0, 0, false, 1, "mA"},
    {"max_current_draw", Kind::Number, 11, 2, 0, 0, false, 1, "mA"},
};

const Row kDcLoad[] = {
    {"output_number", Kind::Number, 0, 1, 0, 4},
    {"nominal_voltage", Kind::Number, 1, 2, 0, 0, true, 10, "mV"},
    {"min_voltage", Kind::Number, 3, 2, 0, 0, true, 10, "mV"},
    {"max_voltage", Kind::Number, 5, 2, 0, 0, true, 10, "mV"},
    {"ripple_and_noise", Kind::Number, 7, 2, 0, 0, false, 1, "mV"},
    {"min_current_load", Kind::Number, 9, 2, 0, 0, false, 1, "mA"},
    {"max_current_load", Kind::Number, 11, 2, 0, 0, false, 1, "mA"},
};

const Row kManagementAccess[] = {
    {"sub_record_type", Kind::Hex, 0},
    {"", Kind::AccessData, 1},
};

const Row kCompatibility[] = {
    {"manufacturer_id", Kind::Manufacturer, 0, 3},
    {"entity_id", Kind::Hex, 3},
    {"compatibility_base", Kind::Hex, 4},
    {"code_start", Kind::Hex, 5, 1, 0, 7},  // bit 7 is not part of the code
    {"code_range_mask", Kind::Rest, 6},
};

const Row kOem[] = {
    {"manufacturer_id", Kind::Manufacturer, 0, 3},
    {"data", Kind::Rest, 3},
};

const Row kUnknown[] = {
    {"data", Kind::Rest, 0},
};

struct TypeDef {
    uint8_t first, last;
    const char *name;
    size_t min_size;
    std::span<const Row> rows;
};

// Types 0x06 to 0xBF are reserved or of other specifications' use (ASF,
// DMTF): shown as bytes.
const TypeDef kTypes[] = {
    {0x00, 0x00, "power supply information", 24, kPowerSupply},
    {0x01, 0x01, "DC output", 13, kDcOutput},
    {0x02, 0x02, "DC load", 13, kDcLoad},
    {0x03, 0x03, "management access", 1, kManagementAccess},
    {0x04, 0x04, "base compatibility", 6, kCompatibility},
    {0x05, 0x05, "extended compatibility", 6, kCompatibility},
    {0xC0, 0xFF, "OEM", 3, kOem},
    {0x06, 0xBF, "reserved", 0, kUnknown},
};

const char *const kVoltages[16] = {"12 V", "-12 V", "5 V", "3.3 V"};

// Management access sub-records: 1 to 6 text, 7 the 16-byte unique ID.
const char *const kAccessNames[] = {
    nullptr, "system_management_url", "system_name", "system_ping_address",
    "component_management_url", "component_name", "component_ping_address", "system_unique_id",
};
constexpr uint8_t kUniqueId = 7;

const TypeDef &type_def(uint8_t type)
{
    for (const TypeDef &def : kTypes)
        if (type >= def.first && type <= def.last)
            return def;
    return kTypes[std::size(kTypes) - 1];
}

PresentedField yes_no(const char *name, bool set)
{
    return number_field(name, set ? "yes" : "no", set ? 1 : 0);
}

PresentedField field_of(const Row &row, const uint8_t *data, size_t size)
{
    // Rows of the rest of the data start where a minimal record ends: they
    // hold no number of their own to load.
    const uint64_t stored = row.offset + row.width <= size ? load_le(data + row.offset, row.width) : 0;
    const unsigned bits = row.bits != 0 ? row.bits : 8u * row.width;
    uint64_t raw = (stored >> row.shift) & ((uint64_t{1} << bits) - 1);
    std::string text;
    switch (row.kind) {
    case Kind::Number: {
        int64_t value = static_cast<int64_t>(raw);
        if (row.is_signed && (raw >> (bits - 1)) != 0)
            value -= int64_t{1} << bits;
        value *= row.scale;
        append_decimal(text, value);
        if (row.unit[0] != 0)
            (text += ' ') += row.unit;
        return number_field(row.name, std::move(text), value, row.unit);
    }
    case Kind::Flag:
        return yes_no(row.name, raw & 1);
    case Kind::Voltage:
        text = kVoltages[raw] != nullptr ? kVoltages[raw] : "unknown";
        text += " (";
        append_decimal(text, static_cast<int64_t>(raw));
        text += ')';
        return number_field(row.name, std::move(text), static_cast<int64_t>(raw));
    case Kind::Hex:
        text = "0x";
        append_hex(text, raw, 2);
        return number_field(row.name, std::move(text), static_cast<int64_t>(raw));
    case Kind::Manufacturer:
        append_decimal(text, static_cast<int64_t>(raw));
        text += " (0x";
        append_hex(text, raw, 6);
        text += ')';
        return number_field(row.name, std::move(text), static_cast<int64_t>(raw));
    case Kind::Signal: {
        // Bit 4 counts pulses per rotation for a tachometer output (one with
        // a threshold), and gives the level that means failure for a plain
        // pass/fail pin, as FreeIPMI reads it.
        const bool bit4 = (raw >> 4) & 1;
        const char *signal = (raw & 1) == 0 ? "none"
                             : data[23] != 0 ? (bit4 ? "tachometer, two pulses per rotation"
                                                     : "tachometer, one pulse per rotation")
                             : bit4 ? "pass/fail pin, low on fail"
                                    : "pass/fail pin, high on fail";
        return {row.name, signal};
    }
    case Kind::AccessData: {
        const uint8_t sub = data[0];
        const bool known = sub > 0 && sub < std::size(kAccessNames);
        const char *name = known ? kAccessNames[sub] : "data";
        const uint8_t *rest = data + row.offset;
        const size_t length = size - row.offset;
        if (!known || sub == kUniqueId)
            return bytes_field(name, hex_bytes(rest, length, " "), Bytes(rest, rest + length));
        return {name, printable_text(rest, length)};
    }
    case Kind::Rest:
        return bytes_field(row.name, hex_bytes(data + row.offset, size - row.offset, " "),
                           Bytes(data + row.offset, data + size));
    }
    return {row.name, ""};
}

}  // namespace

std::string multirecord_title(uint8_t type)
{
    std::string text = type_def(type).name;
    text += " (0x";
    append_hex(text, type, 2);
    text += ')';
    return text;
}

int32_t decode_multirecord_data(uint8_t type, const uint8_t *data, size_t size,
                                std::vector<PresentedField> *fields)
{
    const TypeDef &def = type_def(type);
    if (size < def.min_size)
        return kMultirecordTooShort;
    for (const Row &row : def.rows)
        fields->push_back(field_of(row, data, size));
    return kOk;
}

}  // namespace fruplat
