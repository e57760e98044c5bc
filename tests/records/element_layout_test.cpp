// Every element lands in every record that holds it, at the layout's offset,
// width and byte order.
#include <cstring>

#include "records/parser_fixture.h"

namespace quillet_test {
namespace {

using quillet::RecordId;
using R = RecordId;

struct FieldRow {
    std::string pairs;
    RecordId record;
    size_t offset;
    std::string hex;  // the expected field bytes
};

void PrintTo(const FieldRow &row, std::ostream *os)
{
    *os << row.pairs << " @" << row.offset;
}

class ElementLayout : public ParserTest, public ::testing::WithParamInterface<FieldRow> {};

TEST_P(ElementLayout, StoresTheFieldBigEndian)
{
    const FieldRow &row = GetParam();
    ASSERT_EQ(parse(row.pairs), 0) << err_;
    EXPECT_EQ(field(row.record, row.offset, row.hex.size() / 2), row.hex);
}

const std::string kNine = text_hex("123456789");

INSTANTIATE_TEST_SUITE_P(
    Decimal, ElementLayout,
    ::testing::Values(
        FieldRow{"total_time_on=-2", R::Power_SummaryR, 4, "fffffffe"},
        FieldRow{"total_power_ons=7", R::Power_SummaryR, 8, "00000007"},
        FieldRow{"total_power_offs=65536", R::Power_SummaryR, 12, "00010000"},
        FieldRow{"sensor=3", R::Temperature_HistoryR, 4, "03000000"},
        FieldRow{"sensor=300", R::Temperature_HistoryR, 4, "2c"},
        FieldRow{"lowest=-5", R::Temperature_HistoryR, 5, "fb"},
        FieldRow{"highest=6", R::Temperature_HistoryR, 6, "06"},
        FieldRow{"latest=7", R::Temperature_HistoryR, 7, "07"},
        FieldRow{"histogram0=1", R::Temperature_HistoryR, 12, "0001"},
        FieldRow{"histogram3=70000", R::Temperature_HistoryR, 18, "1170"},
        FieldRow{"histogram9=65535", R::Temperature_HistoryR, 30, "ffff"},
        FieldRow{"system_tz=-300", R::InstallationR, 167, "fed4"},
        FieldRow{"system_tz=-300", R::Installation1R, 224, "fed4"},
        FieldRow{"geo_north=99999999999", R::InstallationR, 169, "7fffffff"},
        FieldRow{"geo_east=-99999999999", R::InstallationR, 173, "80000000"},
        FieldRow{"geo_alt=12", R::InstallationR, 177, "000c"},
        FieldRow{"old_status=1", R::Status_EventsR, 4, "01"},
        FieldRow{"new_status=2", R::Status_EventsR, 5, "02"},
        FieldRow{"component=258", R::Status_EventsR, 7, "02"},
        FieldRow{"vendor_id_code=70000", R::Zan_ManR, 96, "00011170"},
        FieldRow{"vendor_id_code=70000", R::Zan_Man1R, 34, "1170"},
        FieldRow{"vendor_id_code_source=2", R::Zan_ManR, 100, "02"},
        FieldRow{"vendor_id_code_source=2", R::Zan_Man1R, 36, "02"},
        FieldRow{"status=4", R::Fault_Install_DataR, 10, "04"},
        FieldRow{"status=4", R::Status_CurrentR, 4, "04"},
        FieldRow{"power_on_minutes=90", R::Power_On_DataR, 4, "0000005a"},
        FieldRow{"product_rev_level=3", R::Top_Level_IdentifierR, 24, "03"},
        FieldRow{"enabled_duration=90", R::TAVO_Usage_Kvms_R, 0, "0000005a"},
        FieldRow{"enabled_duration=90", R::TAVO_Usage_Powerbudget_R, 0, "0000005a"},
        FieldRow{"session_count=3", R::TAVO_Usage_Kvms_R, 4, "00000003"},
        FieldRow{"session_duration=4", R::TAVO_Usage_Kvms_R, 8, "00000004"},
        FieldRow{"softcap_count=5", R::TAVO_Usage_Powerbudget_R, 4, "00000005"},
        FieldRow{"hardcap_duration=6", R::TAVO_Usage_Powerbudget_R, 8, "00000006"},
        FieldRow{"version=2", R::PwrMgmt_RFR, 0, "02"},
        FieldRow{"ncycleskips=3", R::PwrMgmtR, 15, "03"},
        FieldRow{"ncores=4", R::PwrMgmtR, 16, "04"},
        FieldRow{"maxpower=500", R::PwrMgmtR, 17, "01f4"},
        FieldRow{"sequence_number=5", R::SharedIdentifier, 0, "00000005" + zeros(76)},
        FieldRow{"total_power_ons=  +42abc", R::Power_SummaryR, 8, "0000002a"},
        FieldRow{"total_power_ons=abc", R::Power_SummaryR, 8, "00000000"},
        FieldRow{"total_power_ons=", R::Power_SummaryR, 8, "00000000"},
        FieldRow{"total_power_ons=4294967297", R::Power_SummaryR, 8, "7fffffff"}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, ElementLayout,
    ::testing::Values(
        FieldRow{"macaddr=3ba123456", R::Fault_Install_DataR, 4, "0003ba123456"},
        FieldRow{"macaddr=0x3ba123456", R::Top_Level_IdentifierR, 55, "0003ba123456"},
        FieldRow{"macaddr=0003BA123456", R::Installation1R, 214, "0003ba123456"},
        FieldRow{"hostid=80ffee01", R::SharedIdentifier, 0, "80ffee01"},
        FieldRow{"hostid=80ABCDEF", R::Top_Level_IdentifierR, 61, "80abcdef"},
        FieldRow{"hostid=1234567890", R::Installation1R, 220, "34567890"},
        FieldRow{"wwn=ffffffffffffffff", R::SharedIdentifier, 0, "7fffffffffffffff"},
        FieldRow{"wwn=-1", R::SharedIdentifier, 0, "ffffffffffffffff"},
        FieldRow{"wwn=zz", R::SharedIdentifier, 0, "0000000000000000"},
        FieldRow{"ethernet_addr=0003BA123456", R::SharedIdentifier, 0, "0003ba123456"},
        FieldRow{"ethernet_addr=0003BA123456", R::EthernetMACAddrRangeR, 0, "0003ba123456"},
        FieldRow{"ethernet_addr=0003BA123456", R::EthernetMACAddr2R, 0, "0003ba123456"},
        FieldRow{"ethernet_addr_2=0003BA654321", R::EthernetMACAddr2R, 6, "0003ba654321"},
        FieldRow{"ethernet_addr_2=0003BA654321", R::SharedIdentifier, 0, "0003ba654321"},
        FieldRow{"ethernet_addr_range=20", R::EthernetMACAddrRangeR, 6, "0020"},
        FieldRow{"message_32_0=01", R::Fault_Install_DataR, 13, "0000000000000001"},
        FieldRow{"message_32_1=0102030405060708", R::Fault_Install_DataR, 21, "0102030405060708"},
        FieldRow{"message_32_3=ff", R::Fault_Install_DataR, 37, "00000000000000ff"},
        FieldRow{"device_type=0x1F", R::Device_Type, 0, "001f"},
        FieldRow{"device_type=0x0102", R::Device_Type, 0, "0102"},
        FieldRow{"device_type=processor", R::Device_Type, 0, "0100"},
        FieldRow{"device_type=0X1F", R::Device_Type, 0, "0000"}));

INSTANTIATE_TEST_SUITE_P(
    Text, ElementLayout,
    ::testing::Values(
        FieldRow{"zan_part_no=123456789", R::ManR, 148, text_hex("1234567")},
        FieldRow{"zan_part_no=123456789", R::Zan_ManR, 39, text_hex("1234567")},
        FieldRow{"zan_part_no=123456789", R::Zan_Man1R, 101, text_hex("1234567")},
        FieldRow{"zan_part_no=123456789", R::Zan_Part_Number_DataR, 4, text_hex("1234567")},
        FieldRow{"zan_part_no=123456789", R::Configured_LevelR, 4, text_hex("1234567")},
        FieldRow{"zan_part_no=123456789", R::InstallationR, 132, text_hex("1234567")},
        FieldRow{"zan_part_no=123456789", R::Installation1R, 132, kNine + zeros(11)},
        FieldRow{"zan_serial_no=ABCDEFGH", R::ManR, 155, text_hex("ABCDEF")},
        FieldRow{"zan_serial_no=ABCDEFGH", R::Zan_ManR, 46, text_hex("ABCDEFGH") + zeros(22)},
        FieldRow{"zan_serial_no=ABCDEFGH", R::Zan_Man1R, 108, text_hex("ABCDEFGH") + zeros(22)},
        FieldRow{"zan_serial_no=ABCDEFGH", R::Zan_FRU_LabelR, 0, text_hex("ABCDEFGH") + zeros(22)},
        FieldRow{"zan_serial_no=ABCDEFGH", R::Zan_Part_Number_DataR, 11, text_hex("ABCDEF")},
        FieldRow{"zan_serial_no=ABCDEFGH", R::InstallationR, 139, text_hex("ABCDEF")},
        FieldRow{"zan_serial_no=ABCDEFGH", R::Installation1R, 152, text_hex("ABCDEFGH") + zeros(22)},
        FieldRow{"manufacture_loc=Penang", R::ManR, 84, text_hex("Penang") + zeros(58)},
        FieldRow{"fru_shortname=SYS", R::Zan_Man1R, 162, text_hex("SYS") + zeros(13)},
        FieldRow{"fru_shortname=SYS", R::Zan_ManR, 105, text_hex("SYS") + zeros(13)},
        FieldRow{"initial_hw_rev_level=51", R::ManR, 165, text_hex("51")},
        FieldRow{"initial_hw_rev_level=51", R::Zan_ManR, 103, text_hex("51")},
        FieldRow{"initial_hw_rev_level=51", R::Zan_Man1R, 160, text_hex("51")},
        FieldRow{"initial_hw_dash_level=04", R::Zan_Part_Number_DataR, 19, text_hex("04")},
        FieldRow{"parent_dash_no=07", R::Configured_LevelR, 31, text_hex("07")},
        FieldRow{"parent_dash_no=07", R::ECO_CurrentR, 14, text_hex("07")},
        FieldRow{"parent_dash_no=07", R::InstallationR, 145, text_hex("07")},
        FieldRow{"parent_dash_no=07", R::Installation1R, 182, text_hex("07")},
        FieldRow{"parent_dash_no=07", R::Zan_ManR, 101, text_hex("07")},
        FieldRow{"parent_dash_no=07", R::Zan_Man1R, 158, text_hex("07")},
        FieldRow{"parent_serial_no=S1", R::InstallationR, 139, text_hex("S1")},
        FieldRow{"parent_serial_no=S1", R::Installation1R, 152, text_hex("S1")},
        FieldRow{"system_id=host", R::InstallationR, 147, text_hex("host")},
        FieldRow{"system_id=host", R::Installation1R, 184, text_hex("host")},
        FieldRow{"geo_location=Lab B", R::InstallationR, 179, text_hex("Lab B")},
        FieldRow{"configured_serial_no=C9", R::Configured_LevelR, 11, text_hex("C9") + zeros(18)},
        FieldRow{"cust_data=hello", R::Customer_DataR, 4, text_hex("hello") + zeros(75)},
        FieldRow{"vendor_name_and_site_location=F", R::Zan_Man1R, 37, text_hex("F") + zeros(63)},
        FieldRow{"serial_number_format=YYWW", R::Zan_ManR, 76, text_hex("YYWW") + zeros(16)},
        FieldRow{"serial_number_format=YYWW", R::Zan_Man1R, 138, text_hex("YYWW") + zeros(16)},
        FieldRow{"hazard_class_code=N", R::Zan_ManR, 121, text_hex("N") + "00"},
        FieldRow{"hazard_class_code=N", R::Zan_Man1R, 178, text_hex("N") + "00"},
        FieldRow{"zan_specpartno=X-1", R::Zan_ManR, 125, text_hex("X-1") + zeros(8)},
        FieldRow{"zan_specpartno=X-1", R::Zan_Man1R, 180, text_hex("X-1") + zeros(8)},
        FieldRow{"product_part_no=602-3917-01", R::Top_Level_IdentifierR, 4, text_hex("602-3917-01")},
        FieldRow{"product_serial_no=0912FMX", R::Top_Level_IdentifierR, 25, text_hex("0912FMX")},
        FieldRow{"mlr_part_dash_no=P-1", R::MultiLevelR, 4, text_hex("P-1")},
        FieldRow{"mlr_serial_no=S-1", R::MultiLevelR, 24, text_hex("S-1")},
        FieldRow{"mlr_description=D", R::MultiLevelR, 54, text_hex("D")},
        FieldRow{"partner_part_number=PP", R::Partner_LabelR, 2, text_hex("PP") + zeros(18)},
        FieldRow{"new_serial_no=NS", R::SharedIdentifier, 0, text_hex("NS")},
        FieldRow{"enclosure_nickname=encl", R::SharedIdentifier, 0, text_hex("encl")},
        FieldRow{"fru_part_dash_no=12345678901", R::Zan_FRU_LabelR, 30, text_hex("12345678901")},
        FieldRow{"firmware_rev=1.2.3.45", R::ECO_CurrentR, 4, text_hex("1.2.3.45")},
        FieldRow{"hardware_rev=B", R::ECO_CurrentR, 12, text_hex("B") + "00"},
        FieldRow{"hw_dash_level=5", R::ECO_CurrentR, 14, text_hex("5") + "00"},
        FieldRow{"hw_dash_level=", R::ECO_CurrentR, 14, "0000"},
        FieldRow{"segname=S", R::Segment_HistoryR, 5, text_hex("S") + "00"},
        FieldRow{"segname=SDX", R::Segment_HistoryR, 5, text_hex("SD")},
        FieldRow{"arrayname=0123456789abcdefXYZ", R::PwrMgmtR, 0, text_hex("0123456789abcde")},
        FieldRow{"fru_path=abcdef,fru_path=xy", R::InstallationR, 4, text_hex("xycdef")},
        FieldRow{"fru_path=abcdef,fru_path=xy", R::Installation1R, 4, text_hex("xycdef")},
        FieldRow{"fru_shortname=abcdef,fru_shortname=xy", R::ManR, 167, text_hex("xy") + zeros(14)},
        FieldRow{"zan_part_no=1234567,parent_part_no=ab", R::InstallationR, 132,
                 text_hex("ab34567")},
        FieldRow{"parent_part_no=ab,zan_part_no=1234567", R::InstallationR, 132,
                 text_hex("1234567")},
        FieldRow{"ethernet_addr=0003BA123456,hostid=80ffee01", R::SharedIdentifier, 0,
                 "80ffee013456"},
        FieldRow{"ethernet_addr=0003BA123456,ethernet_addr_2=0003BA654321", R::SharedIdentifier,
                 0, "0003ba654321"}));

INSTANTIATE_TEST_SUITE_P(
    Registry, ElementLayout,
    ::testing::Values(
        FieldRow{"event=power_off", R::Power_EventsR, 4, "02"},
        FieldRow{"event=POWER_OFF", R::Power_EventsR, 4, "00"},
        FieldRow{"vendor_name=Kingston", R::ManR, 161, "0198"},
        FieldRow{"vendor_name=Kingston", R::Partner_LabelR, 0, "0198"},
        FieldRow{"vendor_name=Kingston", R::Zan_Part_Number_DataR, 17, "0198"},
        FieldRow{"initiator=SP", R::Status_EventsR, 6, "01"},
        FieldRow{"initiator=SP", R::Fault_Install_DataR, 11, "01"},
        FieldRow{"event_code=Fan_Fault", R::Status_EventsR, 8, "00010002"},
        FieldRow{"message_type=Warning", R::Fault_Install_DataR, 12, "01"},
        FieldRow{"fru_type=Motherboard", R::Zan_ManR, 123, "0001"},
        FieldRow{"entry_type=Corruption Detected", R::Segment_HistoryR, 4, "01"},
        FieldRow{"entry_type=Creation,entry_type=nothing", R::Segment_HistoryR, 4, "05"}));

}  // namespace
}  // namespace quillet_test
