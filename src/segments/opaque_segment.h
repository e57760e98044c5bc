#ifndef QUILLET_SEGMENTS_OPAQUE_SEGMENT_H
#define QUILLET_SEGMENTS_OPAQUE_SEGMENT_H

#include <cstdint>

namespace quillet {

inline constexpr uint32_t kOpaqueDataSize = 8192;

// Shows, writes or deletes an opaque segment as the -s suboptions and the
// operation code ask. `suboptions` is split in place.
int32_t run_opaque_segment_flow(const char *program_name, char *suboptions, int32_t operation);

}  // namespace quillet

#endif
