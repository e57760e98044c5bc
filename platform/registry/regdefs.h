#ifndef FRUPLATFORM_REGISTRY_REGDEFS_H
#define FRUPLATFORM_REGISTRY_REGDEFS_H

#include "platform/fru_access.h"

namespace fruplat {

// The registry definition of an enumeration or a record, in the layout
// readers of the registry rely on; null for an unknown name.
const fru_regdef_t *lookup_regdef(const char *name);

}  // namespace fruplat

#endif
