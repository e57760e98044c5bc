#include "ops/record_steps.h"

namespace quillet {

namespace {

const char *const kIpmiIdentityAreas[] = {"Board_Info_Area_S", "Chassis_Info_Area_S",
                                          "Product_Info_Area_S"};

}  // namespace

void prepare_read(uint8_t *read_buffer, uint8_t **record_buffer, int32_t *access_length)
{
    *record_buffer = read_buffer;
    *access_length = kAccessLength;
}

int32_t read_ipmi_identity(RunContext &run)
{
    close_node_now(run);
    uint8_t buffer[kAccessLength];
    int32_t status = FRU_STATUS_ABSENT;
    for (const char *area : kIpmiIdentityAreas) {
        int32_t length = sizeof buffer;
        status = libfru_access_data(run.nac_name, buffer, &length, FRU_OP_READ, area);
        if (status != FRU_STATUS_ABSENT)
            break;
    }
    run.held.report_failure = true;
    return status;
}

}  // namespace quillet
