// IPMI-format containers: the three information areas and the multirecord
// area, read only.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "access/family.h"
#include "platform/fru_access.h"
#include "ipmi/ipmi_fru.h"
#include "ipmi/ipmi_multirecord.h"
#include "present/sink.h"
#include "present/text_sink.h"
#include "registry/registry.h"
#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

// How each area is shown and handed out whole: the information areas by
// their layout, the multirecord area by its chain of typed records.
struct AreaName {
    const char *name;
    // The area's status; `shown` says whether the sink has it, a damaged
    // multirecord chain as far as it can be read too.
    int32_t (*present)(const Bytes &image, const char *title, PresentSink &sink, bool *shown);
    int32_t (*bytes)(const Bytes &image, Bytes *bytes);
};

template <IpmiArea kArea>
int32_t present_info_area(const Bytes &image, const char *title, PresentSink &sink, bool *shown)
{
    std::vector<PresentedLine> lines;
    const int32_t decoded = decode_ipmi_area(image, kArea, &lines);
    *shown = decoded == kOk;
    if (*shown)
        present_fields(sink, title, lines);
    return decoded;
}

// What can be read of a damaged chain is shown, and its status returned.
int32_t present_multirecord_area(const Bytes &image, const char *title, PresentSink &sink, bool *shown)
{
    std::vector<PresentedRecord> records;
    const int32_t status = decode_multirecords(image, &records);
    *shown = !records.empty();
    if (*shown)
        present_titled_entries(sink, title, records);
    return status;
}

template <IpmiArea kArea>
int32_t info_area_bytes(const Bytes &image, Bytes *bytes)
{
    return ipmi_area_bytes(image, kArea, bytes);
}

constexpr AreaName kAreaNames[] = {
    {"Chassis_Info_Area_S", present_info_area<IpmiArea::Chassis>, info_area_bytes<IpmiArea::Chassis>},
    {"Board_Info_Area_S", present_info_area<IpmiArea::Board>, info_area_bytes<IpmiArea::Board>},
    {"Product_Info_Area_S", present_info_area<IpmiArea::Product>, info_area_bytes<IpmiArea::Product>},
    {"MultiRecord_Area_S", present_multirecord_area, multirecord_area_bytes},
};

int32_t area_named(const char *name, const AreaName **found)
{
    if (name == nullptr)
        return kInvalidArgument;
    for (const AreaName &a : kAreaNames) {
        if (strcasecmp(a.name, name) == 0) {
            *found = &a;
            return kOk;
        }
    }
    return find_record_def(name) != nullptr || resolve_alias(Family::Zan, name) != nullptr
               ? kNotInFamily
               : kUnknownRecord;
}

// The areas the common header lists; a damaged one does not hide the others.
int32_t ipmi_present_image(const Bytes &image, const ContainerEntry *, PresentSink &sink)
{
    for (const AreaName &area : kAreaNames) {
        bool shown = false;
        const int32_t status = area.present(image, area.name, sink, &shown);
        if (!shown && status != kOk && status != kAbsent)
            sink.unreadable_record(area.name, status);
    }
    return kOk;
}

int32_t ipmi_access(const ContainerEntry &entry, int32_t operation, const char *name, uint8_t *,
                    int32_t *)
{
    const AreaName *area = nullptr;
    const int32_t status = area_named(name, &area);
    if (status != kOk)
        return status;
    if (operation != FRU_OP_READ)
        return kIpmiReadOnly;
    return with_image(entry, Access::Read, [&](Bytes &image) -> int32_t {
        TextSink text(stdout);
        bool shown = false;
        return area->present(image, area->name, text, &shown);
    });
}

int32_t ipmi_read_record(const ContainerEntry &entry, const char *name, uint8_t *buffer,
                         int32_t *length)
{
    const AreaName *area = nullptr;
    const int32_t status = area_named(name, &area);
    if (status != kOk)
        return status;
    return read_stored(entry, buffer, length, [&](const Bytes &image, Bytes *record) {
        return area->bytes(image, record);
    });
}

}  // namespace

const FamilyHandler kIpmiHandler = {ipmi_access, ipmi_read_record, no_iterative_records,
                                    ipmi_present_image, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace fruplat
