#include "zan/zan_access.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "access/family.h"
#include "platform/fru_access.h"
#include "present/presenter.h"
#include "present/text_sink.h"
#include "store/image_file.h"
#include "store/status.h"
#include "zan/zan_convert.h"
#include "zan/zan_records.h"

namespace fruplat {

namespace {

// A device written in place may hold a first format cut short: its page
// tells (see parse_zan_image). An image replaced whole never does.
uint32_t cut_page_for(const ContainerEntry &entry, bool in_place)
{
    return in_place ? std::max<uint32_t>(entry.page_size, 1) : 0;
}

uint32_t cut_page_of(const ContainerEntry &entry)
{
    return cut_page_for(entry, written_in_place(entry));
}

bool is_identity(const char *name)
{
    return strcasecmp(name, "IDENTITY") == 0;
}

int32_t present_identity(ZanImage &image, PresentSink &sink)
{
    size_t count = 0;
    const RecordDef *defs = record_defs(&count);
    int32_t status = kAbsent;
    for (size_t i = 0; i < count; ++i) {
        if (!defs[i].identity)
            continue;
        std::vector<Bytes> entries;
        const int32_t found = record_entries(image, defs[i], &entries);
        if (found == kOk) {
            present_record(sink, defs[i], entries);
            status = kOk;
        } else if (found != kAbsent && status == kAbsent) {
            status = found;
        }
    }
    return status;
}

int32_t zan_access(const ContainerEntry &entry, int32_t operation, const char *name,
                   uint8_t *buffer, int32_t *length)
{
    if (name == nullptr || length == nullptr)
        return kInvalidArgument;
    if (is_identity(name)) {
        if (operation != FRU_OP_READ)
            return kIdentityNotOne;
        return with_zan_image(entry, Access::Read, [](ZanImage &image) -> int32_t {
            TextSink text(stdout);
            return present_identity(image, text);
        }, record_read_needs);
    }
    switch (operation) {
    case FRU_OP_READ:
        return with_zan_image(entry, Access::Read, [&](ZanImage &image) -> int32_t {
            const RecordDef *def = nullptr;
            int32_t status = resolve_zan_record(image, name, &def);
            std::vector<Bytes> entries;
            if (status == kOk)
                status = record_entries(image, *def, &entries);
            if (status != kOk)
                return status;
            TextSink text(stdout);
            present_record(text, *def, entries);
            if (buffer != nullptr && !entries.empty()) {
                const Bytes &newest = entries.back();
                const size_t n = std::min(newest.size(), static_cast<size_t>(std::max(*length, 0)));
                std::memcpy(buffer, newest.data(), n);
                *length = static_cast<int32_t>(n);
            }
            return status;
        }, record_read_needs);
    case FRU_OP_UPDATE:
        if (buffer == nullptr)
            return kInvalidArgument;
        return with_zan_image(entry, Access::Write, [&](ZanImage &image) -> int32_t {
            const RecordDef *def = nullptr;
            const int32_t status = resolve_zan_record(image, name, &def);
            return status == kOk ? put_record(image, *def, buffer) : status;
        });
    case FRU_OP_DELETE:
        return with_zan_image(entry, Access::Write, [&](ZanImage &image) -> int32_t {
            const RecordDef *def = nullptr;
            const int32_t status = resolve_zan_record(image, name, &def);
            return status == kOk ? delete_record(image, *def) : status;
        });
    default:
        return kInvalidArgument;
    }
}

int32_t zan_read_record(const ContainerEntry &entry, const char *name, uint8_t *buffer,
                        int32_t *length)
{
    if (name == nullptr || buffer == nullptr || length == nullptr || *length < 0)
        return kInvalidArgument;
    return with_zan_image(entry, Access::Read, [&](ZanImage &image) -> int32_t {
        const RecordDef *def = nullptr;
        int32_t status = resolve_zan_record(image, name, &def);
        Bytes slots;
        if (status == kOk)
            status = record_slots(image, *def, static_cast<size_t>(*length), &slots);
        if (status == kOk) {
            if (!slots.empty())
                std::memcpy(buffer, slots.data(), slots.size());
            *length = static_cast<int32_t>(slots.size());
        }
        return status;
    }, record_read_needs);
}

int32_t zan_read_control(const ContainerEntry &entry, const char *name, uint8_t *control,
                         int32_t *length)
{
    if (name == nullptr || control == nullptr || length == nullptr ||
        *length < static_cast<int32_t>(kControlBytes))
        return kInvalidArgument;
    return with_zan_image(entry, Access::Read, [&](ZanImage &image) -> int32_t {
        const RecordDef *def = nullptr;
        int32_t status = resolve_zan_record(image, name, &def);
        if (status == kOk)
            status = record_control(image, *def, control);
        if (status == kOk)
            *length = static_cast<int32_t>(kControlBytes);
        return status;
    }, record_read_needs);
}

// Every ZAN record of the registry the image holds. An alias that shares
// its packet with another record (the installation records) shows once,
// under the record that owns the tag. Read from a device, the image is
// parsed as a read of it parses it: a first format cut short is an empty
// container there.
int32_t zan_present_image(const Bytes &raw, const ContainerEntry *entry, PresentSink &sink)
{
    ZanImage image;
    const int32_t parsed = parse_zan_image(raw, &image, entry != nullptr ? cut_page_of(*entry) : 0);
    if (parsed != kOk)
        return parsed;
    size_t count = 0;
    const RecordDef *defs = record_defs(&count);
    for (size_t i = 0; i < count; ++i) {
        if ((defs[i].families & kZanFamily) == 0)
            continue;
        std::vector<Bytes> entries;
        const int32_t found = record_entries(image, defs[i], &entries);
        if (found == kOk)
            present_record(sink, defs[i], entries);
        else if (found != kAbsent)
            sink.unreadable_record(defs[i].name, found);
    }
    return kOk;
}

}  // namespace

const FamilyHandler kZanHandler = {zan_access,        zan_read_record,      zan_read_control,
                                   zan_present_image, zan_stored_entries,   empty_zan_image,
                                   zan_image_warning, zan_used_length,      zan_flash,
                                   zan_segments,      corrupt_segment_crc,  largest_fitting_page,
                                   convert_zan_format1};

int32_t with_zan_image(const ContainerEntry &entry, Access access,
                       const std::function<int32_t(ZanImage &)> &work, const SegmentWanted &wanted)
{
    // A read goes by the descriptor it opened: a stat beforehand would cost
    // a system call of every read.
    if (access == Access::Read)
        return with_image_reader(entry, [&](ImageReader &reader) -> int32_t {
            ZanImage image;
            const int32_t status =
                read_zan_image(reader, wanted, &image, cut_page_for(entry, reader.in_place()));
            return status == kOk ? work(image) : status;
        });
    const bool in_place = written_in_place(entry);
    const uint32_t cut_page = cut_page_for(entry, in_place);
    return with_image_ordered(entry, access, [&](Bytes &raw, WriteOrder *order) -> int32_t {
        ZanImage image;
        int32_t status = parse_zan_image(raw, &image, cut_page);
        // Converting in place is not cut-safe: only an operator who asked for
        // it (fructl convert) takes that risk.
        if (status == kOk && access == Access::Write && in_place && image.version == kZanFormatVersion1)
            status = kFormat1OnDevice;
        if (status == kOk)
            status = work(image);
        if (status == kOk && access == Access::Write) {
            image.capacity = entry.capacity;
            status = commit_zan_image(image, entry.page_size, in_place, raw, order);
        }
        return status;
    });
}

bool record_read_needs(const Segment &segment)
{
    if (segment.kind == kSegmentKindRecord)
        return true;
    // The record homes' names, gathered once: asked per segment, a walk of
    // the whole registry would cost more than the read.
    static const std::vector<bool> home = [] {
        std::vector<bool> names(1u << 16, false);
        size_t count = 0;
        const RecordDef *defs = record_defs(&count);
        for (size_t i = 0; i < count; ++i)
            if ((defs[i].families & kZanFamily) != 0 && defs[i].segment != nullptr &&
                defs[i].segment[0] != '\0')
                names[static_cast<uint8_t>(defs[i].segment[0]) << 8 |
                      static_cast<uint8_t>(defs[i].segment[1])] = true;
        return names;
    }();
    return home[static_cast<uint8_t>(segment.name[0]) << 8 | static_cast<uint8_t>(segment.name[1])];
}

int32_t resolve_zan_record(ZanImage &image, const char *name, const RecordDef **def)
{
    if (strcasecmp(name, "INSTALL") == 0) {
        const RecordDef *first = find_record_def("InstallationR");
        Segment *segment = nullptr;
        Packet *packet = nullptr;
        *def = find_record(image, *first, &segment, &packet) == kAbsent
                   ? find_record_def("Installation1R")
                   : first;
        return kOk;
    }
    return record_of_family(Family::Zan, name, def);
}

}  // namespace fruplat
