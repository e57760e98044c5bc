// The container interface calls the image flash makes.
#ifndef QUILLET_PLATFORM_CONTAINER_INTERFACE_H
#define QUILLET_PLATFORM_CONTAINER_INTERFACE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Inventory kind that asks for FRU containers.
enum { CAPI_INVENTORY_FRU = 6 };

typedef struct capi_inventory capi_inventory_t;

// Caller-provided storage for an open container; the interface fills it.
typedef struct capi_container {
    int32_t handle;
    uint32_t capacity;
} capi_container_t;

[[nodiscard]] int32_t capi_get_inventory(const char *nac_name, int32_t kind, int32_t *count,
                                         capi_inventory_t **inventory);
void capi_free_inventory(capi_inventory_t *inventory, int32_t count);
[[nodiscard]] int32_t capi_fruid_open_container(const char *nac_name, capi_container_t *container);
[[nodiscard]] int32_t capi_fruid_write_container(capi_container_t *container, const void *buffer,
                                                 uint32_t offset, uint32_t size, uint32_t *written);
[[nodiscard]] int32_t capi_fruid_close_container(capi_container_t *container);

#ifdef __cplusplus
}
#endif

#endif
