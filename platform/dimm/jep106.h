// JEDEC JEP106 manufacturer codes, every bank, as the build generates them
// from jep106.tsv.
#ifndef FRUPLATFORM_DIMM_JEP106_H
#define FRUPLATFORM_DIMM_JEP106_H

#include <cstddef>
#include <cstdint>

namespace fruplat {

struct Jep106Entry {
    uint8_t bank;  // 1-based: continuation codes before the ID, plus one
    uint8_t code;  // with its odd-parity bit 7
    const char *name;
};

extern const Jep106Entry kJep106[];
extern const size_t kJep106Count;

// The maker's name, or null when the bank has no such code.
const char *jep106_name(unsigned bank, uint8_t code);

}  // namespace fruplat

#endif
