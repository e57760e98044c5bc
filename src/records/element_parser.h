#ifndef QUILLET_RECORDS_ELEMENT_PARSER_H
#define QUILLET_RECORDS_ELEMENT_PARSER_H

#include <cstdint>

namespace quillet {

struct ElementInput {
    char *pairs;                   // split in place
    const char *description_text;  // the -t text, or null
};

// Writes every name=value pair into every buffer of the record buffer set
// that holds the element, then stamps the time into every timestamped
// buffer. Returns 0 or the status of the failing pair (see records/status.h),
// in which case nothing is stamped. `file_refused` is set when an element
// file was refused: the caller owes the library an early close for it.
[[nodiscard]] int32_t parse_element_options(const ElementInput &input, bool *file_refused);

// The -t text in every field that takes it, as an update copies it before
// the elements are parsed: fields of rows that clear first are cleared.
void copy_description_text(const char *text);

}  // namespace quillet

#endif
