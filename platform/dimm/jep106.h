// JEDEC JEP106 manufacturer codes, every bank, as the build generates them
// from jep106.tsv.
#ifndef FRUPLATFORM_DIMM_JEP106_H
#define FRUPLATFORM_DIMM_JEP106_H

#include <cstddef>
#include <cstdint>

namespace fruplat {

// A name is an offset into one block of names rather than a pointer: a
// static-pie relocates every pointer in its data at each start, and a read
// of any record would pay for some 1,500 makers it never names.
struct Jep106Entry {
    uint8_t bank;  // 1-based: continuation codes before the ID, plus one
    uint8_t code;  // with its odd-parity bit 7
    uint16_t name;  // offset in kJep106Names
};

extern const Jep106Entry kJep106[];
extern const size_t kJep106Count;
extern const char kJep106Names[];

// The maker's name, or null when the bank has no such code.
const char *jep106_name(unsigned bank, uint8_t code);

}  // namespace fruplat

#endif
