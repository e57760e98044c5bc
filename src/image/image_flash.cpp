#include "image/image_flash.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/container_interface.h"
#include "platform/fru_access.h"

namespace quillet {

namespace {

constexpr int32_t kFlashFailed = -1;

bool obtain_node(RunContext &run)
{
    for (int attempt = 0; attempt < kNodeLookupAttempts; ++attempt) {
        fru_nodehdl_t node = 0;
        if (fru_get_node(run.nac_name, &node) == 0) {
            hold_node(run, node);
            return true;
        }
    }
    return false;
}

// Reads the image into `image`; its size, or 0 after a reported failure.
uint32_t read_image(RunContext &run, uint8_t *image)
{
    const char *path = run.image_path;
    HeldResources &held = run.held;
    // Without blocking, so that a FIFO cannot hang the run. A FIFO or a
    // device has a size of 0, which refuses it below before anything is read.
    held.image_fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (held.image_fd < 0) {
        std::fprintf(stderr, "Failed to open image file %s\n", path);
        return 0;
    }
    std::memset(image, 0, kImageBufferSize);
    struct stat info;
    if (fstat(held.image_fd, &info) != 0) {
        std::fputs("stat failed\n", stderr);
        return 0;
    }
    if (info.st_size > static_cast<off_t>(kImageBufferSize)) {
        std::fprintf(stderr, "Container %s size should be less than 8k\n", path);
        return 0;
    }
    if (info.st_size == 0) {
        std::fprintf(stderr, "Container %s has no information to update\n", path);
        return 0;
    }
    const size_t size = static_cast<size_t>(info.st_size);
    if (read(held.image_fd, image, size) != static_cast<ssize_t>(size)) {
        std::fputs("Unable to read the whole file\n", stderr);
        return 0;
    }
    return static_cast<uint32_t>(size);
}

}  // namespace

int32_t run_image_flash(RunContext &run)
{
    const char *path = run.image_path;
    const char *nac_name = run.nac_name;
    HeldResources &held = run.held;

    if (path == nullptr) {
        std::fputs("Please give image file name as an argument in the command line\n", stderr);
        return kFlashFailed;
    }
    if (access(path, F_OK) != 0) {
        std::fprintf(stderr, "Image file %s doesn't exist\n", path);
        return kFlashFailed;
    }
    if (access(path, R_OK) != 0) {
        std::fprintf(stderr, "Image file %s doesn't have the read permission\n", path);
        return kFlashFailed;
    }
    if (nac_name == nullptr) {
        std::fputs("Please give frupath as an argument in the command line\n", stderr);
        return kFlashFailed;
    }
    if (capi_get_inventory(nac_name, CAPI_INVENTORY_FRU, &held.inventory_count, &held.inventory) !=
        0) {
        std::fprintf(stderr, "Given frupath %s doesn't exist in the system\n", nac_name);
        return kFlashFailed;
    }

    uint8_t image[kImageBufferSize];
    const uint32_t size = read_image(run, image);
    if (size == 0)
        return kFlashFailed;

    if (!obtain_node(run)) {
        std::fputs("Unable to obtain handle to node in libfru.\n", stderr);
        return kFlashFailed;
    }

    capi_container_t container;
    std::memset(&container, 0, sizeof container);
    int32_t status = capi_fruid_open_container(nac_name, &container);
    if (status != 0) {
        std::fprintf(stderr, "Fails to open the fru %s [%d] to update\n", nac_name,
                     static_cast<int>(status));
        return kFlashFailed;
    }
    bool failed = false;
    uint32_t written = 0;
    status = capi_fruid_write_container(&container, image, 0, size, &written);
    if (status != 0) {
        std::fprintf(stderr, "Fails to update the fru %s [%d]\n", nac_name,
                     static_cast<int>(status));
        failed = true;
    }
    if (capi_fruid_close_container(&container) != 0) {
        std::fprintf(stderr, "Fails to close the container %s\n", path);
        failed = true;
    }
    if (failed)
        return kFlashFailed;
    std::fprintf(stdout, "\nFinished writing the file at %s\n", nac_name);
    return 0;
}

}  // namespace quillet
