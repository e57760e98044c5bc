// IPMI FRU information areas, decoded as the IPMI platform management FRU
// information storage definition lays them out.
#ifndef FRUPLATFORM_IPMI_IPMI_FRU_H
#define FRUPLATFORM_IPMI_IPMI_FRU_H

#include <cstdint>
#include <string>
#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat {

enum class IpmiArea { Chassis, Board, Product };

// The area's bytes and its fields, or a status: kAbsent when the common
// header has no such area, kAreaChecksum when the header or the area does
// not sum to zero, kImageDamaged when it lies outside the image.
[[nodiscard]] int32_t ipmi_area_bytes(const Bytes &image, IpmiArea area, Bytes *bytes);
[[nodiscard]] int32_t decode_ipmi_area(const Bytes &image, IpmiArea area, std::vector<PresentedLine> *lines);

// One type/length field's value as text; `encoding` names how it was
// stored. `english`: whether the field's area is in English, where type 3
// is 8-bit text rather than two-byte Unicode.
std::string decode_ipmi_field(uint8_t type_length, const uint8_t *data, bool english, const char **encoding);

const char *chassis_type_name(uint8_t type);

// Bytes as text: printable ASCII as it is, any other byte as \xNN.
std::string printable_text(const uint8_t *data, size_t size);

// Minutes since 1996-01-01 00:00 UTC, as the board area stores its date.
std::string format_ipmi_date(uint32_t minutes);

}  // namespace fruplat

#endif
