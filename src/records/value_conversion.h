#ifndef QUILLET_RECORDS_VALUE_CONVERSION_H
#define QUILLET_RECORDS_VALUE_CONVERSION_H

#include <cstdint>

namespace quillet {

// atoi on a 32-bit int: leading blanks and sign, digits up to the first
// other character, 0 for no digits, and the signed 32-bit range as limits on
// every host (a 64-bit atoi would wrap instead).
int32_t decimal_value(const char *text);

// strtoll in base 16: optional 0x, digits up to the first other character,
// clamped to the signed 64-bit range; a minus sign gives two's complement.
int64_t hexadecimal_value(const char *text);

}  // namespace quillet

#endif
