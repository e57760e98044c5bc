#include "store/status.h"

#include <cstdio>

namespace fruplat {

namespace {

struct StatusText {
    int32_t status;
    const char *text;
};

constexpr StatusText kTexts[] = {
    {kOk, "Success"},
    {kAbsent, "Record or area not present in the container"},
    {kNoStore, "FRU store not found (set QUILLET_FRU_STORE)"},
    {kBadInventory, "FRU store inventory is malformed"},
    {kUnknownContainer, "No container of that name in the FRU store"},
    {kUnknownType, "Container type unknown"},
    {kBadHandle, "Invalid node or segment handle"},
    {kUnknownRecord, "Record name not known to the registry"},
    {kImageIo, "Container image could not be read or written"},
    {kImageDamaged, "Container image is damaged (bad header)"},
    {kSegmentDamaged, "Segment holding the record fails its CRC"},
    {kNoRoom, "Container has no room for the data"},
    {kReadOnlyFamily, "Records of this container cannot be changed"},
    {kIdentityNotOne, "IDENTITY names several records; change or delete one record by its name"},
    {kSectionTooLarge, "Opaque section larger than 8192 bytes"},
    {kNoSuchSegment, "No segment of that name in the container"},
    {kInvalidArgument, "Invalid argument"},
    {kAreaChecksum, "Checksum of the FRU header or area does not hold"},
    {kLockFailed, "Container lock could not be taken"},
    {kNotInFamily, "Record does not belong to this kind of container"},
    {kBadSegmentName, "Segment name must be one or two characters"},
    {kImageTooLarge, "Image larger than the container"},
    {kUnsupportedFamily, "Operation not supported for this kind of container"},
    {kIpmiReadOnly, "IPMI FRU information areas cannot be changed or deleted"},
    {kPiromReadOnly, "PIROM container is read only"},
};

}  // namespace

const char *status_text(int32_t status)
{
    for (const StatusText &t : kTexts)
        if (t.status == status)
            return t.text;
    static thread_local char unknown[48];
    std::snprintf(unknown, sizeof unknown, "Unknown FRU status %d", static_cast<int>(status));
    return unknown;
}

bool status_entry(size_t index, int32_t *status, const char **text)
{
    if (index >= sizeof kTexts / sizeof kTexts[0])
        return false;
    *status = kTexts[index].status;
    *text = kTexts[index].text;
    return true;
}

}  // namespace fruplat
