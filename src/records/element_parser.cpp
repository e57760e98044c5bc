#include "records/element_parser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fru_access.h"
#include "records/buffer_set.h"
#include "records/byte_order.h"
#include "records/element_table.h"
#include "records/status.h"
#include "records/suboptions.h"
#include "records/value_conversion.h"

namespace quillet {

namespace {

// A regular file readable by everyone and writable by no one.
constexpr mode_t kFileElementMode = 0x8124;

// Fixed bytes 8 to 11 of every temperature history entry.
constexpr uint8_t kTemperatureFixedBytes[] = {0, 9, 10, 10};

template <typename Fn>
void for_each_field(const ElementRow &row, Fn &&fn)
{
    for (const FieldTarget &target : row.targets) {
        if (target.record == RecordId::None)
            break;
        uint8_t *buffer = record_buffer(target.record);
        if (buffer != nullptr)
            fn(buffer, target);
    }
}

void store_number(const ElementRow &row, uint64_t value)
{
    for_each_field(row, [&](uint8_t *buffer, const FieldTarget &target) {
        if (row.clear_first)
            std::memset(buffer, 0, record_buffer_size(target.record));
        store_be(buffer + target.offset, value, target.width);
    });
}

int32_t store_text(const ElementRow &row, const char *text)
{
    const size_t length = std::strlen(text);
    int32_t status = 0;
    for_each_field(row, [&](uint8_t *buffer, const FieldTarget &target) {
        if (status != 0)
            return;
        uint8_t *field = buffer + target.offset;
        if (row.clear_first)
            std::memset(field, 0, target.width);
        if (row.refuse_limit > 0 && length > static_cast<size_t>(row.refuse_limit)) {
            std::fprintf(stderr, row.too_long_format, row.refuse_limit);
            status = kStatusValueTooLong;
            return;
        }
        std::memcpy(field, text, std::min<size_t>(length, target.width));
    });
    return status;
}

void store_two_characters(const ElementRow &row, const char *value)
{
    const uint8_t first = static_cast<uint8_t>(value[0]);
    const uint8_t second = first != 0 ? static_cast<uint8_t>(value[1]) : 0;
    for_each_field(row, [&](uint8_t *buffer, const FieldTarget &target) {
        buffer[target.offset] = first;
        buffer[target.offset + 1] = second;
    });
}

void store_hexadecimal(const ElementRow &row, const char *value)
{
    uint8_t scratch[8] = {};
    store_be(scratch, static_cast<uint64_t>(hexadecimal_value(value)), sizeof scratch);
    for_each_field(row, [&](uint8_t *buffer, const FieldTarget &target) {
        std::memcpy(buffer + target.offset, scratch + sizeof scratch - target.width, target.width);
    });
}

uint32_t entry_value(const fru_enum_entry_t &entry)
{
    return static_cast<uint32_t>(load_be(entry.value + 4, 4));
}

void print_entry_names(const fru_regdef_t &definition, const char *format)
{
    for (int32_t i = 0; i < definition.enum_count; ++i)
        std::fprintf(stderr, format, definition.enum_table[i].text);
}

int32_t store_registry_code(const ElementRow &row, const char *value)
{
    const RegistryRule &rule = *row.registry;
    const fru_regdef_t *definition = fru_reg_lookup_def_by_name(rule.definition);
    if (definition == nullptr)
        return kStatusNoRegistryDefinition;
    if (value == nullptr) {
        std::fputs(rule.list_header, stderr);
        print_entry_names(*definition, "\n %s\n");
        return kStatusMalformed;
    }
    for (int32_t i = 0; i < definition->enum_count; ++i) {
        const fru_enum_entry_t &entry = definition->enum_table[i];
        const int differs = rule.ignore_case ? strcasecmp(entry.text, value)
                                             : std::strcmp(entry.text, value);
        if (differs == 0) {
            store_number(row, entry_value(entry));
            return 0;
        }
    }
    if (!rule.unmatched_is_error)
        return 0;
    std::fputs(rule.list_header, stderr);
    print_entry_names(*definition, "%s\n");
    return kStatusUnknownVendor;
}

int32_t file_failure(const char *format, const char *path, bool *refused)
{
    std::fprintf(stderr, format, path);
    *refused = true;
    return kStatusMalformed;
}

int32_t store_file_content(const ElementRow &row, const char *path, bool *refused)
{
    const FieldTarget &target = row.targets[0];
    struct stat info;
    if (stat(path, &info) != 0)
        return file_failure("Input file stat failed for Opaque file %s\n", path, refused);
    if (info.st_mode != kFileElementMode)
        return file_failure("Input file stat mode failed for Opaque file %s\n", path, refused);
    if (info.st_size > target.width)
        return file_failure("Input file is too large %s\n", path, refused);
    // Without blocking: the name may have been swapped for a FIFO since the
    // stat, and what was opened is checked again.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return file_failure("Failed to open Input file %s\n", path, refused);
    const char *failure = nullptr;
    if (fstat(fd, &info) != 0 || info.st_mode != kFileElementMode)
        failure = "Input file stat mode failed for Opaque file %s\n";
    else if (info.st_size > target.width)
        failure = "Input file is too large %s\n";
    uint8_t *buffer = record_buffer(target.record);
    if (failure == nullptr && buffer != nullptr) {
        uint8_t *field = buffer + target.offset;
        std::memset(field, 0, target.width);
        // A short read leaves the rest of the field zero; it is not an error.
        (void)!pread(fd, field, static_cast<size_t>(info.st_size), 0);
    }
    close(fd);
    return failure == nullptr ? 0 : file_failure(failure, path, refused);
}

int32_t handle_element(const ElementRow &row, const char *value, const ElementInput &input,
                       bool *file_refused)
{
    if (value == nullptr && row.missing_message != nullptr && row.kind != ElementKind::Registry) {
        std::fputs(row.missing_message, stderr);
        return kStatusMalformed;
    }
    switch (row.kind) {
    case ElementKind::Ignored:
    case ElementKind::NoStore:
        return 0;
    case ElementKind::Decimal:
        store_number(row, static_cast<uint32_t>(decimal_value(value)));
        return 0;
    case ElementKind::Hex:
        store_hexadecimal(row, value);
        return 0;
    case ElementKind::Text: {
        const char *text = value;
        if (row.takes_description_text && input.description_text != nullptr)
            text = input.description_text;
        return store_text(row, text);
    }
    case ElementKind::TwoChar:
        store_two_characters(row, value);
        return 0;
    case ElementKind::Registry:
        return store_registry_code(row, value);
    case ElementKind::DeviceType:
        if (std::strstr(value, "0x") != nullptr) {
            store_hexadecimal(row, value);
            return 0;
        }
        return store_registry_code(row, value);
    case ElementKind::File:
        return store_file_content(row, value, file_refused);
    }
    return 0;
}

void stamp_timestamps()
{
    for (const RecordBufferInfo &info : kRecordBuffers) {
        uint8_t *buffer = record_buffer(info.id);
        if (info.timestamped && buffer != nullptr)
            store_be32(buffer, static_cast<uint32_t>(std::time(nullptr)));
    }
    if (uint8_t *temperature = record_buffer(RecordId::Temperature_HistoryR))
        std::memcpy(temperature + 8, kTemperatureFixedBytes, sizeof kTemperatureFixedBytes);
}

}  // namespace

int32_t parse_element_options(const ElementInput &input, bool *file_refused)
{
    *file_refused = false;
    if (input.pairs == nullptr)
        return kStatusMalformed;
    char *cursor = input.pairs;
    Suboption pair;
    while (next_suboption(&cursor, &pair)) {
        const ElementRow *row = find_element(pair.pair, pair.name_length);
        if (row == nullptr) {
            std::fprintf(stderr, "\n Error: %s is not supported\n", pair.pair);
            return kStatusMalformed;
        }
        const int32_t status = handle_element(*row, pair.value, input, file_refused);
        if (status != 0)
            return status;
    }
    stamp_timestamps();
    return 0;
}

void copy_description_text(const char *text)
{
    for (size_t i = 0; i < kElementCount; ++i) {
        const ElementRow &row = kElementTable[i];
        if (!row.takes_description_text)
            continue;
        // Unlike store_text, no limit applies: the text is cut to each field.
        const size_t length = std::strlen(text);
        for_each_field(row, [&](uint8_t *buffer, const FieldTarget &target) {
            uint8_t *field = buffer + target.offset;
            if (row.clear_first)
                std::memset(field, 0, target.width);
            std::memcpy(field, text, std::min<size_t>(length, target.width));
        });
    }
}

}  // namespace quillet
