#include "cli/record_flow.h"

#include <cstdio>
#include <cstring>

#include "ops/record_steps.h"
#include "platform/fru_access.h"
#include "records/buffer_set.h"
#include "records/catalogue.h"
#include "records/status.h"

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

int32_t run_record_flow(RunContext &run, const RecordFlowRequest &request)
{
    run.held.source_owed = true;
    fru_nodehdl_t node = 0;
    int32_t status = get_held_node(run, &node);
    if (status != 0)
        return status;

    int32_t container_type = static_cast<int32_t>(ContainerType::ZanAlt);
    if (fru_get_cont_type(node, &container_type) != 0) {
        std::fprintf(stderr, "\n Could not determine container type: %d\n",
                     static_cast<int>(container_type));
        return kStatusNoContainerType;
    }
    if (container_type == static_cast<int32_t>(ContainerType::ZanAlt))
        container_type = static_cast<int32_t>(ContainerType::Zan);

    char resolved_name[kResolvedNameSize];
    std::memset(resolved_name, 0, sizeof resolved_name);
    const ResolveRequest resolve = {request.class_name, container_type, mode_of(request), node};
    const ClassResolution resolution = resolve_record_class(resolve, resolved_name);
    switch (resolution.outcome) {
    case Resolution::IpmiIdentityRead:
        return read_ipmi_identity(run);
    case Resolution::NotSupported:
    case Resolution::IdentityUpdateRefused:
        return kStatusNotSupported;
    case Resolution::Resolved:
        break;
    }

    uint8_t *record_buffer = resolution.buffer;
    if (request.update_requested) {
        const UpdateRequest update = {resolution.class_name, record_buffer,
                                      resolution.pre_read_length, request.element_pairs,
                                      request.elements_given};
        status = prepare_update(run, update);
        if (status != 0)
            return status;
    }

    uint8_t read_buffer[kAccessLength];
    int32_t access_length = kAccessLength;
    if (request.operation == FRU_OP_READ)
        prepare_read(read_buffer, &record_buffer, &access_length);

    const char *record_name = resolved_name[0] != '\0' ? resolved_name : resolution.class_name;
    access_length = kAccessLength;
    run.held.report_failure = true;
    return libfru_access_data(run.nac_name, record_buffer, &access_length, request.operation,
                              record_name);
}

}  // namespace quillet
