// How each kind of element encodes its value, one row per rule. Where each
// field lies is held by the agreement with the platform's layouts.
#include <tuple>
#include <vector>

#include "records/parser_fixture.h"

namespace quillet_test {
namespace {

struct FieldRow {
    std::string pairs;
    R record;
    size_t offset;
    std::string hex;  // the expected field bytes
};

TEST_F(ParserTest, EachRuleStoresTheseBytes)
{
    const FieldRow rows[] = {
        // Decimal: atoi, clamped to 32 bits, low-order bytes big-endian.
        {"total_time_on=-2", R::Power_SummaryR, 4, "fffffffe"},
        {"sensor=300", R::Temperature_HistoryR, 4, "2c"},
        {"histogram3=70000", R::Temperature_HistoryR, 18, "1170"},
        {"vendor_id_code=70000", R::Zan_ManR, 96, "00011170"},
        {"vendor_id_code=70000", R::Zan_Man1R, 34, "1170"},
        {"geo_north=99999999999", R::InstallationR, 169, "7fffffff"},
        {"geo_east=-99999999999", R::InstallationR, 173, "80000000"},
        {"total_power_ons=4294967297", R::Power_SummaryR, 8, "7fffffff"},
        {"total_power_ons=  +42abc", R::Power_SummaryR, 8, "0000002a"},
        {"total_power_ons=abc", R::Power_SummaryR, 8, "00000000"},
        {"total_power_ons=", R::Power_SummaryR, 8, "00000000"},
        // Hexadecimal: strtoll base 16, the low-order bytes of its 64-bit image.
        {"macaddr=3ba123456", R::Fault_Install_DataR, 4, "0003ba123456"},
        {"macaddr=0x3BA123456", R::Installation1R, 214, "0003ba123456"},
        {"hostid=1234567890", R::Top_Level_IdentifierR, 61, "34567890"},
        {"wwn=ffffffffffffffff", R::SharedIdentifier, 0, "7fffffffffffffff"},
        {"wwn=-1", R::SharedIdentifier, 0, "ffffffffffffffff"},
        {"wwn=zz", R::SharedIdentifier, 0, "0000000000000000"},
        {"message_32_3=ff", R::Fault_Install_DataR, 37, "00000000000000ff"},
        {"ethernet_addr_range=20", R::EthernetMACAddrRangeR, 6, "0020"},
        // device_type: hexadecimal only with a lower-case "0x", else a name in any case.
        {"device_type=0x1F", R::Device_Type, 0, "001f"},
        {"device_type=processor", R::Device_Type, 0, "0100"},
        {"device_type=0X1F", R::Device_Type, 0, "0000"},
        // Text: cut to the field, no terminator; clearing fields pad with zeros.
        {"zan_part_no=123456789", R::ManR, 148, text_hex("1234567")},
        {"zan_part_no=123456789", R::Installation1R, 132, text_hex("123456789") + zeros(11)},
        {"arrayname=0123456789abcdefXYZ", R::PwrMgmtR, 0, text_hex("0123456789abcde")},
        {"hw_dash_level=5", R::ECO_CurrentR, 14, text_hex("5") + "00"},
        {"hw_dash_level=", R::ECO_CurrentR, 14, "0000"},
        {"segname=SDX", R::Segment_HistoryR, 5, text_hex("SD")},
        // A later pair writes over an earlier one: in place, or cleared first.
        {"fru_path=abcdef,fru_path=xy", R::Installation1R, 4, text_hex("xycdef")},
        {"fru_shortname=abcdef,fru_shortname=xy", R::ManR, 167, text_hex("xy") + zeros(14)},
        {"zan_part_no=1234567,parent_part_no=ab", R::InstallationR, 132, text_hex("ab34567")},
        {"parent_part_no=ab,zan_part_no=1234567", R::InstallationR, 132, text_hex("1234567")},
        {"ethernet_addr=0003BA123456,hostid=80ffee01", R::SharedIdentifier, 0, "80ffee013456"},
        {"ethernet_addr=0003BA123456,ethernet_addr_2=0003BA654321", R::SharedIdentifier, 0, "0003ba654321"},
        {"ethernet_addr=0003BA123456", R::EthernetMACAddr2R, 0, "0003ba123456"},
        {"sequence_number=5", R::SharedIdentifier, 0, "00000005" + zeros(76)},
        // Registry names: exact case, low-order bytes of the value; no match keeps the field.
        {"event=power_off", R::Power_EventsR, 4, "02"},
        {"event=POWER_OFF", R::Power_EventsR, 4, "00"},
        {"vendor_name=Kingston", R::Partner_LabelR, 0, "0198"},
        {"initiator=SP", R::Fault_Install_DataR, 11, "01"},
        {"event_code=Fan_Fault", R::Status_EventsR, 8, "00010002"},
        {"message_type=Warning", R::Fault_Install_DataR, 12, "01"},
        {"fru_type=Motherboard", R::Zan_ManR, 123, "0001"},
        {"entry_type=Creation,entry_type=nothing", R::Segment_HistoryR, 4, "05"},
    };
    for (const FieldRow &row : rows) {
        SetUp();
        fill(R::SharedIdentifier, 0xAA);
        ASSERT_EQ(parse(row.pairs), 0) << row.pairs << err_;
        EXPECT_EQ(field(row.record, row.offset, row.hex.size() / 2), row.hex) << row.pairs;
    }
}

// Fields are written in every record that holds them.
TEST_F(ParserTest, EveryTargetRecordIsWritten)
{
    ASSERT_EQ(parse("zan_serial_no=ABCDEFGH,vendor_name=Kingston,initiator=SP,status=4"), 0);
    for (const auto &[record, offset, hex] : std::vector<std::tuple<R, size_t, std::string>>{
             {R::ManR, 155, text_hex("ABCDEF")}, {R::Zan_FRU_LabelR, 0, text_hex("ABCDEFGH")},
             {R::Installation1R, 152, text_hex("ABCDEFGH") + "00"}, {R::ManR, 161, "0198"},
             {R::Zan_Part_Number_DataR, 17, "0198"}, {R::Status_EventsR, 6, "01"},
             {R::Fault_Install_DataR, 10, "0401"}, {R::Status_CurrentR, 4, "04"}})
        EXPECT_EQ(field(record, offset, hex.size() / 2), hex);
}

}  // namespace
}  // namespace quillet_test
