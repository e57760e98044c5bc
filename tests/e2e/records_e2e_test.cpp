// quillet reading, updating and deleting every ZAN record class of a real
// store, with the stored bytes checked through fructl.
#include "e2e/e2e_fixture.h"
#include "support/hex.h"

namespace quillet_test {
namespace {

const std::string T = "TTTTTTTT";  // a timestamp, masked
const std::string kMac = "0003ba123456";
const std::string kAbsent = "\n Error: Record or area not present in the container\n";

class Records : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        ASSERT_EQ(fructl({"add", "MB", "zan"}).status, 0);
    }
};

TEST_F(Records, EveryRecordClassIsStoredReadAndDeleted)
{
    const std::string header = temp_file("HDR", 0444);
    const struct {
        std::string class_name, elements;
        std::string record;    // as fructl names it
        std::string expected;  // stored bytes
    } rows[] = {
        {"POWER", "event=power_on", "Power_EventsR", T + "01"},
        {"Power_SummaryR", "total_time_on=10,total_power_ons=2,total_power_offs=1", "Power_SummaryR",
         T + "0000000a0000000200000001"},
        {"FAULT", "new_status=1,initiator=SP,component=2,event_code=Fan_Fault,message=hi", "Status_EventsR",
         T + "00010102" "00010002" + text_hex("hi") + zeros(126)},
        {"TEMPERATURE", "sensor=3,histogram9=258", "Temperature_HistoryR", T + "03000000" "00090a0a" + zeros(18) + "0102"},
        {"CUSTOMER", "cust_data=abc", "Customer_DataR", T + text_hex("abc") + zeros(77)},
        {"INSTALL", "fru_path=/SYS/MB,system_tz=-300,hostid=80ffee01", "Installation1R",
         T + text_hex("/SYS/MB") + zeros(121) + zeros(88) + "80ffee01" "fed4"},
        {"Configured_LevelR", "zan_part_no=1234567,configured_serial_no=S1", "Configured_LevelR",
         T + text_hex("1234567") + text_hex("S1") + zeros(18) + zeros(2)},
        {"ManR", "zan_part_no=5017540,vendor_name=Fujitsu,initial_hw_dash_level=04", "ManR",
         T + zeros(144) + text_hex("5017540") + zeros(6) + "0004" + text_hex("04") + zeros(18)},
        {"Zan_ManR", "fru_type=Motherboard,vendor_id_code=70000", "Zan_ManR",
         T + zeros(92) + "00011170" + zeros(23) + "0001" + zeros(11)},
        {"Zan_Man1R", "vendor_id_code=70000,vendor_id_code_source=1", "Zan_Man1R", T + zeros(30) + "117001" + zeros(154)},
        {"Zan_Part_Number_DataR", "zan_serial_no=ABCDEF", "Zan_Part_Number_DataR", T + zeros(7) + text_hex("ABCDEF") + zeros(4)},
        {"EthernetMACAddrRangeR", "ethernet_addr=0003BA123456,ethernet_addr_range=20", "EthernetMACAddrRangeR",
         kMac + "0020"},
        {"EthernetMACAddr2R", "ethernet_addr=0003BA123456,ethernet_addr_2=0003BA654321", "EthernetMACAddr2R",
         kMac + "0003ba654321"},
        {"Status_CurrentR", "status=3", "Status_CurrentR", T + "03"},
        {"TLI", "hostid=80ffee01", "Top_Level_IdentifierR", T + zeros(57) + "80ffee01"},
        {"Ethernet_Addr", "ethernet_addr=0003BA123456", "Ethernet_Addr", kMac + zeros(74)},
        {"HOSTID", "hostid=80ffee01", "HOSTID", "80ffee01" + zeros(76)},
        {"Sequence_Number", "sequence_number=5", "Sequence_Number", "00000005" + zeros(76)},
        {"WWN", "wwn=-1", "WWN", std::string(16, 'f') + zeros(72)},
        {"Enclosure_Nickname", "enclosure_nickname=rack12", "Enclosure_Nickname", text_hex("rack12") + zeros(74)},
        {"New_Serial_No", "new_serial_no=NS1", "New_Serial_No", text_hex("NS1") + zeros(77)},
        {"Device_Type", "device_type=0x0102", "Device_Type", "0102"},
        {"ECO_CurrentR", "firmware_rev=1.2,hw_dash_level=5", "ECO_CurrentR",
         T + text_hex("1.2") + zeros(5) + zeros(2) + text_hex("5") + "00"},
        {"PwrMgmtR", "arrayname=A1,maxpower=500", "PwrMgmtR", text_hex("A1") + zeros(13) + "0000" "01f4"},
        {"PwrMgmt_RFR", "version=2,cycleskipheaders=" + header, "PwrMgmt_RFR", "02" + text_hex("HDR") + zeros(87)},
        {"Zan_FRU_LabelR", "zan_serial_no=S,fru_part_dash_no=P-1", "Zan_FRU_LabelR",
         text_hex("S") + zeros(29) + text_hex("P-1") + zeros(8)},
        {"Segment_HistoryR", "entry_type=Creation,segname=O1", "Segment_HistoryR", T + "05" + text_hex("O1")},
        {"TAVO_Usage_Kvms_R", "enabled_duration=90", "TAVO_Usage_Kvms_R", "0000005a" + zeros(8)},
        {"TAVO_Usage_Powerbudget_R", "softcap_count=2", "TAVO_Usage_Powerbudget_R", zeros(4) + "00000002" + zeros(4)},
        {"MLR", "mlr_part_dash_no=P", "MultiLevelR", T + text_hex("P") + zeros(79)},
        {"Partner_LabelR", "vendor_name=Samsung,partner_part_number=PN", "Partner_LabelR",
         "00ce" + text_hex("PN") + zeros(18)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.class_name);
        Outcome o = quillet({"-c", "MB", "-r", row.class_name, "-o", row.elements});
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out + o.err, "");
        const std::vector<std::string> entries = stored("MB", row.record);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(row.expected.starts_with(T) ? without_stamp(entries[0]) : entries[0], row.expected);
        o = quillet({"-c", "MB", "-r", row.class_name});
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_NE(o.out.find(row.record), std::string::npos) << o.out;
        EXPECT_EQ(quillet({"-c", "MB", "-r", row.class_name, "-d"}).status, 0);
        o = quillet({"-c", "MB", "-r", row.class_name});
        EXPECT_EQ(o.status, 14);
        EXPECT_EQ(o.err, kAbsent);
        EXPECT_NE(fructl({"get", "MB", row.record}).status, 0);
    }
}

