// The container interface: inventory lookup and raw container writes.
#include <cstring>
#include <map>
#include <memory>

#include "access/family.h"
#include "platform/container_interface.h"
#include "store/image_file.h"
#include "store/status.h"

using namespace fruplat;

struct capi_inventory {
    ContainerEntry entry;
};

namespace {

// An open container collects what is written and replaces the image as a
// whole when it is closed; bytes never written are left erased.
struct OpenContainer {
    ContainerEntry entry;
    Bytes image;
    bool written = false;
};

std::map<int32_t, std::unique_ptr<OpenContainer>> g_open;
int32_t g_next_handle = 1;


OpenContainer *open_of(const capi_container_t *container)
{
    if (container == nullptr)
        return nullptr;
    auto it = g_open.find(container->handle);
    return it == g_open.end() ? nullptr : it->second.get();
}

}  // namespace

extern "C" {

int32_t capi_get_inventory(const char *nac_name, int32_t kind, int32_t *count,
                           capi_inventory_t **inventory)
{
    if (count == nullptr || inventory == nullptr || nac_name == nullptr)
        return kInvalidArgument;
    *inventory = nullptr;
    *count = 0;
    if (kind != CAPI_INVENTORY_FRU)
        return kInvalidArgument;
    auto found = std::make_unique<capi_inventory>();
    const int32_t status = lookup_container(nac_name, &found->entry);
    if (status != kOk)
        return status;
    *inventory = found.release();
    *count = 1;
    return kOk;
}

void capi_free_inventory(capi_inventory_t *inventory, int32_t)
{
    delete inventory;
}

int32_t capi_fruid_open_container(const char *nac_name, capi_container_t *container)
{
    if (nac_name == nullptr || container == nullptr)
        return kInvalidArgument;
    auto open = std::make_unique<OpenContainer>();
    const int32_t status = lookup_container(nac_name, &open->entry);
    if (status != kOk)
        return status;
    open->image.assign(open->entry.capacity, kErased);
    container->handle = g_next_handle++;
    container->capacity = open->entry.capacity;
    g_open[container->handle] = std::move(open);
    return kOk;
}

int32_t capi_fruid_write_container(capi_container_t *container, const void *buffer,
                                   uint32_t offset, uint32_t size, uint32_t *written)
{
    OpenContainer *open = open_of(container);
    if (open == nullptr)
        return kBadHandle;
    if (buffer == nullptr && size > 0)
        return kInvalidArgument;
    if (offset > open->image.size() || size > open->image.size() - offset)
        return kImageTooLarge;
    if (size > 0)
        std::memcpy(open->image.data() + offset, buffer, size);
    open->written = true;
    if (written != nullptr)
        *written = size;
    return kOk;
}

int32_t capi_fruid_close_container(capi_container_t *container)
{
    OpenContainer *open = open_of(container);
    if (open == nullptr)
        return kBadHandle;
    int32_t status = kOk;
    if (open->written) {
        const ContainerEntry &entry = open->entry;
        const FamilyHandler &family = family_handler(entry.family);
        status = with_image_ordered(entry, Access::Write, [&](Bytes &image, WriteOrder *order) -> int32_t {
            if (family.flash != nullptr)
                return family.flash(entry, open->image, image, order);
            image = open->image;
            return kOk;
        });
    }
    g_open.erase(container->handle);
    return status;
}

}  // extern "C"
