#ifndef QUILLET_SEGMENTS_OPAQUE_SEGMENT_H
#define QUILLET_SEGMENTS_OPAQUE_SEGMENT_H

#include <cstdint>

#include "ops/run_context.h"

namespace quillet {

inline constexpr uint32_t kOpaqueDataSize = 8192;

// Shows, writes or deletes an opaque segment as the -s suboptions and the
// operation code ask. `suboptions` is split in place.
[[nodiscard]] int32_t run_opaque_segment_flow(RunContext &run, char *suboptions, int32_t operation);

}  // namespace quillet

#endif
