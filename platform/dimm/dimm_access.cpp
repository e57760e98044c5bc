// DIMM containers: the SPD EEPROM's JEDEC records, read only, and the
// DIMM's own records in the end-user area of its generation, guarded by a
// CRC (dimm/customer_area.h).
#include <algorithm>
#include <cstring>

#include "access/family.h"
#include "platform/fru_access.h"
#include "dimm/customer_area.h"
#include "dimm/spd.h"
#include "dimm/spd_generation.h"
#include "present/text_sink.h"
#include "registry/registry.h"
#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

int32_t resolve(const char *name, const RecordDef **def)
{
    if (name == nullptr)
        return kInvalidArgument;
    return record_of_family(Family::Dimm, name, def);
}

// The SPD record's bytes when the DIMM holds that kind of SPD.
int32_t spd_bytes(const Bytes &image, const RecordDef &def, Bytes *out)
{
    const SpdGeneration *generation = spd_generation(image);
    if (generation == nullptr || std::strcmp(generation->record, def.name) != 0 ||
        image.size() < generation->record_length)
        return kAbsent;
    out->assign(image.begin(), image.begin() + static_cast<long>(generation->record_length));
    return kOk;
}

int32_t stored_bytes(const Bytes &image, const RecordDef &def, Bytes *out)
{
    if (const CustomerRecord *record = customer_record(def.name))
        return read_customer(image, *record, out);
    return spd_bytes(image, def, out);
}

int32_t present(const Bytes &image, const RecordDef &def, PresentSink &sink)
{
    Bytes bytes;
    const int32_t status = stored_bytes(image, def, &bytes);
    if (status != kOk)
        return status;
    if (customer_record(def.name) != nullptr)
        present_record(sink, def, {bytes});
    else
        present_fields(sink, def.name, decode_spd(image));
    return kOk;
}

// The SPD record the module holds, then the DIMM's own records, in
// registry order.
int32_t dimm_present_image(const Bytes &image, const ContainerEntry *, PresentSink &sink)
{
    size_t count = 0;
    const RecordDef *defs = record_defs(&count);
    const uint8_t mask = family_mask(Family::Dimm);
    for (const bool customer : {false, true}) {
        for (size_t i = 0; i < count; ++i) {
            if ((defs[i].families & mask) == 0 || (customer_record(defs[i].name) != nullptr) != customer)
                continue;
            const int32_t status = present(image, defs[i], sink);
            if (status != kOk && status != kAbsent)
                sink.unreadable_record(defs[i].name, status);
        }
    }
    return kOk;
}

// The SPD data is the DIMM maker's: an update may only write it back as it
// is, which is what an update with no element for it does.
int32_t update(Bytes &image, const RecordDef &def, const uint8_t *data)
{
    if (const CustomerRecord *record = customer_record(def.name))
        return write_customer(image, *record, data);
    Bytes stored;
    const int32_t status = spd_bytes(image, def, &stored);
    if (status != kOk)
        return status;
    return std::memcmp(stored.data(), data, stored.size()) == 0 ? kOk : kReadOnlyFamily;
}

int32_t dimm_access(const ContainerEntry &entry, int32_t operation, const char *name,
                    uint8_t *buffer, int32_t *)
{
    const RecordDef *def = nullptr;
    const int32_t status = resolve(name, &def);
    if (status != kOk)
        return status;
    switch (operation) {
    case FRU_OP_READ:
        return with_image(entry, Access::Read,
                          [&](Bytes &image) -> int32_t {
                              TextSink text(stdout);
                              return present(image, *def, text);
                          });
    case FRU_OP_UPDATE:
        if (buffer == nullptr)
            return kInvalidArgument;
        return with_image(entry, Access::Write,
                          [&](Bytes &image) -> int32_t { return update(image, *def, buffer); });
    case FRU_OP_DELETE:
        if (customer_record(def->name) == nullptr)
            return kReadOnlyFamily;
        return with_image(entry, Access::Write, [&](Bytes &image) -> int32_t {
            return delete_customer(image, *customer_record(def->name));
        });
    default:
        return kInvalidArgument;
    }
}

// A whole image flashed onto a DIMM may change its end-user area and
// nothing else: the SPD bytes are the maker's, whatever the image holds
// (a ZAN image flashed to the wrong NAC, say). Without an area, nothing.
int32_t dimm_flash(const ContainerEntry &, const Bytes &flashed, Bytes &image, WriteOrder *)
{
    size_t begin = image.size();
    size_t end = image.size();
    if (customer_area_bounds(image, &begin, &end) != kOk)
        begin = end = image.size();
    const size_t size = std::min(flashed.size(), image.size());
    for (size_t i = 0; i < size; ++i)
        if ((i < begin || i >= end) && flashed[i] != image[i])
            return kReadOnlyFamily;
    std::copy(flashed.begin() + static_cast<long>(std::min(begin, size)),
              flashed.begin() + static_cast<long>(std::min(end, size)),
              image.begin() + static_cast<long>(std::min(begin, size)));
    return kOk;
}

int32_t dimm_read_record(const ContainerEntry &entry, const char *name, uint8_t *buffer,
                         int32_t *length)
{
    const RecordDef *def = nullptr;
    const int32_t status = resolve(name, &def);
    if (status != kOk)
        return status;
    return read_stored(entry, buffer, length, [&](const Bytes &image, Bytes *record) {
        return stored_bytes(image, *def, record);
    });
}

}  // namespace

const FamilyHandler kDimmHandler = {dimm_access, dimm_read_record, no_iterative_records,
                                    dimm_present_image, nullptr, nullptr, nullptr,
                                    nullptr, dimm_flash, nullptr, nullptr, nullptr, nullptr};

}  // namespace fruplat
