// What each container family does with the record calls. The access calls
// look the container up and hand the work to its family.
#ifndef FRUPLATFORM_ACCESS_FAMILY_H
#define FRUPLATFORM_ACCESS_FAMILY_H

#include <cstdint>
#include <functional>

#include "store/bytes.h"
#include "store/inventory.h"

namespace fruplat {

class PresentSink;

struct FamilyHandler {
    // libfru_access_data: 1 read and present, 2 update, 3 delete.
    int32_t (*access)(const ContainerEntry &entry, int32_t operation, const char *name,
                      uint8_t *buffer, int32_t *length);
    // fru_read_record: the stored bytes, no presentation.
    int32_t (*read_record)(const ContainerEntry &entry, const char *name, uint8_t *buffer,
                           int32_t *length);
    // fru_read_iter_control_bytes.
    int32_t (*read_control)(const ContainerEntry &entry, const char *name, uint8_t *control,
                            int32_t *length);
    // Every record an image of the family holds, decoded, to the sink, in
    // registry order; a record that is there but cannot be decoded goes to
    // the sink as its status. A status only when the image as a whole
    // cannot be read. Never writes.
    int32_t (*present_image)(const Bytes &image, PresentSink &sink);
};

const FamilyHandler &family_handler(Family family);

// A read_record done the same way by every family: under a shared lock,
// `find` picks the record's bytes out of the image; as many as fit are
// handed to the caller and the length says how many.
int32_t read_stored(const ContainerEntry &entry, uint8_t *buffer, int32_t *length,
                    const std::function<int32_t(const Bytes &image, Bytes *record)> &find);

// The read_control of families without iterative records.
int32_t no_iterative_records(const ContainerEntry &entry, const char *name, uint8_t *control,
                             int32_t *length);

extern const FamilyHandler kZanHandler;
extern const FamilyHandler kIpmiHandler;
extern const FamilyHandler kDimmHandler;
extern const FamilyHandler kPiromHandler;

// Looks the NAC name up in the store's inventory.
int32_t lookup_container(const char *nac, ContainerEntry *entry);

}  // namespace fruplat

#endif
