#include "present/presenter.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstring>
#include <ctime>

#include "present/text_sink.h"

namespace fruplat {

namespace {

int64_t sign_extend(uint64_t value, size_t width)
{
    const unsigned bits = static_cast<unsigned>(8 * width);
    if (bits >= 64)
        return static_cast<int64_t>(value);
    const uint64_t sign = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>((value ^ sign) - sign);
}

std::string text_field(const uint8_t *data, size_t width)
{
    size_t length = width;
    while (length > 0 && (data[length - 1] == 0 || data[length - 1] == ' '))
        --length;
    std::string text;
    size_t plain = 0;  // start of the run of printable characters
    for (size_t i = 0; i < length; ++i) {
        const uint8_t c = data[i];
        if (c >= 0x20 && c < 0x7F)
            continue;
        text.append(reinterpret_cast<const char *>(data) + plain, i - plain);
        text += "\\x";
        append_hex(text, c, 2);
        plain = i + 1;
    }
    text.append(reinterpret_cast<const char *>(data) + plain, length - plain);
    return text;
}

}  // namespace

std::string format_utc(uint32_t seconds)
{
    if (seconds == 0)
        return "not set";
    // Not gmtime_r or strftime: their first call loads the local time zone,
    // a file and seven system calls, for a text that is always in UTC. The
    // seconds go through time_t as they did for gmtime_r, so a 32-bit time_t
    // still reads the top half as before 1970. Civil date from days:
    // 400-year eras of 146097 days, years starting in March.
    const int64_t t = static_cast<time_t>(seconds);
    const int64_t days = (t >= 0 ? t : t - 86399) / 86400;
    const int64_t second_of_day = t - days * 86400;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t day_of_era = z - era * 146097;
    const int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int64_t shifted_month = (5 * day_of_year + 2) / 153;
    const int day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
    const int month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
    const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2));
    char text[64];
    if (year < 0 || year > 9999) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d UTC", year, month, day,
                      static_cast<int>(second_of_day / 3600),
                      static_cast<int>(second_of_day / 60 % 60), static_cast<int>(second_of_day % 60));
        return text;
    }
    // Digits by hand: a show of a whole store formats thousands of times,
    // and snprintf costs more than the rest of a field.
    const int parts[6] = {year / 100, year % 100, month, day, static_cast<int>(second_of_day / 3600),
                          static_cast<int>(second_of_day / 60 % 60)};
    std::memcpy(text, "0000-00-00 00:00:00 UTC", 24);
    constexpr int kAt[6] = {0, 2, 5, 8, 11, 14};
    for (int i = 0; i < 6; ++i) {
        text[kAt[i]] = static_cast<char>('0' + parts[i] / 10);
        text[kAt[i] + 1] = static_cast<char>('0' + parts[i] % 10);
    }
    text[17] = static_cast<char>('0' + second_of_day % 60 / 10);
    text[18] = static_cast<char>('0' + second_of_day % 10);
    return std::string(text, 23);
}

