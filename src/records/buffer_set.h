// The record buffer set: one zero-filled buffer per writable record, each as
// long as the record is stored, so that the element parser can write every
// element into every record that holds it.
#ifndef QUILLET_RECORDS_BUFFER_SET_H
#define QUILLET_RECORDS_BUFFER_SET_H

#include <cstddef>
#include <cstdint>

#include "records/record_id.h"

namespace quillet {

struct RecordBufferInfo {
    RecordId id;
    const char *name;
    size_t size;
    bool timestamped;
};

// Indexed by RecordId: both come from records.def.
extern const RecordBufferInfo kRecordBuffers[kRecordCount];

// Allocates and zero-fills every buffer; on an allocation failure releases
// what exists and ends the process with status 255, silently.
void allocate_record_buffer_set();

// Frees what is allocated; harmless when nothing is.
void release_record_buffer_set();

bool record_buffer_set_allocated();

// Null while the set is not allocated (and for RecordId::None).
uint8_t *record_buffer(RecordId id);
size_t record_buffer_size(RecordId id);

// The allocator the set uses; tests replace it to provoke a failure.
using RecordAllocator = void *(*)(size_t count, size_t size);
void set_record_allocator(RecordAllocator allocator);

}  // namespace quillet

#endif
