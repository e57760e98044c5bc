// The element parser as a user meets it: how each kind of element encodes
// its value, missing values, refusals, registry lists, the file elements,
// stamping, and what a failure leaves (the -t text is the update flow's).
// Where each field lies is held by the agreement with the platform's layouts.
#include <cstring>
#include <ctime>
#include <map>

#include "records/buffer_set.h"
#include "records/byte_order.h"
#include "records/element_parser.h"
#include "records/element_table.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using R = quillet::RecordId;

class Parser : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        quillet::release_record_buffer_set();
        quillet::allocate_record_buffer_set();
        fake::Platform &p = fake::platform();
        p.add_enum("Event", {{"power_on", 1}, {"power_off", 2}, {"still_on", 3}});
        p.add_enum("Vendor_Name", {{"Fujitsu", 0x0004}, {"Kingston", 0x0198}});
        p.add_enum("Initiator", {{"SP", 0x101}, {"Host", 2}});
        p.add_enum("Event_Code", {{"Fan_Fault", 0x01020304}});
        p.add_enum("Message_Type", {{"Warning", 1}});
        p.add_enum("FRU_Type", {{"Motherboard", 0x10001}});
        p.add_enum("Device_Type", {{"Processor", 0x0100}});
        p.add_enum("Entry_Type", {{"Corruption Detected", 1}, {"Creation", 5}});
    }
    void TearDown() override { quillet::release_record_buffer_set(); }

    int32_t parse(std::string pairs, const char *description_text = nullptr)
    {
        ::testing::internal::CaptureStderr();
        const int32_t status = quillet::parse_element_options({pairs.data(), description_text}, &file_refused_);
        err_ = ::testing::internal::GetCapturedStderr();
        return status;
    }
    static std::string field(R id, size_t offset, size_t width)
    {
        return to_hex(quillet::record_buffer(id) + offset, width);
    }
    // Every buffer as 0xAA bytes, so that a byte the parse keeps shows.
    static void fill()
    {
        for (const quillet::RecordBufferInfo &info : quillet::kRecordBuffers)
            std::memset(quillet::record_buffer(info.id), 0xAA, info.size);
    }
    std::string err_;
    bool file_refused_ = false;
};

TEST_F(Parser, EachRuleStoresTheseBytes)
{
    const std::tuple<std::string, R, size_t, std::string> rows[] = {
        // Decimal: atoi, clamped to 32 bits, low-order bytes big-endian.
        {"total_time_on=-2", R::Power_SummaryR, 4, "fffffffe"},
        {"sensor=300", R::Temperature_HistoryR, 4, "2c"},
        {"histogram3=70000", R::Temperature_HistoryR, 18, "1170"},
        {"geo_north=99999999999", R::InstallationR, 169, "7fffffff"},
        {"geo_east=-99999999999", R::InstallationR, 173, "80000000"},
        {"total_power_ons=  +42abc", R::Power_SummaryR, 8, "0000002a"},
        {"total_power_ons=abc", R::Power_SummaryR, 8, "00000000"},
        // Hexadecimal: strtoll base 16, the low-order bytes of its 64-bit image.
        {"macaddr=3ba123456", R::Fault_Install_DataR, 4, "0003ba123456"},
        {"macaddr=0x3BA123456", R::Installation1R, 214, "0003ba123456"},
        {"hostid=1234567890", R::Top_Level_IdentifierR, 61, "34567890"},
        {"wwn=ffffffffffffffff", R::SharedIdentifier, 0, "7fffffffffffffff"},
        {"wwn=zz", R::SharedIdentifier, 0, "0000000000000000"},
        {"message_32_3=ff", R::Fault_Install_DataR, 37, "00000000000000ff"},
        // device_type: hexadecimal only with a lower-case "0x", else a name in any case.
        {"device_type=0x1F", R::Device_Type, 0, "001f"},
        {"device_type=processor", R::Device_Type, 0, "0100"},
        {"device_type=0X1F", R::Device_Type, 0, "aaaa"},
        // Text: cut to the field, no terminator; clearing fields pad with zeros.
        {"zan_part_no=123456789", R::ManR, 148, text_hex("1234567")},
        {"zan_part_no=123456789", R::Installation1R, 132, text_hex("123456789") + zeros(11)},
        {"hw_dash_level=5", R::ECO_CurrentR, 14, text_hex("5") + "00"},
        {"hw_dash_level=,timestamp", R::ECO_CurrentR, 14, "0000"},
        {"segname=SDX", R::Segment_HistoryR, 5, text_hex("SD")},
        // A later pair writes over an earlier one: in place, or cleared first.
        {"fru_path=abcdef,fru_path=xy", R::Installation1R, 4, text_hex("xycdef")},
        {"fru_shortname=abcdef,fru_shortname=xy", R::ManR, 167, text_hex("xy") + zeros(14)},
        {"zan_part_no=1234567,parent_part_no=ab", R::InstallationR, 132, text_hex("ab34567")},
        {"parent_part_no=ab,zan_part_no=1234567", R::InstallationR, 132, text_hex("1234567")},
        {"ethernet_addr=0003BA123456,hostid=80ffee01", R::SharedIdentifier, 0, "80ffee013456"},
        {"ethernet_addr=0003BA123456,ethernet_addr_2=0003BA654321", R::SharedIdentifier, 0, "0003ba654321"},
        // Registry names: exact case, low-order bytes of the value; no match keeps the field.
        {"event=power_off", R::Power_EventsR, 4, "02"},
        {"event=POWER_OFF", R::Power_EventsR, 4, "aa"},
        {"entry_type=Creation,entry_type=nothing", R::Segment_HistoryR, 4, "05"},
        // The longest values fill their field and keep the next; a short one keeps the rest of a field
        // that is not cleared first.
        {"message=" + std::string(128, 'm'), R::Status_EventsR, 12, text_hex(std::string(128, 'm'))},
        {"product_part_no=" + std::string(20, 'p') + ",product_serial_no=" + std::string(30, 's'),
         R::Top_Level_IdentifierR, 4, text_hex(std::string(20, 'p')) + "aa" + text_hex(std::string(30, 's'))},
        {"fru_part_dash_no=" + std::string(11, 'f'), R::Zan_FRU_LabelR, 30, text_hex(std::string(11, 'f'))},
        {"initial_hw_dash_level=5", R::ManR, 163, text_hex("5") + "aa"},
        {"manufacture_loc=New", R::ManR, 84, text_hex("New") + zeros(61)},
    };
    for (const auto &[pairs, record, offset, hex] : rows) {
        SetUp();
        fill();
        ASSERT_EQ(parse(pairs), 0) << pairs << err_;
        EXPECT_EQ(field(record, offset, hex.size() / 2), hex) << pairs;
    }
}

