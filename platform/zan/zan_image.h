// The ZAN container image: a header and a run of named segments, each
// guarded by a CRC-32. docs/container-format.md gives it byte by byte.
#ifndef FRUPLATFORM_ZAN_ZAN_IMAGE_H
#define FRUPLATFORM_ZAN_ZAN_IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "store/bytes.h"

namespace fruplat {

inline constexpr char kZanMagic[4] = {'Q', 'Z', 'A', 'N'};
inline constexpr uint8_t kZanFormatVersion = 1;
inline constexpr size_t kZanHeaderSize = 24;
inline constexpr size_t kSegmentHeaderSize = 12;
inline constexpr size_t kPacketHeaderSize = 8;
inline constexpr uint8_t kSegmentKindRecord = 'R';
inline constexpr uint8_t kSegmentKindOpaque = 'O';
inline constexpr uint8_t kPacketPlain = 0;
inline constexpr uint8_t kPacketRing = 1;
inline constexpr uint32_t kOpaqueSectionMax = 8192;

struct Packet {
    uint16_t tag = 0;
    uint8_t form = kPacketPlain;
    Bytes payload;
};

struct Segment {
    char name[2] = {0, 0};
    uint8_t kind = kSegmentKindRecord;
    // As stored: a segment nobody changed is written back byte for byte,
    // stored CRC included, so a bad segment an operator kept stays bad.
    Bytes body;
    uint32_t stored_crc = 0;
    bool crc_ok = true;
    bool well_formed = true;  // packets or sections parse within the body
    bool duplicate_name = false;  // another segment of the image has this name
    bool changed = false;     // body must be rebuilt and its CRC recomputed
    std::vector<Packet> packets;  // record segments
    Bytes sections[2];            // opaque segments: [0] DYNAMIC, [1] STATIC

    std::string name_text() const;
    // Packets of a record segment; non-empty sections of an opaque one.
    size_t packet_count() const;
    bool usable() const { return crc_ok && well_formed && !duplicate_name; }
};

struct ZanImage {
    uint32_t capacity = 0;
    std::vector<Segment> segments;
};

// Parses an image; kImageDamaged when the header cannot be trusted. Damaged
// segments are kept and marked, never read past the image.
int32_t parse_zan_image(const Bytes &image, ZanImage *out);

// The image bytes up to the last used byte.
Bytes serialize_zan_image(const ZanImage &image);

// An empty container's image.
Bytes empty_zan_image(uint32_t capacity);

bool segment_name_equals(const Segment &segment, const char *name);
Segment *find_segment(ZanImage &image, const char *name);

}  // namespace fruplat

#endif
