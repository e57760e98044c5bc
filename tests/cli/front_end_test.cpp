// The command line as a user meets it: guards, conflicts, dispatch, and the
// calls each command line makes against the platform.
#include <gtest/gtest.h>

#include "cli/usage.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using Calls = std::vector<std::string>;

class FrontEnd : public ToolTest {};

TEST_F(FrontEnd, VersionLineAloneAndNothingElse)
{
    const RunResult r = run({"quillet", "-V", "-c", "MB", "-r", "POWER"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Version: 3.0 2008/10/14\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fake().calls.empty());
}

TEST_F(FrontEnd, NoArgumentsPrintUsageAndExit255)
{
    const RunResult r = run({"quillet"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, usage_for("quillet"));
}

TEST_F(FrontEnd, HelpNamesTheProgramAsTyped)
{
    const RunResult r = run({"/usr/local/sbin/quillet", "-h"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, usage_for("/usr/local/sbin/quillet"));
    EXPECT_EQ(r.out.substr(0, 42), "Usage:  /usr/local/sbin/quillet [-V] | [ -");
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\n\n");
}

TEST_F(FrontEnd, UsageTextHasNoStrayConversion)
{
    const std::string format = quillet::kUsageFormat;
    EXPECT_EQ(format.find('%'), format.find("%s"));
    EXPECT_EQ(format.find('%', format.find("%s") + 1), std::string::npos);
}

struct FailureRow {
    const char *label;
    std::vector<std::string> args;
    int status;
    std::string err;       // exact standard error, unless empty
    bool usage_on_stdout;
};

void PrintTo(const FailureRow &row, std::ostream *os)
{
    *os << row.label;
}

class FrontEndFailures : public ToolTest, public ::testing::WithParamInterface<FailureRow> {};

const std::string kConflict =
    "\nError: Please choose to use (-o or -t) to update or (-d) delete option.\n";

TEST_P(FrontEndFailures, ExactMessageAndStatus)
{
    const FailureRow &row = GetParam();
    std::vector<std::string> args = {"quillet"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const RunResult r = run(args);
    EXPECT_EQ(r.status, row.status);
    if (!row.err.empty()) {
        EXPECT_EQ(r.err, row.err);
    }
    EXPECT_EQ(r.out, row.usage_on_stdout ? usage_for("quillet") : "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrontEndFailures,
    ::testing::Values(
        FailureRow{"UnknownOption", {"-x", "-c", "MB"}, 255, "", true},
        FailureRow{"MissingArgument", {"-c"}, 255, "", true},
        FailureRow{"UpdateThenDelete", {"-c", "MB", "-r", "POWER", "-o", "event=power_on", "-d"},
                   35, kConflict, false},
        FailureRow{"DeleteThenUpdate", {"-d", "-o", "event=power_on", "-c", "MB"}, 35, kConflict,
                   false},
        FailureRow{"TextThenDelete", {"-t", "text", "-d"}, 35, kConflict, false},
        FailureRow{"DeleteThenText", {"-d", "-t", "text"}, 35, kConflict, false},
        FailureRow{"ConflictBeforeVersion", {"-o", "a=1", "-d", "-V"}, 35, kConflict, false},
        FailureRow{"SecondSegmentOption", {"-c", "MB", "-s", "segname=O1", "-s", "segname=O2"}, 23,
                   "\nError: Multiple '-s' option not allowed\n", false},
        FailureRow{"NoNacName", {"-r", "POWER"}, 23,
                   "\n Error: Please supply nac name to be used.\n", false},
        FailureRow{"NoNacNameWithImage", {"-i", "/tmp/image"}, 23,
                   "\n Error: Please supply nac name to be used.\n", false},
        FailureRow{"NoClassName", {"-c", "MB"}, 23,
                   "\n Error: Please supply record class name to be used.\n", false},
        FailureRow{"ForceWithoutDelete", {"-f", "-c", "MB"}, 23,
                   "\n Error: Please supply record class name to be used.\n", false},
        FailureRow{"UnsupportedClass", {"-c", "MB", "-r", "Config_LevelR"}, 18,
                   "\n Error: The class_name  Config_LevelR is not supported.\n", false},
        FailureRow{"IdentityUpdate", {"-c", "MB", "-r", "IDENTITY", "-o", "zan_part_no=1"}, 18,
                   "Error: Please provide exact record name to be updated for IDENTITY class.\n",
                   false}),
    [](const ::testing::TestParamInfo<FailureRow> &info) { return info.param.label; });

TEST_F(FrontEnd, NodeLookupFailureNamesTheContainer)
{
    fake().fail("fru_get_node", {7});
    const RunResult r = run({"quillet", "-c", "MB/P0", "-r", "POWER"});
    EXPECT_EQ(r.status, 7);
    EXPECT_EQ(r.err, "\n Could not get node handle: MB/P0\n");
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB/P0)", "fru_close_data_source()"}));
}

TEST_F(FrontEnd, ContainerTypeFailurePrintsThePresetFour)
{
    fake().fail("fru_get_cont_type", {9});
    fake().container_type_written = false;
    const RunResult r = run({"quillet", "-c", "MB", "-r", "POWER"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "\n Could not determine container type: 4\n");
    EXPECT_EQ(fake().calls, (Calls{"fru_get_node(MB)", "fru_get_cont_type()", "fru_close_node()",
                                   "fru_close_data_source()"}));
}

TEST_F(FrontEnd, ContainerTypeFailurePrintsWhatTheCallLeft)
{
    fake().fail("fru_get_cont_type", {9});
    fake().container_type = 77;
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "POWER"}).err,
              "\n Could not determine container type: 77\n");
}

TEST_F(FrontEnd, ReadMakesOneAccessCallWithTheNameAsTyped)
{
    const RunResult r = run({"quillet", "-c", "MB", "-r", "pOwEr"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(fake().calls,
              (Calls{"fru_get_node(MB)", "fru_get_cont_type()",
                     "libfru_access_data(MB,buffer,2048,1,pOwEr)", "fru_close_node()",
                     "fru_close_data_source()"}));
}

TEST_F(FrontEnd, ContainerTypeFourBehavesAsZan)
{
    fake().container_type = 4;
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "TLI"}).status, 0);
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "PIROM"}).status, 18);
}