std::string please(const std::string &what) { return "\n Error: Please supply value for " + what + "\n"; }
std::string null(const std::string &what) { return "Error: " + what + " is NULL\n"; }
std::string list(const std::string &what) { return please(what + " from the following list:"); }

// A bare element name asks for its value; most say their own name, registry
// elements list the names they take.
TEST_F(Parser, BareNameAsksForTheValue)
{
    const std::map<std::string, std::string> irregular = {
        {"zan_part_no", please("Part No")}, {"parent_part_no", please("Part No")},
        {"zan_serial_no", please("Serial No")}, {"parent_serial_no", please("Serial No")},
        {"initial_hw_dash_level", please("Dash Level")}, {"parent_dash_no", please("Dash Level")},
        {"initial_hw_rev_level", please("Rev Level")}, {"fru_shortname", please("fru shortname")},
        {"system_id", please("System_Id")}, {"serial_number_format", please("Serial_number_format")},
        {"vendor_name_and_site_location", "\n Error: Please supply value vendor_name_and_site_location\n"},
        {"zan_specpartno", please("Zan_Specpartno")}, {"ethernet_addr_2", please("ethernet_addr")},
        {"product_part_no", please("top_level_pdt_dash_num")}, {"product_serial_no", please("top_level_pdt_serial_num")},
        {"product_rev_level", please("top_level_rev_level")}, {"firmware_rev", please("firmware_revision")},
        {"hardware_rev", please("hardware_revision")}, {"hw_dash_level", please("hardware_dash_level")},
        {"segname", "Error: Either segname is NULL or provided multiple segments\n"}, {"timestamp", ""},
        {"cycleskipheaders", null("cycleskipheader")}, {"ncycleskips", null("ncycleskip")},
        {"event", list("event") + "\n power_on\n\n power_off\n\n still_on\n"},
        {"initiator", "\n Error: Please supply value forinitiator from the following list:\n\n SP\n\n Host\n"},
        {"vendor_name", list("VendorName") + "\n Fujitsu\n\n Kingston\n"},
        {"event_code", list("event_code") + "\n Fan_Fault\n"}, {"fru_type", list("fru_type") + "\n Motherboard\n"},
        {"message_type", list("Message_Type") + "\n Warning\n"},
        {"entry_type", list("entry_type") + "\n Corruption Detected\n\n Creation\n"},
    };
    const std::string said_null = " enabled_duration session_count session_duration softcap_count hardcap_duration "
                                  "version filename arrayname ncores maxpower ";
    for (size_t i = 0; i < quillet::kElementCount; ++i) {
        const std::string name = quillet::kElementTable[i].name;
        std::string expected = irregular.count(name) != 0 ? irregular.at(name) : please(name);
        if (said_null.find(" " + name + " ") != std::string::npos)
            expected = null(name);
        if (name.rfind("histogram", 0) == 0 || name.rfind("message_32_", 0) == 0)
            expected = please(name.substr(0, name[0] == 'h' ? 9 : 10));
        SetUp();
        EXPECT_EQ(parse(name), expected.empty() ? 0 : 23) << name;
        EXPECT_EQ(err_, expected);
        EXPECT_EQ(field(R::ManR, 0, 4) == "00000000", !expected.empty()) << "only a failed parse stamps nothing";
    }
    fake::platform().add_enum("Message_Type", {});
    EXPECT_EQ(parse("message_type"), 23);
    EXPECT_EQ(err_, list("Message_Type"));
}

