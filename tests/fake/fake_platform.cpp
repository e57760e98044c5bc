#include "fake_platform.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/container_interface.h"

namespace fake {

namespace {

std::unique_ptr<Platform> g_platform = std::make_unique<Platform>();

// Records "call(arg,arg...)" and answers the call's next scripted status.
template <typename... Args>
int32_t record(const char *call, const Args &...args)
{
    std::ostringstream out;
    [[maybe_unused]] int n = 0;
    ((out << (n++ == 0 ? "" : ",") << args), ...);
    platform().calls.push_back(std::string(call) + "(" + out.str() + ")");
    std::deque<int32_t> &left = platform().script[call];
    const int32_t status = left.empty() ? 0 : left.front();
    if (!left.empty())
        left.pop_front();
    return status;
}

const char *text(const char *s) { return s != nullptr ? s : "(null)"; }

// Copies an answer, as much as fits.
template <typename Length>
int32_t answer(const Bytes &data, void *out, Length *length)
{
    *length = static_cast<Length>(std::min<size_t>(data.size(), static_cast<size_t>(*length)));
    std::copy_n(data.begin(), *length, static_cast<uint8_t *>(out));
    return 0;
}

// A stored answer by name; absent when there is none.
template <typename Length>
int32_t answer(const std::map<std::string, Bytes> &stored, const char *name, void *out, Length *length)
{
    auto it = stored.find(name);
    return it == stored.end() ? FRU_STATUS_ABSENT : answer(it->second, out, length);
}

}  // namespace

Platform &platform() { return *g_platform; }
void reset() { g_platform = std::make_unique<Platform>(); }

void Platform::add_enum(const std::string &name,
                        const std::vector<std::pair<std::string, uint32_t>> &entries)
{
    auto e = std::make_unique<Enumeration>();
    e->names.reserve(entries.size());  // the entries point into it
    for (size_t i = 0; i < entries.size(); ++i) {
        e->names.push_back(entries[i].first);
        fru_enum_entry_t entry{};
        for (int b = 0; b < 4; ++b)
            entry.value[7 - b] = static_cast<uint8_t>(entries[i].second >> (8 * b));
        entry.text = e->names[i].c_str();
        e->entries.push_back(entry);
    }
    std::strncpy(e->definition.name, name.c_str(), sizeof e->definition.name - 1);
    e->definition.enum_count = static_cast<int32_t>(e->entries.size());
    e->definition.enum_table = e->entries.data();
    registry[name] = std::move(e);
}

}  // namespace fake

using fake::platform;
using fake::record;

