// Opaque segments: the suboptions a technician types and the calls and
// bytes that follow.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class OpaqueSegment : public ToolTest {
protected:
    RunResult segment(const std::string &suboptions, bool remove = false)
    {
        std::vector<std::string> args = {"quillet", "-c", "MB", "-s", suboptions};
        if (remove)
            args.push_back("-d");
        return run(args);
    }
};

TEST_F(OpaqueSegment, ShowPrintsEveryByteOnOneLine)
{
    fake().opaque_data = {0x00, 0xab, 0x05};
    RunResult r = segment("segname=O1,section=STATIC");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\t buff[0] = 0\t buff[1] = ab\t buff[2] = 5\n");
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_read_op_segment(O1,1,8192)", "fru_close_node()",
                                   "fru_close_data_source()"}));
    fake::reset();
    EXPECT_EQ(segment("segname=O1").out, "");
    EXPECT_EQ(fake().count("fru_read_op_segment(O1,0,8192)"), 1u);
    fake().fail("fru_get_node", {9});
    r = segment("segname=O1");
    EXPECT_EQ(r.status, 5);
    EXPECT_EQ(r.err, "");
    fake::reset();
    fake().fail("fru_read_op_segment", {14});
    r = segment("segname=O1");
    EXPECT_EQ(r.status, 14);
    EXPECT_EQ(r.err, "\n Error : Seg O1 fake error 14\n");
    EXPECT_EQ(fake().calls.back(), "fru_close_data_source()");
}

TEST_F(OpaqueSegment, WritesExactlyTheseBytes)
{
    const std::string four = files_.make(4), exact = files_.make(8192);
    const struct {
        std::string suboptions;
        std::string bytes;  // expected data written, in hex, or its size
        int32_t section;
        std::string err;    // warnings before the write
    } rows[] = {
        {"segname=O1,section=static,data=0x1a2b", "1a2b", 1, ""},
        {"segname=O1,section=STATIC,data=0x1a2b,size=3", "1a2b", 1,
         "Provided data size 3 doesn't match with the actual data size 2\nquillet continues with the actual data size 2...\n"},
        {"segname=O1,data=0x1a2,section=DYNAMIC", "a2", 0, ""},
        {"segname=O1,section=DYNAMIC,data=hello", text_hex("hello"), 0, ""},
        {"segname=O1,section=DYNAMIC,data=0X1a2b", text_hex("0X1a2b"), 0, ""},
        {"segname=O1,section=DYNAMIC,data=0x00112233445566778899", "00112233445566778899", 0, ""},
        {"segname=O1,section=DYNAMIC,data=a=b", text_hex("a=b"), 0, ""},
        {"segname=O1,section=STATIC,filename=" + four + ",size=9", text_hex("ABCD"), 1,
         "Provided file size 9 doesn't match with the actual file size 4\nquillet continues with the actual file size 4...\n"},
        {"segname=ES,section=STATIC,filename=" + exact, "8192", 1, ""},
    };
    for (const auto &row : rows) {
        fake::reset();
        const RunResult r = segment(row.suboptions);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, row.err);
        const std::string written = to_hex(fake().opaque_written);
        EXPECT_EQ(row.bytes == "8192" ? std::to_string(written.size() / 2) : written, row.bytes);
        const std::string name = row.suboptions.substr(8, 2);
        EXPECT_EQ(fake().calls.at(1), "fru_update_op_segment(" + name + "," + std::to_string(row.section) + "," +
                                          std::to_string(fake().opaque_written.size()) + ")");
        EXPECT_EQ(to_hex(fake().descriptor), "00000000" + text_hex(name) + zeros(17));
    }
}

const std::string kSection = "Please provider either STATIC or DYNAMIC section area.\n";

