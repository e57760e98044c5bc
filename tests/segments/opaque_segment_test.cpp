// Opaque segments: the suboptions a technician types and the calls and
// bytes that follow.
#include <sys/stat.h>
#include <unistd.h>

#include "support/hex.h"
#include "support/temp_files.h"
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
    std::string file_of(size_t size) { return files_.make(std::string(size, 'z')); }
    TempFiles files_;
};

TEST_F(OpaqueSegment, ShowPrintsEveryByteOnOneLine)
{
    fake().opaque_data = {0x00, 0xab, 0x05};
    const RunResult r = segment("segname=O1,section=STATIC");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\t buff[0] = 0\t buff[1] = ab\t buff[2] = 5\n");
    EXPECT_EQ(fake().count("fru_read_op_segment(O1,1,8192)"), 1u);
    fake::reset();
    EXPECT_EQ(segment("segname=O1").out, "");
    EXPECT_EQ(fake().count("fru_read_op_segment(O1,0,8192)"), 1u);
}

TEST_F(OpaqueSegment, ShowFailures)
{
    fake().fail("fru_get_node", {9});
    RunResult r = segment("segname=O1");
    EXPECT_EQ(r.status, 5);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(fake().calls.size(), 1u);
    fake::reset();
    fake().fail("fru_read_op_segment", {14});
    r = segment("segname=O1");
    EXPECT_EQ(r.status, 14);
    EXPECT_EQ(r.err, "\n Error : Seg O1 fake error 14\n");
    EXPECT_EQ(fake().data_source_closes, 1);
}

struct DataRow {
    std::string suboptions;
    std::string bytes;    // expected data written, in hex
    int32_t section;
    std::string err;      // warnings before the write
};

void PrintTo(const DataRow &row, std::ostream *os)
{
    *os << row.suboptions;
}

class OpaqueData : public OpaqueSegment, public ::testing::WithParamInterface<DataRow> {};

TEST_P(OpaqueData, WritesExactlyTheseBytes)
{
    const DataRow &row = GetParam();
    const RunResult r = segment(row.suboptions);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, row.err);
    EXPECT_EQ(to_hex(fake().opaque_written), row.bytes);
    EXPECT_EQ(fake().count("fru_update_op_segment(O1," + std::to_string(row.section)), 1u);
    EXPECT_EQ(to_hex(fake().descriptor), "00000000" + text_hex("O1") + zeros(17));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpaqueData,
    ::testing::Values(
        DataRow{"segname=O1,section=static,data=0x1a2b", "1a2b", 1, ""},
        DataRow{"segname=O1,section=STATIC,data=0x1a2b,size=3", "1a2b", 1,
                "Provided data size 3 doesn't match with the actual data size 2\n"
                "quillet continues with the actual data size 2...\n"},
        DataRow{"segname=O1,data=0x1a2,section=DYNAMIC", "a2", 0, ""},
        DataRow{"segname=O1,section=DYNAMIC,data=hello", text_hex("hello"), 0, ""},
        DataRow{"segname=O1,section=DYNAMIC,data=0X1a2b", text_hex("0X1a2b"), 0, ""},
        DataRow{"segname=O1,section=DYNAMIC,data=0x00112233445566", "00112233445566", 0, ""},
        DataRow{"segname=O1,section=DYNAMIC,data=0x0011223344556677", "0011223344556677", 0, ""},
        DataRow{"segname=O1,section=DYNAMIC,data=0x00112233445566778899", "00112233445566778899",
                0, ""},
        DataRow{"segname=O1,section=DYNAMIC,data=a=b", text_hex("a=b"), 0, ""}));

TEST_F(OpaqueSegment, FileOfExactly8192BytesIsWrittenAnd8193Refused)
{
    const std::string exact = file_of(8192);
    RunResult r = segment("segname=ES,section=STATIC,filename=" + exact);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fake().opaque_written.size(), 8192u);
    EXPECT_EQ(fake().count("fru_update_op_segment(ES,1,8192)"), 1u);

    fake::reset();
    const std::string large = file_of(8193);
    r = segment("segname=ES,section=STATIC,filename=" + large);
    EXPECT_EQ(r.status, 23);
    EXPECT_EQ(r.err, "Opaque file is too large " + large + "\n");
    EXPECT_EQ(fake().count("fru_update_op_segment"), 0u);
    EXPECT_EQ(fake().data_source_closes, 1);
}

TEST_F(OpaqueSegment, FileSizeWarningGoesOnWithTheActualSize)
{
    const std::string file = file_of(4);
    const RunResult r = segment("segname=O1,section=STATIC,filename=" + file + ",size=9");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Provided file size 9 doesn't match with the actual file size 4\n"
                     "quillet continues with the actual file size 4...\n");
    EXPECT_EQ(fake().opaque_written.size(), 4u);
}

struct RefusalRow {
    std::string suboptions;
    bool remove;
    int32_t status;
    std::string err;
    bool usage;
};

void PrintTo(const RefusalRow &row, std::ostream *os)
{
    *os << row.suboptions.substr(0, 48);
}

