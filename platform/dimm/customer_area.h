// The DIMM's own records, kept in its SPD's end-user area: one layout for
// every generation, placed at the start of that generation's area.
//
//   +0        layout version, 1
//   +1        records present, one bit each
//   +2 ...    the records (CustomerRecord::offset is from the area's start)
//   +78, +79  CRC-16 of bytes +0 to +77, big-endian
//   +80 ...   0, where the area is longer
//
// Nothing here writes a byte outside the area, and nothing writes into an
// area that holds bytes this layout did not put there.
#ifndef FRUPLATFORM_DIMM_CUSTOMER_AREA_H
#define FRUPLATFORM_DIMM_CUSTOMER_AREA_H

#include <cstddef>
#include <cstdint>

#include "store/bytes.h"

namespace fruplat {

inline constexpr uint8_t kCustomerLayoutVersion = 1;
inline constexpr size_t kCustomerVersionAt = 0;
inline constexpr size_t kCustomerPresenceAt = 1;
inline constexpr size_t kCustomerCrcAt = 78;
inline constexpr size_t kCustomerLayoutSize = 80;

struct CustomerRecord {
    const char *name;
    uint8_t presence_bit;
    size_t offset;  // from the area's start
    size_t size;
};

// The record of that name (any letter case), or null for the SPD records.
const CustomerRecord *customer_record(const char *name);

// Each returns 110 or 111 where the memory type leaves no area, 112 when
// the area holds someone else's bytes, 75 when it holds this layout with a
// broken CRC, 14 when it holds no such record; and changes nothing then.
[[nodiscard]] int32_t read_customer(const Bytes &image, const CustomerRecord &record, Bytes *out);
[[nodiscard]] int32_t write_customer(Bytes &image, const CustomerRecord &record, const uint8_t *data);
[[nodiscard]] int32_t delete_customer(Bytes &image, const CustomerRecord &record);

// Hands back the area's bytes as they are (erased past the image's end),
// whatever they hold, and erases the area, so that the next update starts
// it afresh.
[[nodiscard]] int32_t claim_customer(Bytes &image, Bytes *previous);

}  // namespace fruplat

#endif
