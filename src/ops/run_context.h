// What one run knows and holds. The option scan fills the settings; the flows
// note what they acquire in `held`, and the dispatch frame gives it all back
// through finish_run once the flow has returned its status.
#ifndef QUILLET_OPS_RUN_CONTEXT_H
#define QUILLET_OPS_RUN_CONTEXT_H

#include <cstdint>

#include "platform/container_interface.h"
#include "platform/fru_access.h"

namespace quillet {

struct HeldResources {
    bool node_open = false;
    fru_nodehdl_t node = 0;
    int image_fd = -1;
    capi_inventory_t *inventory = nullptr;
    int32_t inventory_count = 0;
    // Every flow that reached the library owes it one fru_close_data_source.
    bool source_owed = false;
    // A failing status is reported with the library's text before the close.
    bool report_failure = false;
    // The scan looks at the statuses of its closing calls, and a failing
    // close becomes the run's status.
    bool closes_checked = false;
};

struct RunContext {
    // Settings; every text points into the argument vector.
    const char *nac_name = nullptr;
    const char *description_text = nullptr;
    const char *image_path = nullptr;
    int force_flag = 0;

    HeldResources held;
    // A flow that wants the usage shown asks for it here; the front end
    // prints it.
    bool usage_wanted = false;
};

// Records the node a flow obtained.
inline void hold_node(RunContext &run, fru_nodehdl_t node)
{
    run.held.node = node;
    run.held.node_open = true;
}

// Gets the run's container node and holds it; on failure says so on
// stderr and returns the platform's status.
[[nodiscard]] int32_t get_held_node(RunContext &run, fru_nodehdl_t *node);

// The node is given back at once (the IPMI identity read closes it before
// it reads); the rest waits for finish_run.
void close_node_now(RunContext &run);

// The data source is closed at once, and closed again by finish_run: a
// refused element file closes it before the update step's own cleanup.
void close_source_now();

// Gives back everything the run holds, in one order for every flow: node,
// image file, inventory, record buffer set, the failure report, data source.
// Returns the run's status, which only a checked close can change.
[[nodiscard]] int32_t finish_run(RunContext &run, int32_t status);

}  // namespace quillet

#endif
