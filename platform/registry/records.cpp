#include <strings.h>

#include "registry/registry.h"

namespace fruplat {

namespace {

using F = FieldKind;

constexpr FieldDef kStamp = {"timestamp", 0, 4, F::Timestamp};

constexpr FieldDef kPowerEvents[] = {kStamp, {"event", 4, 1, F::Enum, "Event"}};
constexpr FieldDef kPowerSummary[] = {kStamp,
                                      {"total_time_on", 4, 4, F::Signed},
                                      {"total_power_ons", 8, 4, F::Signed},
                                      {"total_power_offs", 12, 4, F::Signed}};
constexpr FieldDef kTemperature[] = {
    kStamp,
    {"sensor", 4, 1, F::Unsigned},
    {"lowest", 5, 1, F::Signed},
    {"highest", 6, 1, F::Signed},
    {"latest", 7, 1, F::Signed},
    {"format", 8, 4, F::Hex},
    {"histogram0", 12, 2, F::Unsigned},
    {"histogram1", 14, 2, F::Unsigned},
    {"histogram2", 16, 2, F::Unsigned},
    {"histogram3", 18, 2, F::Unsigned},
    {"histogram4", 20, 2, F::Unsigned},
    {"histogram5", 22, 2, F::Unsigned},
    {"histogram6", 24, 2, F::Unsigned},
    {"histogram7", 26, 2, F::Unsigned},
    {"histogram8", 28, 2, F::Unsigned},
    {"histogram9", 30, 2, F::Unsigned},
};
constexpr FieldDef kStatusEvents[] = {kStamp,
                                      {"old_status", 4, 1, F::Unsigned},
                                      {"new_status", 5, 1, F::Unsigned},
                                      {"initiator", 6, 1, F::Enum, "Initiator"},
                                      {"component", 7, 1, F::Unsigned},
                                      {"event_code", 8, 4, F::Enum, "Event_Code"},
                                      {"message", 12, 128, F::Text}};
constexpr FieldDef kStatusCurrent[] = {kStamp, {"status", 4, 1, F::Unsigned}};
constexpr FieldDef kSegmentHistory[] = {kStamp,
                                        {"entry_type", 4, 1, F::Enum, "Entry_Type"},
                                        {"segname", 5, 2, F::Text}};
constexpr FieldDef kKvms[] = {{"enabled_duration", 0, 4, F::Signed},
                              {"session_count", 4, 4, F::Signed},
                              {"session_duration", 8, 4, F::Signed}};
constexpr FieldDef kPowerBudget[] = {{"enabled_duration", 0, 4, F::Signed},
                                     {"softcap_count", 4, 4, F::Signed},
                                     {"hardcap_duration", 8, 4, F::Signed}};
constexpr FieldDef kPowerOn[] = {kStamp, {"power_on_minutes", 4, 4, F::Signed}};
constexpr FieldDef kFaultInstall[] = {kStamp,
                                      {"macaddr", 4, 6, F::Mac},
                                      {"status", 10, 1, F::Unsigned},
                                      {"initiator", 11, 1, F::Enum, "Initiator"},
                                      {"message_type", 12, 1, F::Enum, "Message_Type"},
                                      {"message_32_0", 13, 8, F::Hex},
                                      {"message_32_1", 21, 8, F::Hex},
                                      {"message_32_2", 29, 8, F::Hex},
                                      {"message_32_3", 37, 8, F::Hex}};
constexpr FieldDef kCustomer[] = {kStamp, {"cust_data", 4, 80, F::Text}};
constexpr FieldDef kMan[] = {kStamp,
                             {"fru_description", 4, 80, F::Text},
                             {"manufacture_loc", 84, 64, F::Text},
                             {"zan_part_no", 148, 7, F::Text},
                             {"zan_serial_no", 155, 6, F::Text},
                             {"vendor_name", 161, 2, F::Enum, "Vendor_Name"},
                             {"initial_hw_dash_level", 163, 2, F::Text},
                             {"initial_hw_rev_level", 165, 2, F::Text},
                             {"fru_shortname", 167, 16, F::Text}};
constexpr FieldDef kZanMan[] = {kStamp,
                                {"fru_description", 4, 30, F::Text},
                                {"reserved", 34, 5, F::Hex},
                                {"zan_part_no", 39, 7, F::Text},
                                {"zan_serial_no", 46, 30, F::Text},
                                {"serial_number_format", 76, 20, F::Text},
                                {"vendor_id_code", 96, 4, F::Unsigned},
                                {"vendor_id_code_source", 100, 1, F::Unsigned},
                                {"initial_hw_dash_level", 101, 2, F::Text},
                                {"initial_hw_rev_level", 103, 2, F::Text},
                                {"fru_shortname", 105, 16, F::Text},
                                {"hazard_class_code", 121, 2, F::Text},
                                {"fru_type", 123, 2, F::Enum, "FRU_Type"},
                                {"zan_specpartno", 125, 11, F::Text}};
constexpr FieldDef kZanMan1[] = {kStamp,
                                 {"fru_description", 4, 30, F::Text},
                                 {"vendor_id_code", 34, 2, F::Unsigned},
                                 {"vendor_id_code_source", 36, 1, F::Unsigned},
                                 {"vendor_name_and_site_location", 37, 64, F::Text},
                                 {"zan_part_no", 101, 7, F::Text},
                                 {"zan_serial_no", 108, 30, F::Text},
                                 {"serial_number_format", 138, 20, F::Text},
                                 {"initial_hw_dash_level", 158, 2, F::Text},
                                 {"initial_hw_rev_level", 160, 2, F::Text},
                                 {"fru_shortname", 162, 16, F::Text},
                                 {"hazard_class_code", 178, 2, F::Text},
                                 {"zan_specpartno", 180, 11, F::Text}};
constexpr FieldDef kPartNumberData[] = {kStamp,
                                        {"zan_part_no", 4, 7, F::Text},
                                        {"zan_serial_no", 11, 6, F::Text},
                                        {"vendor_name", 17, 2, F::Enum, "Vendor_Name"},
                                        {"initial_hw_dash_level", 19, 2, F::Text}};
constexpr FieldDef kConfiguredLevel[] = {kStamp,
                                         {"zan_part_no", 4, 7, F::Text},
                                         {"configured_serial_no", 11, 20, F::Text},
                                         {"initial_hw_dash_level", 31, 2, F::Text}};
constexpr FieldDef kInstallation[] = {kStamp,
                                      {"fru_path", 4, 128, F::Text},
                                      {"parent_part_no", 132, 7, F::Text},
                                      {"parent_serial_no", 139, 6, F::Text},
                                      {"parent_dash_no", 145, 2, F::Text},
                                      {"system_id", 147, 20, F::Text},
                                      {"system_tz", 167, 2, F::Signed},
                                      {"geo_north", 169, 4, F::Signed},
                                      {"geo_east", 173, 4, F::Signed},
                                      {"geo_alt", 177, 2, F::Signed},
                                      {"geo_location", 179, 40, F::Text}};
constexpr FieldDef kInstallation1[] = {kStamp,
                                       {"fru_path", 4, 128, F::Text},
                                       {"parent_part_no", 132, 20, F::Text},
                                       {"parent_serial_no", 152, 30, F::Text},
                                       {"parent_dash_no", 182, 2, F::Text},
                                       {"system_id", 184, 30, F::Text},
                                       {"macaddr", 214, 6, F::Mac},
                                       {"hostid", 220, 4, F::Hex},
                                       {"system_tz", 224, 2, F::Signed}};
constexpr FieldDef kTopLevel[] = {kStamp,
                                  {"product_part_no", 4, 20, F::Text},
                                  {"product_rev_level", 24, 1, F::Unsigned},
                                  {"product_serial_no", 25, 30, F::Text},
                                  {"macaddr", 55, 6, F::Mac},
                                  {"hostid", 61, 4, F::Hex}};
constexpr FieldDef kMultiLevel[] = {kStamp,
                                    {"mlr_part_dash_no", 4, 20, F::Text},
                                    {"mlr_serial_no", 24, 30, F::Text},
                                    {"mlr_description", 54, 30, F::Text}};
constexpr FieldDef kEcoCurrent[] = {kStamp,
                                    {"firmware_rev", 4, 8, F::Text},
                                    {"hardware_rev", 12, 2, F::Text},
                                    {"hw_dash_level", 14, 2, F::Text}};
constexpr FieldDef kFruLabel[] = {{"zan_serial_no", 0, 30, F::Text},
                                  {"fru_part_dash_no", 30, 11, F::Text}};
constexpr FieldDef kPartnerLabel[] = {{"vendor_name", 0, 2, F::Enum, "Vendor_Name"},
                                      {"partner_part_number", 2, 20, F::Text}};
constexpr FieldDef kMacRange[] = {{"ethernet_addr", 0, 6, F::Mac},
                                  {"ethernet_addr_range", 6, 2, F::Unsigned}};
constexpr FieldDef kMac2[] = {{"ethernet_addr", 0, 6, F::Mac}, {"ethernet_addr_2", 6, 6, F::Mac}};
constexpr FieldDef kEthernetAddr[] = {{"ethernet_addr", 0, 6, F::Mac}};
constexpr FieldDef kHostId[] = {{"hostid", 0, 4, F::Hex}};
constexpr FieldDef kSequence[] = {{"sequence_number", 0, 4, F::Signed}};
constexpr FieldDef kWwn[] = {{"wwn", 0, 8, F::Hex}};
constexpr FieldDef kNickname[] = {{"enclosure_nickname", 0, 80, F::Text}};
constexpr FieldDef kNewSerial[] = {{"new_serial_no", 0, 80, F::Text}};
constexpr FieldDef kDeviceType[] = {{"device_type", 0, 2, F::Enum, "Device_Type"}};
constexpr FieldDef kPwrMgmt[] = {{"arrayname", 0, 15, F::Text},
                                 {"ncycleskips", 15, 1, F::Unsigned},
                                 {"ncores", 16, 1, F::Unsigned},
                                 {"maxpower", 17, 2, F::Unsigned}};
constexpr FieldDef kPwrMgmtRf[] = {{"version", 0, 1, F::Unsigned},
                                   {"cycleskipheaders", 1, 10, F::Hex},
                                   {"pwrmgmt_rf_data", 11, 80, F::Hex}};

#define FIELDS(table) table, sizeof table / sizeof table[0]
#define NO_FIELDS nullptr, 0

// Home segments: MN manufacturing identity, CF configuration and labels,
// CU customer data, IN installation, NW network and identifiers, PE power,
// TH temperature, ST status, UG usage, PM power management.
constexpr RecordDef kRecords[] = {
    {"Power_EventsR", 0x0101, 5, 10, "PE", kZanFamily, FIELDS(kPowerEvents), false},
    {"Power_SummaryR", 0x0102, 16, 0, "PE", kZanFamily, FIELDS(kPowerSummary), false},
    {"Temperature_HistoryR", 0x0103, 32, 10, "TH", kZanFamily, FIELDS(kTemperature), false},
    {"Status_EventsR", 0x0104, 140, 10, "ST", kZanFamily, FIELDS(kStatusEvents), false},
    {"Status_CurrentR", 0x0105, 5, 0, "ST", kZanFamily, FIELDS(kStatusCurrent), false},
    {"Segment_HistoryR", 0x0106, 7, 10, "ST", kZanFamily, FIELDS(kSegmentHistory), false},
    {"TAVO_Usage_Kvms_R", 0x0107, 12, 0, "UG", kZanFamily, FIELDS(kKvms), false},
    {"TAVO_Usage_Powerbudget_R", 0x0108, 12, 0, "UG", kZanFamily, FIELDS(kPowerBudget), false},
    {"Customer_DataR", 0x0201, 84, 0, "CU", kZanFamily, FIELDS(kCustomer), false},
    {"ManR", 0x0202, 183, 0, "MN", kZanFamily, FIELDS(kMan), true},
    {"Zan_ManR", 0x0203, 136, 0, "MN", kZanFamily, FIELDS(kZanMan), true},
    {"Zan_Man1R", 0x0204, 191, 0, "MN", kZanFamily, FIELDS(kZanMan1), true},
    {"Zan_Part_Number_DataR", 0x0205, 21, 0, "MN", kZanFamily, FIELDS(kPartNumberData), true},
    {"Configured_LevelR", 0x0206, 33, 0, "CF", kZanFamily, FIELDS(kConfiguredLevel), false},
    {"InstallationR", 0x0207, 219, 5, "IN", kZanFamily, FIELDS(kInstallation), false},
    {"Installation1R", 0x0208, 226, 5, "IN", kZanFamily, FIELDS(kInstallation1), false},
    {"Top_Level_IdentifierR", 0x0209, 65, 0, "CF", kZanFamily, FIELDS(kTopLevel), false},
    {"MultiLevelR", 0x020A, 84, 0, "CF", kZanFamily, FIELDS(kMultiLevel), false},
    {"ECO_CurrentR", 0x020B, 16, 0, "CF", kZanFamily, FIELDS(kEcoCurrent), false},
    {"Zan_FRU_LabelR", 0x020C, 41, 0, "CF", kZanFamily, FIELDS(kFruLabel), false},
    {"Partner_LabelR", 0x020D, 22, 0, "CF", kZanFamily, FIELDS(kPartnerLabel), false},
    {"EthernetMACAddrRangeR", 0x0301, 8, 0, "NW", kZanFamily, FIELDS(kMacRange), false},
    {"EthernetMACAddr2R", 0x0302, 12, 0, "NW", kZanFamily, FIELDS(kMac2), false},
    {"Ethernet_Addr", 0x0303, 80, 0, "NW", kZanFamily, FIELDS(kEthernetAddr), false},
    {"HOSTID", 0x0304, 80, 0, "NW", kZanFamily, FIELDS(kHostId), false},
    {"Sequence_Number", 0x0305, 80, 0, "NW", kZanFamily, FIELDS(kSequence), false},
    {"WWN", 0x0306, 80, 0, "NW", kZanFamily, FIELDS(kWwn), false},
    {"Enclosure_Nickname", 0x0307, 80, 0, "NW", kZanFamily, FIELDS(kNickname), false},
    {"New_Serial_No", 0x0308, 80, 0, "NW", kZanFamily, FIELDS(kNewSerial), false},
    {"Device_Type", 0x0309, 2, 0, "NW", kZanFamily, FIELDS(kDeviceType), false},
    {"PwrMgmtR", 0x0401, 19, 0, "PM", kZanFamily, FIELDS(kPwrMgmt), false},
    {"PwrMgmt_RFR", 0x0402, 91, 0, "PM", kZanFamily, FIELDS(kPwrMgmtRf), false},
    {"Power_On_DataR", 0x0501, 8, 0, nullptr, kDimmFamily, FIELDS(kPowerOn), false},
    {"Fault_Install_DataR", 0x0502, 45, 0, nullptr, kDimmFamily, FIELDS(kFaultInstall), false},
    {"SPD_DDR3_R", 0x0503, 176, 0, nullptr, kDimmFamily, NO_FIELDS, false},
    {"SPD_FBDIMM_R", 0x0504, 176, 0, nullptr, kDimmFamily, NO_FIELDS, false},
    {"SPD1_R", 0x0505, 128, 0, nullptr, kDimmFamily, NO_FIELDS, false},
    {"PIROM_DataR", 0x0601, 128, 0, nullptr, kPiromFamily, NO_FIELDS, false},
    {"Chassis_Info_Area_S", 0x0701, 0, 0, nullptr, kIpmiFamily, NO_FIELDS, false},
    {"Board_Info_Area_S", 0x0702, 0, 0, nullptr, kIpmiFamily, NO_FIELDS, false},
    {"Product_Info_Area_S", 0x0703, 0, 0, nullptr, kIpmiFamily, NO_FIELDS, false},
    {"MultiRecord_Area_S", 0x0704, 0, 0, nullptr, kIpmiFamily, NO_FIELDS, false},
};

struct AliasDef {
    uint8_t families;
    const char *alias;
    const char *record;
};

constexpr AliasDef kAliases[] = {
    {kZanFamily, "POWER", "Power_EventsR"},
    {kZanFamily, "FAULT", "Status_EventsR"},
    {kZanFamily, "TEMPERATURE", "Temperature_HistoryR"},
    {kZanFamily, "CUSTOMER", "Customer_DataR"},
    {kZanFamily, "CONFIG", "Configured_LevelR"},
    {kZanFamily, "TLI", "Top_Level_IdentifierR"},
    {kZanFamily, "MLR", "MultiLevelR"},
    {kZanFamily, "Partner_Part_NumberR", "Partner_LabelR"},
    {kDimmFamily, "POWER", "Power_On_DataR"},
    {kDimmFamily, "FAULT", "Fault_Install_DataR"},
    {kPiromFamily, "PIROM", "PIROM_DataR"},
};

}  // namespace

uint8_t family_mask(Family family)
{
    switch (family) {
    case Family::Zan:
        return kZanFamily;
    case Family::Ipmi:
        return kIpmiFamily;
    case Family::Dimm:
        return kDimmFamily;
    case Family::Pirom:
        return kPiromFamily;
    }
    return 0;
}

const RecordDef *find_record_def(const char *name)
{
    for (const RecordDef &def : kRecords)
        if (strcasecmp(def.name, name) == 0)
            return &def;
    return nullptr;
}

const RecordDef *find_record_by_tag(uint16_t tag)
{
    for (const RecordDef &def : kRecords)
        if (def.tag == tag)
            return &def;
    return nullptr;
}

const RecordDef *resolve_alias(Family family, const char *name)
{
    for (const AliasDef &alias : kAliases)
        if ((alias.families & family_mask(family)) != 0 && strcasecmp(alias.alias, name) == 0)
            return find_record_def(alias.record);
    return nullptr;
}

bool is_alias_of_family(Family family, const char *name)
{
    return resolve_alias(family, name) != nullptr;
}

int32_t record_of_family(Family family, const char *name, const RecordDef **def)
{
    const RecordDef *found = resolve_alias(family, name);
    if (found == nullptr)
        found = find_record_def(name);
    if (found == nullptr)
        return kUnknownRecord;
    if ((found->families & family_mask(family)) == 0)
        return kNotInFamily;
    *def = found;
    return kOk;
}

const RecordDef *record_defs(size_t *count)
{
    *count = sizeof kRecords / sizeof kRecords[0];
    return kRecords;
}

}  // namespace fruplat
