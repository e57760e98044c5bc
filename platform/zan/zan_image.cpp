#include "zan/zan_image.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "store/image_file.h"

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
        packet.tag = load_be16(&body[at]);
        packet.form = body[at + 2];
        const uint32_t length = load_be32(&body[at + 4]);
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
        const uint32_t length = load_be32(&body[at]);
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

size_t round_up(size_t value, size_t align)
{
    return (value + align - 1) / align * align;
}

size_t slot_size(size_t entries)
{
    return kSlotHeaderSize + entries * kTableEntrySize + 4;
}

// Room in each table slot for a segment per record home and a few opaque
// segments, more on larger containers, and always for every segment the
// image holds: a fresh layout is written whole, so its table may grow. A
// device keeps the layout it was formatted with, so that its header is
// never rewritten.
ZanLayout layout_for(uint32_t capacity, size_t align, size_t segments)
{
    ZanLayout layout;
    const size_t usual = capacity < 2048 ? 8 : std::clamp<uint32_t>(capacity / 256, 16, 32);
    layout.table_entries =
        static_cast<uint16_t>(std::min<size_t>(std::max(usual, segments), UINT16_MAX));
    const size_t slot = slot_size(layout.table_entries);
    layout.slot[0] = static_cast<uint32_t>(round_up(kZanHeaderSize, align));
    layout.slot[1] = static_cast<uint32_t>(round_up(layout.slot[0] + slot, align));
    layout.data_start = static_cast<uint32_t>(round_up(layout.slot[1] + slot, align));
    return layout;
}

void put_v2_header(uint8_t *out, uint32_t capacity, const ZanLayout &layout)
{
    std::memset(out, 0, kZanHeaderSize);
    std::memcpy(out, kZanMagic, 4);
    out[4] = kZanFormatVersion;
    store_be(&out[6], layout.table_entries, 2);
    store_be(&out[8], capacity, 4);
    store_be(&out[12], layout.slot[0], 4);
    store_be(&out[16], layout.slot[1], 4);
    store_be(&out[20], layout.data_start, 4);
    store_be(&out[28], crc32(out, 28), 4);
}

bool blank(const Bytes &image)
{
    if (image.empty())
        return false;
    const uint8_t first = image[0];
    return (first == 0xFF || first == 0x00) &&
           std::all_of(image.begin(), image.end(), [first](uint8_t b) { return b == first; });
}

// A kind this build does not know is a newer build's: its body is kept as
// stored and judged only by its CRC, so that an older scan never offers to
// remove what a newer build wrote.
void parse_body(Segment &segment)
{
    if (segment.kind == kSegmentKindOpaque)
        parse_sections(segment);
    else if (segment.kind == kSegmentKindRecord)
        parse_packets(segment);
}

bool magic_holds(const Bytes &image)
{
    return image.size() >= kZanHeaderSize && std::memcmp(image.data(), kZanMagic, 4) == 0;
}

// Every later version keeps the frame of the first 32 bytes: the magic, the
// version, and the CRC-32 of bytes 0 to 27 at byte 28. A cut header fails
// that CRC, so it never passes for a newer format.
bool newer_header(const Bytes &image)
{
    return magic_holds(image) && image[4] > kZanFormatVersion &&
           load_be32(&image[28]) == crc32(image.data(), 28);
}

bool header_holds(const Bytes &image)
{
    if (image.size() < kZanV1HeaderSize || std::memcmp(image.data(), kZanMagic, 4) != 0)
        return false;
    if (image[4] == kZanFormatVersion1)
        return load_be32(&image[20]) == crc32(image.data(), 20);
    return image[4] == kZanFormatVersion && image.size() >= kZanHeaderSize &&
           load_be32(&image[28]) == crc32(image.data(), 28);
}

// The first format of blank media writes the header first; a cut inside it
// (and, when the page is torn, garbage to the end of that page) leaves
// erased bytes everywhere past the header's page. Nothing was there to lose.
// A format 1 header is never such a cut (this build writes format 2): a
// damaged one guards records that the next write must not format away.
bool format_cut_short(const Bytes &image, uint32_t page)
{
    if (page == 0 || header_holds(image))
        return false;
    if (image.size() > 4 && std::memcmp(image.data(), kZanMagic, 4) == 0 && image[4] == kZanFormatVersion1)
        return false;
    const size_t from = round_up(kZanHeaderSize, page);
    if (from >= image.size())
        return false;
    const uint8_t erased = image[from];
    return (erased == 0xFF || erased == 0x00) &&
           std::all_of(image.begin() + static_cast<long>(from), image.end(),
                       [erased](uint8_t b) { return b == erased; });
}

