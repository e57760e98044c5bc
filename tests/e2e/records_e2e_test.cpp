// quillet reading, updating and deleting every ZAN record class of a real
// store, with the stored bytes checked through fructl.
#include "e2e/e2e_fixture.h"
#include "support/hex.h"

namespace quillet_test {
namespace {

const std::string T = "TTTTTTTT";

struct RecordRow {
    std::string class_name;
    std::string elements;
    std::string record;    // as fructl names it
    std::string expected;  // stored bytes, timestamp masked where the record has one
};

void PrintTo(const RecordRow &row, std::ostream *os)
{
    *os << row.class_name;
}

class RecordClasses : public EndToEnd, public ::testing::WithParamInterface<RecordRow> {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        ASSERT_EQ(fructl({"add", "MB", "zan"}).status, 0);
    }
};

TEST_P(RecordClasses, UpdateReadDelete)
{
    const RecordRow &row = GetParam();
    Outcome o = quillet({"-c", "MB", "-r", row.class_name, "-o", row.elements});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    const std::vector<std::string> entries = stored("MB", row.record);
    ASSERT_EQ(entries.size(), 1u);
    const bool stamped = row.expected.rfind(T, 0) == 0;
    EXPECT_EQ(stamped ? without_stamp(entries[0]) : entries[0], row.expected);

    o = quillet({"-c", "MB", "-r", row.class_name});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find(row.record), std::string::npos) << o.out;

    o = quillet({"-c", "MB", "-r", row.class_name, "-d"});
    EXPECT_EQ(o.status, 0) << o.err;
    o = quillet({"-c", "MB", "-r", row.class_name});
    EXPECT_EQ(o.status, 14);
    EXPECT_EQ(o.err, "\n Error: Record or area not present in the container\n");
    EXPECT_NE(fructl({"get", "MB", row.record}).status, 0);
}

const std::string kMac = "0003ba123456";

