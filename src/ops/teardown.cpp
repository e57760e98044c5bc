#include <cstdio>
#include <unistd.h>

#include "ops/run_context.h"
#include "records/buffer_set.h"

namespace quillet {

namespace {

int32_t report(int32_t status)
{
    std::fprintf(stderr, "\n Error: %s\n", fru_strerror(status));
    return status;
}

}  // namespace

void close_node_now(RunContext &run)
{
    if (!run.held.node_open)
        return;
    // The run's own status is what the user acts on; a close that fails
    // after it changes nothing they could do.
    (void)fru_close_node(run.held.node);
    run.held.node_open = false;
}

void close_source_now()
{
    (void)fru_close_data_source();
}

int32_t finish_run(RunContext &run, int32_t status)
{
    HeldResources &held = run.held;
    if (held.node_open) {
        held.node_open = false;
        const int32_t closed = fru_close_node(held.node);
        if (held.closes_checked && status == 0 && closed != 0) {
            status = report(closed);
            held.closes_checked = false;
        }
    }
    if (held.image_fd >= 0) {
        close(held.image_fd);
        held.image_fd = -1;
    }
    if (held.inventory != nullptr) {
        capi_free_inventory(held.inventory, held.inventory_count);
        held.inventory = nullptr;
    }
    release_record_buffer_set();
    if (held.report_failure && status != 0)
        report(status);
    if (held.source_owed) {
        held.source_owed = false;
        const int32_t closed = fru_close_data_source();
        if (held.closes_checked && status == 0 && closed != 0)
            status = report(closed);
    }
    return status;
}

}  // namespace quillet