// Records read first keep what the update does not name; the others are
// built from zero.
TEST_F(Records, PreReadDecidesWhatAnUpdateKeeps)
{
    ASSERT_EQ(fructl({"put", "MB", "Power_SummaryR", "00000001" "00001072" "00000025" "00000024"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=38"}).status, 0);
    const std::string after = stored("MB", "Power_SummaryR")[0];
    EXPECT_EQ(without_stamp(after), T + "00001072" "00000026" "00000024");
    EXPECT_NE(after.substr(0, 8), "00000001");
    ASSERT_EQ(quillet({"-c", "MB", "-r", "TLI", "-o", "product_part_no=602-3917-01,hostid=1"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "TLI", "-o", "hostid=80ffee01"}).status, 0);
    EXPECT_EQ(without_stamp(stored("MB", "TLI")[0]), T + zeros(57) + "80ffee01");
}

TEST_F(Records, StatusEventsChainOnAlsoAfterTheRingWrapped)
{
    for (int i = 1; i <= 12; ++i)
        ASSERT_EQ(quillet({"-c", "MB", "-r", "Status_EventsR", "-o", "new_status=" + std::to_string(i) + ",message=m"})
                      .status,
                  0);
    EXPECT_EQ(fructl({"control", "MB", "Status_EventsR"}).out, "0a010a00\n");
    const std::vector<std::string> entries = stored("MB", "Status_EventsR");
    ASSERT_EQ(entries.size(), 10u);
    char expected[5];
    for (size_t n = 0; n < entries.size(); ++n) {
        std::snprintf(expected, sizeof expected, "%02zx%02zx", n + 2, n + 3);  // old and new status
        EXPECT_EQ(entries[n].substr(8, 4), expected) << "entry " << n;
    }
    ASSERT_EQ(quillet({"-c", "MB", "-r", "FAULT", "-o", "new_status=99"}).status, 0);
    EXPECT_EQ(stored("MB", "Status_EventsR").back().substr(8, 4), "0063");
}

TEST_F(Records, FailuresLeaveTheContainerUntouched)
{
    ASSERT_EQ(quillet({"-c", "MB", "-r", "ManR", "-o", "zan_part_no=5017540"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=1"}).status, 0);
    const std::string before = image_bytes("MB");
    EXPECT_EQ(quillet({"-c", "MB", "-r", "ManR", "-o", "zan_part_no=1,bogus=2"}).status, 23);
    EXPECT_EQ(quillet({"-c", "MB", "-r", "TLI", "-o", "product_part_no=" + std::string(21, 'p')}).status, 9);
    EXPECT_EQ(image_bytes("MB"), before);
    ASSERT_EQ(fructl({"corrupt", "MB", "PE"}).status, 0);
    const std::string damaged = image_bytes("MB");
    const Outcome o = quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=2"});
    EXPECT_EQ(o.status, 68);
    EXPECT_EQ(o.err, "\n  Unable to read Power_SummaryR record 68\n");
    EXPECT_EQ(image_bytes("MB"), damaged);
}

TEST_F(Records, TextWithCommasReachesDescriptionAndCustomerData)
{
    const std::string text = "Rack 12, slot 3, lab B";
    ASSERT_EQ(quillet({"-c", "MB", "-r", "CUSTOMER", "-t", text}).status, 0);
    EXPECT_EQ(stored("MB", "Customer_DataR")[0], zeros(4) + text_hex(text) + zeros(80 - text.size()));
    ASSERT_EQ(quillet({"-c", "MB", "-r", "ManR", "-t", text, "-o", "fru_description=x"}).status, 0);
    EXPECT_EQ(stored("MB", "ManR")[0].substr(8, 2 * text.size()), text_hex(text));
    EXPECT_NE(quillet({"-c", "MB", "-r", "ManR"}).out.find("fru_description               : " + text + "\n"),
              std::string::npos);
}

TEST_F(Records, InstallationProbePicksTheVersionTheContainerHolds)
{
    ASSERT_EQ(fructl({"put", "MB", "InstallationR", std::string(438, '0')}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "INSTALL", "-o", "fru_path=/SYS/MB/P0"}).status, 0);
    EXPECT_EQ(stored("MB", "InstallationR").size(), 2u);
    EXPECT_NE(fructl({"get", "MB", "Installation1R"}).status, 0);
    EXPECT_EQ(quillet({"-c", "MB", "-r", "Installation1R", "-d"}).status, 0);
    EXPECT_NE(fructl({"get", "MB", "InstallationR"}).status, 0);
    EXPECT_EQ(quillet({"-c", "MB", "-r", "INSTALL", "-d"}).status, 14);
}

TEST_F(Records, ExitStatusesAndMessages)
{
    ASSERT_EQ(fructl({"add", "X", "zan", "--type", "unknown"}).status, 0);
    ASSERT_EQ(fructl({"add", "Y", "zan", "--type", "4"}).status, 0);
    ASSERT_EQ(fructl({"add", "TINY", "zan", "--capacity", "512"}).status, 0);
    ASSERT_EQ(quillet({"-c", "TINY", "-r", "ManR", "-o", "zan_part_no=1"}).status, 0);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } rows[] = {
        {{"-c", "NOPE", "-r", "ManR"}, 62, "", "\n Could not get node handle: NOPE\n"},
        {{"-c", "MB", "-r", "PIROM"}, 18, "", "\n Error: The class_name  PIROM is not supported.\n"},
        {{"-c", "MB", "-r", "IDENTITY"}, 14, "", kAbsent},
        {{"-c", "MB", "-r", "IDENTITY", "-d"}, 71, "",
         "\n Error: IDENTITY names several records; change or delete one record by its name\n"},
        {{"-c", "MB", "-r", "ManR", "-o", "zan_part_no=1", "-d"}, 35, "",
         "\nError: Please choose to use (-o or -t) to update or (-d) delete option.\n"},
        {{"-c", "MB"}, 23, "", "\n Error: Please supply record class name to be used.\n"},
        {{"-c", "X", "-r", "ManR"}, 1, "", "\n Could not determine container type: 4\n"},
        {{"-c", "Y", "-r", "TLI", "-o", "hostid=1"}, 0, "", ""},
        {{"-c", "TINY", "-r", "Zan_Man1R", "-o", "fru_description=x"}, 69, "", "\n Error: Container has no room for the data\n"},
        {{"-V"}, 0, "Version: 3.0 2008/10/14\n", ""},
    };
    for (const auto &row : rows) {
        const Outcome o = quillet(row.args);
        EXPECT_EQ(o.status, row.status) << row.args[1];
        EXPECT_EQ(o.out, row.out) << row.args[1];
        EXPECT_EQ(o.err, row.err) << row.args[1];
    }
    EXPECT_EQ(quillet({}).status, 255);
}

}  // namespace
}  // namespace quillet_test
