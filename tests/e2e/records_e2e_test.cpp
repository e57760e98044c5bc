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

// One row per way a class reaches its record (stamped, ring, probed, file
// element, the six layouts of the shared identifier buffer); where each
// element lies and how each rule encodes are held by the agreement and
// element parser tests.
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
        {"CUSTOMER", "cust_data=abc", "Customer_DataR", T + text_hex("abc") + zeros(77)},
        {"INSTALL", "fru_path=/SYS/MB,system_tz=-300,hostid=80ffee01", "Installation1R",
         T + text_hex("/SYS/MB") + zeros(121) + zeros(88) + "80ffee01" "fed4"},
        {"ManR", "zan_part_no=5017540,vendor_name=Fujitsu,initial_hw_dash_level=04", "ManR",
         T + zeros(144) + text_hex("5017540") + zeros(6) + "0004" + text_hex("04") + zeros(18)},
        {"EthernetMACAddrRangeR", "ethernet_addr=0003BA123456,ethernet_addr_range=20", "EthernetMACAddrRangeR",
         kMac + "0020"},
        {"TLI", "hostid=80ffee01", "Top_Level_IdentifierR", T + zeros(57) + "80ffee01"},
        {"Ethernet_Addr", "ethernet_addr=0003BA123456", "Ethernet_Addr", kMac + zeros(74)},
        {"HOSTID", "hostid=80ffee01", "HOSTID", "80ffee01" + zeros(76)},
        {"Sequence_Number", "sequence_number=5", "Sequence_Number", "00000005" + zeros(76)},
        {"WWN", "wwn=-1", "WWN", std::string(16, 'f') + zeros(72)},
        {"Enclosure_Nickname", "enclosure_nickname=rack12", "Enclosure_Nickname", text_hex("rack12") + zeros(74)},
        {"New_Serial_No", "new_serial_no=NS1", "New_Serial_No", text_hex("NS1") + zeros(77)},
        {"Device_Type", "device_type=0x0102", "Device_Type", "0102"},
        {"PwrMgmt_RFR", "version=2,cycleskipheaders=" + header, "PwrMgmt_RFR", "02" + text_hex("HDR") + zeros(87)},
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

// The ring's control bytes as the platform keeps them, read by the tool
// after the ring wrapped: the newest entry's status still chains on.
TEST_F(Records, StatusEventsChainOnAlsoAfterTheRingWrapped)
{
    for (int i = 1; i <= 12; ++i)
        ASSERT_EQ(quillet({"-c", "MB", "-r", "Status_EventsR", "-o", "new_status=" + std::to_string(i)}).status, 0);
    const std::vector<std::string> entries = stored("MB", "Status_EventsR");
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.back().substr(8, 4), "0b0c");
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
        {{"-c", "MB", "-r", "IDENTITY"}, 14, "", kAbsent},
        {{"-c", "MB", "-r", "IDENTITY", "-d"}, 71, "",
         "\n Error: IDENTITY names several records; change or delete one record by its name\n"},
        {{"-c", "X", "-r", "ManR"}, 1, "", "\n Could not determine container type: 4\n"},
        {{"-c", "Y", "-r", "TLI", "-o", "hostid=1"}, 0, "", ""},
        {{"-c", "TINY", "-r", "Zan_Man1R", "-o", "fru_description=x"}, 69, "", "\n Error: Container has no room for the data\n"},
    };
    for (const auto &row : rows) {
        const Outcome o = quillet(row.args);
        EXPECT_EQ(o.status, row.status) << row.args[1];
        EXPECT_EQ(o.out, row.out) << row.args[1];
        EXPECT_EQ(o.err, row.err) << row.args[1];
    }
}

}  // namespace
}  // namespace quillet_test
