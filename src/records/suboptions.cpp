#include "records/suboptions.h"

#include <cstring>

namespace quillet {

bool next_suboption(char **cursor, Suboption *out)
{
    char *start = *cursor;
    if (start == nullptr || *start == '\0')
        return false;
    char *end = std::strchr(start, ',');
    if (end != nullptr) {
        *end = '\0';
        *cursor = end + 1;
    } else {
        *cursor = start + std::strlen(start);
    }
    const char *equals = std::strchr(start, '=');
    out->pair = start;
    out->name_length = equals != nullptr ? static_cast<size_t>(equals - start) : std::strlen(start);
    out->value = equals != nullptr ? equals + 1 : nullptr;
    return true;
}

int match_token(const Suboption &suboption, const char *const *tokens)
{
    for (int i = 0; tokens[i] != nullptr; ++i)
        if (std::strlen(tokens[i]) == suboption.name_length &&
            std::memcmp(tokens[i], suboption.pair, suboption.name_length) == 0)
            return i;
    return -1;
}

}  // namespace quillet
