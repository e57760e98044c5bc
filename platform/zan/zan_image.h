// The ZAN container image: a header and a run of named segments, each
// guarded by a CRC-32. docs/container-format.md gives it byte by byte.
#ifndef FRUPLATFORM_ZAN_ZAN_IMAGE_H
#define FRUPLATFORM_ZAN_ZAN_IMAGE_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/bytes.h"
#include "store/image_file.h"

namespace fruplat {

inline constexpr char kZanMagic[4] = {'Q', 'Z', 'A', 'N'};
// Version 2 writes; version 1 (segments back to back after a 24-byte
// header) is still read, and on a regular file converted at its first
// write. A higher version is a newer build's: recognised, never touched.
inline constexpr uint8_t kZanFormatVersion = 2;
inline constexpr uint8_t kZanFormatVersion1 = 1;
inline constexpr size_t kZanHeaderSize = 32;
inline constexpr size_t kZanV1HeaderSize = 24;
inline constexpr size_t kSegmentHeaderSize = 12;  // version 1
inline constexpr size_t kTableEntrySize = 16;
inline constexpr size_t kSlotHeaderSize = 8;
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
    bool duplicate_tag = false;   // another record segment holds one of its tags
    bool changed = false;     // body must be rebuilt and its CRC recomputed
    // A read that needs only some segments leaves the others unread: no
    // body, no CRC checked, nothing parsed.
    bool loaded = true;
    // Where the active table says the body is (version 2); a segment that
    // is not changed stays there.
    bool placed = false;
    uint32_t offset = 0;
    uint32_t stored_length = 0;
    std::vector<Packet> packets;  // record segments
    Bytes sections[2];            // opaque segments: [0] DYNAMIC, [1] STATIC

    std::string name_text() const;
    // Packets of a record segment; non-empty sections of an opaque one.
    size_t packet_count() const;
    bool usable() const { return crc_ok && well_formed && !duplicate_name && !duplicate_tag; }
    // A kind a newer build writes: kept whole, never parsed nor judged.
    bool kind_known() const { return kind == kSegmentKindRecord || kind == kSegmentKindOpaque; }
};

// Where a version 2 image keeps its two table slots and its data.
struct ZanLayout {
    uint16_t table_entries = 0;
    uint32_t slot[2] = {0, 0};
    uint32_t data_start = 0;
};

struct Extent {
    uint32_t begin;
    uint32_t end;
};

struct ZanImage {
    uint32_t capacity = 0;
    std::vector<Segment> segments;
    // 0 for blank media (all 0xFF or all 0x00): an empty container.
    uint8_t version = 0;
    ZanLayout layout;
    int active_slot = -1;  // none valid yet
    uint32_t sequence = 0;
    std::vector<Extent> in_use;  // bytes the active table names
    uint32_t used = 0;           // end of the last byte in use
};

// Parses an image; kImageDamaged when the header cannot be trusted,
// kNewerFormat when a newer build wrote it. Damaged segments are kept and
// marked, never read past the image. `cut_page` is the page of a device
// written in place (0 for an image replaced whole): there a header that
// does not hold, with nothing but erased bytes past its page, is the first
// format cut short on blank media, and reads as an empty container.
[[nodiscard]] int32_t parse_zan_image(const Bytes &image, ZanImage *out, uint32_t cut_page = 0);

// Where a parse finds a segment's body: the bytes from `offset` as far as
// the image holds them, and whether it holds all `length` of them.
using BodyFetch = std::function<int32_t(uint64_t offset, uint64_t length, Bytes *body, bool *whole)>;
// Which segments a read needs, asked with the name and kind of the table.
using SegmentWanted = std::function<bool(const Segment &)>;

// Parses a container for a read: the header and the active table, then
// only the bodies of the segments `wanted` takes (all when it is empty),
// each read on its own and checked against its CRC. Blank media and
// version 1 images are read whole.
[[nodiscard]] int32_t read_zan_image(ImageReader &reader, const SegmentWanted &wanted, ZanImage *out,
                                     uint32_t cut_page = 0);

// The image bytes up to the last used byte, laid out afresh.
Bytes serialize_zan_image(const ZanImage &image);

struct WriteOrder;

// Writes `image` over `raw`, the container's bytes as read (capacity long).
// In place (a device), a changed segment goes to bytes the active table
// does not name, then the other table slot names the new set with the next
// sequence number; `order` says the slot is written last. When free space
// runs out the segments are packed from the start of the data area, which
// a cut may leave as segments that fail their CRC, never as wrong content.
// Not in place, the image is laid out afresh.
[[nodiscard]] int32_t commit_zan_image(const ZanImage &image, uint32_t page, bool in_place, Bytes &raw,
                         WriteOrder *order);

// The largest program page (up to 4096) with which a device of `capacity`
// bytes holds the header, both table slots and at least one page of
// segments, each on pages of its own; 0 when none does.
uint32_t largest_fitting_page(uint32_t capacity);

// Makes `segments` (of another image) the content of `image`; a segment
// `image` already holds byte for byte keeps its place.
void adopt_segments(ZanImage &image, std::vector<Segment> segments);

// The order a flashed image is written in: its header and table slots after
// the segments.
void zan_flash_order(const Bytes &image, WriteOrder *order);

// Damages the CRC the active table stores for a segment (a testing aid).
[[nodiscard]] int32_t corrupt_segment_crc(Bytes &raw, const char *name);

// An empty container's image.
Bytes empty_zan_image(uint32_t capacity);

bool segment_name_equals(const Segment &segment, const char *name);
Segment *find_segment(ZanImage &image, const char *name);

}  // namespace fruplat

#endif
