#include "cli/element_names.h"

namespace quillet {

char *lowercase_element_names(char *pairs)
{
    if (pairs == nullptr)
        return nullptr;
    bool in_name = true;
    for (char *p = pairs; *p != '\0'; ++p) {
        if (in_name) {
            if (*p == '=')
                in_name = false;
            else if (*p >= 'A' && *p <= 'Z')
                *p = static_cast<char>(*p - 'A' + 'a');
        } else if (*p == ',') {
            in_name = true;
        }
    }
    return pairs;
}

}  // namespace quillet
