// What the DIMM family knows of each SPD generation, found by the memory
// type in byte 2: how large its SPD is, which bytes JEDEC leaves to the end
// user (the only bytes this platform ever writes on a module), which SPD
// record the module reads as, and the decoder that shows it.
#ifndef FRUPLATFORM_DIMM_SPD_GENERATION_H
#define FRUPLATFORM_DIMM_SPD_GENERATION_H

#include <cstddef>
#include <cstdint>

#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat {

struct SpdGeneration {
    uint8_t memory_type;      // SPD byte 2
    const char *name;
    size_t spd_size;          // bytes of the module's SPD EEPROM
    size_t customer_begin;    // end-user area [begin, end); begin == end: none
    size_t customer_end;
    const char *record;       // the SPD record it reads as, and its length
    size_t record_length;
    size_t decode_size;       // bytes the decoder reads: past the base section
                              // where the maker's data sits there
    void (*decode)(const Bytes &spd, std::vector<PresentedField> &fields);
};

// The generation byte 2 names; null for a memory type this build does not
// know (or an image too short to have byte 2).
const SpdGeneration *spd_generation(const Bytes &spd);

// The generations in table order, for tests and documentation; null past
// the last one.
const SpdGeneration *spd_generation_at(size_t index);

inline bool has_customer_area(const SpdGeneration &g)
{
    return g.customer_end > g.customer_begin;
}

// The end-user area of the image's generation: 0, or 111 for an unknown
// memory type, 110 for a generation without one.
[[nodiscard]] int32_t customer_area_bounds(const Bytes &spd, size_t *begin, size_t *end);

}  // namespace fruplat

#endif
