// The mode-specific steps of the record flow: what happens between class
// resolution and the single access call.
#ifndef QUILLET_OPS_RECORD_STEPS_H
#define QUILLET_OPS_RECORD_STEPS_H

#include <cstdint>

#include "platform/fru_access.h"

namespace quillet {

inline constexpr int32_t kAccessLength = 2048;

struct UpdateRequest {
    fru_nodehdl_t node;
    const char *class_name;   // as handed on by class resolution
    uint8_t *record_buffer;   // may be null
    int32_t pre_read_length;
    char *element_pairs;      // the -o text, or null without -o
    bool elements_given;      // -o was on the command line
    const char *program_name;
};

// Read: the access call reads into the flow's own buffer.
void prepare_read(uint8_t *read_buffer, uint8_t **record_buffer, int32_t *access_length);

// Update: carry the newest status over, read the stored record back, copy the
// -t text and parse the elements. 0 lets the flow go on to the write; any
// other status has already been reported and every resource released.
int32_t prepare_update(const UpdateRequest &request);

// Parts of the update preparation, exposed for their own tests.
void carry_over_status(fru_nodehdl_t node, const char *class_name);
void copy_description_text(const char *text);

}  // namespace quillet

#endif
