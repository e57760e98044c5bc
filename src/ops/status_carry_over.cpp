#include <cstring>
#include <strings.h>

#include "ops/record_steps.h"
#include "records/buffer_set.h"

namespace quillet {

namespace {

constexpr int kStatusEventSize = 140;
constexpr int kStatusEventSlots = 10;
constexpr int kNewStatusOffset = 5;
constexpr int kOldStatusOffset = 4;

}  // namespace

// Chains a new Status_EventsR entry on from the newest stored one. Only the
// exact record name asks for it; the FAULT alias does not.
void carry_over_status(fru_nodehdl_t node, const char *class_name)
{
    if (strcasecmp(class_name, "Status_EventsR") != 0)
        return;
    uint8_t control[4] = {};
    uint8_t entries[kStatusEventSize * kStatusEventSlots] = {};
    int32_t length = sizeof control;
    if (fru_read_iter_control_bytes(node, control, &length, "Status_EventsR") != 0)
        return;
    length = sizeof entries;
    if (fru_read_record(node, entries, &length, "Status_EventsR") != 0)
        return;
    const int newest = control[1];
    // An index beyond the ten slots the record can hold names no entry; the
    // carry-over is skipped rather than read past the scratch.
    if (newest >= kStatusEventSlots)
        return;
    uint8_t *event = record_buffer(RecordId::Status_EventsR);
    if (event != nullptr)
        event[kOldStatusOffset] = entries[newest * kStatusEventSize + kNewStatusOffset];
}

}  // namespace quillet
