// The update preparation: status carry-over, pre-read, the -t text, the
// element parse, and what reaches the access call.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class UpdateFlow : public ToolTest {
protected:
    // A stored Status_EventsR ring whose entry `newest` has new_status 3.
    void store_status_history(uint8_t newest)
    {
        fake::Bytes slots(1400, 0);
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
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_get_cont_type()", "fru_read_iter_control_bytes(Status_EventsR,4)",
                                   "fru_read_record(Status_EventsR,1400)",
                                   "libfru_access_data(MB,buffer,2048,2,status_eventsr)", "fru_close_node()",
                                   "fru_close_data_source()"}));
    // The alias does not carry; a given old_status wins; an index beyond the
    // ring or an unreadable ring carries nothing, silently.
    const std::tuple<std::string, std::string, uint8_t, std::string, std::string> rows[] = {
        {"FAULT", "new_status=4", 1, "", "00"}, {"Status_EventsR", "old_status=9", 1, "", "09"},
        {"Status_EventsR", "new_status=4", 10, "", "00"},
        {"Status_EventsR", "new_status=4", 1, "fru_read_iter_control_bytes", "00"},
        {"Status_EventsR", "new_status=4", 1, "fru_read_record", "00"}};
    for (const auto &[class_name, pairs, newest, failing, old_status] : rows) {
        fake::reset();
        store_status_history(newest);
        fake().fail(failing, {5});
        const RunResult r = run({"quillet", "-c", "MB", "-r", class_name, "-o", pairs});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(to_hex(fake().written.data() + 4, 1), old_status) << class_name << failing;
    }
}

// Stored fields the elements do not name are kept, an absent record starts
// from zero, a record without pre-read is built from the elements alone, and
// the -t text is cut to each field it fills.
TEST_F(UpdateFlow, PreReadDecidesWhatTheOtherFieldsHold)
{
    const std::string t100(100, 't');
    const fake::Bytes stored_summary = {0, 0, 3, 0xe8, 0, 0, 0x10, 0x72, 0, 0, 0, 37, 0, 0, 0, 36};
    const std::tuple<std::string, std::vector<std::string>, fake::Bytes, size_t, std::string> rows[] = {
        {"Power_SummaryR", {"-o", "total_power_ons=7"}, stored_summary, 4, "00001072" "00000007" "00000024"},
        {"Power_SummaryR", {"-o", "total_power_ons=7"}, {}, 4, "00000000" "00000007" "00000000"},
        {"TLI", {"-o", "hostid=80ffee01"}, fake::Bytes(65, 1), 4, zeros(57) + "80ffee01"},
        {"POWER", {"-t", "x"}, fake::Bytes(5, 1), 0, zeros(5)},
        {"ManR", {"-o", "sensor=5"}, fake::Bytes(183, 'm'), 4, text_hex(std::string(179, 'm'))},
        {"Enclosure_Nickname", {"-t", "new"}, fake::Bytes(80, 'o'), 0, text_hex("newoo")},
        {"CUSTOMER", {"-t", "new"}, fake::Bytes(84, 'o'), 0, text_hex("oooonew") + zeros(77)},
        {"ManR", {"-t", t100}, fake::Bytes(183, 'o'), 0, text_hex("oooo" + t100.substr(0, 80) + std::string(99, 'o'))},
        {"Zan_ManR", {"-t", t100}, fake::Bytes(136, 'o'), 0, text_hex("oooo" + t100.substr(0, 30) + std::string(102, 'o'))},
        {"Zan_Man1R", {"-t", t100}, fake::Bytes(191, 'o'), 0, text_hex("oooo" + t100.substr(0, 30) + "o")},
        {"Customer_DataR", {"-t", t100}, fake::Bytes(84, 'o'), 0, text_hex("oooo" + t100.substr(0, 80))},
        {"Enclosure_Nickname", {"-t", t100}, fake::Bytes(80, 'o'), 0, text_hex(t100.substr(0, 80))},
    };
    for (const auto &[record, options, stored, from, expected] : rows) {
        fake::reset();
        if (!stored.empty())
            fake().records[record] = stored;
        fake().capture_size = from + expected.size() / 2;
        ASSERT_EQ(run({"quillet", "-c", "MB", "-r", record}, options).status, 0) << record;
        EXPECT_EQ(to_hex(fake().written.data() + from, expected.size() / 2), expected) << record;
    }
}

}  // namespace
}  // namespace quillet_test
