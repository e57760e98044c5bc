#ifndef QUILLET_RECORDS_ELEMENT_PARSER_H
#define QUILLET_RECORDS_ELEMENT_PARSER_H

#include <cstdint>

namespace quillet {

// Statuses of the element parser besides 0.
inline constexpr int32_t kStatusNoRegistryDefinition = 3;
inline constexpr int32_t kStatusValueTooLong = 9;
inline constexpr int32_t kStatusUnknownVendor = 16;
inline constexpr int32_t kStatusMalformed = 23;

// Writes every name=value pair of `pairs` (split in place) into every buffer
// of the record buffer set that holds the element, then stamps the time into
// every timestamped buffer. Returns 0 or the status of the failing pair, in
// which case nothing is stamped.
int32_t parse_element_options(char *pairs);

}  // namespace quillet

#endif
