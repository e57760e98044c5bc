// Transactions on a ZAN container: load and parse under the container's
// lock, change the model, write it back atomically.
#ifndef FRUPLATFORM_ZAN_ZAN_ACCESS_H
#define FRUPLATFORM_ZAN_ZAN_ACCESS_H

#include <functional>

#include "registry/registry.h"
#include "store/image_file.h"
#include "store/inventory.h"
#include "zan/zan_image.h"

namespace fruplat {

// Runs `work` on the parsed image; with Access::Write and a 0 status the
// changed image is written back before the lock is released.
// A read parses only the segments `wanted` takes (all by default).
[[nodiscard]] int32_t with_zan_image(const ContainerEntry &entry, Access access,
                                     const std::function<int32_t(ZanImage &)> &work,
                                     const SegmentWanted &wanted = nullptr);

// What a record read needs: every record segment (a record is found by its
// tag in any of them) and whatever holds a record home's name.
bool record_read_needs(const Segment &segment);

// The record a name means on a ZAN container: a record name in any letter
// case, an alias, or INSTALL (the installation record the container holds).
[[nodiscard]] int32_t resolve_zan_record(ZanImage &image, const char *name, const RecordDef **def);

// The family's hooks beyond the record calls (zan_family.cpp).
struct SegmentSummary;
[[nodiscard]] int32_t zan_stored_entries(const ContainerEntry &entry, const RecordDef &def,
                                         std::vector<Bytes> *entries);
const char *zan_image_warning(const Bytes &image);
size_t zan_used_length(const Bytes &image);
[[nodiscard]] int32_t zan_flash(const ContainerEntry &entry, const Bytes &flashed, Bytes &image,
                                WriteOrder *order);
[[nodiscard]] int32_t zan_segments(const ContainerEntry &entry, std::vector<SegmentSummary> *segments);

}  // namespace fruplat

#endif
