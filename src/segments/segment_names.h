#ifndef QUILLET_SEGMENTS_SEGMENT_NAMES_H
#define QUILLET_SEGMENTS_SEGMENT_NAMES_H

namespace quillet {

// Opaque segments are named O..., o... or ES...; the tool never interprets
// their content and the bad-CRC scan leaves them alone.
inline bool is_opaque_segment_name(const char *name)
{
    return name[0] == 'O' || name[0] == 'o' || (name[0] == 'E' && name[1] == 'S');
}

}  // namespace quillet

#endif
