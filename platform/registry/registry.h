// The registry: one table of record definitions and the enumerations their
// code fields use. It drives size lookup, alias resolution and presentation.
#ifndef FRUPLATFORM_REGISTRY_REGISTRY_H
#define FRUPLATFORM_REGISTRY_REGISTRY_H

#include <cstddef>
#include <cstdint>

#include "store/inventory.h"
#include "store/status.h"

namespace fruplat {

enum class FieldKind {
    Timestamp,  // 32-bit seconds since 1970, shown as UTC date and time
    Unsigned,
    Signed,
    Text,       // fixed width, shown without its padding
    Hex,        // bytes as one hexadecimal number
    Mac,        // colon-separated hexadecimal bytes
    Enum,       // a registry code, shown by name
};

struct FieldDef {
    const char *name;
    uint16_t offset;
    uint16_t width;
    FieldKind kind;
    const char *enumeration = nullptr;
};

enum FamilyMask : uint8_t {
    kZanFamily = 1,
    kIpmiFamily = 2,
    kDimmFamily = 4,
    kPiromFamily = 8,
};

struct RecordDef {
    const char *name;
    uint16_t tag;
    uint16_t size;           // bytes of one record or ring entry
    uint8_t ring_capacity;   // 0: not iterative
    const char *segment;     // home segment in a ZAN container
    uint8_t families;
    const FieldDef *fields;
    size_t field_count;
    bool identity;           // one of the records IDENTITY presents
};

struct EnumEntry {
    const char *name;
    uint32_t value;
};

struct EnumDef {
    const char *name;
    const EnumEntry *entries;
    size_t count;
};

uint8_t family_mask(Family family);

// By exact record name, in any letter case.
const RecordDef *find_record_def(const char *name);
const RecordDef *find_record_by_tag(uint16_t tag);
// The record an alias names on this family (POWER is Power_EventsR on a ZAN
// container and Power_On_DataR on a DIMM); null when it names none.
const RecordDef *resolve_alias(Family family, const char *name);
bool is_alias_of_family(Family family, const char *name);
// The record a name gives on this family: one of the family's aliases, else
// a record name. kUnknownRecord for neither, kNotInFamily for a record that
// lives on other families.
[[nodiscard]] int32_t record_of_family(Family family, const char *name, const RecordDef **def);

const RecordDef *record_defs(size_t *count);
const EnumDef *find_enum(const char *name);
const EnumDef *enum_defs(size_t *count);
const char *enum_name(const char *enumeration, uint32_t value);

}  // namespace fruplat

#endif
