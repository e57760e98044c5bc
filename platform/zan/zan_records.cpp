#include "zan/zan_records.h"

#include <algorithm>
#include <cstring>

#include "store/status.h"
#include "zan/segment_identity.h"

namespace fruplat {

namespace {

size_t ring_payload_size(const RecordDef &def)
{
    return kControlBytes + static_cast<size_t>(def.ring_capacity) * def.size;
}

bool payload_fits(const RecordDef &def, const Packet &packet)
{
    const size_t expected = def.ring_capacity != 0 ? ring_payload_size(def) : def.size;
    return packet.payload.size() == expected &&
           (def.ring_capacity == 0 ||
            (packet.payload[kControlCapacity] == def.ring_capacity &&
             packet.payload[kControlNewest] < def.ring_capacity &&
             packet.payload[kControlCount] <= def.ring_capacity));
}

// The record segment a new record goes into, created when missing. A
// segment of the other kind under that name cannot take packets: writing
// them into it would store nothing.
int32_t home_segment(ZanImage &image, const RecordDef &def, Segment **home)
{
    if (Segment *segment = find_segment(image, def.segment)) {
        *home = segment;
        return segment->kind == kSegmentKindRecord ? kOk : kSegmentKindTaken;
    }
    Segment segment;
    segment.name[0] = def.segment[0];
    segment.name[1] = def.segment[1];
    segment.kind = kSegmentKindRecord;
    segment.changed = true;
    image.segments.push_back(segment);
    *home = &image.segments.back();
    return kOk;
}

}  // namespace

int32_t find_record(ZanImage &image, const RecordDef &def, Segment **segment, Packet **packet)
{
    for (Segment &s : image.segments) {
        if (s.kind != kSegmentKindRecord)
            continue;
        for (Packet &p : s.packets) {
            if (p.tag != def.tag)
                continue;
            if (!s.usable())
                return unusable_status(s);
            if (!payload_fits(def, p))
                return kSegmentDamaged;
            *segment = &s;
            *packet = &p;
            return kOk;
        }
    }
    // A damaged home segment may hide the record; do not call it absent.
    const Segment *home = find_segment(image, def.segment);
    return home != nullptr && !home->usable() ? unusable_status(*home) : kAbsent;
}

int32_t record_entries(ZanImage &image, const RecordDef &def, std::vector<Bytes> *entries)
{
    Segment *segment = nullptr;
    Packet *packet = nullptr;
    const int32_t status = find_record(image, def, &segment, &packet);
    if (status != kOk)
        return status;
    entries->clear();
    const Bytes &payload = packet->payload;
    if (def.ring_capacity == 0) {
        entries->push_back(payload);
        return kOk;
    }
    const size_t capacity = def.ring_capacity;
    const size_t count = payload[kControlCount];
    const size_t oldest = (payload[kControlNewest] + capacity + 1 - count) % capacity;
    for (size_t i = 0; i < count; ++i) {
        const size_t slot = (oldest + i) % capacity;
        const auto first = payload.begin() + static_cast<long>(kControlBytes + slot * def.size);
        entries->emplace_back(first, first + def.size);
    }
    return kOk;
}

int32_t record_slots(ZanImage &image, const RecordDef &def, size_t limit, Bytes *out)
{
    Segment *segment = nullptr;
    Packet *packet = nullptr;
    const int32_t status = find_record(image, def, &segment, &packet);
    if (status != kOk)
        return status;
    const size_t skip = def.ring_capacity != 0 ? kControlBytes : 0;
    const size_t size = std::min(limit, packet->payload.size() - skip);
    out->assign(packet->payload.begin() + static_cast<long>(skip),
                packet->payload.begin() + static_cast<long>(skip + size));
    return kOk;
}

int32_t record_control(ZanImage &image, const RecordDef &def, uint8_t control[kControlBytes])
{
    if (def.ring_capacity == 0)
        return kInvalidArgument;
    Segment *segment = nullptr;
    Packet *packet = nullptr;
    const int32_t status = find_record(image, def, &segment, &packet);
    if (status == kOk)
        std::memcpy(control, packet->payload.data(), kControlBytes);
    return status;
}

int32_t put_record(ZanImage &image, const RecordDef &def, const uint8_t *data)
{
    Segment *segment = nullptr;
    Packet *packet = nullptr;
    const int32_t status = find_record(image, def, &segment, &packet);
    if (status != kOk && status != kAbsent)
        return status;
    if (status == kAbsent) {
        Segment *home = nullptr;
        if (const int32_t taken = home_segment(image, def, &home); taken != kOk)
            return taken;
        Packet fresh;
        fresh.tag = def.tag;
        fresh.form = def.ring_capacity != 0 ? kPacketRing : kPacketPlain;
        fresh.payload.assign(def.ring_capacity != 0 ? ring_payload_size(def) : def.size, 0);
        if (def.ring_capacity != 0)
            fresh.payload[kControlCapacity] = def.ring_capacity;
        home->packets.push_back(std::move(fresh));
        segment = home;
        packet = &home->packets.back();
    }
    Bytes &payload = packet->payload;
    if (def.ring_capacity == 0) {
        std::memcpy(payload.data(), data, def.size);
    } else {
        uint8_t &newest = payload[kControlNewest];
        uint8_t &count = payload[kControlCount];
        if (count != 0)
            newest = static_cast<uint8_t>((newest + 1) % def.ring_capacity);
        if (count < def.ring_capacity)
            ++count;
        std::memcpy(payload.data() + kControlBytes + static_cast<size_t>(newest) * def.size, data,
                    def.size);
    }
    segment->changed = true;
    return kOk;
}

int32_t delete_record(ZanImage &image, const RecordDef &def)
{
    Segment *segment = nullptr;
    Packet *packet = nullptr;
    const int32_t status = find_record(image, def, &segment, &packet);
    if (status != kOk)
        return status;
    segment->packets.erase(segment->packets.begin() + (packet - segment->packets.data()));
    segment->changed = true;
    // A record segment with no packets reads as bad to the CRC scan, so an
    // emptied segment goes with its last record.
    if (segment->packets.empty())
        image.segments.erase(image.segments.begin() + (segment - image.segments.data()));
    return kOk;
}

}  // namespace fruplat
