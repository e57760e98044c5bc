// The elements accepted after -o, in table order, each with the fields it
// fills. Adding an element is a row here, not a new branch in the parser.
#ifndef QUILLET_RECORDS_ELEMENT_TABLE_H
#define QUILLET_RECORDS_ELEMENT_TABLE_H

#include <cstddef>
#include <cstdint>

#include "records/record_id.h"

namespace quillet {

enum class ElementKind {
    Ignored,     // accepted with or without a value; stores nothing
    NoStore,     // needs a value; stores nothing
    Decimal,     // atoi semantics, clamped to 32 bits, low-order bytes stored
    Hex,         // strtoll base 16, low-order bytes of the 64-bit image stored
    Text,        // bytes copied without terminator
    TwoChar,     // both bytes written: first two characters, zero-padded
    Registry,    // a name of a registry enumeration; its value's low bits stored
    DeviceType,  // hexadecimal when the value holds "0x", else a registry name
    File,        // the content of a 0444 regular file
};

struct FieldTarget {
    RecordId record = RecordId::None;
    uint16_t offset = 0;
    uint16_t width = 0;  // bytes
};

inline constexpr int kMaxTargets = 8;

struct RegistryRule {
    const char *definition;
    const char *list_header;  // written before the entry names when the value is absent
    bool ignore_case;
    bool unmatched_is_error;
};

struct ElementRow {
    const char *name;
    ElementKind kind;
    const char *missing_message;  // null: the value may be absent
    FieldTarget targets[kMaxTargets];
    // Text and file fields: zero the field before the copy. Decimal: zero
    // the whole receiving buffer before the number is stored.
    bool clear_first = false;
    // Text longer than this many bytes is refused with too_long_format
    // (status 9); 0 means longer text is cut to the field.
    int refuse_limit = 0;
    const char *too_long_format = nullptr;
    // The -t text, when given, is stored in place of the element's value.
    bool takes_description_text = false;
    const RegistryRule *registry = nullptr;
};

extern const ElementRow kElementTable[];
extern const size_t kElementCount;

// Null when the name is not a table entry (compared in full).
const ElementRow *find_element(const char *name, size_t name_length);

}  // namespace quillet

#endif