// Sequence numbers compare as serial numbers (RFC 1982): b is newer than a
// when it lies less than half the number space ahead, so the slot written
// after 0xFFFFFFFF (sequence 0) is newer, never hidden. A commit writes the
// active sequence plus one over the other slot, so the two valid slots are
// always one apart; an equal or opposite pair is only a crafted image, and
// the first slot wins there.
bool sequence_newer(uint32_t b, uint32_t a)
{
    return static_cast<int32_t>(b - a) > 0;
}

int32_t parse_v1(const Bytes &image, ZanImage *out)
{
    if (load_be32(&image[20]) != crc32(image.data(), 20))
        return kImageDamaged;
    out->version = kZanFormatVersion1;
    const size_t count = load_be16(&image[6]);
    out->capacity = load_be32(&image[8]);
    const size_t used = load_be32(&image[12]);
    if (used < kZanV1HeaderSize || used > image.size())
        return kImageDamaged;
    out->used = static_cast<uint32_t>(used);
    size_t at = kZanV1HeaderSize;
    for (size_t i = 0; i < count; ++i) {
        if (used - at < kSegmentHeaderSize)
            break;  // the header promised more than the image holds
        Segment segment;
        segment.name[0] = static_cast<char>(image[at]);
        segment.name[1] = static_cast<char>(image[at + 1]);
        segment.kind = image[at + 2];
        const uint32_t length = load_be32(&image[at + 4]);
        segment.stored_crc = load_be32(&image[at + 8]);
        at += kSegmentHeaderSize;
        const bool truncated = length > used - at;
        const size_t kept = truncated ? used - at : length;
        segment.body.assign(image.begin() + static_cast<long>(at),
                            image.begin() + static_cast<long>(at + kept));
        at += kept;
        segment.crc_ok = !truncated && crc32(segment.body.data(), segment.body.size()) ==
                                           segment.stored_crc;
        parse_body(segment);
        out->segments.push_back(std::move(segment));
        if (truncated)
            break;
    }
    return kOk;
}

bool slot_valid(const Bytes &image, const ZanLayout &layout, int k)
{
    const uint8_t *slot = &image[layout.slot[k]];
    const size_t count = load_be16(slot + 4);
    if (count > layout.table_entries)
        return false;
    const size_t covered = kSlotHeaderSize + count * kTableEntrySize;
    return load_be32(slot + covered) == crc32(slot, covered);
}

// Reads the table of a version 2 image from `head` (its bytes up to the
// data start, at least) and the bodies of the segments `wanted` names
// through `fetch`; the others keep only their table entry.
int32_t parse_v2(const Bytes &head, const BodyFetch &fetch, const SegmentWanted &wanted,
                 ZanImage *out)
{
    const Bytes &image = head;
    if (image.size() < kZanHeaderSize || load_be32(&image[28]) != crc32(image.data(), 28))
        return kImageDamaged;
    out->version = kZanFormatVersion;
    out->capacity = load_be32(&image[8]);
    ZanLayout &layout = out->layout;
    layout.table_entries = load_be16(&image[6]);
    layout.slot[0] = load_be32(&image[12]);
    layout.slot[1] = load_be32(&image[16]);
    layout.data_start = load_be32(&image[20]);
    const uint64_t slot = slot_size(layout.table_entries);
    if (layout.table_entries == 0 || layout.slot[0] < kZanHeaderSize ||
        uint64_t{layout.slot[1]} < layout.slot[0] + slot ||
        uint64_t{layout.data_start} < layout.slot[1] + slot || layout.data_start > image.size())
        return kImageDamaged;
    out->used = layout.data_start;
    for (int k = 0; k < 2; ++k) {
        if (!slot_valid(image, layout, k))
            continue;
        const uint32_t sequence = load_be32(&image[layout.slot[k]]);
        if (out->active_slot < 0 || sequence_newer(sequence, out->sequence)) {
            out->active_slot = k;
            out->sequence = sequence;
        }
    }
    // Both slots bad is a format cut short on blank media: no records yet.
    if (out->active_slot < 0)
        return kOk;
    const uint8_t *table = &image[layout.slot[out->active_slot]];
    const size_t count = load_be16(table + 4);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *entry = table + kSlotHeaderSize + i * kTableEntrySize;
        Segment segment;
        segment.name[0] = static_cast<char>(entry[0]);
        segment.name[1] = static_cast<char>(entry[1]);
        segment.kind = entry[2];
        segment.placed = true;
        segment.offset = load_be32(entry + 4);
        segment.stored_length = load_be32(entry + 8);
        segment.stored_crc = load_be32(entry + 12);
        const uint64_t end = uint64_t{segment.offset} + segment.stored_length;
        out->in_use.push_back({segment.offset, static_cast<uint32_t>(std::min<uint64_t>(end, UINT32_MAX))});
        segment.loaded = !wanted || wanted(segment);
        if (segment.loaded) {
            bool whole = false;
            const int32_t status = fetch(segment.offset, segment.stored_length, &segment.body, &whole);
            if (status != kOk)
                return status;
            segment.crc_ok = whole && segment.offset >= layout.data_start &&
                             crc32(segment.body.data(), segment.body.size()) == segment.stored_crc;
            parse_body(segment);
        }
        out->segments.push_back(std::move(segment));
    }
    return kOk;
}

