#ifndef QUILLET_CLI_RECORD_FLOW_H
#define QUILLET_CLI_RECORD_FLOW_H

#include <cstdint>

#include "ops/run_context.h"

namespace quillet {

struct RecordFlowRequest {
    const char *class_name;
    int32_t operation;        // FRU_OP_READ, FRU_OP_UPDATE or FRU_OP_DELETE
    bool update_requested;
    char *element_pairs;      // the shared suboption text
    bool elements_given;
};

// Reads, updates or deletes one record of the container named by -c. What
// it acquires is noted in the run and given back by the caller.
[[nodiscard]] int32_t run_record_flow(RunContext &run, const RecordFlowRequest &request);

}  // namespace quillet

#endif