class OpaqueRefusal : public OpaqueSegment, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(OpaqueRefusal, NothingIsWritten)
{
    const RefusalRow &row = GetParam();
    const RunResult r = segment(row.suboptions, row.remove);
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(r.err, row.err);
    EXPECT_EQ(r.out, row.usage ? usage_for("quillet") : "");
    EXPECT_EQ(fake().count("fru_update_op_segment"), 0u);
    EXPECT_EQ(fake().count("fru_delete_op_segment"), 0u);
}

const std::string kSection = "Please provider either STATIC or DYNAMIC section area.\n";

INSTANTIATE_TEST_SUITE_P(
    Table, OpaqueRefusal,
    ::testing::Values(
        RefusalRow{"segname=X1,data=a,section=STATIC", false, 6,
                   "Error: Either segname is NULL or does not begin with 'O'\n"
                   "       Segname can be \"ES\".\n",
                   false},
        RefusalRow{"segname=O1,segname=O2", false, 23,
                   "Error: Either segname is NULL or provided multiple segments\n", false},
        RefusalRow{"segname", false, 23,
                   "Error: Either segname is NULL or provided multiple segments\n", false},
        RefusalRow{"segname=O1,filename=a,filename=b", false, 23,
                   "Error: Either filename is NULL or provided multiple files\n", false},
        RefusalRow{"segname=O1,data", false, 23,
                   "Error: Either data is NULL or provided multiple data\n", false},
        RefusalRow{"segname=O1,size=1,size=2", false, 23,
                   "Error:Either size is NULL or provided multiple size infor\n", false},
        RefusalRow{"segname=O1,section=bogus", false, 23,
                   "Please provide either STATIC or DYNAMIC section area.\n", false},
        RefusalRow{"segname=O1,section", false, 23,
                   "Please provide either STATIC or DYNAMIC section area.\n", false},
        RefusalRow{"segname=O1,data=a,section=STATIC,section=DYNAMIC", false, 23, kSection, false},
        RefusalRow{"segname=O1,data=a", false, 23, kSection, false},
        RefusalRow{"segname=O1,size=4", false, 23,
                   "Please provider either opaque file name or opaque data.\n", false},
        RefusalRow{"segname=O1,data=a,filename=/etc/hostname,section=STATIC", false, 23,
                   "Please provider either opaque file name or opaque data.\n", false},
        RefusalRow{"data=a,section=STATIC", false, 23, "Please provide segment name\n", false},
        RefusalRow{"segname=O1,section=STATIC,filename=/nonexistent", false, 23,
                   "Opaque file /nonexistent doesn't exist\n", false},
        RefusalRow{"segname=O1,data=" + std::string(8193, 'd') + ",section=STATIC", false, 23,
                   "Opaque file is too large (inline data)\n", false},
        RefusalRow{"segname=O1,SEGNAME=O2", false, 23, "\n Error: SEGNAME=O2 is not supported\n",
                   true},
        RefusalRow{"segname=O1,colour=red", true, 23, "\n Error: colour=red is not supported\n",
                   true},
        RefusalRow{"segname=O1,section=STATIC,section=DYNAMIC", true, 23, kSection, false},
        RefusalRow{"section=STATIC", true, 23, "Please provide segment name\n", false}));

TEST_F(OpaqueSegment, DeleteNeedsASection)
{
    EXPECT_EQ(segment("segname=O1", true).status, 0);
    EXPECT_EQ(segment("", true).status, 0);
    EXPECT_EQ(fake().count("fru_delete_op_segment"), 0u);
    EXPECT_EQ(segment("segname=O1,section=STATIC", true).status, 0);
    EXPECT_EQ(fake().count("fru_delete_op_segment(O1,1)"), 1u);
    fake().fail("fru_delete_op_segment", {14});
    const RunResult r = segment("segname=O1,section=DYNAMIC", true);
    EXPECT_EQ(r.status, 14);
    EXPECT_EQ(r.err, "\nError in Deleting opaque segment fake error 14\n");
}

TEST_F(OpaqueSegment, NodeFailureNamesTheContainerAndTheReason)
{
    fake().fail("fru_get_node", {62, 62});
    RunResult r = segment("segname=O1,section=STATIC", true);
    EXPECT_EQ(r.status, 62);
    EXPECT_EQ(r.err, "\n Could not get node handle: MB fake error 62\n");
    r = segment("segname=O1,section=STATIC,data=x");
    EXPECT_EQ(r.status, 62);
    EXPECT_EQ(r.err, "\n Could not get node handle: MB fake error 62\n");
    EXPECT_EQ(fake().data_source_closes, 2);
}

TEST_F(OpaqueSegment, UpdateFailureReportsTheLibraryText)
{
    fake().fail("fru_update_op_segment", {69});
    const RunResult r = segment("segname=O1,section=STATIC,data=x");
    EXPECT_EQ(r.status, 69);
    EXPECT_EQ(r.err, "\nError in updating opaque segment fake error 69\n");
    EXPECT_EQ(fake().count("fru_close_node"), 1u);
}

}  // namespace
}  // namespace quillet_test
