#include "records/value_conversion.h"

#include <cstdlib>

namespace quillet {

int32_t decimal_value(const char *text)
{
    const long long wide = std::strtoll(text, nullptr, 10);
    if (wide > INT32_MAX)
        return INT32_MAX;
    if (wide < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(wide);
}

int64_t hexadecimal_value(const char *text)
{
    return static_cast<int64_t>(std::strtoll(text, nullptr, 16));
}

}  // namespace quillet