extern "C" {

int bad_seg = 0;

int32_t fru_get_node(const char *nac_name, fru_nodehdl_t *node)
{
    *node = 0x1122334455667788ULL;
    return record("fru_get_node", fake::text(nac_name));
}

int32_t fru_get_cont_type(fru_nodehdl_t, int32_t *cont_type)
{
    if (platform().container_type_written)
        *cont_type = platform().container_type;
    return record("fru_get_cont_type");
}

int32_t fru_read_record(fru_nodehdl_t, void *buffer, int32_t *length, const char *name)
{
    const int32_t status = record("fru_read_record", name, *length);
    return status != 0 ? status : fake::answer(platform().records, name, buffer, length);
}

int32_t fru_read_iter_control_bytes(fru_nodehdl_t, void *control, int32_t *length, const char *name)
{
    const int32_t status = record("fru_read_iter_control_bytes", name, *length);
    int32_t four = 4;
    return status != 0 ? status : fake::answer(platform().control, name, control, &four);
}

int32_t libfru_access_data(const char *nac_name, void *buffer, int32_t *length, int32_t operation,
                           const char *name)
{
    if (buffer != nullptr && platform().capture_size > 0) {
        const auto *bytes = static_cast<const uint8_t *>(buffer);
        platform().written.assign(bytes, bytes + platform().capture_size);
    }
    return record("libfru_access_data", fake::text(nac_name), buffer == nullptr ? "null" : "buffer",
                  *length, operation, fake::text(name));
}

int32_t fru_for_each_segment(fru_nodehdl_t, fru_segment_callback_t callback, void *arg)
{
    const int32_t status = record("fru_for_each_segment", arg == nullptr ? "null" : "arg");
    for (size_t i = 0; status == 0 && i < platform().segments.size(); ++i)
        if (const int32_t result = callback(static_cast<fru_seghdl_t>(i), arg); result != 0)
            return result;
    return status;
}

int32_t fru_get_segment_name(fru_seghdl_t segment, char **name)
{
    const int32_t status = record("fru_get_segment_name", segment);
    if (status == 0) {
        *name = strdup(platform().segments.at(segment).name.c_str());
        platform().names_given.push_back(*name);
    }
    return status;
}

int32_t fru_get_num_packets(fru_seghdl_t segment)
{
    const fake::Segment &s = platform().segments.at(segment);
    record("fru_get_num_packets", s.name);
    bad_seg = s.bad ? 1 : 0;
    return s.packets;
}

int32_t fru_remove_segment(fru_nodehdl_t, const char *segment_name)
{
    const auto &given = platform().names_given;
    int which = -1;
    for (size_t i = 0; i < given.size(); ++i)
        if (given[i] == segment_name)
            which = static_cast<int>(i);
    platform().removed_given.push_back(which);
    return record("fru_remove_segment", segment_name);
}

int32_t fru_flash_file(const char *nac_name, fru_nodehdl_t) { return record("fru_flash_file", nac_name); }

int32_t fru_read_op_segment(fru_nodehdl_t, const char *segment_name, uint8_t *, int32_t section,
                            uint8_t *buffer, uint32_t *length)
{
    const int32_t status = record("fru_read_op_segment", segment_name, section, *length);
    return status != 0 ? status : fake::answer(platform().opaque_data, buffer, length);
}

int32_t fru_update_op_segment(fru_nodehdl_t, const char *segment_name, uint8_t *descriptor,
                              int32_t section, uint8_t *buffer, uint32_t *length)
{
    platform().opaque_written.assign(buffer, buffer + *length);
    platform().descriptor.assign(descriptor, descriptor + FRU_SEGMENT_DESCRIPTOR_SIZE);
    return record("fru_update_op_segment", segment_name, section, *length);
}

int32_t fru_delete_op_segment(fru_nodehdl_t, const char *name, int32_t section)
{
    return record("fru_delete_op_segment", name, section);
}

const fru_regdef_t *fru_reg_lookup_def_by_name(const char *definition_name)
{
    record("fru_reg_lookup_def_by_name", definition_name);
    auto it = platform().registry.find(definition_name);
    return it == platform().registry.end() ? nullptr : &it->second->definition;
}

int32_t fru_close_node(fru_nodehdl_t) { return record("fru_close_node"); }
int32_t fru_close_data_source(void) { return record("fru_close_data_source"); }

const char *fru_strerror(int32_t status)
{
    static std::string text;
    return (text = "fake error " + std::to_string(status)).c_str();
}

struct capi_inventory {
    int unused;
};

int32_t capi_get_inventory(const char *nac_name, int32_t kind, int32_t *count,
                           capi_inventory_t **inventory)
{
    const int32_t status = record("capi_get_inventory", nac_name, kind);
    if (platform().inventory_allocated) {
        *inventory = new capi_inventory{0};
        *count = 1;
    }
    return status;
}

void capi_free_inventory(capi_inventory_t *inventory, int32_t count)
{
    delete inventory;
    record("capi_free_inventory", count);
}

int32_t capi_fruid_open_container(const char *nac_name, capi_container_t *container)
{
    container->handle = 7;
    return record("capi_fruid_open_container", nac_name);
}

int32_t capi_fruid_write_container(capi_container_t *container, const void *buffer, uint32_t offset,
                                   uint32_t size, uint32_t *written)
{
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    platform().image_written.assign(bytes, bytes + size);
    const int32_t status = record("capi_fruid_write_container", container->handle, offset, size);
    *written = status == 0 ? size : 0;
    return status;
}

int32_t capi_fruid_close_container(capi_container_t *c) { return record("capi_fruid_close_container", c->handle); }

}  // extern "C"
