#include "cli/record_flow.h"

#include <cstdio>
#include <cstring>

#include "cli/settings.h"
#include "ops/record_steps.h"
#include "platform/fru_access.h"
#include "records/buffer_set.h"
#include "records/catalogue.h"

namespace quillet {

namespace {

Mode mode_of(const RecordFlowRequest &request)
{
    if (request.update_requested)
        return Mode::Update;
    if (request.operation == FRU_OP_DELETE)
        return Mode::Delete;
    return Mode::Read;
}

}  // namespace

int32_t run_record_flow(const RecordFlowRequest &request)
{
    const char *nac_name = g_settings.nac_name;
    fru_nodehdl_t node = 0;
    int32_t status = fru_get_node(nac_name, &node);
    if (status != 0) {
        std::fprintf(stderr, "\n Could not get node handle: %s\n", nac_name);
        release_record_buffer_set();
        fru_close_data_source();
        return status;
    }

    int32_t container_type = static_cast<int32_t>(ContainerType::ZanAlt);
    if (fru_get_cont_type(node, &container_type) != 0) {
        std::fprintf(stderr, "\n Could not determine container type: %d\n",
                     static_cast<int>(container_type));
        release_record_buffer_set();
        fru_close_node(node);
        fru_close_data_source();
        return 1;
    }
    if (container_type == static_cast<int32_t>(ContainerType::ZanAlt))
        container_type = static_cast<int32_t>(ContainerType::Zan);

    char resolved_name[kResolvedNameSize];
    std::memset(resolved_name, 0, sizeof resolved_name);
    const ResolveRequest resolve = {request.class_name, container_type, mode_of(request), node,
                                    nac_name};
    const ClassResolution resolution = resolve_record_class(resolve, resolved_name);
    switch (resolution.outcome) {
    case Resolution::IpmiIdentityReadDone:
        return resolution.status;
    case Resolution::NotSupported:
    case Resolution::IdentityUpdateRefused:
        release_record_buffer_set();
        fru_close_node(node);
        fru_close_data_source();
        return kStatusNotSupported;
    case Resolution::Resolved:
        break;
    }

    uint8_t *record_buffer = resolution.buffer;
    if (request.update_requested) {
        const UpdateRequest update = {node,
                                      resolution.class_name,
                                      record_buffer,
                                      resolution.pre_read_length,
                                      request.element_pairs,
                                      request.elements_given,
                                      request.program_name};
        status = prepare_update(update);
        if (status != 0)
            return status;
    }

    uint8_t read_buffer[kAccessLength];
    int32_t access_length = kAccessLength;
    if (request.operation == FRU_OP_READ)
        prepare_read(read_buffer, &record_buffer, &access_length);

    const char *record_name = resolved_name[0] != '\0' ? resolved_name : resolution.class_name;
    access_length = kAccessLength;
    status = libfru_access_data(nac_name, record_buffer, &access_length, request.operation,
                                record_name);

    fru_close_node(node);
    release_record_buffer_set();
    if (status != 0)
        std::fprintf(stderr, "\n Error: %s\n", fru_strerror(status));
    fru_close_data_source();
    return status;
}

}  // namespace quillet
