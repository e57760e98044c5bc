// DIMM containers: the SPD EEPROM's JEDEC records, read only, and the
// DIMM's own records in the customer bytes, guarded by a CRC.
#include <algorithm>
#include <cstring>

#include "access/family.h"
#include "platform/fru_access.h"
#include "dimm/spd.h"
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
    size_t length = 0;
    const char *held = spd_record_name(spd_type(image), &length);
    if (held == nullptr || std::strcmp(held, def.name) != 0 || image.size() < length)
        return kAbsent;
    out->assign(image.begin(), image.begin() + static_cast<long>(length));
    return kOk;
}

// Erased by us (version byte 0xFF), or as modules leave the factory: every
// customer byte 0x00 or every one 0xFF. Either way no records yet.
bool customer_area_erased(const Bytes &image)
{
    if (image.size() < kCustomerEnd || image[kCustomerVersionByte] == kErased)
        return true;
    return std::all_of(image.begin() + kCustomerStart, image.begin() + kCustomerEnd,
                       [](uint8_t b) { return b == 0; });
}

int32_t check_customer_area(const Bytes &image)
{
    if (customer_area_erased(image))
        return kAbsent;
    const uint16_t stored = static_cast<uint16_t>(load_be(&image[kCustomerCrcOffset], 2));
    if (image[kCustomerVersionByte] != kCustomerLayoutVersion ||
        stored != spd_crc16(&image[kCustomerStart], kCustomerCrcOffset - kCustomerStart))
        return kAreaChecksum;
    return kOk;
}

int32_t customer_bytes(const Bytes &image, const CustomerRecord &record, Bytes *out)
{
    const int32_t status = check_customer_area(image);
    if (status != kOk)
        return status;
    if ((image[kCustomerPresenceByte] & record.presence_bit) == 0)
        return kAbsent;
    out->assign(image.begin() + static_cast<long>(record.offset),
                image.begin() + static_cast<long>(record.offset + record.size));
    return kOk;
}

int32_t stored_bytes(const Bytes &image, const RecordDef &def, Bytes *out)
{
    if (const CustomerRecord *record = customer_record(def.name))
        return customer_bytes(image, *record, out);
    return spd_bytes(image, def, out);
}

int32_t write_customer(Bytes &image, const CustomerRecord &record, const uint8_t *data)
{
    if (image.size() < kCustomerEnd)
        return kNoRoom;
    if (customer_area_erased(image)) {
        std::fill(image.begin() + kCustomerStart, image.begin() + kCustomerEnd, 0);
    } else if (const int32_t status = check_customer_area(image); status != kOk) {
        return status;
    }
    std::memcpy(&image[record.offset], data, record.size);
    image[kCustomerPresenceByte] |= record.presence_bit;
    seal_customer_area(image);
    return kOk;
}

int32_t delete_customer(Bytes &image, const CustomerRecord &record)
{
    Bytes existing;
    const int32_t status = customer_bytes(image, record, &existing);
    if (status != kOk)
        return status;
    std::fill(image.begin() + static_cast<long>(record.offset),
              image.begin() + static_cast<long>(record.offset + record.size), 0);
    image[kCustomerPresenceByte] &= static_cast<uint8_t>(~record.presence_bit);
    // With its last record gone the area goes back to erased.
    if (image[kCustomerPresenceByte] == 0)
        std::fill(image.begin() + kCustomerStart, image.begin() + kCustomerEnd, kErased);
    else
        seal_customer_area(image);
    return kOk;
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
int32_t dimm_present_image(const Bytes &image, PresentSink &sink)
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
                                    nullptr, nullptr, nullptr, nullptr};

}  // namespace fruplat
