// The mode-specific steps of the record flow: what happens between class
// resolution and the single access call. Each returns its status and leaves
// every release to the run's frame (ops/run_context.h).
#ifndef QUILLET_OPS_RECORD_STEPS_H
#define QUILLET_OPS_RECORD_STEPS_H

#include <cstdint>

#include "ops/run_context.h"

namespace quillet {

inline constexpr int32_t kAccessLength = 2048;

struct UpdateRequest {
    const char *class_name;   // as handed on by class resolution
    uint8_t *record_buffer;   // may be null
    int32_t pre_read_length;
    char *element_pairs;      // the -o text, or null without -o
    bool elements_given;      // -o was on the command line
};

// Read: the access call reads into the flow's own buffer.
void prepare_read(uint8_t *read_buffer, uint8_t **record_buffer, int32_t *access_length);

// IDENTITY on an IPMI container: the first information area present, read
// after the node is given back.
[[nodiscard]] int32_t read_ipmi_identity(RunContext &run);

// Update: carry the newest status over, read the stored record back, copy the
// -t text and parse the elements. 0 lets the flow go on to the write; any
// other status has already been reported.
[[nodiscard]] int32_t prepare_update(RunContext &run, const UpdateRequest &request);

// Chains a new status event on from the newest stored one.
void carry_over_status(fru_nodehdl_t node, const char *class_name);

}  // namespace quillet

#endif