INSTANTIATE_TEST_SUITE_P(
    Zan, RecordClasses,
    ::testing::Values(
        RecordRow{"POWER", "event=power_on", "Power_EventsR", T + "01"},
        RecordRow{"Power_SummaryR", "total_time_on=10,total_power_ons=2,total_power_offs=1",
                  "Power_SummaryR", T + "0000000a0000000200000001"},
        RecordRow{"FAULT", "new_status=1,initiator=SP,component=2,event_code=Fan_Fault,message=hi",
                  "Status_EventsR", T + "00010102" "00010002" + text_hex("hi") + zeros(126)},
        RecordRow{"TEMPERATURE", "sensor=3,histogram9=258", "Temperature_HistoryR",
                  T + "03000000" "00090a0a" + zeros(18) + "0102"},
        RecordRow{"CUSTOMER", "cust_data=abc", "Customer_DataR", T + text_hex("abc") + zeros(77)},
        RecordRow{"INSTALL", "fru_path=/SYS/MB,system_tz=-300,hostid=80ffee01", "Installation1R",
                  T + text_hex("/SYS/MB") + zeros(121) + zeros(88) + "80ffee01" "fed4"},
        RecordRow{"Configured_LevelR", "zan_part_no=1234567,configured_serial_no=S1", "Configured_LevelR",
                  T + text_hex("1234567") + text_hex("S1") + zeros(18) + zeros(2)},
        RecordRow{"ManR", "zan_part_no=5017540,vendor_name=Fujitsu,initial_hw_dash_level=04",
                  "ManR", T + zeros(144) + text_hex("5017540") + zeros(6) + "0004" +
                              text_hex("04") + zeros(18)},
        RecordRow{"Zan_ManR", "fru_type=Motherboard,vendor_id_code=70000", "Zan_ManR",
                  T + zeros(92) + "00011170" + zeros(23) + "0001" + zeros(11)},
        RecordRow{"Zan_Man1R", "vendor_id_code=70000,vendor_id_code_source=1", "Zan_Man1R",
                  T + zeros(30) + "117001" + zeros(154)},
        RecordRow{"Zan_Part_Number_DataR", "zan_serial_no=ABCDEF", "Zan_Part_Number_DataR",
                  T + zeros(7) + text_hex("ABCDEF") + zeros(4)},
        RecordRow{"EthernetMACAddrRangeR", "ethernet_addr=0003BA123456,ethernet_addr_range=20",
                  "EthernetMACAddrRangeR", kMac + "0020"},
        RecordRow{"EthernetMACAddr2R", "ethernet_addr=0003BA123456,ethernet_addr_2=0003BA654321",
                  "EthernetMACAddr2R", kMac + "0003ba654321"},
        RecordRow{"Status_CurrentR", "status=3", "Status_CurrentR", T + "03"},
        RecordRow{"TLI", "hostid=80ffee01", "Top_Level_IdentifierR", T + zeros(57) + "80ffee01"},
        RecordRow{"Ethernet_Addr", "ethernet_addr=0003BA123456", "Ethernet_Addr", kMac + zeros(74)},
        RecordRow{"HOSTID", "hostid=80ffee01", "HOSTID", "80ffee01" + zeros(76)},
        RecordRow{"Sequence_Number", "sequence_number=5", "Sequence_Number", "00000005" + zeros(76)},
        RecordRow{"WWN", "wwn=-1", "WWN", std::string(16, 'f') + zeros(72)},
        RecordRow{"Enclosure_Nickname", "enclosure_nickname=rack12", "Enclosure_Nickname",
                  text_hex("rack12") + zeros(74)},
        RecordRow{"New_Serial_No", "new_serial_no=NS1", "New_Serial_No", text_hex("NS1") + zeros(77)},
        RecordRow{"Device_Type", "device_type=0x0102", "Device_Type", "0102"},
        RecordRow{"ECO_CurrentR", "firmware_rev=1.2,hw_dash_level=5", "ECO_CurrentR",
                  T + text_hex("1.2") + zeros(5) + zeros(2) + text_hex("5") + "00"},
        RecordRow{"PwrMgmtR", "arrayname=A1,maxpower=500", "PwrMgmtR",
                  text_hex("A1") + zeros(13) + "0000" "01f4"},
        RecordRow{"Zan_FRU_LabelR", "zan_serial_no=S,fru_part_dash_no=P-1", "Zan_FRU_LabelR",
                  text_hex("S") + zeros(29) + text_hex("P-1") + zeros(8)},
        RecordRow{"Segment_HistoryR", "entry_type=Creation,segname=O1", "Segment_HistoryR",
                  T + "05" + text_hex("O1")},
        RecordRow{"TAVO_Usage_Kvms_R", "enabled_duration=90", "TAVO_Usage_Kvms_R",
                  "0000005a" + zeros(8)},
        RecordRow{"TAVO_Usage_Powerbudget_R", "softcap_count=2", "TAVO_Usage_Powerbudget_R",
                  zeros(4) + "00000002" + zeros(4)},
        RecordRow{"MLR", "mlr_part_dash_no=P", "MultiLevelR", T + text_hex("P") + zeros(79)},
        RecordRow{"Partner_LabelR", "vendor_name=Samsung,partner_part_number=PN", "Partner_LabelR",
                  "00ce" + text_hex("PN") + zeros(18)}));

class Records : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        ASSERT_EQ(fructl({"add", "MB", "zan"}).status, 0);
    }
};

TEST_F(Records, PwrMgmtFileElementTakesTheFileContent)
{
    const std::string header = temp_file("HDR", 0444);
    const Outcome o = quillet({"-c", "MB", "-r", "PwrMgmt_RFR", "-o",
                               "version=2,cycleskipheaders=" + header});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(stored("MB", "PwrMgmt_RFR")[0], "02" + text_hex("HDR") + zeros(7) + zeros(80));
}

