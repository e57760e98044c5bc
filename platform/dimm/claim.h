// Taking over a DIMM's customer area that holds someone else's data.
#ifndef FRUPLATFORM_DIMM_CLAIM_H
#define FRUPLATFORM_DIMM_CLAIM_H

#include <cstdint>
#include <string>

#include "store/inventory.h"

namespace fruplat {

// Under the container's lock: writes the area's current bytes to a new file
// `backup` (113 if it exists), synced, and only then erases the area on the
// module. Nothing outside the area is written.
[[nodiscard]] int32_t claim_customer_area(const ContainerEntry &entry, const std::string &backup);

}  // namespace fruplat

#endif
