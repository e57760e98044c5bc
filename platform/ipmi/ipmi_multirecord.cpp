#include "ipmi/ipmi_multirecord.h"

#include "store/status.h"

namespace fruplat {

namespace {

constexpr size_t kCommonHeaderSize = 8;
constexpr size_t kAreaSlot = 5;
constexpr size_t kRecordHeaderSize = 5;
constexpr uint8_t kEndOfList = 0x80;
constexpr uint8_t kRecordFormat = 0x02;

uint8_t byte_sum(const uint8_t *data, size_t size)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum = static_cast<uint8_t>(sum + data[i]);
    return sum;
}

std::string at_offset(const char *what, size_t offset)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s at byte %zu", what, offset);
    return text;
}

// One step along the chain: where the record at `at` ends, or why the
// chain cannot be followed from there.
struct Link {
    int32_t status = kOk;
    std::string problem;
    size_t data_at = 0, data_size = 0;
    bool last = false;
};

Link follow(const Bytes &image, size_t at)
{
    Link link;
    if (image.size() < kRecordHeaderSize || at > image.size() - kRecordHeaderSize) {
        link.status = kMultirecordChainDamaged;
        link.problem = at_offset("record header past the end of the image", at);
        return link;
    }
    const uint8_t *header = &image[at];
    // A header that sums wrong, or of a format this layout does not know,
    // gives no length that could be trusted to find the next record.
    if (byte_sum(header, kRecordHeaderSize) != 0 || (header[1] & 0x0F) != kRecordFormat) {
        link.status = kMultirecordChainDamaged;
        link.problem = at_offset("record header does not hold", at);
        return link;
    }
    link.data_at = at + kRecordHeaderSize;
    link.data_size = header[2];
    link.last = (header[1] & kEndOfList) != 0;
    if (link.data_size > image.size() - link.data_at) {
        link.status = kMultirecordChainDamaged;
        link.problem = at_offset("record data past the end of the image", at);
    }
    return link;
}

int32_t area_start(const Bytes &image, size_t *start)
{
    if (image.size() < kCommonHeaderSize || (image[0] & 0x0F) != 1 ||
        byte_sum(image.data(), kCommonHeaderSize) != 0)
        return kAreaChecksum;
    *start = static_cast<size_t>(image[kAreaSlot]) * 8;
    return *start == 0 ? kAbsent : kOk;
}

PresentedRecord record_of(uint8_t type, const uint8_t *data, size_t size, uint8_t checksum,
                          int32_t *status)
{
    PresentedRecord record{multirecord_title(type), {}};
    int32_t found = kOk;
    if (static_cast<uint8_t>(byte_sum(data, size) + checksum) != 0) {
        found = kMultirecordDataBad;
        record.fields.push_back(
            status_field("record_checksum", status_text(kMultirecordDataBad), found));
    } else if (decode_multirecord_data(type, data, size, &record.fields) != kOk) {
        found = kMultirecordTooShort;
        record.fields.push_back(status_field("record_length", status_text(found), found));
    }
    if (found != kOk) {
        record.fields.push_back(bytes_field("data", hex_bytes(data, size, " "), Bytes(data, data + size)));
        if (*status == kOk)
            *status = found;
    }
    return record;
}

}  // namespace

int32_t multirecord_area_bytes(const Bytes &image, Bytes *bytes)
{
    size_t start = 0;
    const int32_t status = area_start(image, &start);
    if (status != kOk)
        return status;
    for (size_t at = start;;) {
        const Link link = follow(image, at);
        if (link.status != kOk)
            return link.status;
        at = link.data_at + link.data_size;
        if (link.last) {
            bytes->assign(image.begin() + static_cast<long>(start), image.begin() + static_cast<long>(at));
            return kOk;
        }
    }
}

int32_t decode_multirecords(const Bytes &image, std::vector<PresentedRecord> *records)
{
    records->clear();
    size_t start = 0;
    int32_t status = area_start(image, &start);
    if (status != kOk)
        return status;
    // Each record moves on by at least its header, so the walk ends at the
    // image's end even when no record is marked last.
    for (size_t at = start;;) {
        const Link link = follow(image, at);
        if (link.status != kOk) {
            records->push_back({"damaged", {status_field("chain", link.problem, link.status)}});
            return status == kOk ? link.status : status;
        }
        records->push_back(record_of(image[at], image.data() + link.data_at, link.data_size, image[at + 3], &status));
        if (link.last)
            return status;
        at = link.data_at + link.data_size;
    }
}

}  // namespace fruplat
