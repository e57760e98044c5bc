#include "dimm/spd.h"

#include <strings.h>

namespace fruplat {

namespace {

struct TypeInfo {
    uint8_t code;
    SpdType type;
    const char *name;
    const char *record;
    size_t length;
};

constexpr TypeInfo kTypes[] = {
    {0x07, SpdType::Ddr, "DDR SDRAM", "SPD1_R", 128},
    {0x08, SpdType::Ddr2, "DDR2 SDRAM", "SPD1_R", 128},
    {0x09, SpdType::FbDimm, "DDR2 SDRAM FB-DIMM", "SPD_FBDIMM_R", 176},
    {0x0B, SpdType::Ddr3, "DDR3 SDRAM", "SPD_DDR3_R", 176},
    // Later generations have no record of their own: SPD1_R stands for the
    // module's SPD whatever its generation, its first 128 bytes being the
    // base configuration every generation starts with.
    {0x0C, SpdType::Ddr4, "DDR4 SDRAM", "SPD1_R", 128},
    {0x12, SpdType::Ddr5, "DDR5 SDRAM", "SPD1_R", 128},
    {0x0F, SpdType::Lpddr, "LPDDR3 SDRAM", "SPD1_R", 128},
    {0x10, SpdType::Lpddr, "LPDDR4 SDRAM", "SPD1_R", 128},
    {0x11, SpdType::Lpddr, "LPDDR4X SDRAM", "SPD1_R", 128},
    {0x13, SpdType::Lpddr, "LPDDR5 SDRAM", "SPD1_R", 128},
    {0x15, SpdType::Lpddr, "LPDDR5X SDRAM", "SPD1_R", 128},
};

constexpr CustomerRecord kCustomerRecords[] = {
    {"Power_On_DataR", 0x01, 178, 8},
    {"Fault_Install_DataR", 0x02, 186, 45},
};

const TypeInfo *type_info(const Bytes &spd)
{
    if (spd.size() < 3)
        return nullptr;
    for (const TypeInfo &t : kTypes)
        if (t.code == spd[2])
            return &t;
    return nullptr;
}

}  // namespace

SpdType spd_type(const Bytes &spd)
{
    const TypeInfo *info = type_info(spd);
    return info != nullptr ? info->type : SpdType::Other;
}

const char *spd_record_name(SpdType type, size_t *length)
{
    for (const TypeInfo &t : kTypes) {
        if (t.type == type) {
            *length = t.length;
            return t.record;
        }
    }
    return nullptr;
}

uint16_t spd_crc16(const uint8_t *data, size_t size)
{
    unsigned crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc ^= static_cast<unsigned>(data[i]) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1;
    }
    return static_cast<uint16_t>(crc);
}

const CustomerRecord *customer_record(const char *name)
{
    for (const CustomerRecord &r : kCustomerRecords)
        if (strcasecmp(r.name, name) == 0)
            return &r;
    return nullptr;
}

void seal_customer_area(Bytes &spd)
{
    spd[kCustomerVersionByte] = kCustomerLayoutVersion;
    store_be(&spd[kCustomerCrcOffset], spd_crc16(&spd[kCustomerStart], kCustomerCrcOffset - kCustomerStart),
           2);
}

}  // namespace fruplat
