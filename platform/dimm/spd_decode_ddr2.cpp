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