// The bodies of an image held whole.
BodyFetch fetch_from(const Bytes &image)
{
    return [&image](uint64_t offset, uint64_t length, Bytes *body, bool *whole) -> int32_t {
        const uint64_t end = offset + length;
        *whole = end <= image.size();
        const size_t first = std::min<uint64_t>(offset, image.size());
        const size_t last = std::min<uint64_t>(end, image.size());
        body->assign(image.begin() + static_cast<long>(first),
                     image.begin() + static_cast<long>(std::max(first, last)));
        return kOk;
    };
}

// The first place from `from` where `length` bytes fit between the
// extents in `busy`, aligned; UINT32_MAX when none.
uint32_t find_room(std::vector<Extent> busy, uint32_t length, uint32_t from, uint32_t capacity,
                   size_t align)
{
    std::sort(busy.begin(), busy.end(), [](const Extent &a, const Extent &b) { return a.begin < b.begin; });
    uint64_t at = round_up(from, align);
    for (const Extent &e : busy) {
        if (e.end <= at || e.begin == e.end)
            continue;
        if (at + length <= e.begin)
            break;
        at = round_up(e.end, align);
    }
    return at + length <= capacity ? static_cast<uint32_t>(at) : UINT32_MAX;
}

struct Placement {
    Bytes body;
    uint32_t crc;
    uint32_t length;
    uint32_t offset;
    bool keep;
};

}  // namespace

std::string Segment::name_text() const
{
    return std::string(name, name[1] != '\0' ? 2 : (name[0] != '\0' ? 1 : 0));
}

size_t Segment::packet_count() const
{
    if (kind == kSegmentKindOpaque)
        return static_cast<size_t>(!sections[0].empty()) + !sections[1].empty();
    // A newer build's kind counts as one unit, so it never looks emptied.
    if (!kind_known())
        return 1;
    return packets.size();
}

int32_t parse_zan_image(const Bytes &image, ZanImage *out, uint32_t cut_page)
{
    *out = ZanImage{};
    if (newer_header(image))
        return kNewerFormat;
    if (blank(image) || format_cut_short(image, cut_page)) {
        out->capacity = static_cast<uint32_t>(image.size());
        return kOk;
    }
    if (image.size() < kZanV1HeaderSize || std::memcmp(image.data(), kZanMagic, 4) != 0)
        return kImageDamaged;
    int32_t status = kImageDamaged;
    if (image[4] == kZanFormatVersion1)
        status = parse_v1(image, out);
    else if (image[4] == kZanFormatVersion)
        status = parse_v2(image, fetch_from(image), nullptr, out);
    if (status == kOk && out->version == kZanFormatVersion)
        for (const Extent &e : out->in_use)
            out->used = std::max<uint32_t>(out->used, std::min<uint64_t>(e.end, image.size()));
    // Either version: a name or a tag that two segments share is resolved by
    // neither.
    if (status == kOk) {
        mark_duplicate_names(*out);
        mark_duplicate_tags(*out);
    }
    return status;
}

