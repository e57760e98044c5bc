#ifndef QUILLET_IMAGE_IMAGE_FLASH_H
#define QUILLET_IMAGE_IMAGE_FLASH_H

#include <cstdint>

#include "ops/run_context.h"

namespace quillet {

inline constexpr uint32_t kImageBufferSize = 8192;
inline constexpr int kNodeLookupAttempts = 4;

// Writes the image file named by -i into the container named by -c through
// the container interface. 0 on success, -1 on any failure.
[[nodiscard]] int32_t run_image_flash(RunContext &run);

}  // namespace quillet

#endif
