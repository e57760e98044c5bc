#include <cstdio>

#include "ops/run_context.h"

namespace quillet {

int32_t get_held_node(RunContext &run, fru_nodehdl_t *node)
{
    const int32_t status = fru_get_node(run.nac_name, node);
    if (status != 0) {
        std::fprintf(stderr, "\n Could not get node handle: %s\n", run.nac_name);
        return status;
    }
    hold_node(run, *node);
    return 0;
}

}  // namespace quillet
