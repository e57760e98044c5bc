// The explicit conversion of a format 1 image to format 2, which writes never
// do on their own on a device.
#ifndef FRUPLATFORM_ZAN_ZAN_CONVERT_H
#define FRUPLATFORM_ZAN_ZAN_CONVERT_H

#include <cstdint>
#include <functional>
#include <string>

#include "store/inventory.h"

namespace fruplat {

// Converts the container's format 1 image to format 2, keeping every
// segment's body and stored CRC (a bad segment stays bad). With `backup`,
// the image as it was is written there first, under the same lock, and
// nothing converts when that fails. kNotFormat1 when there is nothing to
// convert. On a device this rewrites the image from its first byte: a cut
// can leave an empty container.
[[nodiscard]] int32_t convert_zan_container(const ContainerEntry &entry, const std::string *backup);

// The family's conversion: asks first, without the lock, whether the image
// is in format 1, so that `before` (a warning) is only given where there is
// something to convert; the conversion asks again under the lock.
[[nodiscard]] int32_t convert_zan_format1(const ContainerEntry &entry, const std::string *backup,
                                          const std::function<void()> &before);

}  // namespace fruplat

#endif
