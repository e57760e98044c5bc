// Records inside a ZAN image: plain records are one packet, iterative
// records a packet holding 4 control bytes and a ring of entries.
#ifndef FRUPLATFORM_ZAN_ZAN_RECORDS_H
#define FRUPLATFORM_ZAN_ZAN_RECORDS_H

#include <cstdint>
#include <vector>

#include "registry/registry.h"
#include "zan/zan_image.h"

namespace fruplat {

inline constexpr size_t kControlBytes = 4;
// Control byte 0: ring capacity; 1: index of the newest entry; 2: entries
// stored; 3: zero.
enum ControlByte { kControlCapacity = 0, kControlNewest = 1, kControlCount = 2 };

// The packet holding the record, or a status: kAbsent, or kSegmentDamaged
// when the record's segment fails its checks.
[[nodiscard]] int32_t find_record(ZanImage &image, const RecordDef &def, Segment **segment, Packet **packet);

// Stored entries, oldest first (one entry for a plain record).
[[nodiscard]] int32_t record_entries(ZanImage &image, const RecordDef &def, std::vector<Bytes> *entries);

// The ring slots in storage order (entry n at n times the entry size), or
// the plain record; at most `limit` bytes.
[[nodiscard]] int32_t record_slots(ZanImage &image, const RecordDef &def, size_t limit, Bytes *out);

[[nodiscard]] int32_t record_control(ZanImage &image, const RecordDef &def, uint8_t control[kControlBytes]);

// Stores `data` (def.size bytes): replaces a plain record, adds a ring entry.
[[nodiscard]] int32_t put_record(ZanImage &image, const RecordDef &def, const uint8_t *data);

[[nodiscard]] int32_t delete_record(ZanImage &image, const RecordDef &def);

}  // namespace fruplat

#endif
