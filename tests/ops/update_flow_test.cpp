// The update preparation: status carry-over, pre-read, the -t text, the
// element parse, and what reaches the access call.
#include <cstring>

#include "records/byte_order.h"
#include "support/hex.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using Calls = std::vector<std::string>;

class UpdateFlow : public ToolTest {
protected:
    // A stored Status_EventsR ring whose entry `newest` has new_status 3.
    void store_status_history(uint8_t newest, uint8_t new_status)
    {
        std::vector<uint8_t> slots(1400, 0);
        if (newest < 10)
            slots[newest * 140 + 5] = new_status;
        fake().records["Status_EventsR"] = slots;
        fake().control["Status_EventsR"] = {10, newest, 3, 0};
        fake().capture_size = 140;
    }
};

TEST_F(UpdateFlow, StatusEventChainsOnFromTheNewestEntry)
{
    store_status_history(7, 3);
    const RunResult r = run({"quillet", "-c", "MB", "-r", "status_eventsr", "-o", "new_status=4,message=x"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(to_hex(fake().written.data() + 4, 2), "0304");
    EXPECT_EQ(to_hex(fake().written.data() + 12, 2), text_hex("x") + "00");
    EXPECT_EQ(fake().calls,
              (Calls{"fru_get_node(MB)", "fru_get_cont_type()",
                     "fru_read_iter_control_bytes(Status_EventsR,4)",
                     "fru_read_record(Status_EventsR,1400)",
                     "libfru_access_data(MB,buffer,2048,2,status_eventsr)",
                     "fru_close_node()", "fru_close_data_source()"}));
}

TEST_F(UpdateFlow, CarryOverEdgeCases)
{
    const struct {
        const char *label;
        std::string class_name;
        std::string pairs;
        uint8_t newest;
        std::string failing;
        std::string old_status;
    } rows[] = {
        {"alias does not carry", "FAULT", "new_status=4", 1, "", "00"},
        {"given old_status wins", "Status_EventsR", "old_status=9", 1, "", "09"},
        {"index beyond the ring", "Status_EventsR", "new_status=4", 10, "", "00"},
        {"control bytes unreadable", "Status_EventsR", "new_status=4", 1,
         "fru_read_iter_control_bytes", "00"},
        {"ring unreadable", "Status_EventsR", "new_status=4", 1, "fru_read_record", "00"},
    };
    for (const auto &row : rows) {
        fake::reset();
        store_status_history(row.newest, 3);
        if (!row.failing.empty())
            fake().fail(row.failing, {5});
        const RunResult r = run({"quillet", "-c", "MB", "-r", row.class_name, "-o", row.pairs});
        EXPECT_EQ(r.status, 0) << row.label << r.err;
        EXPECT_EQ(r.err, "") << row.label;
        EXPECT_EQ(to_hex(fake().written.data() + 4, 1), row.old_status) << row.label;
    }
}

TEST_F(UpdateFlow, PreReadKeepsStoredFields)
{
    std::vector<uint8_t> stored(16, 0);
    quillet::store_be(stored.data(), 1000, 4);
    quillet::store_be(stored.data() + 4, 4210, 4);
    quillet::store_be(stored.data() + 8, 37, 4);
    quillet::store_be(stored.data() + 12, 36, 4);
    fake().records["Power_SummaryR"] = stored;
    fake().capture_size = 16;
    ASSERT_EQ(run({"quillet", "-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=7"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data() + 4, 12), "00001072" "00000007" "00000024");
    EXPECT_NE(to_hex(fake().written.data(), 4), "000003e8");
}

TEST_F(UpdateFlow, AbsentRecordIsCreatedFromZero)
{
    fake().capture_size = 16;
    const RunResult r = run({"quillet", "-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=7"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(to_hex(fake().written.data() + 4, 12), "00000000" "00000007" "00000000");
}

TEST_F(UpdateFlow, FailedPreReadEndsBeforeAnyWrite)
{
    fake().fail("fru_read_record", {5});
    const RunResult r = run({"quillet", "-c", "MB", "-r", "CUSTOMER", "-o", "cust_data=x"});
    EXPECT_EQ(r.status, 5);
    EXPECT_EQ(r.err, "\n  Unable to read CUSTOMER record 5\n");
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_get_cont_type()",
                                   "fru_read_record(CUSTOMER,84)", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

TEST_F(UpdateFlow, FailedParsePrintsUsageAndWritesNothing)
{
    const RunResult r = run({"quillet", "-c", "MB", "-r", "TLI", "-o", "hostid"});
    EXPECT_EQ(r.status, 23);
    EXPECT_EQ(r.err, "\n Error: Please supply value for hostid\n"
                     "\nError: Please provide string of name value pairs separated by commas.\n");
    EXPECT_EQ(r.out, usage_for("quillet"));
    EXPECT_EQ(fake().count("libfru_access_data"), 0u);
    EXPECT_EQ(fake().data_source_closes, 1);
}

TEST_F(UpdateFlow, TextAloneKeepsTheStoredTimestamp)
{
    std::vector<uint8_t> stored(84, 0);
    quillet::store_be(stored.data(), 0x12345678, 4);
    std::memcpy(stored.data() + 4, "an older and longer customer text", 33);
    fake().records["CUSTOMER"] = stored;
    fake().capture_size = 84;
    const std::string text = "Rack 4, slot 2";
    ASSERT_EQ(run({"quillet", "-c", "MB", "-r", "CUSTOMER", "-t", text}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data(), 84),
              "12345678" + text_hex(text) + zeros(80 - text.size()));
}

TEST_F(UpdateFlow, LongTextIsCutToEachField)
{
    const std::string text(100, 't');
    const struct {
        std::string record;
        size_t size;
        size_t offset;
        size_t width;
    } rows[] = {{"ManR", 183, 4, 80}, {"Zan_ManR", 136, 4, 30}, {"Zan_Man1R", 191, 4, 30},
                {"Customer_DataR", 84, 4, 80}, {"Enclosure_Nickname", 80, 0, 80}};
    for (const auto &row : rows) {
        fake::reset();
        fake().capture_size = row.size;
        ASSERT_EQ(run({"quillet", "-c", "MB", "-r", row.record, "-t", text}).status, 0);
        EXPECT_EQ(to_hex(fake().written.data() + row.offset, row.width),
                  text_hex(text.substr(0, row.width)))
            << row.record;
        if (row.offset + row.width < row.size) {
            EXPECT_NE(fake().written[row.offset + row.width], 't') << row.record;
        }
    }
}

TEST_F(UpdateFlow, SharedIdentifierKeepsStoredBytesBeyondTheText)
{
    fake().records["Enclosure_Nickname"] = std::vector<uint8_t>(80, 'o');
    fake().capture_size = 80;
    ASSERT_EQ(run({"quillet", "-c", "MB", "-r", "Enclosure_Nickname", "-t", "new"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data(), 5), text_hex("newoo"));
}

TEST_F(UpdateFlow, RecordsWithoutPreReadAreBuiltFromTheElementsAlone)
{
    fake().capture_size = 65;
    ASSERT_EQ(run({"quillet", "-c", "MB", "-r", "TLI", "-o", "hostid=80ffee01"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data() + 4, 61), zeros(57) + "80ffee01");
    fake::reset();
    fake().capture_size = 5;
    ASSERT_EQ(run({"quillet", "-c", "MB", "-r", "POWER", "-t", "x"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data(), 5), zeros(5));
}

TEST_F(UpdateFlow, ElementForAnotherRecordIsAcceptedAndIgnored)
{
    fake().capture_size = 183;
    fake().records["ManR"] = std::vector<uint8_t>(183, 'm');
    ASSERT_EQ(run({"quillet", "-c", "MB", "-r", "ManR", "-o", "sensor=5"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data() + 4, 179), text_hex(std::string(179, 'm')));
}

}  // namespace
}  // namespace quillet_test
