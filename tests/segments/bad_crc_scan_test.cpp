// The bad-CRC scan against scripted segments: what is listed, asked,
// removed and written back, and how every failure ends.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

const std::string kHeader = "\n The following segments have incorrect CRC.\n";

std::string prompt(const std::string &name)
{
    return "\n SEGMENT : " + name + "\n\n Do you want to delete this segment " + name + " (y/n)?\n";
}

class BadCrcScan : public ToolTest {
protected:
    RunResult scan(std::vector<fake::Segment> segments, const std::string &answers, bool force = false,
                   const std::string &failing = "", const std::vector<int32_t> &statuses = {})
    {
        fake::reset();
        fake().fail(failing, statuses);
        fake().segments = std::move(segments);
        return run({"quillet", "-d", "-c", "MB", force ? "-f" : "-d"}, answers);
    }
    std::vector<std::string> removed() const
    {
        std::vector<std::string> names;
        for (const std::string &c : fake::platform().calls)
            if (c.rfind("fru_remove_segment(", 0) == 0)
                names.push_back(c.substr(19, c.size() - 20));
        return names;
    }
};

// Opaque segments (O*, o*, ES*) are never examined; the container is written
// back even when nothing was removed; forced, every bad one goes unasked.
TEST_F(BadCrcScan, ListsAsksRemovesAndWritesBack)
{
    RunResult r = scan({{"MN", 2, false}, {"O1", 0, true}, {"oz", 0, true}, {"ESx", 0, true}, {"EX", 0, true}}, "n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, kHeader + prompt("EX"));
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_for_each_segment(arg)", "fru_get_segment_name(0)",
                                   "fru_get_num_packets(MN)", "fru_get_segment_name(1)", "fru_get_segment_name(2)",
                                   "fru_get_segment_name(3)", "fru_get_segment_name(4)", "fru_get_num_packets(EX)",
                                   "fru_flash_file(MB)", "fru_close_node()", "fru_close_data_source()"}));
    std::vector<fake::Segment> many;
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) {
        names.push_back(std::string("B") + std::to_string(i));
        many.push_back({names.back(), 1, true});
        if (i % 5 == 0)
            many.push_back({"OK", 4, false});
    }
    r = scan(many, "n\nn\n", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(removed(), names);
    EXPECT_EQ(fake().count("fru_flash_file(MB)"), 1u);
}

// An answer counts by its first byte, read four bytes at a time; the
// platform tells segments of one name apart by the string it handed out for
// each, so a removal passes back exactly that string.
TEST_F(BadCrcScan, AnswersDecideEachSegment)
{
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"n\nN\nno\nNo\n", {}}, {"y\nY\nx\n\n", {"A1", "A2", "A3", "A4"}}, {"", {"A1", "A2", "A3", "A4"}},
        {"yes\nn\nn\n", {"A1", "A2"}}, {"nope\nn\nn\n", {"A2"}}, {"n\ny\n", {"A2", "A3", "A4"}},
    };
    for (const auto &[answers, expected] : rows) {
        const RunResult r = scan({{"A1", 1, true}, {"A2", 0, false}, {"A3", -1, false}, {"A4", 3, true}}, answers);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(removed(), expected) << ::testing::PrintToString(answers);
        EXPECT_EQ(r.err, kHeader + prompt("A1") + prompt("A2") + prompt("A3") + prompt("A4"));
    }
    const std::tuple<std::string, bool, std::vector<int>> given[] = {
        {"n\ny\ny\n", false, {1, 3}}, {"y\nn\nn\n", false, {0}}, {"", true, {0, 1, 3}}};
    for (const auto &[answers, force, names] : given) {
        EXPECT_EQ(scan({{"A1", 1, true}, {"A1", 1, true}, {"OK", 2, false}, {"A1", 0, false}}, answers, force).status, 0);
        EXPECT_EQ(fake().removed_given, names) << ::testing::PrintToString(answers);
    }
}

TEST_F(BadCrcScan, EveryFailureEndsWithItsMessageAndStatus)
{
    const std::string close = "fru_close_node()", source = "fru_close_data_source()";
    // The failing call, its statuses, the message, the calls from the failing one on.
    const std::tuple<std::string, std::vector<int32_t>, std::string, Calls> rows[] = {
        {"fru_get_node", {7}, "\n Could not get node handle: MB\n", {"fru_get_node(MB)", source}},
        {"fru_for_each_segment", {8}, kHeader + "\n Failed for_each_segment.\n", {"fru_for_each_segment(arg)", close, source}},
        {"fru_get_segment_name", {9}, kHeader + "\n Error: Could not get segment name.\n\n Failed for_each_segment.\n",
         {"fru_get_segment_name(0)", close, source}},
        {"fru_remove_segment", {0, 0, 41}, "\n Error: Could not delete segment.\n", {"fru_remove_segment(A3)", close, source}},
        {"fru_flash_file", {10}, kHeader + "\n Could not get flash back contents: MB\n", {"fru_flash_file(MB)", close, source}},
        {"fru_close_node", {11}, kHeader + "\n Error: fake error 11\n", {close, source}},
        {"fru_close_data_source", {12}, kHeader + "\n Error: fake error 12\n", {source}},
    };
    for (const auto &[call, statuses, err, ending] : rows) {
        // Removal is forced, so nothing is asked; the others find nothing bad.
        const bool force = call == "fru_remove_segment";
        const RunResult r =
            scan({{"A1", 1, force}, {"A2", 1, force}, {"A3", 1, force}, {"A4", 1, force}}, "", force, call, statuses);
        EXPECT_EQ(r.status, statuses.back()) << call;
        EXPECT_EQ(r.err, err) << call;
        ASSERT_GE(fake().calls.size(), ending.size());
        EXPECT_EQ(Calls(fake().calls.end() - static_cast<long>(ending.size()), fake().calls.end()), ending) << call;
    }
    // A failing close does not hide an earlier failure.
    fake().fail("fru_flash_file", {10});
    fake().fail("fru_close_data_source", {12});
    const RunResult r = run({"quillet", "-d", "-c", "MB"});
    EXPECT_EQ(r.status, 10);
    EXPECT_EQ(r.err, kHeader + "\n Could not get flash back contents: MB\n");
}

}  // namespace
}  // namespace quillet_test
