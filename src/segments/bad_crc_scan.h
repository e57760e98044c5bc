#ifndef QUILLET_SEGMENTS_BAD_CRC_SCAN_H
#define QUILLET_SEGMENTS_BAD_CRC_SCAN_H

#include <cstdint>
#include <cstdio>

#include "ops/run_context.h"

namespace quillet {

// Lists the container's segments whose CRC is bad, asks about each (unless
// the force flag is set), removes the chosen ones and writes the container
// back.
[[nodiscard]] int32_t run_bad_crc_scan(RunContext &run);

// Where the y/n answers come from; standard input unless a test says else.
void set_answer_stream(FILE *stream);

}  // namespace quillet

#endif
