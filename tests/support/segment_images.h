// ZAN images built segment by segment, with the names and damage a test
// needs (repeated, empty or unprintable names, bad CRCs, either kind), and
// their layout read back in one line.
#ifndef QUILLET_TESTS_SEGMENT_IMAGES_H
#define QUILLET_TESTS_SEGMENT_IMAGES_H

#include <cstdio>
#include <string>
#include <vector>

#include "store/status.h"
#include "zan/segment_identity.h"
#include "zan/zan_image.h"

namespace quillet_test {

struct SegmentPlan {
    std::string name;  // the stored name bytes: two, or one (then a 0 byte)
    bool bad = false;  // the stored CRC does not hold
    uint8_t seed = 1;  // first content byte: a Customer_DataR packet, or a DYNAMIC section
    uint8_t kind = fruplat::kSegmentKindRecord;
    size_t bytes = 84;  // content bytes
    // The record a record segment holds: 0 is Customer_DataR in a segment
    // named CU, elsewhere a tag of the segment's own (its name bytes), since
    // a tag held by two segments makes both bad.
    uint16_t tag = 0;
};

inline uint16_t plan_tag(const SegmentPlan &plan)
{
    if (plan.tag != 0 || plan.name == "CU")
        return plan.tag != 0 ? plan.tag : 0x0201;
    const std::string name = plan.name + std::string(2, '\0');
    return static_cast<uint16_t>(static_cast<uint8_t>(name[0]) << 8 | static_cast<uint8_t>(name[1]));
}

inline fruplat::Bytes segment_image(const std::vector<SegmentPlan> &plans, uint32_t capacity)
{
    fruplat::ZanImage image, stored;
    image.capacity = capacity;
    for (const SegmentPlan &plan : plans) {
        fruplat::Segment segment;
        plan.name.copy(segment.name, 2);
        segment.kind = plan.kind;
        segment.changed = true;
        fruplat::Bytes content(plan.bytes);
        for (size_t i = 0; i < content.size(); ++i)
            content[i] = static_cast<uint8_t>(plan.seed + i);
        if (plan.kind == fruplat::kSegmentKindOpaque)
            segment.sections[0] = content;
        else
            segment.packets.push_back({plan_tag(plan), fruplat::kPacketPlain, content});
        image.segments.push_back(segment);
    }
    // Written once to get every body and CRC, then damaged where asked.
    if (fruplat::parse_zan_image(fruplat::serialize_zan_image(image), &stored) != 0)
        return {};
    stored.capacity = capacity;
    for (size_t i = 0; i < plans.size(); ++i)
        stored.segments[i].stored_crc ^= plans[i].bad ? 1 : 0;
    return fruplat::serialize_zan_image(stored);
}

// "NAME=SEED" per segment in storage order, " bad" after an unusable one;
// the seed is the first content byte in hex.
inline std::string segment_layout(const fruplat::Bytes &bytes)
{
    fruplat::ZanImage image;
    if (fruplat::parse_zan_image(bytes, &image) != fruplat::kOk)
        return "damaged image";
    std::string out;
    for (const fruplat::Segment &s : image.segments) {
        const size_t first = s.kind == fruplat::kSegmentKindOpaque ? 4 : 8;
        char seed[8] = "?";
        if (s.body.size() > first)
            std::snprintf(seed, sizeof seed, "%02x", s.body[first]);
        if (!out.empty())
            out += ',';
        out += fruplat::segment_display_name(s);
        out += '=';
        out += seed;
        out += s.usable() ? "" : " bad";
    }
    return out;
}

}  // namespace quillet_test

#endif
