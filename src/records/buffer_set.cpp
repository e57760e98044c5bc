#include "records/buffer_set.h"

#include <cstdlib>
#include <cstring>

namespace quillet {

const RecordBufferInfo kRecordBuffers[kRecordCount] = {
#define RECORD(id, name, bytes, stamped) {RecordId::id, name, bytes, stamped},
#include "records/records.def"
#undef RECORD
};

namespace {

uint8_t *g_buffers[kRecordCount];
RecordAllocator g_allocator = std::calloc;

bool valid(RecordId id)
{
    return static_cast<int>(id) >= 0 && static_cast<int>(id) < kRecordCount;
}

}  // namespace

void set_record_allocator(RecordAllocator allocator)
{
    g_allocator = allocator != nullptr ? allocator : std::calloc;
}

void allocate_record_buffer_set()
{
    for (const RecordBufferInfo &info : kRecordBuffers) {
        uint8_t *&slot = g_buffers[static_cast<int>(info.id)];
        if (slot != nullptr)
            continue;
        slot = static_cast<uint8_t *>(g_allocator(1, info.size));
        if (slot == nullptr) {
            release_record_buffer_set();
            std::exit(-1);
        }
        std::memset(slot, 0, info.size);
    }
}

void release_record_buffer_set()
{
    for (uint8_t *&slot : g_buffers) {
        std::free(slot);
        slot = nullptr;
    }
}

bool record_buffer_set_allocated()
{
    return g_buffers[0] != nullptr;
}

uint8_t *record_buffer(RecordId id)
{
    return valid(id) ? g_buffers[static_cast<int>(id)] : nullptr;
}

size_t record_buffer_size(RecordId id)
{
    return valid(id) ? kRecordBuffers[static_cast<int>(id)].size : 0;
}

}  // namespace quillet
