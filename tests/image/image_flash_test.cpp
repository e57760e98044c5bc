// The image flash against the container interface: checks, retries, and
// the clean-up after every failure.
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

class ImageFlash : public ToolTest {
protected:
    RunResult flash(const std::string &image) { return run({"quillet", "-c", "MB", "-i", image}); }
};

const Calls kFlash = {"capi_get_inventory(MB,6)", "fru_get_node(MB)", "capi_fruid_open_container(MB)",
                      "capi_fruid_write_container(7,0,8192)", "capi_fruid_close_container(7)", "fru_close_node()",
                      "capi_free_inventory(1)"};

// The node lookup is tried up to four times; every failure ends the flash
// with 255 and gives back, in order, the container, the node, the inventory.
TEST_F(ImageFlash, WritesTheWholeImageOrCleansUpWhatItHolds)
{
    const std::string image = files_.make(8192, 0644, 7);
    const std::tuple<std::string, std::vector<int32_t>, std::string, std::vector<size_t>> rows[] = {
        {"", {}, "", {0, 1, 2, 3, 4, 5, 6}},
        {"fru_get_node", {5, 5, 5, 0}, "", {0, 1, 1, 1, 1, 2, 3, 4, 5, 6}},
        {"capi_get_inventory", {62}, "Given frupath MB doesn't exist in the system\n", {0, 6}},
        {"fru_get_node", {5, 5, 5, 5}, "Unable to obtain handle to node in libfru.\n", {0, 1, 1, 1, 1, 6}},
        {"capi_fruid_open_container", {62}, "Fails to open the fru MB [62] to update\n", {0, 1, 2, 5, 6}},
        {"capi_fruid_write_container", {66}, "Fails to update the fru MB [66]\n", {0, 1, 2, 3, 4, 5, 6}},
        {"capi_fruid_close_container", {66}, "Fails to close the container " + image + "\n", {0, 1, 2, 3, 4, 5, 6}},
    };
    for (const auto &[call, statuses, err, made] : rows) {
        fake::reset();
        fake().fail(call, statuses);
        const RunResult r = flash(image);
        EXPECT_EQ(r.status, err.empty() ? 0 : 255) << call;
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(r.out, err.empty() ? "\nFinished writing the file at MB\n" : "");
        Calls expected;
        for (size_t i : made)
            expected.push_back(kFlash[i]);
        EXPECT_EQ(fake().calls, expected) << call;
    }
    ASSERT_EQ(fake().image_written.size(), 8192u);
    EXPECT_EQ(fake().image_written[3], 'A' + 21);
    fake::reset();
    fake().fail("capi_get_inventory", {62});
    fake().inventory_allocated = false;
    flash(image);
    EXPECT_EQ(fake().count("capi_free_inventory"), 0u);
}

TEST_F(ImageFlash, RefusalsBeforeAnyContainerCall)
{
    const std::string large = files_.make(8193), empty = files_.make(0);
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
