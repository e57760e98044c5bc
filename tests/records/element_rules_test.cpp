// The parser's rules a user meets: missing values, refusals, registry lists,
// the two file elements, the -t text, stamping, and what a failure leaves.
#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

#include "records/byte_order.h"
#include "records/parser_fixture.h"
#include "support/temp_files.h"

namespace quillet_test {
namespace {

using quillet::RecordId;
using R = RecordId;

struct FailureRow {
    std::string pairs;
    int32_t status;
    std::string err;
};

void PrintTo(const FailureRow &row, std::ostream *os)
{
    *os << row.pairs.substr(0, 40);
}

class ParserFailures : public ParserTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(ParserFailures, MessageAndStatus)
{
    const FailureRow &row = GetParam();
    EXPECT_EQ(parse(row.pairs), row.status);
    EXPECT_EQ(err_, row.err);
    // A failed parse stamps nothing.
    EXPECT_EQ(field(R::ManR, 0, 4), "00000000");
    EXPECT_EQ(field(R::Temperature_HistoryR, 8, 4), "00000000");
}

std::string missing(const std::string &what)
{
    return "\n Error: Please supply value for " + what + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    MissingValues, ParserFailures,
    ::testing::Values(
        FailureRow{"sensor", 23, missing("sensor")},
        FailureRow{"total_time_on", 23, missing("total_time_on")},
        FailureRow{"histogram4", 23, missing("histogram")},
        FailureRow{"fru_description", 23, missing("fru_description")},
        FailureRow{"zan_part_no", 23, missing("Part No")},
        FailureRow{"parent_part_no", 23, missing("Part No")},
        FailureRow{"zan_serial_no", 23, missing("Serial No")},
        FailureRow{"initial_hw_dash_level", 23, missing("Dash Level")},
        FailureRow{"parent_dash_no", 23, missing("Dash Level")},
        FailureRow{"initial_hw_rev_level", 23, missing("Rev Level")},
        FailureRow{"fru_shortname", 23, missing("fru shortname")},
        FailureRow{"system_id", 23, missing("System_Id")},
        FailureRow{"vendor_name_and_site_location", 23,
                   "\n Error: Please supply value vendor_name_and_site_location\n"},
        FailureRow{"serial_number_format", 23, missing("Serial_number_format")},
        FailureRow{"zan_specpartno", 23, missing("Zan_Specpartno")},
        FailureRow{"hazard_class_code", 23, missing("hazard_class_code")},
        FailureRow{"macaddr", 23, missing("macaddr")},
        FailureRow{"message_32_2", 23, missing("message_32")},
        FailureRow{"ethernet_addr_2", 23, missing("ethernet_addr")},
        FailureRow{"product_part_no", 23, missing("top_level_pdt_dash_num")},
        FailureRow{"product_serial_no", 23, missing("top_level_pdt_serial_num")},
        FailureRow{"product_rev_level", 23, missing("top_level_rev_level")},
        FailureRow{"firmware_rev", 23, missing("firmware_revision")},
        FailureRow{"hardware_rev", 23, missing("hardware_revision")},
        FailureRow{"hw_dash_level", 23, missing("hardware_dash_level")},
        FailureRow{"device_type", 23, missing("device_type")},
        FailureRow{"instance", 23, missing("instance")},
        FailureRow{"segname", 23, "Error: Either segname is NULL or provided multiple segments\n"},
        FailureRow{"enabled_duration", 23, "Error: enabled_duration is NULL\n"},
        FailureRow{"ncycleskips", 23, "Error: ncycleskip is NULL\n"},
        FailureRow{"maxpower", 23, "Error: maxpower is NULL\n"},
        FailureRow{"arrayname", 23, "Error: arrayname is NULL\n"},
        FailureRow{"cycleskipheaders", 23, "Error: cycleskipheader is NULL\n"},
        FailureRow{"filename", 23, "Error: filename is NULL\n"}));

const std::string k129(129, 'm');

INSTANTIATE_TEST_SUITE_P(
    Refusals, ParserFailures,
    ::testing::Values(
        FailureRow{"message=" + k129, 9,
                   "\n Error: Please supply less than or equal to  128 chars for message\n"},
        FailureRow{"product_part_no=" + std::string(21, 'p'), 9,
                   "\n Error: Please supply less than or equal to 20 chars for "
                   "top_level_pdt_dash_num\n"},
        FailureRow{"product_serial_no=" + std::string(31, 's'), 9,
                   "\n Error: Please supply less than or equal to 30 chars for "
                   "top_level_pdt_serial_num\n"},
        FailureRow{"fru_part_dash_no=" + std::string(12, 'f'), 9,
                   "\n Error: Please supply less than or equal to 11 chars for fru_part_dash_no\n"}));

INSTANTIATE_TEST_SUITE_P(
    Unsupported, ParserFailures,
    ::testing::Values(
        FailureRow{"sensor=5,bogus=1", 23, "\n Error: bogus=1 is not supported\n"},
        FailureRow{"bogus", 23, "\n Error: bogus is not supported\n"},
        FailureRow{"sensor=5,,lowest=1", 23, "\n Error:  is not supported\n"},
        FailureRow{"SENSOR=5", 23, "\n Error: SENSOR=5 is not supported\n"},
        FailureRow{"histogram10=1", 23, "\n Error: histogram10=1 is not supported\n"},
        FailureRow{"event", 23,
                   "\n Error: Please supply value for event from the following list:\n"
                   "\n power_on\n\n power_off\n\n still_on\n"},
        FailureRow{"initiator", 23,
                   "\n Error: Please supply value forinitiator from the following list:\n"
                   "\n SP\n\n Host\n"},
        FailureRow{"fru_type", 23,
                   "\n Error: Please supply value for fru_type from the following list:\n"
                   "\n Motherboard\n"},
        FailureRow{"vendor_name=Acme", 16,
                   "\n Error: Please supply value for VendorName from the following list:\n"
                   "Fujitsu\nKingston\n"},
        FailureRow{"vendor_name=fujitsu", 16,
                   "\n Error: Please supply value for VendorName from the following list:\n"
                   "Fujitsu\nKingston\n"}));

TEST_F(ParserTest, NullStringFailsSilently)
{
    bool file_refused = false;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(quillet::parse_element_options({nullptr, nullptr}, &file_refused), 23);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(ParserTest, MissingRegistryDefinitionIsStatus3)
{
    fake::platform().registry.erase("Event_Code");
    EXPECT_EQ(parse("event_code=Fan_Fault"), 3);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(parse("event_code"), 3);
}

TEST_F(ParserTest, EmptyRegistryListsOnlyTheHeader)
{
    fake::platform().add_enum("Message_Type", {});
    EXPECT_EQ(parse("message_type"), 23);
    EXPECT_EQ(err_, "\n Error: Please supply value for Message_Type from the following list:\n");
}

TEST_F(ParserTest, EachRegistryElementLooksUpAfresh)
{
    ASSERT_EQ(parse("event=power_on,event=still_on,initiator=SP"), 0);
    EXPECT_EQ(fake::platform().calls,
              (std::vector<std::string>{"fru_reg_lookup_def_by_name(Event)",
                                        "fru_reg_lookup_def_by_name(Event)",
                                        "fru_reg_lookup_def_by_name(Initiator)"}));
    EXPECT_EQ(field(R::Power_EventsR, 4, 1), "03");
}

TEST_F(ParserTest, FailureStopsAtTheFailingPair)
{
    EXPECT_EQ(parse("sensor=5,bogus=1,lowest=9"), 23);
    EXPECT_EQ(field(R::Temperature_HistoryR, 4, 2), "0500");
}

TEST_F(ParserTest, RefusalLeavesFieldsAsTheyWereExceptTheClearingOne)
{
    fill(R::Top_Level_IdentifierR, 0xAA);
    fill(R::Zan_FRU_LabelR, 0xAA);
    EXPECT_EQ(parse("product_part_no=" + std::string(21, 'p')), 9);
    EXPECT_EQ(field(R::Top_Level_IdentifierR, 4, 20), std::string(40, 'a'));
    EXPECT_EQ(parse("fru_part_dash_no=" + std::string(12, 'f')), 9);
    EXPECT_EQ(field(R::Zan_FRU_LabelR, 30, 11), zeros(11));
}

TEST_F(ParserTest, LongestAcceptedValuesFillFieldsWithoutTerminator)
{
    fill(R::Status_EventsR, 0xAA);
    ASSERT_EQ(parse("message=" + std::string(128, 'm') + ",product_part_no=" +
                    std::string(20, 'p') + ",product_serial_no=" + std::string(30, 's')),
              0);
    EXPECT_EQ(field(R::Status_EventsR, 12, 128), text_hex(std::string(128, 'm')));
    EXPECT_EQ(field(R::Top_Level_IdentifierR, 4, 20), text_hex(std::string(20, 'p')));
    EXPECT_EQ(field(R::Top_Level_IdentifierR, 25, 30), text_hex(std::string(30, 's')));
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

TEST_F(ParserTest, EmptyStringStampsEveryTimestampedRecord)
{
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    ASSERT_EQ(parse(""), 0);
    const uint32_t after = static_cast<uint32_t>(std::time(nullptr));
    for (const quillet::RecordBufferInfo &info : quillet::kRecordBuffers) {
        if (info.size < 4)
            continue;
        const uint32_t stamp = quillet::load_be32(quillet::record_buffer(info.id));
        if (info.timestamped) {
            EXPECT_GE(stamp, before) << info.name;
            EXPECT_LE(stamp, after) << info.name;
        } else {
            EXPECT_EQ(stamp, 0u) << info.name;
        }
    }
    EXPECT_EQ(field(R::Temperature_HistoryR, 8, 4), "00090a0a");
}

TEST_F(ParserTest, TrailingCommaAndTimestampElementAreAccepted)
{
    EXPECT_EQ(parse("timestamp,timestamp=5,sensor=1,"), 0);
    EXPECT_NE(field(R::Temperature_HistoryR, 0, 4), "00000005");
    EXPECT_EQ(parse("instance=3"), 0);
}

TEST_F(ParserTest, SequenceNumberClearsTheWholeSharedBuffer)
{
    fill(R::SharedIdentifier, 0xAA);
    ASSERT_EQ(parse("sequence_number=5"), 0);
    EXPECT_EQ(field(R::SharedIdentifier, 0, 80), "00000005" + zeros(76));
}

class FileElements : public ParserTest {
protected:
    std::string make_file(size_t size, mode_t mode) { return files_.make(patterned(size), mode); }
    TempFiles files_;
};

TEST_F(FileElements, ReadOnlyFileFillsItsFieldExactly)
{
    fill(R::PwrMgmt_RFR, 0xAA);
    const std::string ten = make_file(10, 0444);
    const std::string three = make_file(3, 0444);
    ASSERT_EQ(parse("version=2,cycleskipheaders=" + three), 0) << err_;
    EXPECT_EQ(field(R::PwrMgmt_RFR, 0, 12), "02" + text_hex("ABC") + zeros(7) + "aa");
    ASSERT_EQ(parse("cycleskipheaders=" + ten + ",filename=" + make_file(80, 0444)), 0) << err_;
    EXPECT_EQ(field(R::PwrMgmt_RFR, 1, 10), text_hex("ABCDEFGHIJ"));
    EXPECT_EQ(field(R::PwrMgmt_RFR, 11, 2), text_hex("AB"));
    EXPECT_EQ(fake::platform().data_source_closes, 0);
}

TEST_F(FileElements, RefusedFilesAskForTheEarlyClose)
{
    const std::string writable = make_file(3, 0644);
    const std::string large = make_file(11, 0444);
    const std::string large_filename = make_file(81, 0444);
    const struct {
        std::string pairs;
        std::string err;
    } rows[] = {
        {"cycleskipheaders=/nonexistent/x", "Input file stat failed for Opaque file /nonexistent/x\n"},
        {"cycleskipheaders=" + writable, "Input file stat mode failed for Opaque file " + writable + "\n"},
        {"filename=/tmp", "Input file stat mode failed for Opaque file /tmp\n"},
        {"cycleskipheaders=" + large, "Input file is too large " + large + "\n"},
        {"filename=" + large_filename, "Input file is too large " + large_filename + "\n"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(parse(row.pairs), 23) << row.pairs;
        EXPECT_EQ(err_, row.err);
        EXPECT_TRUE(file_refused_);
    }
}

}  // namespace
}  // namespace quillet_test
