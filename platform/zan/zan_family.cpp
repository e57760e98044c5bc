// What the ZAN family does beyond the record calls: its blank image, where
// an image ends, flashing onto a device, and its segments. Shared code asks
// through the family's hooks and never branches on the family.
#include <algorithm>

#include "access/family.h"
#include "store/status.h"
#include "zan/zan_access.h"
#include "zan/zan_records.h"

namespace fruplat {

int32_t zan_stored_entries(const ContainerEntry &entry, const RecordDef &def,
                           std::vector<Bytes> *entries)
{
    return with_zan_image(entry, Access::Read, [&](ZanImage &image) -> int32_t {
        return record_entries(image, def, entries);
    });
}

const char *zan_image_warning(const Bytes &image)
{
    ZanImage parsed;
    switch (parse_zan_image(image, &parsed)) {
    case kOk:
        return nullptr;
    case kNewerFormat:
        static_assert(kNewerFormat == 105, "the warning names the status");
        return "holds a ZAN image of a newer format, which this build reads as status 105 and leaves as it is";
    default:
        return "holds no valid ZAN image";
    }
}

size_t zan_used_length(const Bytes &image)
{
    ZanImage parsed;
    return parse_zan_image(image, &parsed) == kOk ? parsed.used : 0;
}

// A ZAN image flashed onto a device goes in as one transaction in the
// device's own layout: segments it already holds stay where they are, the
// others go to free space, and the table slot commits last. Any other
// image is written as it is, only the pages that differ.
int32_t zan_flash(const ContainerEntry &entry, const Bytes &flashed, Bytes &image,
                  WriteOrder *order)
{
    ZanImage incoming;
    const bool relay = written_in_place(entry) && parse_zan_image(flashed, &incoming) == kOk &&
                       incoming.version != 0;
    ZanImage current;
    if (relay && parse_zan_image(image, &current, std::max<uint32_t>(entry.page_size, 1)) == kOk) {
        // Relaying into a format 1 layout would convert it on the way.
        if (current.version == kZanFormatVersion1)
            return kFormat1OnDevice;
        adopt_segments(current, std::move(incoming.segments));
        current.capacity = entry.capacity;
        return commit_zan_image(current, entry.page_size, true, image, order);
    }
    image = flashed;
    zan_flash_order(image, order);
    return kOk;
}

int32_t zan_segments(const ContainerEntry &entry, std::vector<SegmentSummary> *segments)
{
    return with_zan_image(entry, Access::Read, [&](ZanImage &image) -> int32_t {
        for (const Segment &s : image.segments)
            segments->push_back({s.name_text(), s.packet_count(), s.body.size(), s.usable()});
        return kOk;
    });
}

}  // namespace fruplat