TEST_F(FrontEnd, AccessFailureReportsLibraryTextAndStatusModulo256)
{
    fake().fail("libfru_access_data", {300});
    const RunResult r = run({"quillet", "-c", "MB", "-r", "POWER"});
    EXPECT_EQ(r.status, 300 % 256);
    EXPECT_EQ(r.err, "\n Error: fake error 300\n");
}

struct InterplayRow {
    const char *label;
    std::vector<std::string> args;
    std::string access_call;  // the libfru_access_data line expected
    bool update_ran;          // the Power_SummaryR pre-read was made
};

void PrintTo(const InterplayRow &row, std::ostream *os)
{
    *os << row.label;
}

class Interplay : public ToolTest, public ::testing::WithParamInterface<InterplayRow> {};

TEST_P(Interplay, OperationCodeFollowsTheLastOption)
{
    const InterplayRow &row = GetParam();
    std::vector<std::string> args = {"quillet", "-c", "MB", "-r", "Power_SummaryR"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fake().count("libfru_access_data"), 1u);
    EXPECT_EQ(fake().count(row.access_call), 1u) << ::testing::PrintToString(fake().calls);
    EXPECT_EQ(fake().count("fru_read_record(Power_SummaryR,16)"), row.update_ran ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Interplay,
    ::testing::Values(
        InterplayRow{"UpdateThenForce", {"-o", "total_power_ons=7", "-f"},
                     "libfru_access_data(MB,buffer,2048,3,Power_SummaryR)", true},
        InterplayRow{"ForceThenUpdate", {"-f", "-o", "total_power_ons=7"},
                     "libfru_access_data(MB,buffer,2048,2,Power_SummaryR)", true},
        InterplayRow{"ForceAloneDeletes", {"-f"},
                     "libfru_access_data(MB,null,2048,3,Power_SummaryR)", false},
        InterplayRow{"DeleteWithClass", {"-d"},
                     "libfru_access_data(MB,null,2048,3,Power_SummaryR)", false},
        InterplayRow{"TextThenElements", {"-t", "x", "-o", "total_power_ons=7"},
                     "libfru_access_data(MB,buffer,2048,2,Power_SummaryR)", true},
        InterplayRow{"ElementsThenText", {"-o", "total_power_ons=7", "-t", "x"},
                     "libfru_access_data(MB,buffer,2048,2,Power_SummaryR)", true}),
    [](const ::testing::TestParamInfo<InterplayRow> &info) { return info.param.label; });

TEST_F(FrontEnd, SegmentOptionSharesItsTextWithElements)
{
    fake().opaque_data = {0xab};
    const RunResult r = run({"quillet", "-c", "MB", "-r", "POWER", "-s", "segname=O1", "-o",
                             "SEGNAME=O2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fake().count("fru_read_op_segment(O2,0,8192)"), 1u);
    EXPECT_EQ(fake().count("libfru_access_data"), 0u);
}

TEST_F(FrontEnd, SegmentOptionWinsOverImageAndDelete)
{
    const RunResult r = run({"quillet", "-c", "MB", "-i", "/nonexistent", "-d", "-s",
                             "segname=O1,section=STATIC"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fake().count("fru_delete_op_segment(O1,1)"), 1u);
}

TEST_F(FrontEnd, DeleteWithoutClassRunsTheScan)
{
    EXPECT_EQ(run({"quillet", "-d", "-c", "MB"}).status, 0);
    EXPECT_EQ(fake().count("fru_for_each_segment"), 1u);
    EXPECT_EQ(fake().count("libfru_access_data"), 0u);
}

TEST_F(FrontEnd, ImageWinsOverClassAndDelete)
{
    const RunResult r = run({"quillet", "-c", "MB", "-r", "POWER", "-d", "-i", "/nonexistent"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "Image file /nonexistent doesn't exist\n");
    EXPECT_EQ(fake().count("libfru_access_data"), 0u);
}

TEST_F(FrontEnd, ElementNamesAreFoldedButValuesKept)
{
    fake().capture_size = 140;
    fake().add_enum("Initiator", {{"SP", 3}});
    run({"quillet", "-c", "MB", "-r", "FAULT", "-o", "Message=MiXeD,INITIATOR=SP"});
    ASSERT_EQ(fake().written.size(), 140u);
    EXPECT_EQ(std::string(fake().written.begin() + 12, fake().written.begin() + 17), "MiXeD");
    EXPECT_EQ(fake().written[6], 3);
}

// The data source is closed exactly once however a record flow ends.
struct EndingRow {
    const char *label;
    std::vector<std::string> args;
    std::string failing_call;
    int32_t failure;
    int container_type;
};

void PrintTo(const EndingRow &row, std::ostream *os)
{
    *os << row.label;
}

class Endings : public ToolTest, public ::testing::WithParamInterface<EndingRow> {};

TEST_P(Endings, DataSourceClosedExactlyOnce)
{
    const EndingRow &row = GetParam();
    if (!row.failing_call.empty())
        fake().fail(row.failing_call, {row.failure});
    fake().container_type = row.container_type;
    std::vector<std::string> args = {"quillet", "-c", "MB"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    run(args);
    EXPECT_EQ(fake().data_source_closes, 1);
    const size_t node_closes = fake().count("fru_close_node");
    EXPECT_LE(node_closes, 1u);
    if (fake().count("fru_get_node") == 1 && row.failing_call != "fru_get_node") {
        EXPECT_EQ(node_closes, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Endings,
    ::testing::Values(
        EndingRow{"NodeFails", {"-r", "POWER"}, "fru_get_node", 5, 0},
        EndingRow{"TypeFails", {"-r", "POWER"}, "fru_get_cont_type", 5, 0},
        EndingRow{"NotSupported", {"-r", "NOPE"}, "", 0, 0},
        EndingRow{"IdentityRefused", {"-r", "IDENTITY", "-t", "x"}, "", 0, 0},
        EndingRow{"PreReadFails", {"-r", "Power_SummaryR", "-o", "total_power_ons=1"},
                  "fru_read_record", 5, 0},
        EndingRow{"ParseFails", {"-r", "Power_SummaryR", "-o", "bogus=1"}, "", 0, 0},
        EndingRow{"AccessFails", {"-r", "POWER"}, "libfru_access_data", 5, 0},
        EndingRow{"Read", {"-r", "POWER"}, "", 0, 0},
        EndingRow{"Update", {"-r", "POWER", "-o", "timestamp"}, "", 0, 0},
        EndingRow{"Delete", {"-r", "POWER", "-d"}, "", 0, 0},
        EndingRow{"IpmiIdentity", {"-r", "IDENTITY"}, "", 0, 1},
        EndingRow{"IpmiIdentityFails", {"-r", "IDENTITY"}, "libfru_access_data", 9, 1}),
    [](const ::testing::TestParamInfo<EndingRow> &info) { return info.param.label; });

}  // namespace
}  // namespace quillet_test
