// The platform layer's statuses. 0 and 14 are fixed by the tool; the others
// are this layer's own, stable, and listed in docs/platform.md.
#ifndef FRUPLATFORM_STORE_STATUS_H
#define FRUPLATFORM_STORE_STATUS_H

#include <cstddef>
#include <cstdint>

namespace fruplat {

enum Status : int32_t {
    kOk = 0,
    kAbsent = 14,
    kNoStore = 60,
    kBadInventory = 61,
    kUnknownContainer = 62,
    kUnknownType = 63,
    kBadHandle = 64,
    kUnknownRecord = 65,
    kImageIo = 66,
    kImageDamaged = 67,
    kSegmentDamaged = 68,
    kNoRoom = 69,
    kReadOnlyFamily = 70,
    kIdentityNotOne = 71,
    kSectionTooLarge = 72,
    kNoSuchSegment = 73,
    kInvalidArgument = 74,
    kAreaChecksum = 75,
    kLockFailed = 76,
    kNotInFamily = 77,
    kBadSegmentName = 78,
    kImageTooLarge = 79,
    kUnsupportedFamily = 80,
    kIpmiReadOnly = 81,
    kPiromReadOnly = 82,
    kBusy = 83,
    kWriteNotVerified = 84,
    kShortWrite = 85,
    kNoSpace = 86,
    kReadOnlyFileSystem = 87,
    kPermissionDenied = 88,
    kSizeChanged = 89,
    // 90-96: the store, its inventory and files read from a path.
    kStoreBusy = 90,
    kNotRegularFile = 91,
    kImageNotStorage = 92,
    kInputTooLarge = 93,
    kTypeNotInFamily = 94,
    kBadNacName = 95,
    // 97-99: segments and the bad-CRC scan.
    kSegmentChangedSinceScan = 97,
    kSegmentKindTaken = 98,
    kDuplicateSegmentName = 99,
    // 100-104: container locks and device I/O.
    kForeignLockFile = 100,
    kDeviceIo = 101,
    // 105-109: ZAN image formats.
    kNewerFormat = 105,
    kFormat1OnDevice = 106,
    kNotFormat1 = 107,
    // 110-114: what a DIMM's SPD lets this platform write, and claiming it.
    kNoCustomerArea = 110,
    kUnknownMemoryType = 111,
    kForeignCustomerData = 112,
    kBackupExists = 113,
    kClaimNeedsBackup = 114,
    // 115-117: the IPMI multirecord area.
    kMultirecordChainDamaged = 115,
    kMultirecordDataBad = 116,
    kMultirecordTooShort = 117,
};

const char *status_text(int32_t status);

// The statuses that have a text, in table order, for the manual page that is
// generated from them; false past the last one.
bool status_entry(size_t index, int32_t *status, const char **text);

}  // namespace fruplat

#endif
