// The parser's rules a user meets: missing values, refusals, registry lists,
// the two file elements, the -t text, stamping, and what a failure leaves.
#include <ctime>
#include <map>

#include "records/byte_order.h"
#include "records/element_table.h"
#include "records/parser_fixture.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

std::string please(const std::string &what) { return "\n Error: Please supply value for " + what + "\n"; }
std::string null(const std::string &what) { return "Error: " + what + " is NULL\n"; }

// A bare element name asks for its value; most say their own name.
TEST_F(ParserTest, BareNameAsksForTheValue)
{
    const std::map<std::string, std::string> irregular = {
        {"zan_part_no", please("Part No")}, {"parent_part_no", please("Part No")},
        {"zan_serial_no", please("Serial No")}, {"parent_serial_no", please("Serial No")},
        {"initial_hw_dash_level", please("Dash Level")}, {"parent_dash_no", please("Dash Level")},
        {"initial_hw_rev_level", please("Rev Level")}, {"fru_shortname", please("fru shortname")},
        {"system_id", please("System_Id")}, {"serial_number_format", please("Serial_number_format")},
        {"vendor_name_and_site_location", "\n Error: Please supply value vendor_name_and_site_location\n"},
        {"zan_specpartno", please("Zan_Specpartno")}, {"ethernet_addr_2", please("ethernet_addr")},
        {"product_part_no", please("top_level_pdt_dash_num")},
        {"product_serial_no", please("top_level_pdt_serial_num")},
        {"product_rev_level", please("top_level_rev_level")}, {"firmware_rev", please("firmware_revision")},
        {"hardware_rev", please("hardware_revision")}, {"hw_dash_level", please("hardware_dash_level")},
        {"segname", "Error: Either segname is NULL or provided multiple segments\n"},
        {"enabled_duration", null("enabled_duration")}, {"session_count", null("session_count")},
        {"session_duration", null("session_duration")}, {"softcap_count", null("softcap_count")},
        {"hardcap_duration", null("hardcap_duration")}, {"version", null("version")},
        {"cycleskipheaders", null("cycleskipheader")}, {"filename", null("filename")},
        {"arrayname", null("arrayname")}, {"ncycleskips", null("ncycleskip")},
        {"ncores", null("ncores")}, {"maxpower", null("maxpower")}, {"timestamp", ""},
    };
    const std::string registry_elements = " event vendor_name initiator event_code message_type fru_type entry_type ";
    int checked = 0;
    for (size_t i = 0; i < quillet::kElementCount; ++i) {
        const std::string name = quillet::kElementTable[i].name;
        SetUp();
        if (registry_elements.find(" " + name + " ") != std::string::npos)
            continue;
        std::string expected = please(name);
        if (irregular.count(name) != 0)
            expected = irregular.at(name);
        else if (name.rfind("histogram", 0) == 0)
            expected = please("histogram");
        else if (name.rfind("message_32_", 0) == 0)
            expected = please("message_32");
        EXPECT_EQ(parse(name), expected.empty() ? 0 : 23) << name;
        EXPECT_EQ(err_, expected);
        checked += !expected.empty();
        EXPECT_EQ(field(R::ManR, 0, 4) == "00000000", !expected.empty()) << "only a failed parse stamps nothing";
    }
    EXPECT_GT(checked, 80);
}

TEST_F(ParserTest, FailuresPrintTheirMessage)
{
    const struct {
        std::string pairs;
        int32_t status;
        std::string err;
    } rows[] = {
        {"message=" + std::string(129, 'm'), 9,
         "\n Error: Please supply less than or equal to  128 chars for message\n"},
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
        {"event", 23, "\n Error: Please supply value for event from the following list:\n"
                      "\n power_on\n\n power_off\n\n still_on\n"},
        {"initiator", 23, "\n Error: Please supply value forinitiator from the following list:\n\n SP\n\n Host\n"},
        {"fru_type", 23, "\n Error: Please supply value for fru_type from the following list:\n\n Motherboard\n"},
        {"vendor_name=Acme", 16,
         "\n Error: Please supply value for VendorName from the following list:\nFujitsu\nKingston\n"},
        {"vendor_name=fujitsu", 16,
         "\n Error: Please supply value for VendorName from the following list:\nFujitsu\nKingston\n"},
    };
    for (const auto &row : rows) {
        SetUp();
        fill(R::Top_Level_IdentifierR, 0xAA);
        fill(R::Zan_FRU_LabelR, 0xAA);
        EXPECT_EQ(parse(row.pairs), row.status) << row.pairs;
        EXPECT_EQ(err_, row.err);
        EXPECT_EQ(field(R::Temperature_HistoryR, 4, 8), (row.pairs[0] == 's' ? "05" : "00") + zeros(7));
        // A refusal leaves the field as it was, but the clearing one empties it first.
        EXPECT_EQ(field(R::Top_Level_IdentifierR, 4, 20), std::string(40, 'a'));
        EXPECT_EQ(field(R::Zan_FRU_LabelR, 30, 11), row.pairs.rfind("fru_part", 0) == 0 ? zeros(11) : std::string(22, 'a'));
    }
    fake::platform().add_enum("Message_Type", {});
    EXPECT_EQ(parse("message_type"), 23);
    EXPECT_EQ(err_, "\n Error: Please supply value for Message_Type from the following list:\n");
    fake::platform().registry.erase("Event_Code");
    EXPECT_EQ(parse("event_code=Fan_Fault"), 3);
    EXPECT_EQ(parse("event_code"), 3);
    EXPECT_EQ(err_, "");
    bool file_refused = false;
    EXPECT_EQ(quillet::parse_element_options({nullptr, nullptr}, &file_refused), 23);
}

