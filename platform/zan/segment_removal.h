// Removing the segments a scan showed the operator from the container as it
// is at write-back time, which others may have changed since the scan.
#ifndef FRUPLATFORM_ZAN_SEGMENT_REMOVAL_H
#define FRUPLATFORM_ZAN_SEGMENT_REMOVAL_H

#include <cstddef>
#include <vector>

#include "zan/zan_image.h"

namespace fruplat {

struct RemovalOutcome {
    size_t removed = 0;
    // Chosen segments whose name now holds different content: kept.
    size_t kept_changed = 0;
};

// Removes from `current` every segment identical (name bytes, kind, stored
// CRC, body) to a segment of `seen` whose `chosen` flag is set, pairing
// identical segments in storage order. A chosen segment with no identical
// counterpart is left alone: either someone removed it already, or its name
// now holds content the operator never saw. Linear in the containers' size:
// every segment is hashed once and the survivors are moved once.
RemovalOutcome remove_seen_segments(const ZanImage &seen, const std::vector<bool> &chosen,
                                    ZanImage &current);

}  // namespace fruplat

#endif
