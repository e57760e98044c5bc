// The command line as a user meets it: guards, conflicts, dispatch, and the
// calls each command line makes against the platform.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using FrontEnd = ToolTest;

TEST_F(FrontEnd, VersionHelpAndUsage)
{
    RunResult r = run({"quillet", "-V", "-c", "MB", "-r", "POWER"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Version: 3.0 2008/10/14\n");
    EXPECT_TRUE(r.err.empty() && fake().calls.empty());
    r = run({"/usr/local/sbin/quillet", "-h"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, usage_for("/usr/local/sbin/quillet"));
    EXPECT_EQ(r.out.substr(0, 42), "Usage:  /usr/local/sbin/quillet [-V] | [ -");
    // The whole text, byte for byte, as a fingerprint (64-bit FNV-1a).
    uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char c : usage_for("quillet"))
        hash = (hash ^ c) * 1099511628211ULL;
    EXPECT_EQ(hash, 0xd78ea977b9e138cfULL) << usage_for("quillet");
}

// Element names are folded to lower case up to their '=', values kept.
TEST_F(FrontEnd, ElementNamesAreFoldedButValuesKept)
{
    fake().capture_size = 140;
    fake().add_enum("Initiator", {{"SP", 3}});
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "FAULT", "-o", "ZAN_PART_NO=x,Message=MiXeD=X,INITIATOR=SP"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data() + 6, 13), "03" + zeros(5) + text_hex("MiXeD=X"));
}

// Refused before anything reaches the records; "?" leaves the message to getopt.
TEST_F(FrontEnd, RefusalsPrintTheirMessageAndStatus)
{
    const std::string conflict = "\nError: Please choose to use (-o or -t) to update or (-d) delete option.\n";
    const std::string no_nac = "\n Error: Please supply nac name to be used.\n";
    const std::string no_class = "\n Error: Please supply record class name to be used.\n";
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
        {{}, 255, ""}, {{"-x", "-c", "MB"}, 255, "?"}, {{"-c"}, 255, "?"},
        {{"-c", "MB", "-r", "POWER", "-o", "event=power_on", "-d"}, 35, conflict},
        {{"-d", "-o", "event=power_on", "-c", "MB"}, 35, conflict}, {{"-t", "text", "-d"}, 35, conflict},
        {{"-d", "-t", "text"}, 35, conflict}, {{"-o", "a=1", "-d", "-V"}, 35, conflict},
        {{"-c", "MB", "-s", "segname=O1", "-s", "segname=O2"}, 23, "\nError: Multiple '-s' option not allowed\n"},
        {{"-r", "POWER"}, 23, no_nac}, {{"-i", "/tmp/image"}, 23, no_nac},
        {{"-c", "MB"}, 23, no_class}, {{"-f", "-c", "MB"}, 23, no_class},
        {{"-c", "MB", "-r", "IDENTITY", "-o", "zan_part_no=1"}, 18,
         "Error: Please provide exact record name to be updated for IDENTITY class.\n"},
        {{"-c", "MB", "-r", "POWER", "-d", "-i", "/nonexistent"}, 255, "Image file /nonexistent doesn't exist\n"},
    };
    for (const auto &[args, status, err] : rows) {
        fake::reset();
        const RunResult r = run({"quillet"}, args);
        EXPECT_EQ(r.status, status) << ::testing::PrintToString(args);
        EXPECT_EQ(err == "?" ? "?" : r.err, err) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, err.empty() || err == "?" ? usage_for("quillet") : "");
        EXPECT_EQ(fake().count("libfru_access_data"), 0u);
    }
}

