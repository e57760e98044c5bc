// How a read record looks to the engineer: field by field, codes by their
// registry names, times in UTC, addresses in colon form, text unpadded.
#ifndef FRUPLATFORM_PRESENT_PRESENTER_H
#define FRUPLATFORM_PRESENT_PRESENTER_H

#include <cstdio>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "registry/registry.h"
#include "store/bytes.h"

namespace fruplat {

std::string format_field(const FieldDef &field, const uint8_t *record);

// One record, or every stored entry of an iterative record, oldest first,
// as text (present/sink.h has the forms for any output).
void present_record(FILE *out, const RecordDef &def, const std::vector<Bytes> &entries);

// One decoded field of a record its family decodes (SPD, IPMI areas and
// multirecords, PIROM). `name` and `value` are what the text lines show,
// byte for byte; the rest says what a program reading the field gets:
// a number in its unit, raw bytes, or the status of a part that could not
// be decoded, so that every output format renders the same fields.
// Registry records add times (seconds since 1970 in `number`) and registry
// codes (the code in `number`, its registry name in `symbol`, empty when
// the registry does not know it).
enum class ValueKind { Text, Number, Bytes, Status, Timestamp, Enum };

struct PresentedField {
    PresentedField(std::string name_, std::string value_, ValueKind kind_ = ValueKind::Text,
                   int64_t number_ = 0, std::string unit_ = {}, Bytes bytes_ = {})
        : name(std::move(name_)), value(std::move(value_)), kind(kind_), number(number_),
          unit(std::move(unit_)), bytes(std::move(bytes_))
    {
    }

    std::string name;
    std::string value;
    ValueKind kind = ValueKind::Text;
    int64_t number = 0;  // Number: the value in `unit`; Status: the status
    std::string unit;    // Number: "MB", "MT/s", "mV", "mA", "ns", "ps"...; empty for a count
    Bytes bytes;         // Bytes: the raw bytes `value` shows
    std::string symbol;  // Enum: the code's registry name
};

using PresentedLine = PresentedField;

inline PresentedField number_field(std::string name, std::string value, int64_t number,
                                   std::string unit = {})
{
    return {std::move(name), std::move(value), ValueKind::Number, number, std::move(unit)};
}

inline PresentedField bytes_field(std::string name, std::string value, Bytes bytes)
{
    return {std::move(name), std::move(value), ValueKind::Bytes, 0, {}, std::move(bytes)};
}

inline PresentedField status_field(std::string name, std::string value, int32_t status)
{
    return {std::move(name), std::move(value), ValueKind::Status, status};
}

// A titled group of decoded fields: one area, one multirecord, one SPD
// section.
struct PresentedRecord {
    std::string title;
    std::vector<PresentedField> fields;
};

std::string format_utc(uint32_t seconds);
std::string hex_bytes(const uint8_t *data, size_t size, const char *separator);

// Digits without printf, which costs more than the rest of a field: a show
// of a whole store formats tens of thousands of numbers.
void append_decimal(std::string &out, int64_t value);
// `digits` at least, zero-padded; capitals where decoders engineers compare
// with print them so.
void append_hex(std::string &out, uint64_t value, unsigned digits, bool capitals = false);

}  // namespace fruplat

#endif
