// The bad-CRC scan against scripted segments: what is listed, asked,
// removed and written back, and how every failure ends.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using Calls = std::vector<std::string>;

const std::string kHeader = "\n The following segments have incorrect CRC.\n";

std::string prompt(const std::string &name)
{
    return "\n SEGMENT : " + name + "\n\n Do you want to delete this segment " + name + " (y/n)?\n";
}

class BadCrcScan : public ToolTest {
protected:
    RunResult scan(const std::string &answers, bool force = false)
    {
        std::vector<std::string> args = {"quillet", "-d", "-c", "MB"};
        if (force)
            args.push_back("-f");
        return run_with_answers(args, answers);
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

TEST_F(BadCrcScan, CleanContainerStillWritesBack)
{
    fake().segments = {{"MN", 2, false}, {"ST", 1, false}};
    const RunResult r = scan("");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, kHeader);
    EXPECT_EQ(fake().calls.back(), "fru_close_data_source()");
    EXPECT_EQ(fake().count("fru_flash_file(MB)"), 1u);
    EXPECT_EQ(fake().data_source_closes, 1);
}

TEST_F(BadCrcScan, OpaqueSegmentsAreNeverExamined)
{
    fake().segments = {{"O1", 0, true}, {"oz", 0, true}, {"ES", 0, true}, {"ESx", 0, true},
                       {"EX", 0, true}};
    const RunResult r = scan("y\n");
    EXPECT_EQ(r.err, kHeader + prompt("EX"));
    EXPECT_EQ(removed(), (std::vector<std::string>{"EX"}));
    EXPECT_EQ(fake().count("fru_get_num_packets"), 1u);
}

TEST_F(BadCrcScan, AnswersDecideEachSegment)
{
    const struct {
        std::string answers;
        std::vector<std::string> removed;
    } rows[] = {
        {"n\nN\nno\nNo\n", {}},
        {"y\nY\nx\n\n", {"A1", "A2", "A3", "A4"}},
        {"", {"A1", "A2", "A3", "A4"}},
        {"yes\nn\nn\n", {"A1", "A2"}},
        {"nope\nn\nn\n", {"A2"}},
        {"n\ny\n", {"A2", "A3", "A4"}},
    };
    for (const auto &row : rows) {
        fake::reset();
        fake().segments = {{"A1", 1, true}, {"A2", 0, false}, {"A3", -1, false}, {"A4", 3, true}};
        const RunResult r = scan(row.answers);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(removed(), row.removed) << ::testing::PrintToString(row.answers);
        EXPECT_EQ(r.err, kHeader + prompt("A1") + prompt("A2") + prompt("A3") + prompt("A4"));
    }
}

// The platform tells segments of one name apart by the string it handed
// out for each, so a removal passes back exactly that string.
TEST_F(BadCrcScan, RemovalPassesBackTheNameStringItWasGiven)
{
    const struct {
        std::string answers;
        bool force;
        std::vector<int> given;
    } rows[] = {
        {"n\ny\ny\n", false, {1, 3}},
        {"y\nn\nn\n", false, {0}},
        {"", true, {0, 1, 3}},
    };
    for (const auto &row : rows) {
        fake::reset();
        fake().segments = {{"A1", 1, true}, {"A1", 1, true}, {"OK", 2, false}, {"A1", 0, false}};
        EXPECT_EQ(scan(row.answers, row.force).status, 0);
        EXPECT_EQ(fake().removed_given, row.given) << ::testing::PrintToString(row.answers);
    }
}

TEST_F(BadCrcScan, ForceRemovesEverythingSilentlyInOrder)
{
    fake().segments = {{"A1", 1, true}, {"OK", 4, false}, {"A2", 0, false}, {"O9", 0, true}};
    const RunResult r = scan("n\nn\n", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(removed(), (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(fake().count("fru_flash_file(MB)"), 1u);
}

TEST_F(BadCrcScan, MoreThanTenBadSegmentsAreAllRemoved)
{
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) {
        // Appended, not "B" + ...: GCC 12's -Wrestrict misfires on that form.
        std::string name = "B";
        name += std::to_string(i % 10);
        name += i >= 10 ? "x" : "";
        names.push_back(name);
        fake().segments.push_back({names.back(), 1, true});
    }
    EXPECT_EQ(scan("", true).status, 0);
    EXPECT_EQ(removed(), names);
}

TEST_F(BadCrcScan, ThirdOfFiveRemovalsFailing)
{
    fake().segments = {{"A1", 1, true}, {"A2", 1, true}, {"A3", 1, true}, {"A4", 1, true},
                       {"A5", 1, true}};
    fake().fail("fru_remove_segment", {0, 0, 41});
    const RunResult r = scan("", true);
    EXPECT_EQ(r.status, 41);
    EXPECT_EQ(r.err, "\n Error: Could not delete segment.\n");
    EXPECT_EQ(removed(), (std::vector<std::string>{"A1", "A2", "A3"}));
    EXPECT_EQ(fake().count("fru_flash_file"), 0u);
    EXPECT_EQ(fake().count("fru_close_node"), 1u);
    EXPECT_EQ(fake().data_source_closes, 1);
}

TEST_F(BadCrcScan, EveryFailureEndsWithItsMessageAndStatus)
{
    const struct {
        std::string call;
        int32_t status;
        std::string err;
        size_t node_closes;
    } rows[] = {
        {"fru_get_node", 7, "\n Could not get node handle: MB\n", 0},
        {"fru_for_each_segment", 8, kHeader + "\n Failed for_each_segment.\n", 1},
        {"fru_get_segment_name", 9,
         kHeader + "\n Error: Could not get segment name.\n\n Failed for_each_segment.\n", 1},
        {"fru_flash_file", 10, kHeader + "\n Could not get flash back contents: MB\n", 1},
        {"fru_close_node", 11, kHeader + "\n Error: fake error 11\n", 1},
        {"fru_close_data_source", 12, kHeader + "\n Error: fake error 12\n", 1},
    };
    for (const auto &row : rows) {
        fake::reset();
        fake().segments = {{"A1", 1, false}};
        fake().fail(row.call, {row.status});
        const RunResult r = scan("");
        EXPECT_EQ(r.status, row.status) << row.call;
        EXPECT_EQ(r.err, row.err) << row.call;
        EXPECT_EQ(fake().count("fru_close_node"), row.node_closes) << row.call;
        EXPECT_EQ(fake().data_source_closes, 1) << row.call;
    }
}

}  // namespace
}  // namespace quillet_test
