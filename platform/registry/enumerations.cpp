#include <cstring>
#include <strings.h>

#include "registry/registry.h"

namespace fruplat {

namespace {

constexpr EnumEntry kEvent[] = {{"power_on", 1}, {"power_off", 2}, {"still_on", 3}};

// JEDEC JEP106 manufacturer codes: the high byte counts the continuation
// codes (0x7F) before the code, the low byte is the code with its parity bit.
constexpr EnumEntry kVendorName[] = {
    {"AMD", 0x0001},      {"Fujitsu", 0x0004},   {"Hitachi", 0x0007},
    {"NEC", 0x0010},      {"Micron", 0x002C},    {"Intel", 0x0089},
    {"Texas_Instruments", 0x0097}, {"Toshiba", 0x0098}, {"IBM", 0x00A4},
    {"Hynix", 0x00AD},    {"Infineon", 0x00C1},  {"Samsung", 0x00CE},
    {"Elpida", 0x02FE},   {"Kingston", 0x0198},  {"Nanya", 0x030B},
    {"Qimonda", 0x0551},
};

constexpr EnumEntry kInitiator[] = {
    {"SP", 1}, {"Host", 2}, {"OS", 3}, {"Diagnostics", 4}, {"Manufacturing", 5},
    {"Field_Service", 6}, {"Repair_Depot", 7},
};

constexpr EnumEntry kEventCode[] = {
    {"Power_Supply_Fault", 0x00010001},  {"Fan_Fault", 0x00010002},
    {"Over_Temperature", 0x00020001},    {"Voltage_Out_Of_Range", 0x00020002},
    {"ECC_Correctable", 0x00030001},     {"ECC_Uncorrectable", 0x00030002},
    {"Link_Down", 0x00040001},           {"FRU_Inserted", 0x00050001},
    {"FRU_Removed", 0x00050002},         {"Firmware_Update", 0x00060001},
};

constexpr EnumEntry kMessageType[] = {
    {"Informational", 0}, {"Warning", 1}, {"Error", 2}, {"Fatal", 3}, {"Diagnostic", 4},
};

constexpr EnumEntry kFruType[] = {
    {"Motherboard", 1},     {"CPU_Module", 2},  {"Memory_Module", 3}, {"Power_Supply", 4},
    {"Fan_Tray", 5},        {"Disk_Drive", 6},  {"PCI_Card", 7},      {"Chassis", 8},
    {"Service_Processor", 9}, {"IO_Board", 10}, {"Backplane", 11},
};

constexpr EnumEntry kDeviceType[] = {
    {"Processor", 0x0100},   {"Memory", 0x0200},        {"Power_Supply", 0x0300},
    {"Fan", 0x0400},         {"Disk_Drive", 0x0500},    {"Network_Controller", 0x0600},
    {"Storage_Controller", 0x0700}, {"Service_Processor", 0x0800},
};

constexpr EnumEntry kEntryType[] = {
    {"Corruption Detected", 1},
    {"Dynamic Section Header Corrupted", 2},
    {"Static Section Header Corrupted", 3},
    {"Unuse", 4},
    {"Creation", 5},
};

#define ENUM(name, table) {name, table, sizeof table / sizeof table[0]}

constexpr EnumDef kEnums[] = {
    ENUM("Event", kEvent),           ENUM("Vendor_Name", kVendorName),
    ENUM("Initiator", kInitiator),   ENUM("Event_Code", kEventCode),
    ENUM("Message_Type", kMessageType), ENUM("FRU_Type", kFruType),
    ENUM("Device_Type", kDeviceType), ENUM("Entry_Type", kEntryType),
};

}  // namespace

const EnumDef *find_enum(const char *name)
{
    for (const EnumDef &e : kEnums)
        if (std::strcmp(e.name, name) == 0)
            return &e;
    return nullptr;
}

const EnumDef *enum_defs(size_t *count)
{
    *count = sizeof kEnums / sizeof kEnums[0];
    return kEnums;
}

const char *enum_name(const char *enumeration, uint32_t value)
{
    const EnumDef *e = find_enum(enumeration);
    if (e == nullptr)
        return nullptr;
    for (size_t i = 0; i < e->count; ++i)
        if (e->entries[i].value == value)
            return e->entries[i].name;
    return nullptr;
}

}  // namespace fruplat
