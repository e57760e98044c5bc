#ifndef QUILLET_CLI_RECORD_FLOW_H
#define QUILLET_CLI_RECORD_FLOW_H

#include <cstdint>

namespace quillet {

struct RecordFlowRequest {
    const char *class_name;
    int32_t operation;        // 1 read, 2 update, 3 delete
    bool update_requested;
    bool delete_requested;
    char *element_pairs;      // the shared suboption text
    bool elements_given;
    const char *program_name;
};

// Reads, updates or deletes one record of the container named by -c.
int32_t run_record_flow(const RecordFlowRequest &request);

}  // namespace quillet

#endif
