#include <cstdio>

#include "cli/settings.h"
#include "cli/usage.h"
#include "ops/record_steps.h"
#include "records/buffer_set.h"
#include "records/element_parser.h"

namespace quillet {

namespace {

int32_t end_update(fru_nodehdl_t node, int32_t status)
{
    release_record_buffer_set();
    fru_close_node(node);
    fru_close_data_source();
    return status;
}

}  // namespace

int32_t prepare_update(const UpdateRequest &request)
{
    carry_over_status(request.node, request.class_name);

    if (request.pre_read_length != 0) {
        int32_t length = request.pre_read_length;
        const int32_t status =
            fru_read_record(request.node, request.record_buffer, &length, request.class_name);
        if (status != 0 && status != FRU_STATUS_ABSENT) {
            std::fprintf(stderr, "\n  Unable to read %s record %d\n", request.class_name,
                         static_cast<int>(status));
            return end_update(request.node, status);
        }
    }

    if (g_settings.description_text != nullptr)
        copy_description_text(g_settings.description_text);

    if (request.elements_given) {
        const int32_t status = parse_element_options(request.element_pairs);
        if (status != 0) {
            std::fputs("\nError: Please provide string of name value pairs separated by commas.\n",
                       stderr);
            print_usage(request.program_name);
            return end_update(request.node, status);
        }
    }
    return 0;
}

}  // namespace quillet
