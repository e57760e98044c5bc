// The one line the layer adds when a container cannot be looked up because
// the store or its entry is missing: the tool's own message names only the
// NAC, and a new user needs the path that was searched and the next step.
#ifndef FRUPLATFORM_STORE_STORE_HINT_H
#define FRUPLATFORM_STORE_STORE_HINT_H

#include <cstdint>
#include <string>

namespace fruplat {

// The line for a failed look-up of `nac` in `store_dir`, or empty when the
// status needs none (the inventory's own errors are reported where found).
std::string store_hint(int32_t status, const std::string &store_dir, const char *nac);

// Writes store_hint() on standard error, at most once per process for the
// same line: a run that looks the name up again adds nothing new.
void explain_lookup_failure(int32_t status, const char *nac);

}  // namespace fruplat

#endif
