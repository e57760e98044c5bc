// Recovery and manufacturing paths on real stores: the bad-CRC scan, opaque
// segments and the image flash.
#include "e2e/e2e_fixture.h"
#include "support/hex.h"
#include "support/segment_images.h"

namespace quillet_test {
namespace {

const std::string kHeader = "\n The following segments have incorrect CRC.\n";

std::string prompt(const std::string &name)
{
    return "\n SEGMENT : " + name + "\n\n Do you want to delete this segment " + name + " (y/n)?\n";
}

class Segments : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        ASSERT_EQ(fructl({"demo"}).status, 0);
    }
    std::string segment_list() { return fructl({"segments", "MB"}).out; }
};

TEST_F(Segments, DamagedSegmentIsListedKeptOrRemoved)
{
    ASSERT_EQ(fructl({"corrupt", "MB", "CU"}).status, 0);
    ASSERT_EQ(fructl({"corrupt", "MB", "O1"}).status, 0);
    const std::string damaged = segment_list();
    EXPECT_NE(damaged.find("CU 1 92 bad\n"), std::string::npos) << damaged;

    // Kept on "n": still there and still bad.
    Outcome o = quillet({"-d", "-c", "MB"}, "n\n");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, kHeader + prompt("CU"));
    EXPECT_EQ(segment_list(), damaged);

    // Removed on "y"; the opaque segment is never offered.
    o = quillet({"-d", "-c", "MB"}, "y\n");
    EXPECT_EQ(o.err, kHeader + prompt("CU"));
    EXPECT_EQ(segment_list().find("CU "), std::string::npos);
    EXPECT_NE(segment_list().find("O1 1 20 bad"), std::string::npos);
    EXPECT_EQ(quillet({"-c", "MB", "-r", "ManR"}).status, 0);
}

