#include "ops/record_steps.h"

namespace quillet {

void prepare_read(uint8_t *read_buffer, uint8_t **record_buffer, int32_t *access_length)
{
    *record_buffer = read_buffer;
    *access_length = kAccessLength;
}

}  // namespace quillet
