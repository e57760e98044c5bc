// The tool's own statuses. Library statuses travel through unchanged and are
// not listed here.
#ifndef QUILLET_RECORDS_STATUS_H
#define QUILLET_RECORDS_STATUS_H

#include <cstdint>

namespace quillet {

inline constexpr int32_t kStatusExit = -1;  // shows as 255
inline constexpr int32_t kStatusNoContainerType = 1;
inline constexpr int32_t kStatusNoRegistryDefinition = 3;
inline constexpr int32_t kStatusNoNodeForShow = 5;
inline constexpr int32_t kStatusNotOpaqueName = 6;
inline constexpr int32_t kStatusValueTooLong = 9;
inline constexpr int32_t kStatusUnknownVendor = 16;
inline constexpr int32_t kStatusNotSupported = 18;
inline constexpr int32_t kStatusMalformed = 23;
inline constexpr int32_t kStatusConflict = 35;

}  // namespace quillet

#endif
