#include "zan/segment_identity.h"

#include <cstdio>
#include <unordered_map>

#include "store/status.h"

namespace fruplat {

namespace {

uint16_t name_key(const Segment &segment)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(segment.name[0]) << 8 |
                                 static_cast<uint8_t>(segment.name[1]));
}

bool printable(char c)
{
    return c > ' ' && c < 0x7F;
}

}  // namespace

void mark_duplicate_names(ZanImage &image)
{
    // One hash look-up per segment: a container of many segments is still
    // checked in one pass.
    std::unordered_map<uint16_t, size_t> first_of;
    first_of.reserve(image.segments.size());
    for (size_t i = 0; i < image.segments.size(); ++i) {
        Segment &segment = image.segments[i];
        const auto [it, fresh] = first_of.emplace(name_key(segment), i);
        if (!fresh) {
            segment.duplicate_name = true;
            image.segments[it->second].duplicate_name = true;
        }
    }
}

void mark_duplicate_tags(ZanImage &image)
{
    std::unordered_map<uint16_t, size_t> holder;
    for (size_t i = 0; i < image.segments.size(); ++i) {
        Segment &segment = image.segments[i];
        if (segment.kind != kSegmentKindRecord || !segment.loaded)
            continue;
        for (const Packet &packet : segment.packets) {
            const auto [it, fresh] = holder.emplace(packet.tag, i);
            if (!fresh) {
                segment.duplicate_tag = true;
                image.segments[it->second].duplicate_tag = true;
            }
        }
    }
}

std::string segment_display_name(const Segment &segment)
{
    // A one-character name is stored with a 0 second byte.
    const size_t length = segment.name[0] != '\0' && segment.name[1] == '\0' ? 1 : 2;
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        const char c = segment.name[i];
        if (printable(c)) {
            text += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
            text += escaped;
        }
    }
    return text;
}

int32_t unusable_status(const Segment &segment)
{
    return segment.crc_ok && segment.well_formed && (segment.duplicate_name || segment.duplicate_tag)
               ? kDuplicateSegmentName
               : kSegmentDamaged;
}

}  // namespace fruplat