TEST_F(Records, PartialUpdateKeepsStoredFields)
{
    ASSERT_EQ(fructl({"put", "MB", "Power_SummaryR", "00000001" "00001072" "00000025" "00000024"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=38"}).status, 0);
    const std::string after = stored("MB", "Power_SummaryR")[0];
    EXPECT_EQ(without_stamp(after), T + "00001072" "00000026" "00000024");
    EXPECT_NE(after.substr(0, 8), "00000001");
}

TEST_F(Records, RecordWithoutPreReadIsBuiltFromZero)
{
    ASSERT_EQ(quillet({"-c", "MB", "-r", "TLI", "-o", "product_part_no=602-3917-01,hostid=1"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "TLI", "-o", "hostid=80ffee01"}).status, 0);
    EXPECT_EQ(without_stamp(stored("MB", "TLI")[0]), T + zeros(57) + "80ffee01");
}

TEST_F(Records, StatusEventsChainOnAlsoAfterTheRingWrapped)
{
    for (int i = 1; i <= 12; ++i) {
        const Outcome o = quillet({"-c", "MB", "-r", "Status_EventsR", "-o",
                                   "new_status=" + std::to_string(i) + ",message=m"});
        ASSERT_EQ(o.status, 0) << o.err;
    }
    EXPECT_EQ(fructl({"control", "MB", "Status_EventsR"}).out, "0a010a00\n");
    const std::vector<std::string> entries = stored("MB", "Status_EventsR");
    ASSERT_EQ(entries.size(), 10u);
    for (size_t n = 0; n < entries.size(); ++n) {
        const int new_status = static_cast<int>(n) + 3;
        char expected[5];
        std::snprintf(expected, sizeof expected, "%02x%02x", new_status - 1, new_status);
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

    Outcome o = quillet({"-c", "MB", "-r", "ManR", "-o", "zan_part_no=1,bogus=2"});
    EXPECT_EQ(o.status, 23);
    EXPECT_EQ(image_bytes("MB"), before);
    o = quillet({"-c", "MB", "-r", "TLI", "-o", "product_part_no=" + std::string(21, 'p')});
    EXPECT_EQ(o.status, 9);
    EXPECT_EQ(image_bytes("MB"), before);

    ASSERT_EQ(fructl({"corrupt", "MB", "PE"}).status, 0);
    const std::string damaged = image_bytes("MB");
    o = quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=2"});
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
    const Outcome o = quillet({"-c", "MB", "-r", "ManR"});
    EXPECT_NE(o.out.find("fru_description               : " + text + "\n"), std::string::npos);
}

TEST_F(Records, InstallationProbePicksTheVersionTheContainerHolds)
{
    const std::string old_version(438, '0');
    ASSERT_EQ(fructl({"put", "MB", "InstallationR", old_version}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "INSTALL", "-o", "fru_path=/SYS/MB/P0"}).status, 0);
    EXPECT_EQ(stored("MB", "InstallationR").size(), 2u);
    EXPECT_NE(fructl({"get", "MB", "Installation1R"}).status, 0);
    Outcome o = quillet({"-c", "MB", "-r", "Installation1R", "-d"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(fructl({"get", "MB", "InstallationR"}).status, 0);
    o = quillet({"-c", "MB", "-r", "INSTALL", "-d"});
    EXPECT_EQ(o.status, 14);
}

TEST_F(Records, ExitStatusesAndMessages)
{
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } rows[] = {
        {{"-c", "NOPE", "-r", "ManR"}, 62, "\n Could not get node handle: NOPE\n"},
        {{"-c", "MB", "-r", "PIROM"}, 18, "\n Error: The class_name  PIROM is not supported.\n"},
        {{"-c", "MB", "-r", "IDENTITY"}, 14, "\n Error: Record or area not present in the container\n"},
        {{"-c", "MB", "-r", "IDENTITY", "-d"}, 71,
         "\n Error: IDENTITY names several records; change or delete one record by its name\n"},
        {{"-c", "MB", "-r", "ManR", "-o", "zan_part_no=1", "-d"}, 35,
         "\nError: Please choose to use (-o or -t) to update or (-d) delete option.\n"},
        {{"-c", "MB"}, 23, "\n Error: Please supply record class name to be used.\n"},
    };
    for (const auto &row : rows) {
        const Outcome o = quillet(row.args);
        EXPECT_EQ(o.status, row.status) << row.args[3];
        EXPECT_EQ(o.err, row.err);
    }
    const Outcome version = quillet({"-V"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Version: 3.0 2008/10/14\n");
    EXPECT_EQ(quillet({}).status, 255);
}

TEST_F(Records, UnknownContainerTypeEndsWithStatusOne)
{
    ASSERT_EQ(fructl({"add", "X", "zan", "--type", "unknown"}).status, 0);
    ASSERT_EQ(fructl({"add", "Y", "zan", "--type", "4"}).status, 0);
    const Outcome o = quillet({"-c", "X", "-r", "ManR"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "\n Could not determine container type: 4\n");
    EXPECT_EQ(quillet({"-c", "Y", "-r", "TLI", "-o", "hostid=1"}).status, 0);
}

}  // namespace
}  // namespace quillet_test

namespace quillet_test {
namespace {

// fructl put then get returns the bytes, for every record of every family
// that can be written.
TEST_F(Records, PutThenGetReturnsTheBytes)
{
    ASSERT_EQ(fructl({"add", "D0", "dimm", "--from", temp_file(std::string(256, '\xff'))}).status, 0);
    const struct {
        const char *nac;
        const char *record;
        size_t size;
    } rows[] = {
        {"MB", "Power_EventsR", 5}, {"MB", "Power_SummaryR", 16}, {"MB", "Temperature_HistoryR", 32},
        {"MB", "Status_EventsR", 140}, {"MB", "Status_CurrentR", 5}, {"MB", "Segment_HistoryR", 7},
        {"MB", "TAVO_Usage_Kvms_R", 12}, {"MB", "TAVO_Usage_Powerbudget_R", 12},
        {"MB", "Customer_DataR", 84}, {"MB", "ManR", 183}, {"MB", "Zan_ManR", 136},
        {"MB", "Zan_Man1R", 191}, {"MB", "Zan_Part_Number_DataR", 21}, {"MB", "Configured_LevelR", 33},
        {"MB", "InstallationR", 219}, {"MB", "Installation1R", 226}, {"MB", "Top_Level_IdentifierR", 65},
        {"MB", "MultiLevelR", 84}, {"MB", "ECO_CurrentR", 16}, {"MB", "Zan_FRU_LabelR", 41},
        {"MB", "Partner_LabelR", 22}, {"MB", "EthernetMACAddrRangeR", 8}, {"MB", "EthernetMACAddr2R", 12},
        {"MB", "Ethernet_Addr", 80}, {"MB", "HOSTID", 80}, {"MB", "Sequence_Number", 80}, {"MB", "WWN", 80},
        {"MB", "Enclosure_Nickname", 80}, {"MB", "New_Serial_No", 80}, {"MB", "Device_Type", 2},
        {"MB", "PwrMgmtR", 19}, {"MB", "PwrMgmt_RFR", 91}, {"D0", "Power_On_DataR", 8},
        {"D0", "Fault_Install_DataR", 45},
    };
    uint8_t seed = 1;
    for (const auto &row : rows) {
        std::string bytes;
        for (size_t i = 0; i < row.size; ++i)
            bytes += static_cast<char>(seed + i * 7);
        ++seed;
        const std::string hex = to_hex(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        const Outcome put = fructl({"put", row.nac, row.record, hex});
        ASSERT_EQ(put.status, 0) << row.record << put.err;
        const std::vector<std::string> entries = stored(row.nac, row.record);
        ASSERT_FALSE(entries.empty()) << row.record;
        EXPECT_EQ(entries.back(), hex) << row.record;
    }
    const Outcome wrong = fructl({"put", "MB", "ManR", "00"});
    EXPECT_NE(wrong.status, 0);
    EXPECT_EQ(wrong.err, "fructl: ManR takes 183 bytes, not 1\n");
}

}  // namespace
}  // namespace quillet_test