int32_t read_zan_image(ImageReader &reader, const SegmentWanted &wanted, ZanImage *out,
                       uint32_t cut_page)
{
    const Bytes &head = reader.head();
    const bool v2 = head.size() >= kZanHeaderSize && std::memcmp(head.data(), kZanMagic, 4) == 0 &&
                    head[4] == kZanFormatVersion && load_be32(&head[28]) == crc32(head.data(), 28);
    Bytes whole;
    bool all = false;
    if (!v2) {
        // Blank media, version 1 or damage: parsed whole, as written.
        size_t needed = reader.capacity();
        if (head.size() >= kZanHeaderSize && std::memcmp(head.data(), kZanMagic, 4) == 0 &&
            head[4] == kZanFormatVersion1 && load_be32(&head[12]) >= kZanV1HeaderSize)
            needed = load_be32(&head[12]);
        const int32_t status = reader.read(0, needed, &whole, &all);
        return status == kOk ? parse_zan_image(whole, out, cut_page) : status;
    }
    const size_t data_start = load_be32(&head[20]);
    const Bytes *table = &head;
    if (head.size() < data_start) {
        const int32_t status = reader.read(0, data_start, &whole, &all);
        if (status != kOk)
            return status;
        table = &whole;
    }
    *out = ZanImage{};
    if (!wanted) {
        // Every segment: the bytes up to the last one in use, in one read.
        ZanImage layout;
        int32_t status = parse_v2(*table, fetch_from(*table), [](const Segment &) { return false; }, &layout);
        if (status != kOk)
            return status;
        size_t end = data_start;
        for (const Extent &e : layout.in_use)
            end = std::max<size_t>(end, e.end);
        status = reader.read(0, end, &whole, &all);
        return status == kOk ? parse_zan_image(whole, out, cut_page) : status;
    }
    const BodyFetch fetch = [&reader](uint64_t offset, uint64_t length, Bytes *body, bool *held) {
        return reader.read(offset, length, body, held);
    };
    int32_t status = parse_v2(*table, fetch, wanted, out);
    if (status == kOk) {
        mark_duplicate_names(*out);
        mark_duplicate_tags(*out);
    }
    return status;
}

uint32_t largest_fitting_page(uint32_t capacity)
{
    for (uint32_t page = 4096; page > 0; --page)
        if (uint64_t{layout_for(capacity, page, 0).data_start} + page <= capacity)
            return page;
    return 0;
}

int32_t commit_zan_image(const ZanImage &image, uint32_t page, bool in_place, Bytes &raw,
                         WriteOrder *order)
{
    const uint32_t capacity = image.capacity;
    const size_t align = in_place ? std::max<uint32_t>(page, 1) : 1;
    const bool reuse = in_place && image.version == kZanFormatVersion &&
                       image.layout.data_start <= capacity;
    const ZanLayout layout = reuse ? image.layout : layout_for(capacity, align, image.segments.size());
    if (layout.data_start > capacity)
        return kNoRoom;
    if (image.segments.size() > layout.table_entries)
        return kNoRoom;
    if (in_place)
        raw.resize(capacity, 0xFF);
    else
        raw.assign(capacity, 0xFF);

    std::vector<Placement> placed;
    for (const Segment &segment : image.segments) {
        Placement p;
        p.keep = reuse && segment.placed && !segment.changed;
        p.body = segment.changed ? build_body(segment) : segment.body;
        p.crc = segment.changed ? crc32(p.body.data(), p.body.size()) : segment.stored_crc;
        // Rebuilt to the bytes it already has: nothing to move or write.
        if (reuse && segment.placed && segment.changed && p.body == segment.body &&
            p.crc == segment.stored_crc && segment.stored_length == p.body.size())
            p.keep = true;
        p.length = p.keep ? segment.stored_length : static_cast<uint32_t>(p.body.size());
        p.offset = p.keep ? segment.offset : 0;
        placed.push_back(std::move(p));
    }
    // The same segments in the same places: nothing to write.
    if (reuse && image.active_slot >= 0 && placed.size() == image.in_use.size()) {
        bool same = true;
        for (size_t i = 0; i < placed.size() && same; ++i)
            same = placed[i].keep && placed[i].offset == image.in_use[i].begin;
        if (same)
            return kOk;
    }
    // New bodies go where the active table names nothing, so that until the
    // other slot commits the old set is whole.
    std::vector<Extent> busy = reuse ? image.in_use : std::vector<Extent>{};
    bool fits = true;
    for (Placement &p : placed) {
        if (p.keep)
            continue;
        p.offset = find_room(busy, p.length, layout.data_start, capacity, align);
        if (p.offset == UINT32_MAX) {
            fits = false;
            break;
        }
        busy.push_back({p.offset, p.offset + p.length});
    }
    if (!fits) {
        // Out of free space: pack every segment from the data start.
        size_t at = layout.data_start;
        for (Placement &p : placed) {
            p.keep = false;
            p.length = static_cast<uint32_t>(p.body.size());
            at = round_up(at, align);
            if (at + p.length > capacity)
                return kNoRoom;
            p.offset = static_cast<uint32_t>(at);
            at += p.length;
        }
    }
    for (const Placement &p : placed)
        if (!p.keep && !p.body.empty())
            std::memcpy(&raw[p.offset], p.body.data(), p.body.size());

    const int k = reuse && image.active_slot >= 0 ? image.active_slot ^ 1 : 0;
    const uint32_t sequence = reuse && image.active_slot >= 0 ? image.sequence + 1 : 1;
    uint8_t *slot = &raw[layout.slot[k]];
    store_be(slot, sequence, 4);
    store_be(slot + 4, placed.size(), 2);
    store_be(slot + 6, 0, 2);
    for (size_t i = 0; i < placed.size(); ++i) {
        uint8_t *entry = slot + kSlotHeaderSize + i * kTableEntrySize;
        const Segment &segment = image.segments[i];
        entry[0] = static_cast<uint8_t>(segment.name[0]);
        entry[1] = static_cast<uint8_t>(segment.name[1]);
        entry[2] = segment.kind;
        entry[3] = 0;
        store_be(entry + 4, placed[i].offset, 4);
        store_be(entry + 8, placed[i].length, 4);
        store_be(entry + 12, placed[i].crc, 4);
    }
    const size_t covered = kSlotHeaderSize + placed.size() * kTableEntrySize;
    store_be(slot + covered, crc32(slot, covered), 4);
    if (order != nullptr) {
        order->first_end = 0;
        order->commit_begin = layout.slot[k];
        order->commit_end = layout.slot[k] + covered + 4;
    }
    if (!reuse) {
        // A fresh layout: the header goes first, and the other slot must not
        // hold anything that could pass for a table.
        put_v2_header(raw.data(), capacity, layout);
        if (slot_valid(raw, layout, 1))
            store_be(&raw[layout.slot[1] + 4], 0xFFFF, 2);
        if (order != nullptr)
            order->first_end = kZanHeaderSize;
    }
    return kOk;
}

