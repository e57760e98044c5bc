// What each container family does with the record calls. The access calls
// look the container up and hand the work to its family.
#ifndef FRUPLATFORM_ACCESS_FAMILY_H
#define FRUPLATFORM_ACCESS_FAMILY_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/bytes.h"
#include "store/inventory.h"

namespace fruplat {

class PresentSink;
struct RecordDef;
struct WriteOrder;

// One line of fructl segments.
struct SegmentSummary {
    std::string name;
    size_t packets = 0;
    size_t bytes = 0;
    bool usable = true;
};

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
    // cannot be read. Never writes. `entry` is the container the image was
    // read from, null for an image file: an image reads as its container
    // does (a device's page may decide what its bytes mean).
    int32_t (*present_image)(const Bytes &image, const ContainerEntry *entry, PresentSink &sink);

    // Optional hooks; null where the family has nothing of its own.
    // The stored entries of a record, oldest first (null: the one record
    // read_record gives).
    int32_t (*stored_entries)(const ContainerEntry &entry, const RecordDef &def,
                              std::vector<Bytes> *entries);
    // The image of a new, empty container (null: every byte erased).
    Bytes (*blank_image)(uint32_t capacity);
    // Why an image given for a new container does not look like one of the
    // family's, or null when it does (null hook: anything goes).
    const char *(*image_warning)(const Bytes &image);
    // Where the image's content ends, or 0 when it does not say (null: the
    // last byte that is not erased).
    size_t (*used_length)(const Bytes &image);
    // Puts a flashed image into the container's current one (null: it
    // replaces it as it is), and says which bytes commit the change.
    int32_t (*flash)(const ContainerEntry &entry, const Bytes &flashed, Bytes &image,
                     WriteOrder *order);
    // The container's segments (null: the family has none).
    int32_t (*segments)(const ContainerEntry &entry, std::vector<SegmentSummary> *segments);
    // Damages a segment's stored CRC in the image, a testing aid.
    int32_t (*corrupt_segment)(Bytes &image, const char *segment);
    // The largest page a device of `capacity` bytes can have for the
    // family's layout to fit, where its layout starts parts on page
    // boundaries; null: any page fits.
    uint32_t (*largest_page)(uint32_t capacity);
    // Converts an image of an older format of the family in place, calling
    // `before` first when there is something to convert (kNotFormat1 when
    // not); with `backup` the old image is kept there. Null: the family has
    // one format.
    int32_t (*convert)(const ContainerEntry &entry, const std::string *backup,
                       const std::function<void()> &before);
};

const FamilyHandler &family_handler(Family family);

// A read_record done the same way by every family: under a shared lock,
// `find` picks the record's bytes out of the image; as many as fit are
// handed to the caller and the length says how many.
[[nodiscard]] int32_t read_stored(const ContainerEntry &entry, uint8_t *buffer, int32_t *length,
                                  const std::function<int32_t(const Bytes &image, Bytes *record)> &find);

// The read_control of families without iterative records.
[[nodiscard]] int32_t no_iterative_records(const ContainerEntry &entry, const char *name, uint8_t *control,
                                           int32_t *length);

extern const FamilyHandler kZanHandler;
extern const FamilyHandler kIpmiHandler;
extern const FamilyHandler kDimmHandler;
extern const FamilyHandler kPiromHandler;

// Looks the NAC name up in the store's inventory.
[[nodiscard]] int32_t lookup_container(const char *nac, ContainerEntry *entry);

}  // namespace fruplat

#endif