TEST_F(Segments, EndOfInputMeansRemoval)
{
    ASSERT_EQ(fructl({"corrupt", "MB", "ST"}).status, 0);
    ASSERT_EQ(fructl({"corrupt", "MB", "IN"}).status, 0);
    const Outcome o = quillet({"-d", "-c", "MB"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, kHeader + prompt("IN") + prompt("ST"));
    const std::string left = segment_list();
    EXPECT_EQ(left.find("ST "), std::string::npos);
    EXPECT_EQ(left.find("IN "), std::string::npos);
    EXPECT_EQ(quillet({"-c", "MB", "-r", "FAULT"}).status, 14);
}

TEST_F(Segments, ForceRemovesWithoutAsking)
{
    ASSERT_EQ(fructl({"corrupt", "MB", "MN"}).status, 0);
    const Outcome o = quillet({"-d", "-f", "-c", "MB"}, "n\n");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(segment_list().find("MN "), std::string::npos);
}

// Repeated, empty and unprintable names: every segment the scan lists is
// asked about, and removed or kept, on its own.
TEST_F(Segments, EveryListedSegmentIsRemovedOrKeptOnItsOwn)
{
    const SegmentPlan kept = {"MN", false, 9};
    const std::vector<SegmentPlan> twins = {kept, {"CU", false, 1}, {"CU", true, 2}};
    const struct {
        const char *what;
        std::vector<SegmentPlan> segments;
        std::vector<std::string> args;
        std::string answers;
        std::vector<std::string> asked;
        std::string left;
    } rows[] = {
        {"repeated name, first kept", twins, {}, "n\ny\n", {"CU", "CU"}, "MN=09,CU=01"},
        {"repeated name, second kept", twins, {}, "y\nn\n", {"CU", "CU"}, "MN=09,CU=02 bad"},
        {"repeated name, forced", twins, {"-f"}, "", {}, "MN=09"},
        {"empty name, forced", {kept, {"", true, 3}}, {"-f"}, "", {}, "MN=09"},
        {"empty name, asked", {{"", true, 3}, kept}, {}, "y\n", {"\\x00\\x00"}, "MN=09"},
        {"unprintable names", {{"\x01\x7f", true, 4}, {"A\n", false, 5}, kept}, {}, "\n\n",
         {"\\x01\\x7f"}, "A\\x0a=05,MN=09"},
        {"opaque name stays out", {kept, {"O\x01", true, 6, fruplat::kSegmentKindOpaque}},
         {"-f"}, "", {}, "MN=09,O\\x01=06 bad"},
    };
    int container = 0;
    for (const auto &row : rows) {
        const std::string nac = "R" + std::to_string(++container);
        const fruplat::Bytes image = segment_image(row.segments, 16384);
        const std::string file = temp_file(std::string(image.begin(), image.end()));
        ASSERT_EQ(fructl({"add", nac, "zan", "--from", file}).status, 0) << row.what;
        std::vector<std::string> args = {"-d", "-c", nac};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const Outcome o = quillet(args, row.answers);
        std::string err = row.args.empty() ? kHeader : "";
        for (const std::string &name : row.asked)
            err += prompt(name);
        EXPECT_EQ(o.status, 0) << row.what;
        EXPECT_EQ(o.err, err) << row.what;
        const std::string bytes = image_bytes(nac);
        EXPECT_EQ(segment_layout(fruplat::Bytes(bytes.begin(), bytes.end())), row.left) << row.what;
    }
}

// The scan holds no lock while it waits for an answer, and removes only the
// segment it showed: one changed meanwhile stays, and the scan says so.
TEST_F(Segments, SegmentChangedWhileTheScanAsksIsKept)
{
    ASSERT_EQ(fructl({"corrupt", "MB", "CU"}).status, 0);
    Running scan = start_quillet({"-d", "-c", "MB"});
    ASSERT_TRUE(wait_for(scan, prompt("CU")));
    // Another run removes the bad segment and a new record recreates it.
    ASSERT_EQ(quillet({"-d", "-f", "-c", "MB"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "CUSTOMER", "-t", "Rack 9"}).status, 0);
    const std::vector<std::string> recreated = stored("MB", "Customer_DataR");
    const Outcome o = finish(scan, "y\n");
    EXPECT_EQ(o.status, 97);
    EXPECT_EQ(o.err, kHeader + prompt("CU") +
                         "\n Error: Segment changed since the scan listed it; it was kept\n");
    EXPECT_EQ(stored("MB", "Customer_DataR"), recreated);
}

// An opaque segment under a record's home segment name cannot take the
// record: the update says so instead of succeeding with nothing stored.
TEST_F(Segments, UpdateWhoseHomeSegmentIsOpaqueIsRefused)
{
    const fruplat::Bytes image =
        segment_image({{"CU", false, 1, fruplat::kSegmentKindOpaque}}, 4096);
    const std::string file = temp_file(std::string(image.begin(), image.end()));
    ASSERT_EQ(fructl({"add", "OC", "zan", "--from", file}).status, 0);
    const std::string before = image_bytes("OC");
    const Outcome o = quillet({"-c", "OC", "-r", "CUSTOMER", "-t", "Rack 9"});
    EXPECT_EQ(o.status, 98);
    EXPECT_EQ(o.err, "\n Error: Segment name is taken by a segment of the other kind (record or "
                     "opaque)\n");
    EXPECT_EQ(image_bytes("OC"), before);
}

TEST_F(Segments, OpaqueSectionOf8192BytesRoundTrips)
{
    std::string content;
    for (int i = 0; i < 8192; ++i)
        content += static_cast<char>((i * 31 + 7) & 0xFF);
    const std::string file = temp_file(content);
    Outcome o = quillet({"-c", "MB", "-s", "segname=ES,section=STATIC,filename=" + file});
    ASSERT_EQ(o.status, 0) << o.err;
    o = quillet({"-c", "MB", "-s", "segname=ES,section=STATIC"});
    ASSERT_EQ(o.status, 0) << o.err;
    std::string expected;
    char item[32];
    for (int i = 0; i < 8192; ++i) {
        std::snprintf(item, sizeof item, "\t buff[%d] = %x", i, static_cast<unsigned char>(content[i]));
        expected += item;
    }
    EXPECT_EQ(o.out, expected + "\n");

    const std::string large = temp_file(content + "x");
    o = quillet({"-c", "MB", "-s", "segname=ES,section=STATIC,filename=" + large});
    EXPECT_EQ(o.status, 23);
    EXPECT_EQ(o.err, "Opaque file is too large " + large + "\n");
}

TEST_F(Segments, OpaqueSectionsShowWriteAndDelete)
{
    Outcome o = quillet({"-c", "MB", "-s", "segname=O2,section=dynamic,data=hello"});
    ASSERT_EQ(o.status, 0) << o.err;
    o = quillet({"-c", "MB", "-s", "segname=O2,section=DYNAMIC"});
    EXPECT_EQ(o.out, "\t buff[0] = 68\t buff[1] = 65\t buff[2] = 6c\t buff[3] = 6c\t buff[4] = 6f\n");
    o = quillet({"-c", "MB", "-s", "segname=O2,section=STATIC"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
    o = quillet({"-c", "MB", "-d", "-s", "segname=O2,section=DYNAMIC"});
    EXPECT_EQ(o.status, 0) << o.err;
    o = quillet({"-c", "MB", "-s", "segname=O2"});
    EXPECT_EQ(o.status, 14);
    EXPECT_EQ(o.err, "\n Error : Seg O2 Record or area not present in the container\n");
    o = quillet({"-c", "MB", "-s", "segname=MN,data=x"});
    EXPECT_EQ(o.status, 6);
}

TEST_F(Segments, ImageFlashedIntoAnotherContainerGivesIdenticalRecords)
{
    const std::string image = scratch_ + "/mb.img";
    ASSERT_EQ(fructl({"image", "MB", image}).status, 0);
    ASSERT_EQ(fructl({"add", "MB2", "zan", "--capacity", "8192"}).status, 0);
    Outcome o = quillet({"-c", "MB2", "-i", image});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "\nFinished writing the file at MB2\n");
    for (const char *record : {"ManR", "Zan_Man1R", "Configured_LevelR", "Customer_DataR",
                               "Power_SummaryR", "Status_EventsR", "InstallationR",
                               "Top_Level_IdentifierR"})
        EXPECT_EQ(stored("MB2", record), stored("MB", record)) << record;
    EXPECT_EQ(quillet({"-c", "MB2", "-s", "segname=O1,section=STATIC"}).out,
              quillet({"-c", "MB", "-s", "segname=O1,section=STATIC"}).out);

    // The same image loaded with fructl gives the same records too.
    ASSERT_EQ(fructl({"add", "MB3", "zan", "--from", image}).status, 0);
    EXPECT_EQ(stored("MB3", "Status_EventsR"), stored("MB", "Status_EventsR"));

    o = quillet({"-c", "NOPE", "-i", image});
    EXPECT_EQ(o.status, 255);
    EXPECT_EQ(o.err, "Given frupath NOPE doesn't exist in the system\n");
}

TEST_F(Segments, FlashedShortImageLeavesTheRestErased)
{
    ASSERT_EQ(fructl({"add", "EE", "zan", "--capacity", "64"}).status, 0);
    const std::string image = temp_file("\x01\x02\x03");
    ASSERT_EQ(quillet({"-c", "EE", "-i", image}).status, 0);
    EXPECT_EQ(to_hex(reinterpret_cast<const uint8_t *>(image_bytes("EE").data()), 3), "010203");
    const Outcome o = quillet({"-c", "EE", "-r", "ManR"});
    EXPECT_EQ(o.status, 67);
}

}  // namespace
}  // namespace quillet_test
