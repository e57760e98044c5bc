// Opaque segments: the suboptions a technician types and the calls and
// bytes that follow.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class OpaqueSegment : public ToolTest {
protected:
    RunResult segment(const std::string &suboptions, bool remove = false, const std::string &failing = "")
    {
        fake::reset();
        fake().fail(failing, {62});
        return run({"quillet", "-c", "MB", "-s", suboptions}, remove ? Calls{"-d"} : Calls{});
    }
};

TEST_F(OpaqueSegment, ShowPrintsEveryByteOnOneLine)
{
    RunResult r = segment("segname=O1");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(fake().calls.at(1), "fru_read_op_segment(O1,0,8192)");
    fake().calls.clear();
    fake().opaque_data = {0x00, 0xab, 0x05};
    r = run({"quillet", "-c", "MB", "-s", "segname=O1,section=STATIC"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\t buff[0] = 0\t buff[1] = ab\t buff[2] = 5\n");
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_read_op_segment(O1,1,8192)", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

TEST_F(OpaqueSegment, WritesExactlyTheseBytes)
{
    const std::string four = files_.make(4), exact = files_.make(8192);
    // The bytes written in hex, or their count; warnings before the write.
    const std::tuple<std::string, std::string, int32_t, std::string> rows[] = {
        {"segname=O1,section=static,data=0x1a2b", "1a2b", 1, ""},
        {"segname=O1,section=STATIC,data=0x1a2b,size=3", "1a2b", 1,
         "Provided data size 3 doesn't match with the actual data size 2\nquillet continues with the actual data size 2...\n"},
        {"segname=O1,data=0x1a2,section=DYNAMIC", "a2", 0, ""},
        {"segname=O1,section=DYNAMIC,data=hello", text_hex("hello"), 0, ""},
        {"segname=O1,section=DYNAMIC,data=0X1a2b", text_hex("0X1a2b"), 0, ""},
        {"segname=O1,section=DYNAMIC,data=0x00112233445566778899", "00112233445566778899", 0, ""},
        {"segname=O1,section=DYNAMIC,data=0x112233445566778", "12233445566778", 0, ""},  // as a number
        {"segname=O1,section=DYNAMIC,data=" + std::string(8192, 'd'), "8192", 0, ""},
        {"segname=O1,section=DYNAMIC,data=a=b", text_hex("a=b"), 0, ""},
        {"segname=O1,section=STATIC,filename=" + four + ",size=9", text_hex("ABCD"), 1,
         "Provided file size 9 doesn't match with the actual file size 4\nquillet continues with the actual file size 4...\n"},
        {"segname=ES,section=STATIC,filename=" + exact, "8192", 1, ""},
    };
    for (const auto &[suboptions, bytes, section, err] : rows) {
        const RunResult r = segment(suboptions);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, err);
        const std::string written = to_hex(fake().opaque_written), name = suboptions.substr(8, 2);
        EXPECT_EQ(bytes == "8192" ? std::to_string(written.size() / 2) : written, bytes);
        EXPECT_EQ(fake().calls.at(1), "fru_update_op_segment(" + name + "," + std::to_string(section) + "," +
                                          std::to_string(written.size() / 2) + ")");
        EXPECT_EQ(to_hex(fake().descriptor), "00000000" + text_hex(name) + zeros(17));
    }
}

// The refusals a user sees are in the opaque transcript; a deletion names
// its section.
TEST_F(OpaqueSegment, DeleteTakesOneSection)
{
    EXPECT_EQ(segment("segname=O1,section=STATIC", true).status, 0);
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_delete_op_segment(O1,1)", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

TEST_F(OpaqueSegment, PlatformFailuresReportTheLibraryText)
{
    const std::string node = "\n Could not get node handle: MB fake error 62\n";
    const std::tuple<std::string, std::string, bool, int, std::string> rows[] = {
        {"fru_get_node", "segname=O1,section=DYNAMIC", true, 62, node},
        {"fru_get_node", "segname=O1,section=STATIC,data=x", false, 62, node},
        {"fru_get_node", "segname=O1", false, 5, ""},
        {"fru_delete_op_segment", "segname=O1,section=DYNAMIC", true, 62, "\nError in Deleting opaque segment fake error 62\n"},
        {"fru_update_op_segment", "segname=O1,section=STATIC,data=x", false, 62,
         "\nError in updating opaque segment fake error 62\n"},
        {"fru_read_op_segment", "segname=O1", false, 62, "\n Error : Seg O1 fake error 62\n"},
    };
    for (const auto &[call, suboptions, remove, status, err] : rows) {
        const RunResult r = segment(suboptions, remove, call);
        EXPECT_EQ(r.status, status) << call;
        EXPECT_EQ(r.err, err) << call;
        const bool node_held = call != "fru_get_node";
        EXPECT_EQ(fake().calls.size(), node_held ? 4u : status == 5 ? 1u : 2u) << call;
        EXPECT_EQ(fake().count("fru_close_node()"), node_held ? 1u : 0u) << call;
    }
}

}  // namespace
}  // namespace quillet_test