Bytes serialize_zan_image(const ZanImage &image)
{
    Bytes raw;
    // No room is an empty result, not the half-filled buffer the commit left.
    if (commit_zan_image(image, 1, false, raw, nullptr) != kOk)
        return {};
    // The length comes from parsing what was laid out; an image that does
    // not parse back is no result either.
    ZanImage parsed;
    if (parse_zan_image(raw, &parsed) != kOk)
        return {};
    raw.resize(parsed.used);
    return raw;
}

Bytes empty_zan_image(uint32_t capacity)
{
    ZanImage image;
    image.capacity = capacity;
    return serialize_zan_image(image);
}

void adopt_segments(ZanImage &image, std::vector<Segment> segments)
{
    for (Segment &s : segments) {
        s.placed = false;
        s.changed = false;
        for (const Segment &held : image.segments) {
            if (held.placed && !held.changed && held.kind == s.kind && held.body == s.body &&
                held.stored_crc == s.stored_crc && held.stored_length == s.body.size() &&
                held.name[0] == s.name[0] && held.name[1] == s.name[1]) {
                s.placed = true;
                s.offset = held.offset;
                s.stored_length = held.stored_length;
                break;
            }
        }
    }
    image.segments = std::move(segments);
}

void zan_flash_order(const Bytes &image, WriteOrder *order)
{
    ZanImage parsed;
    if (parse_zan_image(image, &parsed) != kOk || parsed.version != kZanFormatVersion)
        return;
    order->commit_begin = 0;
    order->commit_end = parsed.layout.data_start;
}

int32_t corrupt_segment_crc(Bytes &raw, const char *name)
{
    ZanImage parsed;
    const int32_t status = parse_zan_image(raw, &parsed);
    if (status != kOk)
        return status;
    if (parsed.version == kZanFormatVersion1) {
        size_t at = kZanV1HeaderSize;
        for (const Segment &s : parsed.segments) {
            if (segment_name_equals(s, name)) {
                for (size_t i = 8; i < 12; ++i)
                    raw[at + i] ^= 0xFF;
                return kOk;
            }
            at += kSegmentHeaderSize + s.body.size();
        }
        return kNoSuchSegment;
    }
    if (parsed.active_slot < 0)
        return kNoSuchSegment;
    uint8_t *slot = &raw[parsed.layout.slot[parsed.active_slot]];
    for (size_t i = 0; i < parsed.segments.size(); ++i) {
        if (!segment_name_equals(parsed.segments[i], name))
            continue;
        uint8_t *crc = slot + kSlotHeaderSize + i * kTableEntrySize + 12;
        for (size_t b = 0; b < 4; ++b)
            crc[b] ^= 0xFF;
        const size_t covered = kSlotHeaderSize + parsed.segments.size() * kTableEntrySize;
        store_be(slot + covered, crc32(slot, covered), 4);
        return kOk;
    }
    return kNoSuchSegment;
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
