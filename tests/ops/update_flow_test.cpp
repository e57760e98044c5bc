// The update preparation: status carry-over, pre-read, the -t text, the
// element parse, and what reaches the access call.
#include <cstring>
#include <tuple>

#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class UpdateFlow : public ToolTest {
protected:
    // A stored Status_EventsR ring whose entry `newest` has new_status 3.
    void store_status_history(uint8_t newest)
    {
        std::vector<uint8_t> slots(1400, 0);
        if (newest < 10)
            slots[newest * 140 + 5] = 3;
        fake().records["Status_EventsR"] = slots;
        fake().control["Status_EventsR"] = {10, newest, 3, 0};
        fake().capture_size = 140;
    }
};

TEST_F(UpdateFlow, StatusEventChainsOnFromTheNewestEntry)
{
    store_status_history(7);
    const RunResult r = run({"quillet", "-c", "MB", "-r", "status_eventsr", "-o", "new_status=4,message=x"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(to_hex(fake().written.data() + 4, 10), "0304" + zeros(6) + text_hex("x") + "00");
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_get_cont_type()",
                                   "fru_read_iter_control_bytes(Status_EventsR,4)", "fru_read_record(Status_EventsR,1400)",
                                   "libfru_access_data(MB,buffer,2048,2,status_eventsr)", "fru_close_node()",
                                   "fru_close_data_source()"}));
    const struct {
        std::string class_name, pairs;
        uint8_t newest;
        std::string failing, old_status;
    } rows[] = {
        {"FAULT", "new_status=4", 1, "", "00"},  // the alias does not carry
        {"Status_EventsR", "old_status=9", 1, "", "09"},
        {"Status_EventsR", "new_status=4", 10, "", "00"},  // index beyond the ring
        {"Status_EventsR", "new_status=4", 1, "fru_read_iter_control_bytes", "00"},
        {"Status_EventsR", "new_status=4", 1, "fru_read_record", "00"},
    };
    for (const auto &row : rows) {
        fake::reset();
        store_status_history(row.newest);
        if (!row.failing.empty())
            fake().fail(row.failing, {5});
        const RunResult r = run({"quillet", "-c", "MB", "-r", row.class_name, "-o", row.pairs});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(to_hex(fake().written.data() + 4, 1), row.old_status) << row.class_name << row.failing;
    }
}

// Stored fields the elements do not name are kept; an absent record starts
// from zero; a record without pre-read is built from the elements alone.
TEST_F(UpdateFlow, PreReadDecidesWhatTheOtherFieldsHold)
{
    const struct {
        std::string record;
        std::vector<std::string> options;
        std::vector<uint8_t> stored;
        size_t from;
        std::string expected;  // bytes `from` onwards of what is written
    } rows[] = {
        {"Power_SummaryR", {"-o", "total_power_ons=7"}, {0, 0, 3, 0xe8, 0, 0, 0x10, 0x72, 0, 0, 0, 37, 0, 0, 0, 36}, 4,
         "00001072" "00000007" "00000024"},
        {"Power_SummaryR", {"-o", "total_power_ons=7"}, {}, 4, "00000000" "00000007" "00000000"},
        {"TLI", {"-o", "hostid=80ffee01"}, std::vector<uint8_t>(65, 1), 4, zeros(57) + "80ffee01"},
        {"POWER", {"-t", "x"}, std::vector<uint8_t>(5, 1), 0, zeros(5)},
        {"ManR", {"-o", "sensor=5"}, std::vector<uint8_t>(183, 'm'), 4, text_hex(std::string(179, 'm'))},
        {"Enclosure_Nickname", {"-t", "new"}, std::vector<uint8_t>(80, 'o'), 0, text_hex("newoo")},
        {"CUSTOMER", {"-t", "new"}, std::vector<uint8_t>(84, 'o'), 0, text_hex("oooonew") + zeros(77)},
    };
    for (const auto &row : rows) {
        fake::reset();
        if (!row.stored.empty())
            fake().records[row.record] = row.stored;
        fake().capture_size = row.from + row.expected.size() / 2;
        std::vector<std::string> args = {"quillet", "-c", "MB", "-r", row.record};
        args.insert(args.end(), row.options.begin(), row.options.end());
        ASSERT_EQ(run(args).status, 0) << row.record;
        EXPECT_EQ(to_hex(fake().written.data() + row.from, row.expected.size() / 2), row.expected) << row.record;
    }
}

TEST_F(UpdateFlow, FailedParsePrintsUsageAndWritesNothing)
{
    const RunResult r = run({"quillet", "-c", "MB", "-r", "TLI", "-o", "hostid"});
    EXPECT_EQ(r.status, 23);
    EXPECT_EQ(r.err, "\n Error: Please supply value for hostid\n"
                     "\nError: Please provide string of name value pairs separated by commas.\n");
    EXPECT_EQ(r.out, usage_for("quillet"));
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_get_cont_type()", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

// The -t text is cut to each field it fills; the stored timestamp stays
// when no element is given.
TEST_F(UpdateFlow, TextIsCutToEachField)
{
    const std::string text(100, 't');
    const std::tuple<std::string, size_t, size_t, size_t> rows[] = {
        {"ManR", 183, 4, 80}, {"Zan_ManR", 136, 4, 30}, {"Zan_Man1R", 191, 4, 30},
        {"Customer_DataR", 84, 4, 80}, {"Enclosure_Nickname", 80, 0, 80}};
    for (const auto &[record, size, offset, width] : rows) {
        fake::reset();
        fake().records[record] = std::vector<uint8_t>(size, 0x12);
        fake().capture_size = size;
        ASSERT_EQ(run({"quillet", "-c", "MB", "-r", record, "-t", text}).status, 0);
        EXPECT_EQ(to_hex(fake().written), to_hex(std::vector<uint8_t>(offset, 0x12)) + text_hex(text.substr(0, width)) +
                                              to_hex(std::vector<uint8_t>(size - offset - width, 0x12)))
            << record;
    }
}

}  // namespace
}  // namespace quillet_test
