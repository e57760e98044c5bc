// What the SPD decoders of each generation share: the notation of every
// field (as decode-dimms prints it, so engineers can compare), clock and
// timing arithmetic in exact integers, and each generation's decoder.
#ifndef FRUPLATFORM_DIMM_SPD_DECODE_INTERNAL_H
#define FRUPLATFORM_DIMM_SPD_DECODE_INTERNAL_H

#include <cstdint>
#include <string>
#include <vector>

#include "present/presenter.h"
#include "store/bytes.h"

namespace fruplat::spd {

using Fields = std::vector<PresentedField>;

void decode_ddr(const Bytes &spd, Fields &fields);
void decode_ddr2(const Bytes &spd, Fields &fields);
void decode_fbdimm(const Bytes &spd, Fields &fields);
void decode_ddr3(const Bytes &spd, Fields &fields);
void decode_ddr4(const Bytes &spd, Fields &fields);
void decode_lpddr4(const Bytes &spd, Fields &fields);
void decode_ddr5(const Bytes &spd, Fields &fields);
void decode_lpddr5(const Bytes &spd, Fields &fields);

std::string printf_text(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Little-endian 16-bit value, as SPD stores its words.
inline unsigned le16(const Bytes &spd, size_t at) { return spd[at] | spd[at + 1] << 8; }
inline int signed8(uint8_t byte) { return byte >= 0x80 ? byte - 0x100 : byte; }

PresentedField revision_field(uint8_t bcd);
PresentedField capacity_field(uint64_t megabytes);
PresentedField count_field(const char *name, uint64_t count);
PresentedField bits_field(const char *name, unsigned bits);
PresentedField voltage_field(unsigned millivolts);
PresentedField maker_field(const char *name, uint8_t continuation, uint8_t code);
PresentedField location_field(uint8_t location);
PresentedField date_field(uint8_t year_byte, uint8_t week_byte);
PresentedField serial_field(const Bytes &spd, size_t at);
PresentedField part_field(const Bytes &spd, size_t at, size_t size);

// Where a generation keeps the maker's data: the module maker's JEP106
// continuation and code, the DRAM maker's, the location, the date, the
// serial number and the part number.
struct MakerLayout {
    size_t module_maker;
    size_t dram_maker;  // 0: the generation (or the SPD's CRC) leaves it out
    size_t location;
    size_t date;
    size_t serial;
    size_t part;
    size_t part_size;
};
void maker_fields(const Bytes &spd, const MakerLayout &layout, Fields &fields);
// "OK (0x1234 over bytes 0-116)" or "BAD (stored ..., computed ...)": the
// CRC-16 of bytes first..last, stored low byte first at `stored_at`.
PresentedField crc_field(const char *name, const Bytes &spd, size_t first, size_t last, size_t stored_at);

// The clock period, in femtoseconds, as a fraction: an SPD stores an
// approximation of the standard period (0.938 ns for 7.5/8 ns), and the
// speed and timings follow from the standard one.
struct Clock {
    int64_t fs_numerator;
    int64_t denominator;
    int64_t stored_fs;  // what the SPD holds, shown as the cycle time
};

// The standard period unit/n nearest to `stored_fs`, when it lies closer
// than `tolerance_fs` (the fine timebase); else the stored period.
Clock standard_clock(int64_t stored_fs, int64_t tolerance_fs, int64_t unit_fs);

// cycle_time, max_speed ("2133 MT/s (PC4-17000)") and timings
// ("15-15-15-36": CL-RCD-RP-RAS, each time divided by the period and rounded
// up, less a guard in thousandths so that an exact multiple stays put).
struct CoreTimes {
    int64_t aa_fs, rcd_fs, rp_fs, ras_fs;
};
// `grade` is the standard module name's prefix with its dash, if any:
// "PC3-" for "PC3-10600", "PC" for first-generation DDR's "PC3200", whose
// names round to the nearest hundred (`nearest`).
void speed_fields(Fields &fields, const Clock &clock, unsigned bus_bits, const char *grade,
                  bool nearest = false);
void timing_field(Fields &fields, const Clock &clock, const CoreTimes &times, int guard_thousandths);
// A time in whole clock cycles, as timing_field counts them.
long long clock_cycles(const Clock &clock, int64_t fs, int guard_thousandths);

}  // namespace fruplat::spd

#endif
