#include <cstdio>

#include "ops/record_steps.h"
#include "records/element_parser.h"

namespace quillet {

int32_t prepare_update(RunContext &run, const UpdateRequest &request)
{
    const fru_nodehdl_t node = run.held.node;
    carry_over_status(node, request.class_name);

    if (request.pre_read_length != 0) {
        int32_t length = request.pre_read_length;
        const int32_t status =
            fru_read_record(node, request.record_buffer, &length, request.class_name);
        if (status != 0 && status != FRU_STATUS_ABSENT) {
            std::fprintf(stderr, "\n  Unable to read %s record %d\n", request.class_name,
                         static_cast<int>(status));
            return status;
        }
    }

    if (run.description_text != nullptr)
        copy_description_text(run.description_text);

    if (request.elements_given) {
        bool file_refused = false;
        const int32_t status =
            parse_element_options({request.element_pairs, run.description_text}, &file_refused);
        if (file_refused)
            close_source_now();
        if (status != 0) {
            std::fputs("\nError: Please provide string of name value pairs separated by commas.\n",
                       stderr);
            run.usage_wanted = true;
            return status;
        }
    }
    return 0;
}

}  // namespace quillet
