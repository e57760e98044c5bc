#include "records/element_table.h"

#include <cstring>

namespace quillet {

namespace {

using K = ElementKind;
using R = RecordId;

constexpr RegistryRule kEvent = {
    "Event", "\n Error: Please supply value for event from the following list:\n", false, false};
constexpr RegistryRule kVendorName = {
    "Vendor_Name", "\n Error: Please supply value for VendorName from the following list:\n",
    false, true};
constexpr RegistryRule kInitiator = {
    "Initiator", "\n Error: Please supply value forinitiator from the following list:\n", false,
    false};
constexpr RegistryRule kEventCode = {
    "Event_Code", "\n Error: Please supply value for event_code from the following list:\n", false,
    false};
constexpr RegistryRule kMessageType = {
    "Message_Type", "\n Error: Please supply value for Message_Type from the following list:\n",
    false, false};
constexpr RegistryRule kFruType = {
    "FRU_Type", "\n Error: Please supply value for fru_type from the following list:\n", false,
    false};
// device_type lists nothing when its value is absent; it has a plain message.
constexpr RegistryRule kDeviceType = {"Device_Type", nullptr, true, false};
constexpr RegistryRule kEntryType = {
    "Entry_Type", "\n Error: Please supply value for entry_type from the following list:\n", false,
    false};

constexpr const char kDashLevel[] = "\n Error: Please supply value for Dash Level\n";
constexpr const char kPartNo[] = "\n Error: Please supply value for Part No\n";
constexpr const char kSerialNo[] = "\n Error: Please supply value for Serial No\n";
constexpr const char kHistogram[] = "\n Error: Please supply value for histogram\n";
constexpr const char kMessage32[] = "\n Error: Please supply value for message_32\n";
constexpr const char kEthernetAddr[] = "\n Error: Please supply value for ethernet_addr\n";

// initial_hw_dash_level and parent_dash_no fill the same fields.
#define DASH_LEVEL_TARGETS                                                                   \
    {{R::ManR, 163, 2},           {R::Zan_ManR, 101, 2},      {R::Zan_Man1R, 158, 2},       \
     {R::Zan_Part_Number_DataR, 19, 2}, {R::Configured_LevelR, 31, 2}, {R::ECO_CurrentR, 14, 2}, \
     {R::InstallationR, 145, 2},  {R::Installation1R, 182, 2}}

#define HISTOGRAM(n)                                                                           \
    {.name = "histogram" #n, .kind = K::Decimal, .missing_message = kHistogram,                 \
     .targets = {{R::Temperature_HistoryR, 12 + 2 * (n), 2}}}

#define MESSAGE_32(n)                                                                          \
    {.name = "message_32_" #n, .kind = K::Hex, .missing_message = kMessage32,                   \
     .targets = {{R::Fault_Install_DataR, 13 + 8 * (n), 8}}}

}  // namespace

const ElementRow kElementTable[] = {
    {.name = "timestamp", .kind = K::Ignored, .missing_message = nullptr, .targets = {}},
    {.name = "event", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::Power_EventsR, 4, 1}}, .registry = &kEvent},
    {.name = "total_time_on", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for total_time_on\n",
     .targets = {{R::Power_SummaryR, 4, 4}}},
    {.name = "total_power_ons", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for total_power_ons\n",
     .targets = {{R::Power_SummaryR, 8, 4}}},
    {.name = "total_power_offs", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for total_power_offs\n",
     .targets = {{R::Power_SummaryR, 12, 4}}},
    {.name = "sensor", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for sensor\n",
     .targets = {{R::Temperature_HistoryR, 4, 1}}},
    {.name = "lowest", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for lowest\n",
     .targets = {{R::Temperature_HistoryR, 5, 1}}},
    {.name = "latest", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for latest\n",
     .targets = {{R::Temperature_HistoryR, 7, 1}}},
    {.name = "highest", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for highest\n",
     .targets = {{R::Temperature_HistoryR, 6, 1}}},
    HISTOGRAM(0), HISTOGRAM(1), HISTOGRAM(2), HISTOGRAM(3), HISTOGRAM(4),
    HISTOGRAM(5), HISTOGRAM(6), HISTOGRAM(7), HISTOGRAM(8), HISTOGRAM(9),
    {.name = "fru_description", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for fru_description\n",
     .targets = {{R::ManR, 4, 80}, {R::Zan_ManR, 4, 30}, {R::Zan_Man1R, 4, 30}},
     .clear_first = true, .takes_description_text = true},
    {.name = "manufacture_loc", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for manufacture_loc\n",
     .targets = {{R::ManR, 84, 64}}, .clear_first = true},
    {.name = "zan_part_no", .kind = K::Text, .missing_message = kPartNo,
     .targets = {{R::ManR, 148, 7}, {R::Zan_ManR, 39, 7}, {R::Zan_Man1R, 101, 7},
                 {R::Zan_Part_Number_DataR, 4, 7}, {R::Configured_LevelR, 4, 7},
                 {R::InstallationR, 132, 7}, {R::Installation1R, 132, 20}},
     .clear_first = true},
    {.name = "zan_serial_no", .kind = K::Text, .missing_message = kSerialNo,
     .targets = {{R::ManR, 155, 6}, {R::Zan_ManR, 46, 30}, {R::Zan_Man1R, 108, 30},
                 {R::Zan_FRU_LabelR, 0, 30}, {R::Zan_Part_Number_DataR, 11, 6},
                 {R::InstallationR, 139, 6}, {R::Installation1R, 152, 30}},
     .clear_first = true},
    {.name = "vendor_name", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::ManR, 161, 2}, {R::Partner_LabelR, 0, 2}, {R::Zan_Part_Number_DataR, 17, 2}},
     .registry = &kVendorName},
    {.name = "fru_shortname", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for fru shortname\n",
     .targets = {{R::ManR, 167, 16}, {R::Zan_ManR, 105, 16}, {R::Zan_Man1R, 162, 16}},
     .clear_first = true},
    {.name = "initial_hw_dash_level", .kind = K::Text, .missing_message = kDashLevel,
     .targets = DASH_LEVEL_TARGETS},
    {.name = "initial_hw_rev_level", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for Rev Level\n",
     .targets = {{R::ManR, 165, 2}, {R::Zan_ManR, 103, 2}, {R::Zan_Man1R, 160, 2}}},
    {.name = "fru_path", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for fru_path\n",
     .targets = {{R::InstallationR, 4, 128}, {R::Installation1R, 4, 128}}},
    {.name = "parent_part_no", .kind = K::Text, .missing_message = kPartNo,
     .targets = {{R::Configured_LevelR, 4, 7}, {R::InstallationR, 132, 7},
                 {R::Installation1R, 132, 20}}},
    {.name = "parent_dash_no", .kind = K::Text, .missing_message = kDashLevel,
     .targets = DASH_LEVEL_TARGETS},
    {.name = "parent_serial_no", .kind = K::Text, .missing_message = kSerialNo,
     .targets = {{R::InstallationR, 139, 6}, {R::Installation1R, 152, 30}}},
    {.name = "system_id", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for System_Id\n",
     .targets = {{R::InstallationR, 147, 20}, {R::Installation1R, 184, 30}}},
    {.name = "system_tz", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for system_tz\n",
     .targets = {{R::InstallationR, 167, 2}, {R::Installation1R, 224, 2}}},
    {.name = "geo_north", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for geo_north\n",
     .targets = {{R::InstallationR, 169, 4}}},
    {.name = "geo_east", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for geo_east\n",
     .targets = {{R::InstallationR, 173, 4}}},
    {.name = "geo_alt", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for geo_alt\n",
     .targets = {{R::InstallationR, 177, 2}}},
    {.name = "geo_location", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for geo_location\n",
     .targets = {{R::InstallationR, 179, 40}}},
    {.name = "old_status", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for old_status\n",
     .targets = {{R::Status_EventsR, 4, 1}}},
    {.name = "new_status", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for new_status\n",
     .targets = {{R::Status_EventsR, 5, 1}}},
    {.name = "initiator", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::Status_EventsR, 6, 1}, {R::Fault_Install_DataR, 11, 1}},
     .registry = &kInitiator},
    {.name = "component", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for component\n",
     .targets = {{R::Status_EventsR, 7, 1}}},
    {.name = "message", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for message\n",
     .targets = {{R::Status_EventsR, 12, 128}}, .refuse_limit = 128,
     .too_long_format = "\n Error: Please supply less than or equal to  %d chars for message\n"},
    {.name = "event_code", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::Status_EventsR, 8, 4}}, .registry = &kEventCode},
    {.name = "configured_serial_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for configured_serial_no\n",
     .targets = {{R::Configured_LevelR, 11, 20}}, .clear_first = true},
    {.name = "cust_data", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for cust_data\n",
     .targets = {{R::Customer_DataR, 4, 80}}, .clear_first = true,
     .takes_description_text = true},
    {.name = "instance", .kind = K::NoStore,
     .missing_message = "\n Error: Please supply value for instance\n", .targets = {}},
    {.name = "vendor_id_code", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for vendor_id_code\n",
     .targets = {{R::Zan_ManR, 96, 4}, {R::Zan_Man1R, 34, 2}}},
    {.name = "vendor_id_code_source", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for vendor_id_code_source\n",
     .targets = {{R::Zan_ManR, 100, 1}, {R::Zan_Man1R, 36, 1}}},
    {.name = "vendor_name_and_site_location", .kind = K::Text,
     .missing_message = "\n Error: Please supply value vendor_name_and_site_location\n",
     .targets = {{R::Zan_Man1R, 37, 64}}, .clear_first = true},
    {.name = "serial_number_format", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for Serial_number_format\n",
     .targets = {{R::Zan_ManR, 76, 20}, {R::Zan_Man1R, 138, 20}}, .clear_first = true},
    // Every other element reports its own missing value; hazard_class_code
    // had no message of its own, so it gets one in the same form rather than
    // being silently ignored: a bare element is most likely a typing slip.
    {.name = "hazard_class_code", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for hazard_class_code\n",
     .targets = {{R::Zan_ManR, 121, 2}, {R::Zan_Man1R, 178, 2}}},
    {.name = "zan_specpartno", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for Zan_Specpartno\n",
     .targets = {{R::Zan_ManR, 125, 11}, {R::Zan_Man1R, 180, 11}}, .clear_first = true},
    {.name = "macaddr", .kind = K::Hex,
     .missing_message = "\n Error: Please supply value for macaddr\n",
     .targets = {{R::Fault_Install_DataR, 4, 6}, {R::Top_Level_IdentifierR, 55, 6},
                 {R::Installation1R, 214, 6}}},
    {.name = "message_type", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::Fault_Install_DataR, 12, 1}}, .registry = &kMessageType},
    MESSAGE_32(0), MESSAGE_32(1), MESSAGE_32(2), MESSAGE_32(3),
    {.name = "status", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for status\n",
     .targets = {{R::Fault_Install_DataR, 10, 1}, {R::Status_CurrentR, 4, 1}}},
    {.name = "power_on_minutes", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for power_on_minutes\n",
     .targets = {{R::Power_On_DataR, 4, 4}}},
    {.name = "product_part_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for top_level_pdt_dash_num\n",
     .targets = {{R::Top_Level_IdentifierR, 4, 20}}, .refuse_limit = 20,
     .too_long_format =
         "\n Error: Please supply less than or equal to %d chars for top_level_pdt_dash_num\n"},
    {.name = "product_rev_level", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for top_level_rev_level\n",
     .targets = {{R::Top_Level_IdentifierR, 24, 1}}},
    {.name = "product_serial_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for top_level_pdt_serial_num\n",
     .targets = {{R::Top_Level_IdentifierR, 25, 30}}, .refuse_limit = 30,
     .too_long_format =
         "\n Error: Please supply less than or equal to %d chars for top_level_pdt_serial_num\n"},
    {.name = "mlr_part_dash_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for mlr_part_dash_no\n",
     .targets = {{R::MultiLevelR, 4, 20}}},
    {.name = "mlr_serial_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for mlr_serial_no\n",
     .targets = {{R::MultiLevelR, 24, 30}}},
    {.name = "mlr_description", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for mlr_description\n",
     .targets = {{R::MultiLevelR, 54, 30}}},
    {.name = "partner_part_number", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for partner_part_number\n",
     .targets = {{R::Partner_LabelR, 2, 20}}, .clear_first = true},
    {.name = "ethernet_addr", .kind = K::Hex, .missing_message = kEthernetAddr,
     .targets = {{R::SharedIdentifier, 0, 6}, {R::EthernetMACAddrRangeR, 0, 6},
                 {R::EthernetMACAddr2R, 0, 6}}},
    {.name = "ethernet_addr_2", .kind = K::Hex, .missing_message = kEthernetAddr,
     .targets = {{R::SharedIdentifier, 0, 6}, {R::EthernetMACAddr2R, 6, 6}}},
    {.name = "hostid", .kind = K::Hex,
     .missing_message = "\n Error: Please supply value for hostid\n",
     .targets = {{R::SharedIdentifier, 0, 4}, {R::Top_Level_IdentifierR, 61, 4},
                 {R::Installation1R, 220, 4}}},
    {.name = "fru_type", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::Zan_ManR, 123, 2}}, .registry = &kFruType},
    {.name = "new_serial_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for new_serial_no\n",
     .targets = {{R::SharedIdentifier, 0, 80}}},
    {.name = "sequence_number", .kind = K::Decimal,
     .missing_message = "\n Error: Please supply value for sequence_number\n",
     .targets = {{R::SharedIdentifier, 0, 4}}, .clear_first = true},
    {.name = "fru_part_dash_no", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for fru_part_dash_no\n",
     .targets = {{R::Zan_FRU_LabelR, 30, 11}}, .clear_first = true, .refuse_limit = 11,
     .too_long_format =
         "\n Error: Please supply less than or equal to %d chars for fru_part_dash_no\n"},
    {.name = "firmware_rev", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for firmware_revision\n",
     .targets = {{R::ECO_CurrentR, 4, 8}}, .clear_first = true},
    {.name = "hardware_rev", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for hardware_revision\n",
     .targets = {{R::ECO_CurrentR, 12, 2}}, .clear_first = true},
    {.name = "hw_dash_level", .kind = K::TwoChar,
     .missing_message = "\n Error: Please supply value for hardware_dash_level\n",
     .targets = {{R::ECO_CurrentR, 14, 2}}},
    {.name = "ethernet_addr_range", .kind = K::Hex,
     .missing_message = "\n Error: Please supply value for ethernet_addr_range\n",
     .targets = {{R::EthernetMACAddrRangeR, 6, 2}}},
    {.name = "wwn", .kind = K::Hex, .missing_message = "\n Error: Please supply value for wwn\n",
     .targets = {{R::SharedIdentifier, 0, 8}}},
    {.name = "enclosure_nickname", .kind = K::Text,
     .missing_message = "\n Error: Please supply value for enclosure_nickname\n",
     .targets = {{R::SharedIdentifier, 0, 80}}, .takes_description_text = true},
    {.name = "device_type", .kind = K::DeviceType,
     .missing_message = "\n Error: Please supply value for device_type\n",
     .targets = {{R::Device_Type, 0, 2}}, .registry = &kDeviceType},
    {.name = "entry_type", .kind = K::Registry, .missing_message = nullptr,
     .targets = {{R::Segment_HistoryR, 4, 1}}, .registry = &kEntryType},
    {.name = "segname", .kind = K::TwoChar,
     .missing_message = "Error: Either segname is NULL or provided multiple segments\n",
     .targets = {{R::Segment_HistoryR, 5, 2}}},
    {.name = "enabled_duration", .kind = K::Decimal,
     .missing_message = "Error: enabled_duration is NULL\n",
     .targets = {{R::TAVO_Usage_Kvms_R, 0, 4}, {R::TAVO_Usage_Powerbudget_R, 0, 4}}},
    {.name = "session_count", .kind = K::Decimal, .missing_message = "Error: session_count is NULL\n",
     .targets = {{R::TAVO_Usage_Kvms_R, 4, 4}}},
    {.name = "session_duration", .kind = K::Decimal,
     .missing_message = "Error: session_duration is NULL\n",
     .targets = {{R::TAVO_Usage_Kvms_R, 8, 4}}},
    {.name = "softcap_count", .kind = K::Decimal, .missing_message = "Error: softcap_count is NULL\n",
     .targets = {{R::TAVO_Usage_Powerbudget_R, 4, 4}}},
    {.name = "hardcap_duration", .kind = K::Decimal,
     .missing_message = "Error: hardcap_duration is NULL\n",
     .targets = {{R::TAVO_Usage_Powerbudget_R, 8, 4}}},
    {.name = "version", .kind = K::Decimal, .missing_message = "Error: version is NULL\n",
     .targets = {{R::PwrMgmt_RFR, 0, 1}}},
    {.name = "cycleskipheaders", .kind = K::File,
     .missing_message = "Error: cycleskipheader is NULL\n", .targets = {{R::PwrMgmt_RFR, 1, 10}},
     .clear_first = true},
    {.name = "filename", .kind = K::File, .missing_message = "Error: filename is NULL\n",
     .targets = {{R::PwrMgmt_RFR, 11, 80}}, .clear_first = true},
    // A name longer than the 15-byte field is cut to it, like every other
    // truncating text element; nothing is written past the field.
    {.name = "arrayname", .kind = K::Text, .missing_message = "Error: arrayname is NULL\n",
     .targets = {{R::PwrMgmtR, 0, 15}}, .clear_first = true},
    {.name = "ncycleskips", .kind = K::Decimal, .missing_message = "Error: ncycleskip is NULL\n",
     .targets = {{R::PwrMgmtR, 15, 1}}},
    {.name = "ncores", .kind = K::Decimal, .missing_message = "Error: ncores is NULL\n",
     .targets = {{R::PwrMgmtR, 16, 1}}},
    {.name = "maxpower", .kind = K::Decimal, .missing_message = "Error: maxpower is NULL\n",
     .targets = {{R::PwrMgmtR, 17, 2}}},
};

const size_t kElementCount = sizeof kElementTable / sizeof kElementTable[0];

const ElementRow *find_element(const char *name, size_t name_length)
{
    for (const ElementRow &row : kElementTable)
        if (std::strlen(row.name) == name_length && std::memcmp(row.name, name, name_length) == 0)
            return &row;
    return nullptr;
}

}  // namespace quillet
