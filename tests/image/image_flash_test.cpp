// The image flash against the container interface: checks, retries, and
// the clean-up after every failure.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class ImageFlash : public ToolTest {
protected:
    std::string image_of(size_t size) { return files_.make(size, 0644, 7); }
    RunResult flash(const std::string &image) { return run({"quillet", "-c", "MB", "-i", image}); }
};

const Calls kFlash = {"capi_get_inventory(MB,6)", "fru_get_node(MB)", "capi_fruid_open_container(MB)",
                      "capi_fruid_write_container(7,0,8192)", "capi_fruid_close_container(7)", "fru_close_node()",
                      "capi_free_inventory(1)"};

TEST_F(ImageFlash, WritesTheWholeImageAndReportsCompletion)
{
    const RunResult r = flash(image_of(8192));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\nFinished writing the file at MB\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(fake().calls, kFlash);
    ASSERT_EQ(fake().image_written.size(), 8192u);
    EXPECT_EQ(fake().image_written[3], 'A' + 21);
    fake::reset();
    fake().fail("fru_get_node", {5, 5, 5, 0});
    EXPECT_EQ(flash(image_of(8192)).status, 0);
    EXPECT_EQ(fake().count("fru_get_node"), 4u);
}

// Every failure ends the flash with status 255 and gives back, in order,
// what it holds: the container, the node, the inventory.
TEST_F(ImageFlash, FailuresCleanUpWhatTheyHold)
{
    const std::string image = image_of(8192);
    const struct {
        std::string call;
        std::vector<int32_t> statuses;
        std::string err;
        std::vector<size_t> made;  // which of kFlash's calls were made
    } rows[] = {
        {"capi_get_inventory", {62}, "Given frupath MB doesn't exist in the system\n", {0, 6}},
        {"fru_get_node", {5, 5, 5, 5}, "Unable to obtain handle to node in libfru.\n", {0, 1, 1, 1, 1, 6}},
        {"capi_fruid_open_container", {62}, "Fails to open the fru MB [62] to update\n", {0, 1, 2, 5, 6}},
        {"capi_fruid_write_container", {66}, "Fails to update the fru MB [66]\n", {0, 1, 2, 3, 4, 5, 6}},
        {"capi_fruid_close_container", {66}, "Fails to close the container " + image + "\n", {0, 1, 2, 3, 4, 5, 6}},
    };
    for (const auto &row : rows) {
        fake::reset();
        fake().fail(row.call, row.statuses);
        const RunResult r = flash(image);
        EXPECT_EQ(r.status, 255) << row.call;
        EXPECT_EQ(r.err, row.err);
        EXPECT_EQ(r.out, "");
        Calls expected;
        for (size_t i : row.made)
            expected.push_back(kFlash[i]);
        EXPECT_EQ(fake().calls, expected) << row.call;
    }
    fake::reset();
    fake().fail("capi_get_inventory", {62});
    fake().inventory_allocated = false;
    flash(image);
    EXPECT_EQ(fake().count("capi_free_inventory"), 0u);
}

TEST_F(ImageFlash, RefusalsBeforeAnyContainerCall)
{
    const std::string large = image_of(8193), empty = image_of(0);
    const std::tuple<std::string, std::string, size_t> rows[] = {
        {"/nonexistent/image", "Image file /nonexistent/image doesn't exist\n", 0},
        {large, "Container " + large + " size should be less than 8k\n", 2},
        {empty, "Container " + empty + " has no information to update\n", 2},
        {"/", "Unable to read the whole file\n", 2},
    };
    for (const auto &[image, err, calls] : rows) {
        fake::reset();
        const RunResult r = flash(image);
        EXPECT_EQ(r.status, 255) << image;
        EXPECT_EQ(r.err, err) << image;
        EXPECT_EQ(fake().calls.size(), calls) << ::testing::PrintToString(fake().calls);
    }
}

}  // namespace
}  // namespace quillet_test
