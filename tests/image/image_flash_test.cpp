// The image flash against the container interface: checks, retries, and
// the clean-up after every failure.
#include <unistd.h>

#include "support/temp_files.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using Calls = std::vector<std::string>;

class ImageFlash : public ToolTest {
protected:
    std::string image_of(size_t size) { return files_.make(patterned(size, 7)); }
    RunResult flash(const std::string &image) { return run({"quillet", "-c", "MB", "-i", image}); }
    TempFiles files_;
};

TEST_F(ImageFlash, WritesTheWholeImageAndReportsCompletion)
{
    const std::string image = image_of(8192);
    const RunResult r = flash(image);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\nFinished writing the file at MB\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(fake().calls,
              (Calls{"capi_get_inventory(MB,6)", "fru_get_node(MB)", "capi_fruid_open_container(MB)",
                     "capi_fruid_write_container(7,0,8192)", "capi_fruid_close_container(7)",
                     "fru_close_node()", "capi_free_inventory(1)"}));
    ASSERT_EQ(fake().image_written.size(), 8192u);
    EXPECT_EQ(fake().image_written[3], 'A' + 21);
}

TEST_F(ImageFlash, NodeLookupIsRetriedUpToFourTimes)
{
    fake().fail("fru_get_node", {5, 5, 5, 0});
    EXPECT_EQ(flash(image_of(10)).status, 0);
    EXPECT_EQ(fake().count("fru_get_node"), 4u);

    fake::reset();
    fake().fail("fru_get_node", {5, 5, 5, 5});
    const RunResult r = flash(image_of(10));
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "Unable to obtain handle to node in libfru.\n");
    EXPECT_EQ(fake().count("capi_fruid_open_container"), 0u);
    EXPECT_EQ(fake().count("fru_close_node"), 0u);
    EXPECT_EQ(fake().inventories_freed, 1);
}

TEST_F(ImageFlash, FailedWriteStillClosesTheContainer)
{
    fake().fail("capi_fruid_write_container", {66});
    const RunResult r = flash(image_of(100));
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Fails to update the fru MB [66]\n");
    EXPECT_EQ(fake().count("capi_fruid_close_container"), 1u);
    EXPECT_EQ(fake().count("fru_close_node"), 1u);
    EXPECT_EQ(fake().inventories_freed, 1);
}

TEST_F(ImageFlash, FailedCloseNamesTheImagePath)
{
    fake().fail("capi_fruid_close_container", {66});
    const std::string image = image_of(100);
    const RunResult r = flash(image);
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "Fails to close the container " + image + "\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(ImageFlash, FailedOpenCleansUp)
{
    fake().fail("capi_fruid_open_container", {62});
    const RunResult r = flash(image_of(100));
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "Fails to open the fru MB [62] to update\n");
    EXPECT_EQ(fake().count("capi_fruid_write_container"), 0u);
    EXPECT_EQ(fake().count("fru_close_node"), 1u);
    EXPECT_EQ(fake().inventories_freed, 1);
}

TEST_F(ImageFlash, RefusalsBeforeAnyContainerCall)
{
    const std::string large = image_of(8193);
    const std::string empty = image_of(0);
    const struct {
        std::string image;
        std::string err;
        size_t calls;  // inventory lookup and free, when made
    } rows[] = {
        {"/nonexistent/image", "Image file /nonexistent/image doesn't exist\n", 0},
        {large, "Container " + large + " size should be less than 8k\n", 2},
        {empty, "Container " + empty + " has no information to update\n", 2},
        {"/", "Unable to read the whole file\n", 2},
    };
    for (const auto &row : rows) {
        fake::reset();
        const RunResult r = flash(row.image);
        EXPECT_EQ(r.status, 255) << row.image;
        EXPECT_EQ(r.err, row.err) << row.image;
        EXPECT_EQ(fake().calls.size(), row.calls) << ::testing::PrintToString(fake().calls);
    }
}

TEST_F(ImageFlash, UnknownContainerEndsBeforeTheImageIsOpened)
{
    fake().fail("capi_get_inventory", {62});
    const RunResult r = flash(image_of(10));
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "Given frupath MB doesn't exist in the system\n");
    EXPECT_EQ(fake().inventories_freed, 1);
    fake::reset();
    fake().fail("capi_get_inventory", {62});
    fake().inventory_allocated = false;
    flash(image_of(10));
    EXPECT_EQ(fake().inventories_freed, 0);
}

}  // namespace
}  // namespace quillet_test
