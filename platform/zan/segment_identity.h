// What names a segment: its two name bytes, unique within a container, and
// the text under which the platform shows it to callers.
#ifndef FRUPLATFORM_ZAN_SEGMENT_IDENTITY_H
#define FRUPLATFORM_ZAN_SEGMENT_IDENTITY_H

#include <cstdint>
#include <string>

#include "zan/zan_image.h"

namespace fruplat {

// Marks every segment whose name another segment of the image shares. Such
// a container cannot say which of them a record or a removal means, so all
// of them are reported damaged rather than one picked by its place.
void mark_duplicate_names(ZanImage &image);

// Marks every record segment holding a tag that another record segment (or
// another packet of its own) holds: which of them is the record cannot be
// told, so a read, an update or a delete must not pick one by its place.
// Segments left unread are not looked at.
void mark_duplicate_tags(ZanImage &image);

// The name as callers see it: the name itself when its bytes are printable,
// otherwise every byte that is not written as \xHH (an empty name reads
// \x00\x00), so that a damaged name can still be listed, answered about and
// removed. The first characters keep their meaning (O, o, ES: opaque).
std::string segment_display_name(const Segment &segment);

// The status of a segment that is not usable: bad CRC or body first, then a
// shared name or tag.
[[nodiscard]] int32_t unusable_status(const Segment &segment);

}  // namespace fruplat

#endif
