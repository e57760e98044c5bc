// How a read record looks to the engineer: field by field, codes by their
// registry names, times in UTC, addresses in colon form, text unpadded.
#ifndef FRUPLATFORM_PRESENT_PRESENTER_H
#define FRUPLATFORM_PRESENT_PRESENTER_H

#include <cstdio>
#include <string>
#include <vector>

#include "registry/registry.h"
#include "store/bytes.h"

namespace fruplat {

std::string format_field(const FieldDef &field, const uint8_t *record);

// One record, or every stored entry of an iterative record, oldest first.
void present_record(FILE *out, const RecordDef &def, const std::vector<Bytes> &entries);

// A titled list of name/value lines, for records decoded by their family.
struct PresentedLine {
    std::string name;
    std::string value;
};
void present_lines(FILE *out, const std::string &title, const std::vector<PresentedLine> &lines);

std::string format_utc(uint32_t seconds);
std::string hex_bytes(const uint8_t *data, size_t size, const char *separator);

}  // namespace fruplat

#endif
