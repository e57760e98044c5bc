// The IPMI FRU multirecord area: a chain of typed records (power supply,
// DC outputs and loads, management access, compatibility, OEM) after the
// information areas.
#ifndef FRUPLATFORM_IPMI_IPMI_MULTIRECORD_H
#define FRUPLATFORM_IPMI_IPMI_MULTIRECORD_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat {

// The area's bytes, from its first record header to the end of the record
// marked last, or a status: kAbsent when the common header points to no
// area, kAreaChecksum when the common header does not hold,
// kMultirecordChainDamaged when a record header does not hold or the chain
// runs past the image.
[[nodiscard]] int32_t multirecord_area_bytes(const Bytes &image, Bytes *bytes);

// Every record of the chain as a group of fields, in chain order. What can
// be read is decoded even when a part cannot: a record whose data fails its
// checksum (kMultirecordDataBad) or is shorter than its type needs
// (kMultirecordTooShort) is shown as raw bytes with a status field, and a
// broken chain ends in a group holding the status. The first such status is
// returned; the records are filled whatever it is.
[[nodiscard]] int32_t decode_multirecords(const Bytes &image, std::vector<PresentedRecord> *records);

// One record's data decoded by its type: kOk, or kMultirecordTooShort with
// nothing added.
[[nodiscard]] int32_t decode_multirecord_data(uint8_t type, const uint8_t *data, size_t size,
                                              std::vector<PresentedField> *fields);

// The record type's name as the records are titled: "DC load (0x02)".
std::string multirecord_title(uint8_t type);

}  // namespace fruplat

#endif
