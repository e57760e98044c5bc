// The calls each command line makes against the platform, in order (the
// refusals and texts a user sees are in the cli transcript).
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using FrontEnd = ToolTest;

// Element names are folded to lower case up to their '=', values kept.
TEST_F(FrontEnd, ElementNamesAreFoldedButValuesKept)
{
    fake().capture_size = 140;
    fake().add_enum("Initiator", {{"SP", 3}});
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "FAULT", "-o", "ZAN_PART_NO=x,Message=MiXeD=X,INITIATOR=SP"}).status, 0);
    EXPECT_EQ(to_hex(fake().written.data() + 6, 13), "03" + zeros(5) + text_hex("MiXeD=X"));
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
