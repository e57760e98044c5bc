#include "dimm/customer_area.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "dimm/spd.h"
#include "dimm/spd_generation.h"
#include "store/status.h"

namespace fruplat {

namespace {

constexpr CustomerRecord kCustomerRecords[] = {
    {"Power_On_DataR", 0x01, 2, 8},
    {"Fault_Install_DataR", 0x02, 10, 45},
};

enum class AreaState { Blank, Ours, Damaged, Foreign };

struct Area {
    size_t begin = 0;
    size_t end = 0;
};

// An image may end before its area does (a file cut short); the bytes it
// lacks are erased ones.
uint8_t byte_at(const Bytes &image, size_t at)
{
    return at < image.size() ? image[at] : kErased;
}

bool all_equal(const Bytes &image, const Area &area, size_t from, size_t to, uint8_t value)
{
    for (size_t at = area.begin + from; at < area.begin + to; ++at)
        if (byte_at(image, at) != value)
            return false;
    return true;
}

uint16_t layout_crc(const Bytes &image, const Area &area)
{
    uint8_t covered[kCustomerCrcAt];
    for (size_t i = 0; i < kCustomerCrcAt; ++i)
        covered[i] = byte_at(image, area.begin + i);
    return spd_crc16(covered, kCustomerCrcAt);
}

// Whether every byte the layout gives no meaning to is 0, as this platform
// leaves them: what tells this layout, intact or damaged, from another
// writer's data that happens to start with 1, and keeps a delete of the last
// record from erasing bytes someone else put past the layout.
bool unused_bytes_clear(const Bytes &image, const Area &area)
{
    uint8_t known_bits = 0;
    size_t records_end = kCustomerPresenceAt + 1;
    for (const CustomerRecord &r : kCustomerRecords) {
        known_bits |= r.presence_bit;
        records_end = std::max(records_end, r.offset + r.size);
    }
    return (byte_at(image, area.begin + kCustomerPresenceAt) & ~known_bits) == 0 &&
           all_equal(image, area, records_end, kCustomerCrcAt, 0) &&
           all_equal(image, area, kCustomerLayoutSize, area.end - area.begin, 0);
}

AreaState area_state(const Bytes &image, const Area &area)
{
    const size_t size = area.end - area.begin;
    if (all_equal(image, area, 0, size, 0) || all_equal(image, area, 0, size, kErased))
        return AreaState::Blank;
    if (byte_at(image, area.begin + kCustomerVersionAt) != kCustomerLayoutVersion ||
        !unused_bytes_clear(image, area))
        return AreaState::Foreign;
    const uint16_t stored = static_cast<uint16_t>(byte_at(image, area.begin + kCustomerCrcAt) << 8 |
                                                  byte_at(image, area.begin + kCustomerCrcAt + 1));
    return stored == layout_crc(image, area) ? AreaState::Ours : AreaState::Damaged;
}

constexpr int32_t kStateStatus[] = {
    /* Blank */ kAbsent, /* Ours */ kOk, /* Damaged */ kAreaChecksum, /* Foreign */ kForeignCustomerData,
};

// The area and its state's status: 0 only when it holds this layout.
int32_t find_area(const Bytes &image, Area *area, AreaState *state)
{
    const int32_t status = customer_area_bounds(image, &area->begin, &area->end);
    if (status != kOk)
        return status;
    *state = area_state(image, *area);
    return kStateStatus[static_cast<int>(*state)];
}

void fill(Bytes &image, const Area &area, uint8_t value)
{
    std::fill(image.begin() + static_cast<long>(area.begin), image.begin() + static_cast<long>(area.end),
              value);
}

void seal(Bytes &image, const Area &area)
{
    image[area.begin + kCustomerVersionAt] = kCustomerLayoutVersion;
    store_be(&image[area.begin + kCustomerCrcAt], layout_crc(image, area), 2);
}

}  // namespace

const CustomerRecord *customer_record(const char *name)
{
    for (const CustomerRecord &r : kCustomerRecords)
        if (strcasecmp(r.name, name) == 0)
            return &r;
    return nullptr;
}

int32_t read_customer(const Bytes &image, const CustomerRecord &record, Bytes *out)
{
    Area area;
    AreaState state;
    const int32_t status = find_area(image, &area, &state);
    if (status != kOk)
        return status;
    if ((byte_at(image, area.begin + kCustomerPresenceAt) & record.presence_bit) == 0)
        return kAbsent;
    out->clear();
    for (size_t i = 0; i < record.size; ++i)
        out->push_back(byte_at(image, area.begin + record.offset + i));
    return kOk;
}

int32_t write_customer(Bytes &image, const CustomerRecord &record, const uint8_t *data)
{
    Area area;
    AreaState state = AreaState::Foreign;
    const int32_t status = find_area(image, &area, &state);
    if (status != kOk && state != AreaState::Blank)
        return status;
    if (image.size() < area.end)
        image.resize(area.end, kErased);
    if (state == AreaState::Blank)
        fill(image, area, 0);
    std::memcpy(&image[area.begin + record.offset], data, record.size);
    image[area.begin + kCustomerPresenceAt] |= record.presence_bit;
    seal(image, area);
    return kOk;
}

int32_t delete_customer(Bytes &image, const CustomerRecord &record)
{
    Bytes existing;
    const int32_t status = read_customer(image, record, &existing);
    if (status != kOk)
        return status;
    Area area;
    if (const int32_t bounds = customer_area_bounds(image, &area.begin, &area.end); bounds != kOk)
        return bounds;
    if (image.size() < area.end)
        image.resize(area.end, kErased);
    std::fill_n(image.begin() + static_cast<long>(area.begin + record.offset), record.size, 0);
    image[area.begin + kCustomerPresenceAt] &= static_cast<uint8_t>(~record.presence_bit);
    // With its last record gone the area goes back to erased.
    if (image[area.begin + kCustomerPresenceAt] == 0)
        fill(image, area, kErased);
    else
        seal(image, area);
    return kOk;
}

int32_t claim_customer(Bytes &image, Bytes *previous)
{
    Area area;
    const int32_t status = customer_area_bounds(image, &area.begin, &area.end);
    if (status != kOk)
        return status;
    previous->clear();
    for (size_t at = area.begin; at < area.end; ++at)
        previous->push_back(byte_at(image, at));
    if (image.size() < area.end)
        image.resize(area.end, kErased);
    fill(image, area, kErased);
    return kOk;
}

}  // namespace fruplat