void append_decimal(std::string &out, int64_t value)
{
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void append_hex(std::string &out, uint64_t value, unsigned digits, bool capitals)
{
    const char *const set = capitals ? "0123456789ABCDEF" : "0123456789abcdef";
    char text[16];
    unsigned n = 0;
    do {
        text[15 - n++] = set[value & 15];
        value >>= 4;
    } while ((value != 0 || n < digits) && n < sizeof text);
    out.append(text + 16 - n, n);
}

std::string hex_bytes(const uint8_t *data, size_t size, const char *separator)
{
    static const char kDigits[] = "0123456789abcdef";
    const size_t gap = std::strlen(separator);
    if (size == 0)
        return {};
    std::string text(size * (2 + gap) - gap, '\0');
    char *at = text.data();
    for (size_t i = 0; i < size; ++i) {
        if (i > 0)
            at = std::copy_n(separator, gap, at);
        *at++ = kDigits[data[i] >> 4];
        *at++ = kDigits[data[i] & 15];
    }
    return text;
}

std::string format_field(const FieldDef &field, const uint8_t *record)
{
    const uint8_t *data = record + field.offset;
    const uint64_t value = load_be(data, field.width);
    char text[64];
    switch (field.kind) {
    case FieldKind::Timestamp:
        return format_utc(static_cast<uint32_t>(value));
    case FieldKind::Unsigned:
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    case FieldKind::Signed:
        return std::string(text, std::to_chars(text, text + sizeof text, sign_extend(value, field.width)).ptr);
    case FieldKind::Text:
        return text_field(data, field.width);
    case FieldKind::Hex:
        return "0x" + hex_bytes(data, field.width, "");
    case FieldKind::Mac:
        return hex_bytes(data, field.width, ":");
    case FieldKind::Enum: {
        const char *name = enum_name(field.enumeration, static_cast<uint32_t>(value));
        std::string named = name != nullptr ? name : "unknown";
        named += " (0x";
        append_hex(named, value, static_cast<unsigned>(2 * field.width));
        named += ')';
        return named;
    }
    }
    return "";
}

void present_record(FILE *out, const RecordDef &def, const std::vector<Bytes> &entries)
{
    TextSink sink(out);
    present_record(sink, def, entries);
}

PresentedField typed_field(const FieldDef &field, const uint8_t *record)
{
    const uint8_t *data = record + field.offset;
    const uint64_t value = load_be(data, field.width);
    if (field.kind == FieldKind::Timestamp)
        return {field.name, format_field(field, record), ValueKind::Timestamp,
                static_cast<int64_t>(value), "s"};
    PresentedField typed(field.name, format_field(field, record));
    switch (field.kind) {
    case FieldKind::Timestamp:
        break;
    case FieldKind::Unsigned:
        typed.kind = ValueKind::Number;
        typed.number = static_cast<int64_t>(value);
        break;
    case FieldKind::Signed:
        typed.kind = ValueKind::Number;
        typed.number = sign_extend(value, field.width);
        break;
    case FieldKind::Text:
        break;
    case FieldKind::Hex:
    case FieldKind::Mac:
        typed.kind = ValueKind::Bytes;
        typed.bytes.assign(data, data + field.width);
        break;
    case FieldKind::Enum: {
        typed.kind = ValueKind::Enum;
        typed.number = static_cast<int64_t>(value);
        const char *name = enum_name(field.enumeration, static_cast<uint32_t>(value));
        if (name != nullptr)
            typed.symbol = name;
        break;
    }
    }
    return typed;
}

void present_record(PresentSink &sink, const RecordDef &def, const std::vector<Bytes> &entries)
{
    RecordStart start;
    start.name = def.name;
    start.entries = entries.size();
    start.ring_capacity = def.ring_capacity;
    sink.begin_record(start);
    for (size_t n = 0; n < entries.size(); ++n) {
        if (def.ring_capacity != 0)
            sink.begin_entry(n + 1, nullptr);
        if (def.field_count == 0) {
            sink.field(bytes_field("data", hex_bytes(entries[n].data(), entries[n].size(), " "),
                                   entries[n]));
            continue;
        }
        for (size_t f = 0; f < def.field_count; ++f)
            sink.field(typed_field(def.fields[f], entries[n].data()));
    }
    sink.end_record();
}

void present_fields(PresentSink &sink, const std::string &title,
                    const std::vector<PresentedField> &fields)
{
    RecordStart start;
    start.name = title.c_str();
    sink.begin_record(start);
    for (const PresentedField &field : fields)
        sink.field(field);
    sink.end_record();
}

void present_titled_entries(PresentSink &sink, const char *name,
                            const std::vector<PresentedRecord> &groups)
{
    RecordStart start;
    start.name = name;
    start.entries = groups.size();
    start.titled_entries = true;
    sink.begin_record(start);
    for (size_t n = 0; n < groups.size(); ++n) {
        sink.begin_entry(n + 1, groups[n].title.c_str());
        for (const PresentedField &field : groups[n].fields)
            sink.field(field);
    }
    sink.end_record();
}

}  // namespace fruplat
