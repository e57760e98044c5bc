#include "fake_platform.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/container_interface.h"

namespace fake {

namespace {

std::unique_ptr<Platform> g_platform = std::make_unique<Platform>();

template <typename... Args>
std::string line(const char *call, const Args &...args)
{
    std::ostringstream out;
    out << call << '(';
    const char *separator = "";
    ((out << separator << args, separator = ","), ...);
    out << ')';
    return out.str();
}

const char *text(const char *s)
{
    return s != nullptr ? s : "(null)";
}

int32_t record(const std::string &call_line, const std::string &call)
{
    Platform &p = platform();
    p.calls.push_back(call_line);
    return p.status_of(call);
}

}  // namespace

Platform &platform()
{
    return *g_platform;
}

void reset()
{
    g_platform = std::make_unique<Platform>();
}

void Platform::fail(const std::string &call, std::vector<int32_t> statuses)
{
    script[call] = std::deque<int32_t>(statuses.begin(), statuses.end());
}

int32_t Platform::status_of(const std::string &call)
{
    auto it = script.find(call);
    if (it == script.end() || it->second.empty())
        return 0;
    const int32_t status = it->second.front();
    it->second.pop_front();
    return status;
}

void Platform::add_enum(const std::string &name,
                        const std::vector<std::pair<std::string, uint32_t>> &entries)
{
    auto e = std::make_unique<Enumeration>();
    for (const auto &[entry_name, value] : entries)
        e->names.push_back(entry_name);
    for (size_t i = 0; i < entries.size(); ++i) {
        fru_enum_entry_t entry{};
        const uint64_t value = entries[i].second;
        for (int b = 0; b < 8; ++b)
            entry.value[7 - b] = static_cast<uint8_t>(value >> (8 * b));
        entry.text = e->names[i].c_str();
        e->entries.push_back(entry);
    }
    std::strncpy(e->definition.name, name.c_str(), sizeof e->definition.name - 1);
    e->definition.enum_count = static_cast<int32_t>(e->entries.size());
    e->definition.enum_table = e->entries.data();
    registry[name] = std::move(e);
}

size_t Platform::count(const std::string &prefix) const
{
    size_t n = 0;
    for (const std::string &c : calls)
        n += c.rfind(prefix, 0) == 0;
    return n;
}

}  // namespace fake

using fake::platform;
using fake::Platform;

