// DIMM serial presence detect data, decoded as JEDEC lays it out, and the
// customer bytes where the platform keeps the DIMM's own records.
#ifndef FRUPLATFORM_DIMM_SPD_H
#define FRUPLATFORM_DIMM_SPD_H

#include <cstdint>
#include <string>
#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat {

enum class SpdType { Other, Ddr, Ddr2, FbDimm, Ddr3, Ddr4, Ddr5, Lpddr };

SpdType spd_type(const Bytes &spd);

// The SPD record the DIMM holds: SPD_DDR3_R, SPD_FBDIMM_R or SPD1_R (DDR,
// DDR2 and every generation after DDR3), with its length; null when byte 2
// names none of them.
const char *spd_record_name(SpdType type, size_t *length);

// Every field of the SPD, decoded as its memory-type byte says; empty for a
// type no decoder knows.
std::vector<PresentedLine> decode_spd(const Bytes &spd);

// CRC-16 with polynomial 0x1021 and initial value 0, as DDR3 and FB-DIMM
// SPD use it.
uint16_t spd_crc16(const uint8_t *data, size_t size);

// The manufacturer a JEDEC JEP106 code names, from the complete table:
// continuation codes before the code, and the code with its parity bit.
std::string jedec_manufacturer(unsigned continuations, uint8_t code);

// Customer bytes 176 to 255.
inline constexpr size_t kCustomerStart = 176;
inline constexpr size_t kCustomerEnd = 256;
inline constexpr uint8_t kCustomerLayoutVersion = 1;
inline constexpr size_t kCustomerVersionByte = 176;
inline constexpr size_t kCustomerPresenceByte = 177;
inline constexpr size_t kCustomerCrcOffset = 254;

struct CustomerRecord {
    const char *name;
    uint8_t presence_bit;
    size_t offset;
    size_t size;
};

const CustomerRecord *customer_record(const char *name);
void seal_customer_area(Bytes &spd);

}  // namespace fruplat

#endif
