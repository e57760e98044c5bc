#ifndef QUILLET_RECORDS_SUBOPTIONS_H
#define QUILLET_RECORDS_SUBOPTIONS_H

#include <cstddef>

namespace quillet {

// One name[=value] pair taken from a comma-separated list the way getsubopt
// splits it: the comma ending the pair is overwritten with NUL, the pair
// itself is left whole (for messages that quote it).
struct Suboption {
    const char *pair;     // the whole pair as written
    size_t name_length;   // bytes of the name at the start of pair
    const char *value;    // text after the first '='; null when there is none
};

// Takes the next pair from *cursor and advances it; false at the end.
bool next_suboption(char **cursor, Suboption *out);

// Index of the token equal to the pair's name, or -1.
int match_token(const Suboption &suboption, const char *const *tokens);

}  // namespace quillet

#endif