extern "C" {

int bad_seg = 0;

int32_t fru_get_node(const char *nac_name, fru_nodehdl_t *node)
{
    const int32_t status = fake::record(fake::line("fru_get_node", fake::text(nac_name)), "fru_get_node");
    if (status == 0)
        *node = 0x1122334455667788ULL;
    return status;
}

int32_t fru_get_cont_type(fru_nodehdl_t, int32_t *cont_type)
{
    const int32_t status = fake::record("fru_get_cont_type()", "fru_get_cont_type");
    if (platform().container_type_written)
        *cont_type = platform().container_type;
    return status;
}

int32_t fru_read_record(fru_nodehdl_t, void *buffer, int32_t *length, const char *name)
{
    const int32_t status = fake::record(fake::line("fru_read_record", name, *length), "fru_read_record");
    if (status != 0)
        return status;
    auto it = platform().records.find(name);
    if (it == platform().records.end())
        return FRU_STATUS_ABSENT;
    const size_t n = std::min<size_t>(it->second.size(), static_cast<size_t>(*length));
    std::memcpy(buffer, it->second.data(), n);
    *length = static_cast<int32_t>(n);
    return 0;
}

int32_t fru_read_iter_control_bytes(fru_nodehdl_t, void *control, int32_t *length, const char *name)
{
    const int32_t status = fake::record(fake::line("fru_read_iter_control_bytes", name, *length),
                                        "fru_read_iter_control_bytes");
    if (status != 0)
        return status;
    auto it = platform().control.find(name);
    if (it == platform().control.end())
        return FRU_STATUS_ABSENT;
    std::memcpy(control, it->second.data(), std::min<size_t>(4, it->second.size()));
    return 0;
}

int32_t libfru_access_data(const char *nac_name, void *buffer, int32_t *length, int32_t operation,
                           const char *name)
{
    Platform &p = platform();
    if (buffer != nullptr && p.capture_size > 0) {
        const auto *bytes = static_cast<const uint8_t *>(buffer);
        p.written.assign(bytes, bytes + p.capture_size);
    }
    return fake::record(fake::line("libfru_access_data", fake::text(nac_name),
                                   buffer == nullptr ? "null" : "buffer", *length, operation,
                                   fake::text(name)),
                        "libfru_access_data");
}

int32_t fru_for_each_segment(fru_nodehdl_t, fru_segment_callback_t callback, void *arg)
{
    const int32_t status = fake::record(
        fake::line("fru_for_each_segment", arg == nullptr ? "null" : "arg"), "fru_for_each_segment");
    if (status != 0)
        return status;
    for (size_t i = 0; i < platform().segments.size(); ++i) {
        const int32_t result = callback(static_cast<fru_seghdl_t>(i), arg);
        if (result != 0)
            return result;
    }
    return 0;
}

int32_t fru_get_segment_name(fru_seghdl_t segment, char **name)
{
    const int32_t status =
        fake::record(fake::line("fru_get_segment_name", segment), "fru_get_segment_name");
    if (status == 0) {
        *name = strdup(platform().segments.at(segment).name.c_str());
        platform().names_given.push_back(*name);
    }
    return status;
}

int32_t fru_get_num_packets(fru_seghdl_t segment)
{
    const fake::Segment &s = platform().segments.at(segment);
    platform().calls.push_back(fake::line("fru_get_num_packets", s.name));
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
    return fake::record(fake::line("fru_remove_segment", segment_name), "fru_remove_segment");
}

int32_t fru_flash_file(const char *nac_name, fru_nodehdl_t)
{
    return fake::record(fake::line("fru_flash_file", nac_name), "fru_flash_file");
}

int32_t fru_read_op_segment(fru_nodehdl_t, const char *segment_name, uint8_t *, int32_t section,
                            uint8_t *buffer, uint32_t *length)
{
    const int32_t status = fake::record(
        fake::line("fru_read_op_segment", segment_name, section, *length), "fru_read_op_segment");
    if (status != 0)
        return status;
    const auto &data = platform().opaque_data;
    if (!data.empty())
        std::memcpy(buffer, data.data(), std::min<size_t>(data.size(), *length));
    *length = static_cast<uint32_t>(std::min<size_t>(data.size(), *length));
    return 0;
}

int32_t fru_update_op_segment(fru_nodehdl_t, const char *segment_name, uint8_t *descriptor,
                              int32_t section, uint8_t *buffer, uint32_t *length)
{
    Platform &p = platform();
    p.opaque_written.assign(buffer, buffer + *length);
    p.descriptor.assign(descriptor, descriptor + FRU_SEGMENT_DESCRIPTOR_SIZE);
    return fake::record(fake::line("fru_update_op_segment", segment_name, section, *length),
                        "fru_update_op_segment");
}

int32_t fru_delete_op_segment(fru_nodehdl_t, const char *segment_name, int32_t section)
{
    return fake::record(fake::line("fru_delete_op_segment", segment_name, section),
                        "fru_delete_op_segment");
}

const fru_regdef_t *fru_reg_lookup_def_by_name(const char *definition_name)
{
    platform().calls.push_back(fake::line("fru_reg_lookup_def_by_name", definition_name));
    auto it = platform().registry.find(definition_name);
    return it == platform().registry.end() ? nullptr : &it->second->definition;
}

int32_t fru_close_node(fru_nodehdl_t)
{
    return fake::record("fru_close_node()", "fru_close_node");
}

int32_t fru_close_data_source(void)
{
    ++platform().data_source_closes;
    return fake::record("fru_close_data_source()", "fru_close_data_source");
}

const char *fru_strerror(int32_t status)
{
    static std::string text;
    text = "fake error " + std::to_string(status);
    return text.c_str();
}

struct capi_inventory {
    int unused;
};

int32_t capi_get_inventory(const char *nac_name, int32_t kind, int32_t *count,
                           capi_inventory_t **inventory)
{
    const int32_t status =
        fake::record(fake::line("capi_get_inventory", nac_name, kind), "capi_get_inventory");
    if (platform().inventory_allocated) {
        *inventory = new capi_inventory{0};
        *count = 1;
    }
    return status;
}

void capi_free_inventory(capi_inventory_t *inventory, int32_t count)
{
    platform().calls.push_back(fake::line("capi_free_inventory", count));
    ++platform().inventories_freed;
    delete inventory;
}

int32_t capi_fruid_open_container(const char *nac_name, capi_container_t *container)
{
    container->handle = 7;
    return fake::record(fake::line("capi_fruid_open_container", nac_name), "capi_fruid_open_container");
}

int32_t capi_fruid_write_container(capi_container_t *container, const void *buffer, uint32_t offset,
                                   uint32_t size, uint32_t *written)
{
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    platform().image_written.assign(bytes, bytes + size);
    const int32_t status =
        fake::record(fake::line("capi_fruid_write_container", container->handle, offset, size),
                     "capi_fruid_write_container");
    if (status == 0)
        *written = size;
    return status;
}

int32_t capi_fruid_close_container(capi_container_t *container)
{
    return fake::record(fake::line("capi_fruid_close_container", container->handle),
                        "capi_fruid_close_container");
}

}  // extern "C"
