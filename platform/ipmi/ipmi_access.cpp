// IPMI-format containers: the three information areas, read only.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "access/family.h"
#include "platform/fru_access.h"
#include "ipmi/ipmi_fru.h"
#include "present/text_sink.h"
#include "registry/registry.h"
#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

struct AreaName {
    const char *name;
    IpmiArea area;
};

constexpr AreaName kAreaNames[] = {
    {"Chassis_Info_Area_S", IpmiArea::Chassis},
    {"Board_Info_Area_S", IpmiArea::Board},
    {"Product_Info_Area_S", IpmiArea::Product},
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

int32_t present_area(const Bytes &image, const AreaName &area, PresentSink &sink)
{
    std::vector<PresentedLine> lines;
    const int32_t decoded = decode_ipmi_area(image, area.area, &lines);
    if (decoded == kOk)
        present_fields(sink, area.name, lines);
    return decoded;
}

// The areas the common header lists; a damaged one does not hide the others.
int32_t ipmi_present_image(const Bytes &image, PresentSink &sink)
{
    for (const AreaName &area : kAreaNames) {
        const int32_t status = present_area(image, area, sink);
        if (status != kOk && status != kAbsent)
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
        return present_area(image, *area, text);
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
        return ipmi_area_bytes(image, area->area, record);
    });
}

}  // namespace

const FamilyHandler kIpmiHandler = {ipmi_access, ipmi_read_record, no_iterative_records,
                                    ipmi_present_image, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr};

}  // namespace fruplat
