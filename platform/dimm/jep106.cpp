#include "dimm/jep106.h"

#include "dimm/spd.h"
#include "present/presenter.h"

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
    std::string text = name != nullptr ? name : "unknown";
    text += " (bank ";
    append_decimal(text, continuations + 1);
    text += ", 0x";
    append_hex(text, code, 2, true);
    text += ')';
    return text;
}

}  // namespace fruplat
