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
    {kBusy, "Container is busy: another process holds its lock"},
    {kWriteNotVerified, "Container write did not read back as written"},
    {kShortWrite, "Container write was cut short"},
    {kNoSpace, "No space left to write the container image"},
    {kReadOnlyFileSystem, "Container image is on a read-only file system"},
    {kPermissionDenied, "Permission denied on the container image"},
    {kSizeChanged, "Container device is smaller than its capacity"},
    {kStoreBusy, "FRU store is busy: its lock could not be taken in time"},
    {kNotRegularFile, "Not a regular file"},
    {kImageNotStorage, "Container image is neither a regular file nor a device node"},
    {kInputTooLarge, "File larger than the largest container (1048576 bytes)"},
    {kTypeNotInFamily, "Container type does not fit its family (zan 0 or 4, ipmi 1, dimm 2, pirom 3)"},
    {kBadNacName, "NAC name must be 1 to 64 printable characters without blanks or '#'"},
    {kSegmentChangedSinceScan, "Segment changed since the scan listed it; it was kept"},
    {kSegmentKindTaken, "Segment name is taken by a segment of the other kind (record or opaque)"},
    {kDuplicateSegmentName, "Several segments of the container share that name"},
    {kForeignLockFile, "Lock file belongs to another user"},
    {kDeviceIo, "Device I/O error"},
    {kNewerFormat, "Container image is in a newer format than this build knows; it is left as it is"},
    {kFormat1OnDevice, "Container holds a format 1 image; convert it with fructl convert before changing it"},
    {kNotFormat1, "Container image is not in format 1; there is nothing to convert"},
    {kNoCustomerArea, "No customer area on this memory type"},
    {kUnknownMemoryType, "Unknown memory type in the SPD (byte 2)"},
    {kForeignCustomerData, "Customer area holds data this platform did not write (see fructl claim)"},
    {kBackupExists, "Backup file already exists"},
    {kClaimNeedsBackup, "Claiming a customer area needs --backup FILE for its current bytes"},
    {kMultirecordChainDamaged, "IPMI multirecord area is damaged: a record header does not hold or runs past the image"},
    {kMultirecordDataBad, "IPMI multirecord data does not match its checksum"},
    {kMultirecordTooShort, "IPMI multirecord is shorter than its type requires"},
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