TEST_F(Parser, FailuresPrintTheirMessage)
{
    const std::string vendors = list("VendorName") + "Fujitsu\nKingston\n";
    const std::tuple<std::string, int32_t, std::string> rows[] = {
        {"message=" + std::string(129, 'm'), 9, "\n Error: Please supply less than or equal to  128 chars for message\n"},
        {"product_part_no=" + std::string(21, 'p'), 9,
         "\n Error: Please supply less than or equal to 20 chars for top_level_pdt_dash_num\n"},
        {"product_serial_no=" + std::string(31, 's'), 9,
         "\n Error: Please supply less than or equal to 30 chars for top_level_pdt_serial_num\n"},
        {"fru_part_dash_no=" + std::string(12, 'f'), 9,
         "\n Error: Please supply less than or equal to 11 chars for fru_part_dash_no\n"},
        {"sensor=5,bogus=1,lowest=9", 23, "\n Error: bogus=1 is not supported\n"},
        {"sensor=5,,lowest=1", 23, "\n Error:  is not supported\n"},
        {"SENSOR=5", 23, "\n Error: SENSOR=5 is not supported\n"},
        {"histogram10=1", 23, "\n Error: histogram10=1 is not supported\n"},
        {"vendor_name=Acme", 16, vendors}, {"vendor_name=fujitsu", 16, vendors},
    };
    for (const auto &[pairs, status, err] : rows) {
        SetUp();
        fill();
        EXPECT_EQ(parse(pairs), status) << pairs;
        EXPECT_EQ(err_, err);
        EXPECT_EQ(field(R::Temperature_HistoryR, 4, 8), (pairs[0] == 's' ? "05" : "aa") + std::string(14, 'a'));
        // A refusal leaves the field as it was, but the clearing one empties it first.
        EXPECT_EQ(field(R::Top_Level_IdentifierR, 4, 20), std::string(40, 'a'));
        EXPECT_EQ(field(R::Zan_FRU_LabelR, 30, 11), pairs.rfind("fru_part", 0) == 0 ? zeros(11) : std::string(22, 'a'));
    }
    fake::platform().registry.erase("Event_Code");
    EXPECT_EQ(parse("event_code=Fan_Fault"), 3);
    EXPECT_EQ(parse("event_code"), 3);
    EXPECT_EQ(err_, "");
    bool file_refused = false;
    EXPECT_EQ(quillet::parse_element_options({nullptr, nullptr}, &file_refused), 23);
}

TEST_F(Parser, EveryParseStampsEveryTimestampedRecord)
{
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    ASSERT_EQ(parse("timestamp,timestamp=5,instance=3,"), 0);
    const uint32_t after = static_cast<uint32_t>(std::time(nullptr));
    for (const quillet::RecordBufferInfo &info : quillet::kRecordBuffers) {
        const uint32_t stamp = info.size < 4 ? 0 : quillet::load_be32(quillet::record_buffer(info.id));
        EXPECT_EQ(info.timestamped ? stamp >= before && stamp <= after : stamp == 0, true) << info.name;
    }
    EXPECT_EQ(field(R::Temperature_HistoryR, 8, 4), "00090a0a");
}

TEST_F(Parser, FileElementsFillTheirFieldOrAskForTheEarlyClose)
{
    TempFiles files;
    fill();
    ASSERT_EQ(parse("cycleskipheaders=" + files.make(10, 0444) + ",filename=" + files.make(80, 0444)), 0);
    EXPECT_EQ(field(R::PwrMgmt_RFR, 1, 12), text_hex("ABCDEFGHIJAB"));
    EXPECT_FALSE(file_refused_);
    const std::string writable = files.make(3), large = files.make(11, 0444), larger = files.make(81, 0444);
    const std::pair<std::string, std::string> rows[] = {
        {"cycleskipheaders=/nonexistent/x", "Input file stat failed for Opaque file /nonexistent/x\n"},
        {"cycleskipheaders=" + writable, "Input file stat mode failed for Opaque file " + writable + "\n"},
        {"cycleskipheaders=" + large, "Input file is too large " + large + "\n"},
        {"filename=" + larger, "Input file is too large " + larger + "\n"},
    };
    for (const auto &[pairs, err] : rows) {
        EXPECT_EQ(parse(pairs), 23) << pairs;
        EXPECT_EQ(err_, err);
        EXPECT_TRUE(file_refused_);
    }
}

}  // namespace
}  // namespace quillet_test
