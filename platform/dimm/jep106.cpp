#include "dimm/jep106.h"

#include <cstdio>

#include "dimm/spd.h"

namespace fruplat {

// Parity is not checked: a maker's ID with a bad parity bit still names the
// maker, as the decoders engineers compare with read it.
const char *jep106_name(unsigned bank, uint8_t code)
{
    for (size_t i = 0; i < kJep106Count; ++i)
        if (kJep106[i].bank == bank && (kJep106[i].code & 0x7F) == (code & 0x7F))
            return kJep106Names + kJep106[i].name;
    return nullptr;
}

std::string jedec_manufacturer(unsigned continuations, uint8_t code)
{
    const char *name = jep106_name(continuations + 1, code);
    char where[40];
    std::snprintf(where, sizeof where, " (bank %u, 0x%02X)", continuations + 1, code);
    return std::string(name != nullptr ? name : "unknown") + where;
}

}  // namespace fruplat
