// Opaque segments: the suboptions a technician types and the calls and
// bytes that follow.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class OpaqueSegment : public ToolTest {
protected:
    RunResult segment(const std::string &suboptions, bool remove = false)
    {
        fake::reset();
        std::vector<std::string> args = {"quillet", "-c", "MB", "-s", suboptions};
        if (remove)
            args.push_back("-d");
        return run(args);
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

TEST_F(OpaqueSegment, RefusalsWriteNothing)
{
    const std::string large = files_.make(8193);
    const std::string section = "Please provide either STATIC or DYNAMIC section area.\n";
    const std::string sections = "Please provider either STATIC or DYNAMIC section area.\n";
    const std::string source = "Please provider either opaque file name or opaque data.\n";
    const std::string segnames = "Error: Either segname is NULL or provided multiple segments\n";
    // Suboptions, with -d, status, message, usage shown.
    const std::tuple<std::string, bool, int, std::string, bool> rows[] = {
        {"segname=O1,segname=O2", false, 23, segnames, false},
        {"segname", false, 23, segnames, false},
        {"segname=O1,filename=a,filename=b", false, 23, "Error: Either filename is NULL or provided multiple files\n", false},
        {"segname=O1,data", false, 23, "Error: Either data is NULL or provided multiple data\n", false},
        {"segname=O1,size=1,size=2", false, 23, "Error:Either size is NULL or provided multiple size infor\n", false},
        {"segname=O1,section=bogus", false, 23, section, false},
        {"segname=O1,section", false, 23, section, false},
        {"segname=O1,data=a,section=STATIC,section=DYNAMIC", false, 23, sections, false},
        {"segname=O1,data=a", false, 23, sections, false},
        {"segname=O1,size=4", false, 23, source, false},
        {"segname=O1,data=a,filename=/etc/hostname,section=STATIC", false, 23, source, false},
        {"data=a,section=STATIC", false, 23, "Please provide segment name\n", false},
        {"segname=O1,section=STATIC,filename=/nonexistent", false, 23, "Opaque file /nonexistent doesn't exist\n", false},
        {"segname=ES,section=STATIC,filename=" + large, false, 23, "Opaque file is too large " + large + "\n", false},
        {"segname=O1,data=" + std::string(8193, 'd') + ",section=STATIC", false, 23,
         "Opaque file is too large (inline data)\n", false},
        {"segname=X1,data=a,section=STATIC", false, 6,
         "Error: Either segname is NULL or does not begin with 'O'\n       Segname can be \"ES\".\n", false},
        {"segname=O1,SEGNAME=O2", false, 23, "\n Error: SEGNAME=O2 is not supported\n", true},
        {"segname=O1,colour=red", true, 23, "\n Error: colour=red is not supported\n", true},
        {"segname=O1,section=STATIC,section=DYNAMIC", true, 23, sections, false},
        {"section=STATIC", true, 23, "Please provide segment name\n", false},
        {"segname=O1", true, 0, "", false},
        {"", true, 0, "", false},
    };
    for (const auto &[suboptions, remove, status, err, usage] : rows) {
        const RunResult r = segment(suboptions, remove);
        EXPECT_EQ(r.status, status) << suboptions.substr(0, 60);
        EXPECT_EQ(r.err, err) << suboptions.substr(0, 60);
        EXPECT_EQ(r.out, usage ? usage_for("quillet") : "");
        EXPECT_EQ(fake().count("fru_update_op_segment") + fake().count("fru_delete_op_segment"), 0u);
        EXPECT_LE(fake().count("fru_close_data_source"), 1u);
    }
    EXPECT_EQ(segment("segname=O1,section=STATIC", true).status, 0);
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_delete_op_segment(O1,1)", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

TEST_F(OpaqueSegment, PlatformFailuresReportTheLibraryText)
{
    const std::string node = "\n Could not get node handle: MB fake error 62\n";
    const std::tuple<std::string, std::string, std::string, int, std::string> rows[] = {
        {"fru_get_node", "segname=O1,section=DYNAMIC", "-d", 62, node},
        {"fru_get_node", "segname=O1,section=STATIC,data=x", "", 62, node},
        {"fru_get_node", "segname=O1", "", 5, ""},
        {"fru_delete_op_segment", "segname=O1,section=DYNAMIC", "-d", 62, "\nError in Deleting opaque segment fake error 62\n"},
        {"fru_update_op_segment", "segname=O1,section=STATIC,data=x", "", 62,
         "\nError in updating opaque segment fake error 62\n"},
        {"fru_read_op_segment", "segname=O1", "", 62, "\n Error : Seg O1 fake error 62\n"},
    };
    for (const auto &[call, suboptions, remove, status, err] : rows) {
        fake::reset();
        fake().fail(call, {62});
        std::vector<std::string> args = {"quillet", "-c", "MB", "-s", suboptions};
        if (!remove.empty())
            args.push_back(remove);
        const RunResult r = run(args);
        EXPECT_EQ(r.status, status) << call;
        EXPECT_EQ(r.err, err) << call;
        const bool node_held = call != "fru_get_node";
        EXPECT_EQ(fake().calls.size(), node_held ? 4u : status == 5 ? 1u : 2u) << call;
        EXPECT_EQ(fake().count("fru_close_node()"), node_held ? 1u : 0u) << call;
    }
}

}  // namespace
}  // namespace quillet_test