TEST_F(ParserTest, LongestAcceptedValuesFillFieldsWithoutTerminator)
{
    fill(R::Status_EventsR, 0xAA);
    ASSERT_EQ(parse("message=" + std::string(128, 'm') + ",product_part_no=" + std::string(20, 'p') +
                    ",product_serial_no=" + std::string(30, 's') + ",fru_part_dash_no=" + std::string(11, 'f')),
              0);
    EXPECT_EQ(field(R::Status_EventsR, 12, 128), text_hex(std::string(128, 'm')));
    EXPECT_EQ(field(R::Top_Level_IdentifierR, 4, 51), text_hex(std::string(20, 'p') + '\0' + std::string(30, 's')));
    EXPECT_EQ(field(R::Zan_FRU_LabelR, 30, 11), text_hex(std::string(11, 'f')));
}

TEST_F(ParserTest, EachRegistryElementLooksUpAfresh)
{
    ASSERT_EQ(parse("event=power_on,event=still_on,initiator=SP"), 0);
    EXPECT_EQ(fake::platform().calls, (Calls{"fru_reg_lookup_def_by_name(Event)", "fru_reg_lookup_def_by_name(Event)",
                                             "fru_reg_lookup_def_by_name(Initiator)"}));
    EXPECT_EQ(field(R::Power_EventsR, 4, 1), "03");
}

TEST_F(ParserTest, OverwrittenFieldsKeepWhatFollowsTheValue)
{
    // As after a pre-read of a stored ManR whose dash level is 01.
    std::memcpy(quillet::record_buffer(R::ManR) + 163, "01", 2);
    std::memcpy(quillet::record_buffer(R::ManR) + 84, "Old location text", 17);
    ASSERT_EQ(parse("initial_hw_dash_level=5,manufacture_loc=New"), 0);
    EXPECT_EQ(field(R::ManR, 163, 2), text_hex("51"));
    EXPECT_EQ(field(R::ManR, 84, 17), text_hex("New") + zeros(14));
}

TEST_F(ParserTest, DescriptionTextReplacesTheValueOfItsElements)
{
    const std::string text = "Rack 4, slot 2, row C";
    fill(R::SharedIdentifier, 0xAA);
    ASSERT_EQ(parse("cust_data=x,fru_description=y,enclosure_nickname=z", text.c_str()), 0);
    EXPECT_EQ(field(R::Customer_DataR, 4, 80), text_hex(text) + zeros(80 - text.size()));
    EXPECT_EQ(field(R::ManR, 4, 80), text_hex(text) + zeros(80 - text.size()));
    EXPECT_EQ(field(R::Zan_ManR, 4, 30), text_hex(text) + zeros(30 - text.size()));
    EXPECT_EQ(field(R::SharedIdentifier, 0, text.size() + 1), text_hex(text) + "aa");
    EXPECT_EQ(parse("cust_data", text.c_str()), 23);
}

TEST_F(ParserTest, EveryParseStampsEveryTimestampedRecord)
{
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    ASSERT_EQ(parse("timestamp,timestamp=5,instance=3,"), 0);
    const uint32_t after = static_cast<uint32_t>(std::time(nullptr));
    for (const quillet::RecordBufferInfo &info : quillet::kRecordBuffers) {
        const uint32_t stamp = info.size < 4 ? 0 : quillet::load_be32(quillet::record_buffer(info.id));
        EXPECT_EQ(stamp >= before && stamp <= after, info.timestamped) << info.name;
        EXPECT_TRUE(stamp == 0 || info.timestamped) << info.name;
    }
    EXPECT_EQ(field(R::Temperature_HistoryR, 8, 4), "00090a0a");
}

TEST_F(ParserTest, FileElementsFillTheirFieldOrAskForTheEarlyClose)
{
    TempFiles files;
    fill(R::PwrMgmt_RFR, 0xAA);
    ASSERT_EQ(parse("version=2,cycleskipheaders=" + files.make(3, 0444)), 0) << err_;
    EXPECT_EQ(field(R::PwrMgmt_RFR, 0, 12), "02" + text_hex("ABC") + zeros(7) + "aa");
    ASSERT_EQ(parse("cycleskipheaders=" + files.make(10, 0444) + ",filename=" + files.make(80, 0444)), 0);
    EXPECT_EQ(field(R::PwrMgmt_RFR, 1, 12), text_hex("ABCDEFGHIJAB"));
    EXPECT_FALSE(file_refused_);
    const std::string writable = files.make(3), large = files.make(11, 0444), larger = files.make(81, 0444);
    const std::pair<std::string, std::string> rows[] = {
        {"cycleskipheaders=/nonexistent/x", "Input file stat failed for Opaque file /nonexistent/x\n"},
        {"cycleskipheaders=" + writable, "Input file stat mode failed for Opaque file " + writable + "\n"},
        {"filename=/tmp", "Input file stat mode failed for Opaque file /tmp\n"},
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
