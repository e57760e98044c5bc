#ifndef QUILLET_RECORDS_RECORD_ID_H
#define QUILLET_RECORDS_RECORD_ID_H

namespace quillet {

// One handle per buffer of the record buffer set, in the order of records.def.
enum class RecordId : int {
#define RECORD(id, name, bytes, stamped) id,
#include "records/records.def"
#undef RECORD
    Count,
    None = Count,
};

inline constexpr int kRecordCount = static_cast<int>(RecordId::Count);

// Stored length of each record, for sizes known at compile time.
inline constexpr unsigned kRecordBytes[kRecordCount] = {
#define RECORD(id, name, bytes, stamped) bytes,
#include "records/records.def"
#undef RECORD
};

constexpr unsigned record_bytes(RecordId id)
{
    return kRecordBytes[static_cast<int>(id)];
}

}  // namespace quillet

#endif
