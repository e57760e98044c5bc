#include "zan/zan_image.h"

#include <cstring>

#include "store/status.h"
#include "zan/segment_identity.h"

namespace fruplat {

namespace {

void parse_packets(Segment &segment)
{
    const Bytes &body = segment.body;
    size_t at = 0;
    while (at < body.size()) {
        if (body.size() - at < kPacketHeaderSize) {
            segment.well_formed = false;
            return;
        }
        Packet packet;
        packet.tag = get_be16(&body[at]);
        packet.form = body[at + 2];
        const uint32_t length = get_be32(&body[at + 4]);
        at += kPacketHeaderSize;
        if (length > body.size() - at) {
            segment.well_formed = false;
            return;
        }
        packet.payload.assign(body.begin() + static_cast<long>(at),
                              body.begin() + static_cast<long>(at + length));
        at += length;
        segment.packets.push_back(std::move(packet));
    }
}

void parse_sections(Segment &segment)
{
    const Bytes &body = segment.body;
    size_t at = 0;
    for (int section = 0; section < 2; ++section) {
        if (body.size() - at < 4) {
            segment.well_formed = false;
            return;
        }
        const uint32_t length = get_be32(&body[at]);
        at += 4;
        if (length > body.size() - at || length > kOpaqueSectionMax) {
            segment.well_formed = false;
            return;
        }
        segment.sections[section].assign(body.begin() + static_cast<long>(at),
                                         body.begin() + static_cast<long>(at + length));
        at += length;
    }
}

Bytes build_body(const Segment &segment)
{
    Bytes body;
    if (segment.kind == kSegmentKindOpaque) {
        for (const Bytes &section : segment.sections) {
            append_be(body, section.size(), 4);
            body.insert(body.end(), section.begin(), section.end());
        }
        return body;
    }
    for (const Packet &packet : segment.packets) {
        append_be(body, packet.tag, 2);
        body.push_back(packet.form);
        body.push_back(0);
        append_be(body, packet.payload.size(), 4);
        body.insert(body.end(), packet.payload.begin(), packet.payload.end());
    }
    return body;
}

void put_header(Bytes &out, uint32_t capacity, size_t segments)
{
    std::memcpy(out.data(), kZanMagic, 4);
    out[4] = kZanFormatVersion;
    out[5] = 0;
    put_be(&out[6], segments, 2);
    put_be(&out[8], capacity, 4);
    put_be(&out[12], out.size(), 4);
    put_be(&out[16], 0, 4);
    put_be(&out[20], crc32(out.data(), 20), 4);
}

}  // namespace

std::string Segment::name_text() const
{
    return std::string(name, name[1] != '\0' ? 2 : (name[0] != '\0' ? 1 : 0));
}

size_t Segment::packet_count() const
{
    if (kind == kSegmentKindOpaque)
        return static_cast<size_t>(!sections[0].empty()) + !sections[1].empty();
    return packets.size();
}

int32_t parse_zan_image(const Bytes &image, ZanImage *out)
{
    out->segments.clear();
    if (image.size() < kZanHeaderSize || std::memcmp(image.data(), kZanMagic, 4) != 0 ||
        image[4] != kZanFormatVersion || get_be32(&image[20]) != crc32(image.data(), 20))
        return kImageDamaged;
    const size_t count = get_be16(&image[6]);
    out->capacity = get_be32(&image[8]);
    const size_t used = get_be32(&image[12]);
    if (used < kZanHeaderSize || used > image.size())
        return kImageDamaged;
    size_t at = kZanHeaderSize;
    for (size_t i = 0; i < count; ++i) {
        if (used - at < kSegmentHeaderSize)
            break;  // the header promised more than the image holds
        Segment segment;
        segment.name[0] = static_cast<char>(image[at]);
        segment.name[1] = static_cast<char>(image[at + 1]);
        segment.kind = image[at + 2];
        const uint32_t length = get_be32(&image[at + 4]);
        segment.stored_crc = get_be32(&image[at + 8]);
        at += kSegmentHeaderSize;
        const bool truncated = length > used - at;
        const size_t kept = truncated ? used - at : length;
        segment.body.assign(image.begin() + static_cast<long>(at),
                            image.begin() + static_cast<long>(at + kept));
        at += kept;
        segment.crc_ok = !truncated && crc32(segment.body.data(), segment.body.size()) ==
                                           segment.stored_crc;
        if (segment.kind == kSegmentKindOpaque)
            parse_sections(segment);
        else if (segment.kind == kSegmentKindRecord)
            parse_packets(segment);
        else
            segment.well_formed = false;
        out->segments.push_back(std::move(segment));
        if (truncated)
            break;
    }
    mark_duplicate_names(*out);
    return kOk;
}

Bytes serialize_zan_image(const ZanImage &image)
{
    Bytes out(kZanHeaderSize, 0);
    for (const Segment &segment : image.segments) {
        const Bytes body = segment.changed ? build_body(segment) : segment.body;
        const uint32_t crc = segment.changed ? crc32(body.data(), body.size()) : segment.stored_crc;
        out.push_back(static_cast<uint8_t>(segment.name[0]));
        out.push_back(static_cast<uint8_t>(segment.name[1]));
        out.push_back(segment.kind);
        out.push_back(0);
        append_be(out, body.size(), 4);
        append_be(out, crc, 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    put_header(out, image.capacity, image.segments.size());
    return out;
}

Bytes empty_zan_image(uint32_t capacity)
{
    ZanImage image;
    image.capacity = capacity;
    return serialize_zan_image(image);
}

bool segment_name_equals(const Segment &segment, const char *name)
{
    const size_t length = std::strlen(name);
    if (length == 0 || length > 2)
        return false;
    return segment.name[0] == name[0] && segment.name[1] == (length == 2 ? name[1] : '\0');
}

Segment *find_segment(ZanImage &image, const char *name)
{
    for (Segment &segment : image.segments)
        if (segment_name_equals(segment, name))
            return &segment;
    return nullptr;
}

}  // namespace fruplat
