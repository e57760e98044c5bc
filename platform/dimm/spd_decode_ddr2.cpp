// DDR and DDR2 SPD: 128 bytes of JEDEC data under an 8-bit checksum in
// byte 63, the maker's data from byte 64.
#include "dimm/spd_decode_internal.h"

namespace fruplat::spd {

namespace {

struct Ddr2ModuleType {
    uint8_t bit;
    const char *name;
};

constexpr Ddr2ModuleType kDdr2ModuleTypes[] = {
    {0x01, "RDIMM"}, {0x02, "UDIMM"}, {0x04, "SO-DIMM"},
    {0x08, "Micro-DIMM"}, {0x10, "Mini-RDIMM"}, {0x20, "Mini-UDIMM"},
};

// Byte 8, the interface level: a voltage where it names one.
struct InterfaceLevel {
    unsigned millivolts;  // 0: shown by name
    const char *name;
};
constexpr InterfaceLevel kInterfaceLevels[] = {
    {0, "TTL (5V tolerant)"}, {0, "LVTTL (not 5V tolerant)"}, {1500, nullptr},
    {3300, nullptr},          {2500, nullptr},                {1800, nullptr},
};

// Byte 9, the clock period at the highest CAS latency: whole ns in the high
// nibble, tenths in the low one; DDR2 adds .25, .33, .66 and .75 ns as
// 0xA-0xD.
int64_t cycle_fs(uint8_t byte, bool ddr2)
{
    constexpr int64_t kDdr2Fractions[4] = {250000, 330000, 660000, 750000};
    const unsigned low = byte & 0x0F;
    const int64_t whole = int64_t{1000000} * (byte >> 4);
    if (low <= 9)
        return whole + 100000 * low;
    return ddr2 && low <= 0xD ? whole + kDdr2Fractions[low - 0xA] : 0;
}

// Bytes 27 and 29: whole ns in bits 7-2, quarters in bits 1-0.
int64_t quarters_fs(uint8_t byte)
{
    return int64_t{1000000} * (byte >> 2) + 250000 * (byte & 0x03);
}

// Byte 18 names the CAS latencies the module supports, the highest one
// going with byte 9's period: on DDR2 bit n is CL n (2 to 6), on DDR bit n
// is CL (n + 2) / 2, halves included (1 to 4). Bit 7, and DDR2's bits 0
// and 1, are reserved. Empty when no latency is set.
std::string highest_cas(uint8_t bits, bool ddr2)
{
    bits &= ddr2 ? 0x7C : 0x7F;
    int top = 6;
    while (top >= 0 && (bits >> top & 1) == 0)
        --top;
    if (top < 0)
        return {};
    if (ddr2)
        return std::to_string(top);
    const int halves = top + 2;
    return std::to_string(halves / 2) + (halves % 2 != 0 ? ".5" : "");
}

void speed(const Bytes &spd, bool ddr2, unsigned bus_bits, Fields &fields)
{
    const int64_t period = cycle_fs(spd[9], ddr2);
    const Clock clock = period > 0 ? Clock{period, 1, period} : Clock{0, 1, 0};
    speed_fields(fields, clock, bus_bits, ddr2 ? "PC2-" : "PC", !ddr2);
    const std::string cas = highest_cas(spd[18], ddr2);
    if (clock.fs_numerator > 0 && !cas.empty()) {
        std::string timings = cas;
        for (const int64_t fs : {quarters_fs(spd[29]), quarters_fs(spd[27]), int64_t{1000000} * spd[30]}) {
            timings += '-';
            append_decimal(timings, clock_cycles(clock, fs, 0));
        }
        fields.push_back({"timings", timings});
    }
    if (spd[8] < std::size(kInterfaceLevels) && kInterfaceLevels[spd[8]].millivolts != 0)
        fields.push_back(voltage_field(kInterfaceLevels[spd[8]].millivolts));
    else if (spd[8] < std::size(kInterfaceLevels))
        fields.push_back({"nominal_voltage", kInterfaceLevels[spd[8]].name});
    else
        fields.push_back({"nominal_voltage", printf_text("unknown (0x%02X)", spd[8])});
}

void decode(const Bytes &spd, bool ddr2, Fields &fields)
{
    std::string module_type = "unspecified";
    if (ddr2) {
        module_type.clear();
        for (const Ddr2ModuleType &t : kDdr2ModuleTypes)
            if ((spd[20] & t.bit) != 0)
                module_type += (module_type.empty() ? "" : ", ") + std::string(t.name);
        if (module_type.empty())
            module_type = "Undefined";
    }
    const unsigned ranks = ddr2 ? (spd[5] & 0x07) + 1u : spd[5];
    const int address_bits = (spd[3] & 0x0F) + (spd[4] & 0x0F) - 17;
    const uint64_t size = address_bits > 0 && address_bits <= 12
                              ? (uint64_t{1} << address_bits) * ranks * spd[17]
                              : 0;
    unsigned continuations = 0;
    while (continuations < 7 && spd[64 + continuations] == 0x7F)
        ++continuations;
    uint8_t checksum = 0;
    for (size_t i = 0; i < 63; ++i)
        checksum = static_cast<uint8_t>(checksum + spd[i]);
    fields.push_back(revision_field(spd[62]));
    fields.push_back({"module_type", module_type});
    fields.push_back(size != 0 ? capacity_field(size) : PresentedField{"capacity", "invalid geometry"});
    fields.push_back(count_field("ranks", ranks));
    fields.push_back(bits_field("device_width", spd[13]));
    fields.push_back(bits_field("data_width", le16(spd, 6)));
    fields.push_back({"ecc", (spd[11] & 0x02) != 0 ? "yes" : "no"});
    // The module's name counts the data bits, not the check bits of data
    // parity (bit 0) or ECC (bit 1).
    const unsigned bus = le16(spd, 6);
    speed(spd, ddr2, (spd[11] & 0x03) != 0 && bus > 8 ? bus - 8 : bus, fields);
    fields.push_back(maker_field("module_manufacturer", static_cast<uint8_t>(continuations),
                                 spd[64 + continuations]));
    fields.push_back(location_field(spd[72]));
    fields.push_back(date_field(spd[93], spd[94]));
    fields.push_back(serial_field(spd, 95));
    fields.push_back(part_field(spd, 73, 18));
    fields.push_back({"checksum", checksum == spd[63]
                                      ? printf_text("OK (0x%02X over bytes 0-62)", checksum)
                                      : printf_text("BAD (stored 0x%02X, computed 0x%02X over bytes 0-62)",
                                                    spd[63], checksum)});
}

}  // namespace

void decode_ddr(const Bytes &spd, Fields &fields) { decode(spd, false, fields); }
void decode_ddr2(const Bytes &spd, Fields &fields) { decode(spd, true, fields); }

}  // namespace fruplat::spd
