// Builds SPD EEPROM images, for fructl's demo and for tests.
#ifndef FRUPLATFORM_DIMM_SPD_BUILDER_H
#define FRUPLATFORM_DIMM_SPD_BUILDER_H

#include <cstdint>
#include <string>

#include "dimm/spd.h"

namespace fruplat {

struct SpdContent {
    SpdType type = SpdType::Ddr3;
    uint8_t module_type = 1;         // DDR3, DDR4, DDR5: byte 3 code; DDR2: byte 20 bit
    unsigned ranks = 1;
    unsigned device_width = 8;       // bits
    unsigned die_mbit = 2048;        // DDR3, DDR4, DDR5: capacity per die
    unsigned dies = 1;               // DDR4 (3DS) and DDR5: dies per package
    // Minimum clock period and core timings (DDR and DDR2: the period at the
    // CAS latency tAA asks for, in halves on DDR)
    unsigned tck_ps = 1500, taa_ps = 13125, trcd_ps = 13125, trp_ps = 13125, tras_ps = 36000;
    unsigned rows = 14, columns = 10, banks = 8;  // DDR2 and FB-DIMM geometry
    bool ecc = true;
    unsigned continuations = 0;      // JEDEC manufacturer code
    uint8_t manufacturer = 0xCE;
    uint8_t location = 1;
    uint8_t year_bcd = 0x12, week_bcd = 0x34;
    uint32_t serial = 0x12345678;
    std::string part_number = "M393B5170FH0-CH9";
    bool crc_covers_117 = true;      // DDR3/FB-DIMM byte 0 bit 7
    bool break_checksum = false;
};

// An SPD image: 256 bytes up to DDR3, with the customer bytes erased;
// DDR4 and DDR5 come from their own builders below.
Bytes build_spd(const SpdContent &content);

// A minimal SPD of the generation whose memory type (byte 2) is given, at
// that generation's size (256 bytes for a type this build does not know):
// every JEDEC byte holds something, with the size byte and the CRCs or
// checksum where the layout has them, and the customer area is erased.
Bytes build_generation_spd(uint8_t memory_type);

// Fills the generation's customer area, if it has one, with erased bytes.
void erase_customer_area(Bytes &spd);
// A 512-byte DDR4 SPD, both section CRCs sealed (the first one broken on
// request), the end-user area blank.
Bytes build_ddr4_spd(const SpdContent &content);

// A 1024-byte DDR5 SPD with two 32-bit sub-channels, its CRC sealed (or
// broken), the end-user area blank.
Bytes build_ddr5_spd(const SpdContent &content);

}  // namespace fruplat

#endif