TEST_F(OpaqueSegment, RefusalsWriteNothing)
{
    const std::string large = files_.make(8193);
    const struct {
        std::string suboptions;
        bool remove;
        std::string err;
        bool usage;
    } rows[] = {
        {"segname=O1,segname=O2", false, "Error: Either segname is NULL or provided multiple segments\n", false},
        {"segname", false, "Error: Either segname is NULL or provided multiple segments\n", false},
        {"segname=O1,filename=a,filename=b", false, "Error: Either filename is NULL or provided multiple files\n", false},
        {"segname=O1,data", false, "Error: Either data is NULL or provided multiple data\n", false},
        {"segname=O1,size=1,size=2", false, "Error:Either size is NULL or provided multiple size infor\n", false},
        {"segname=O1,section=bogus", false, "Please provide either STATIC or DYNAMIC section area.\n", false},
        {"segname=O1,section", false, "Please provide either STATIC or DYNAMIC section area.\n", false},
        {"segname=O1,data=a,section=STATIC,section=DYNAMIC", false, kSection, false},
        {"segname=O1,data=a", false, kSection, false},
        {"segname=O1,size=4", false, "Please provider either opaque file name or opaque data.\n", false},
        {"segname=O1,data=a,filename=/etc/hostname,section=STATIC", false,
         "Please provider either opaque file name or opaque data.\n", false},
        {"data=a,section=STATIC", false, "Please provide segment name\n", false},
        {"segname=O1,section=STATIC,filename=/nonexistent", false, "Opaque file /nonexistent doesn't exist\n", false},
        {"segname=ES,section=STATIC,filename=" + large, false, "Opaque file is too large " + large + "\n", false},
        {"segname=O1,data=" + std::string(8193, 'd') + ",section=STATIC", false,
         "Opaque file is too large (inline data)\n", false},
        {"segname=O1,SEGNAME=O2", false, "\n Error: SEGNAME=O2 is not supported\n", true},
        {"segname=O1,colour=red", true, "\n Error: colour=red is not supported\n", true},
        {"segname=O1,section=STATIC,section=DYNAMIC", true, kSection, false},
        {"section=STATIC", true, "Please provide segment name\n", false},
    };
    for (const auto &row : rows) {
        fake::reset();
        const RunResult r = segment(row.suboptions, row.remove);
        EXPECT_EQ(r.status, 23) << row.suboptions.substr(0, 60);
        EXPECT_EQ(r.err, row.err);
        EXPECT_EQ(r.out, row.usage ? usage_for("quillet") : "");
        EXPECT_EQ(fake().count("fru_update_op_segment") + fake().count("fru_delete_op_segment"), 0u);
        EXPECT_LE(fake().count("fru_close_data_source"), 1u);
    }
    const RunResult r = segment("segname=X1,data=a,section=STATIC");
    EXPECT_EQ(r.status, 6);
    EXPECT_EQ(r.err, "Error: Either segname is NULL or does not begin with 'O'\n       Segname can be \"ES\".\n");
}

TEST_F(OpaqueSegment, DeleteNeedsASection)
{
    EXPECT_EQ(segment("segname=O1", true).status, 0);
    EXPECT_EQ(segment("", true).status, 0);
    EXPECT_EQ(fake().count("fru_delete_op_segment"), 0u);
    EXPECT_EQ(segment("segname=O1,section=STATIC", true).status, 0);
    EXPECT_EQ(fake().count("fru_delete_op_segment(O1,1)"), 1u);
}

TEST_F(OpaqueSegment, PlatformFailuresReportTheLibraryText)
{
    const std::tuple<std::string, bool, std::string, std::string> rows[] = {
        {"fru_get_node", true, "\n Could not get node handle: MB fake error 62\n", "fru_get_node(MB)"},
        {"fru_get_node", false, "\n Could not get node handle: MB fake error 62\n", "fru_get_node(MB)"},
        {"fru_delete_op_segment", true, "\nError in Deleting opaque segment fake error 62\n", "fru_close_node()"},
        {"fru_update_op_segment", false, "\nError in updating opaque segment fake error 62\n", "fru_close_node()"},
    };
    for (const auto &[call, remove, err, before_close] : rows) {
        fake::reset();
        fake().fail(call, {62});
        const RunResult r = segment(remove ? "segname=O1,section=DYNAMIC" : "segname=O1,section=STATIC,data=x", remove);
        EXPECT_EQ(r.status, 62);
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(fake().calls.at(fake().calls.size() - 2), before_close) << call;
        EXPECT_EQ(fake().calls.back(), "fru_close_data_source()");
    }
}

}  // namespace
}  // namespace quillet_test
