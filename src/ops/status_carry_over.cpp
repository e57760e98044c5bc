#include <cstddef>
#include <cstring>
#include <strings.h>

#include "ops/record_steps.h"
#include "records/buffer_set.h"
#include "records/element_table.h"

namespace quillet {

namespace {

constexpr size_t kStatusEventSlots = 10;

// Where an element lands in the status event, as the element table says.
size_t status_event_offset(const char *element)
{
    return find_element(element, std::strlen(element))->targets[0].offset;
}

}  // namespace

// Only the exact record name asks for the carry-over; the FAULT alias does
// not.
void carry_over_status(fru_nodehdl_t node, const char *class_name)
{
    if (strcasecmp(class_name, "Status_EventsR") != 0)
        return;
    constexpr size_t event_size = record_bytes(RecordId::Status_EventsR);
    uint8_t control[4] = {};
    uint8_t entries[event_size * kStatusEventSlots] = {};
    int32_t length = sizeof control;
    if (fru_read_iter_control_bytes(node, control, &length, "Status_EventsR") != 0)
        return;
    length = sizeof entries;
    if (fru_read_record(node, entries, &length, "Status_EventsR") != 0)
        return;
    const size_t newest = control[1];
    // An index beyond the ten slots the record can hold names no entry; the
    // carry-over is skipped rather than read past the scratch.
    if (newest >= kStatusEventSlots)
        return;
    uint8_t *event = record_buffer(RecordId::Status_EventsR);
    if (event != nullptr)
        event[status_event_offset("old_status")] =
            entries[newest * event_size + status_event_offset("new_status")];
}

}  // namespace quillet
