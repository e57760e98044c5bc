// The bad-CRC scan and opaque segments on images built segment by segment,
// with names and damage fructl cannot make.
#include "e2e/e2e_fixture.h"
#include "support/segment_images.h"

namespace quillet_test {
namespace {

using fruplat::kSegmentKindOpaque;

const std::string kHeader = "\n The following segments have incorrect CRC.\n";

std::string prompt(const std::string &name)
{
    return "\n SEGMENT : " + name + "\n\n Do you want to delete this segment " + name + " (y/n)?\n";
}

class Segments : public EndToEnd {};

// Every segment the scan lists is asked about, and removed or kept, on its
// own: answers, end of input, repeated, empty and unprintable names; opaque
// segments are never offered, nor forced. (The platform's segment rules
// check removal of twins and odd names by the handle; the tool's unit tests
// check -f and the answers against a recording platform.)
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
        {"empty name, asked", {{"", true, 3}, kept}, {}, "y\n", {"\\x00\\x00"}, "MN=09"},
        {"one tag in two segments", {{"CU", false, 1}, {"MN", false, 9, fruplat::kSegmentKindRecord, 84, 0x0201}},
         {}, "y\nn\n", {"CU", "MN"}, "MN=09"},
        {"newer kind not offered", {{"CU", true, 1}, kept, {"NX", false, 6, 'X'}}, {}, "y\n", {"CU"},
         "MN=09,NX=06"},
        {"newer kind not forced", {{"CU", true, 1}, kept, {"NX", false, 6, 'X'}}, {"-f"}, "", {}, "MN=09,NX=06"},
        {"unprintable names", {{"\x01\x7f", true, 4}, {"A\n", false, 5}, kept}, {}, "\n\n", {"\\x01\\x7f"},
         "A\\x0a=05,MN=09"},
        {"opaque not offered", {{"CU", true, 1}, kept, {"O\x01", true, 6, kSegmentKindOpaque}}, {}, "y\n", {"CU"},
         "MN=09,O\\x01=06 bad"},
        // Its CRC holds, but its section is longer than a section may be.
        {"opaque not forced", {kept, {"O\x01", false, 6, kSegmentKindOpaque, 8193}}, {"-f"}, "", {}, "MN=09,O\\x01=06 bad"},
    };
    int container = 0;
    for (const auto &row : rows) {
        const std::string nac = std::string("R") + std::to_string(++container);
        add_image(nac, "zan", segment_image(row.segments, 16384));
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

// An opaque segment under a record's home segment name cannot take the
// record: the update says so instead of succeeding with nothing stored.
TEST_F(Segments, UpdateWhoseHomeSegmentIsOpaqueIsRefused)
{
    add_image("OC", "zan", segment_image({{"CU", false, 1, kSegmentKindOpaque}}, 4096));
    const std::string before = image_bytes("OC");
    const Outcome o = quillet({"-c", "OC", "-r", "CUSTOMER", "-t", "Rack 9"});
    EXPECT_EQ(o.status, 98);
    EXPECT_EQ(o.err, "\n Error: Segment name is taken by a segment of the other kind (record or opaque)\n");
    EXPECT_EQ(image_bytes("OC"), before);
}

}  // namespace
}  // namespace quillet_test