// Every record flow gives back the node, then the data source, once each,
// whatever way it ends; a failure is reported in between.
TEST_F(FrontEnd, RecordFlowsEndInOneOrder)
{
    const std::string node = "fru_get_node(MB)", type = "fru_get_cont_type()", close_node = "fru_close_node()",
                      close_source = "fru_close_data_source()";
    const std::tuple<std::vector<std::string>, std::string, int32_t, int, std::string, Calls> rows[] = {
        {{"-r", "pOwEr"}, "", 0, 0, "",
         {node, type, "libfru_access_data(MB,buffer,2048,1,pOwEr)", close_node, close_source}},
        {{"-r", "POWER"}, "fru_get_node", 7, 7, "\n Could not get node handle: MB\n", {node, close_source}},
        {{"-r", "POWER"}, "fru_get_cont_type", 9, 1, "\n Could not determine container type: 77\n",
         {node, type, close_node, close_source}},
        {{"-r", "POWER"}, "libfru_access_data", 300, 300 % 256, "\n Error: fake error 300\n",
         {node, type, "libfru_access_data(MB,buffer,2048,1,POWER)", close_node, close_source}},
        {{"-r", "Power_SummaryR", "-o", "total_power_ons=1"}, "fru_read_record", 5, 5,
         "\n  Unable to read Power_SummaryR record 5\n",
         {node, type, "fru_read_record(Power_SummaryR,16)", close_node, close_source}},
        // A refused element file closes the data source at once, and again at the end.
        {{"-r", "PwrMgmt_RFR", "-o", "cycleskipheaders=/nonexistent"}, "", 0, 23,
         "Input file stat failed for Opaque file /nonexistent\n"
         "\nError: Please provide string of name value pairs separated by commas.\n",
         {node, type, "fru_read_record(PwrMgmt_RFR,91)", close_source, close_node, close_source}},
        {{"-r", "POWER", "-d"}, "", 0, 0, "",
         {node, type, "libfru_access_data(MB,null,2048,3,POWER)", close_node, close_source}},
    };
    for (const auto &[args, failing, failure, status, err, calls] : rows) {
        fake::reset();
        fake().container_type = 77;  // read back only where the call fails
        fake().container_type_written = failing == "fru_get_cont_type";
        fake().fail(failing, {failure});
        const RunResult r = run({"quillet", "-c", "MB"}, args);
        EXPECT_EQ(r.status, status) << args[1];
        EXPECT_EQ(r.err, err) << args[1];
        EXPECT_EQ(r.out, status == 23 ? usage_for("quillet") : "") << "a refused element list shows the usage";
        EXPECT_EQ(fake().calls, calls) << args[1];
    }
    fake::reset();
    fake().fail("fru_get_cont_type", {9});
    fake().container_type_written = false;
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "POWER"}).err, "\n Could not determine container type: 4\n");
}

// The operation follows the last of -o/-t/-f/-d; elements and text combine.
TEST_F(FrontEnd, OperationCodeFollowsTheLastOption)
{
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"-o", "total_power_ons=7", "-f"}, "buffer,2048,3"}, {{"-f", "-o", "total_power_ons=7"}, "buffer,2048,2"},
        {{"-f"}, "null,2048,3"}, {{"-d"}, "null,2048,3"},
        {{"-t", "x", "-o", "total_power_ons=7"}, "buffer,2048,2"}, {{"-o", "total_power_ons=7", "-t", "x"}, "buffer,2048,2"},
    };
    for (const auto &[options, access] : rows) {
        fake::reset();
        EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "Power_SummaryR"}, options).status, 0);
        const std::string call = "libfru_access_data(MB," + access + ",Power_SummaryR)";
        EXPECT_EQ(fake().calls.at(2), options.size() > 1 ? "fru_read_record(Power_SummaryR,16)" : call);
        EXPECT_EQ(fake().count(call), 1u);
        EXPECT_EQ(fake().count("libfru_access_data"), 1u);
    }
}

// -s wins over everything else and shares its text with -o; -i wins over -d.
TEST_F(FrontEnd, SegmentAndImageOptionsWin)
{
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "POWER", "-s", "segname=O1", "-o", "SEGNAME=O2"}).status, 0);
    EXPECT_EQ(run({"quillet", "-c", "MB", "-i", "/nonexistent", "-d", "-s", "segname=O1,section=STATIC"}).status, 0);
    EXPECT_EQ(run({"quillet", "-d", "-c", "MB"}).status, 0);
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_read_op_segment(O2,0,8192)", "fru_close_node()",
                                   "fru_close_data_source()", "fru_get_node(MB)", "fru_delete_op_segment(O1,1)",
                                   "fru_close_node()", "fru_close_data_source()", "fru_get_node(MB)",
                                   "fru_for_each_segment(arg)", "fru_flash_file(MB)", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

}  // namespace
}  // namespace quillet_test
