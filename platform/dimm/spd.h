// DIMM serial presence detect data, decoded as JEDEC lays it out.
#ifndef FRUPLATFORM_DIMM_SPD_H
#define FRUPLATFORM_DIMM_SPD_H

#include <cstdint>
#include <string>
#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat {

enum class SpdType { Other, Ddr, Ddr2, FbDimm, Ddr3, Ddr4, Ddr5, Lpddr };

// Every field of the SPD, decoded as its memory-type byte says; empty for a
// type no decoder knows.
std::vector<PresentedLine> decode_spd(const Bytes &spd);

// CRC-16 with polynomial 0x1021 and initial value 0, as DDR3 and FB-DIMM
// SPD use it.
uint16_t spd_crc16(const uint8_t *data, size_t size);

// The manufacturer a JEDEC JEP106 code names, from the complete table:
// continuation codes before the code, and the code with its parity bit.
std::string jedec_manufacturer(unsigned continuations, uint8_t code);

}  // namespace fruplat

#endif
