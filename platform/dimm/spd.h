// DIMM serial presence detect data, decoded as JEDEC lays it out.
#ifndef FRUPLATFORM_DIMM_SPD_H
#define FRUPLATFORM_DIMM_SPD_H

#include <cstdint>
#include <string>
#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat {

enum class SpdType { Other, Ddr, Ddr2, FbDimm, Ddr3 };

SpdType spd_type(const Bytes &spd);

// The SPD record the DIMM holds: SPD_DDR3_R, SPD_FBDIMM_R or SPD1_R, with
// its length; null when byte 2 names none of them.
const char *spd_record_name(SpdType type, size_t *length);

std::vector<PresentedLine> decode_spd(const Bytes &spd);

// CRC-16 with polynomial 0x1021 and initial value 0, as DDR3 and FB-DIMM
// SPD use it.
uint16_t spd_crc16(const uint8_t *data, size_t size);

// The manufacturer a JEDEC JEP106 code names: continuation codes before the
// code, and the code with its parity bit.
std::string jedec_manufacturer(unsigned continuations, uint8_t code);

}  // namespace fruplat

#endif
