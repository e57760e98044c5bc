// The FRU access library calls quillet makes. The library itself is the
// platform's; quillet only declares what it calls and how.
#ifndef QUILLET_PLATFORM_FRU_ACCESS_H
#define QUILLET_PLATFORM_FRU_ACCESS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t fru_nodehdl_t;
typedef uint64_t fru_seghdl_t;

// Status 0 is success; the library reports an absent record or area as 14.
enum { FRU_OK = 0, FRU_STATUS_ABSENT = 14 };

// Operation codes of libfru_access_data.
enum { FRU_OP_READ = 1, FRU_OP_UPDATE = 2, FRU_OP_DELETE = 3 };

// Section selector of the opaque segment calls.
enum { FRU_SECTION_DYNAMIC = 0, FRU_SECTION_STATIC = 1 };

enum { FRU_SEGMENT_DESCRIPTOR_SIZE = 23 };

typedef int32_t (*fru_segment_callback_t)(fru_seghdl_t segment, void *arg);

// One entry of a registry enumeration. The value is an 8-byte big-endian
// image; readers take its low 32 bits from bytes 4 to 7 byte by byte, since
// an entry need not be aligned for a wider load.
typedef struct fru_enum_entry {
    uint8_t value[8];
    const char *text;
} fru_enum_entry_t;

// A registry definition. Readers rely on the entry count at byte 40 and the
// entry array pointer at byte 44 (on the 32-bit target); the leading fields
// describe the record or enumeration for the registry's own use.
typedef struct fru_regdef {
    int32_t version;
    char name[24];
    int32_t data_length;
    int32_t iteration_count;
    int32_t kind;
    int32_t enum_count;
    const fru_enum_entry_t *enum_table;
} fru_regdef_t;

[[nodiscard]] int32_t fru_get_node(const char *nac_name, fru_nodehdl_t *node);
[[nodiscard]] int32_t fru_get_cont_type(fru_nodehdl_t node, int32_t *cont_type);
[[nodiscard]] int32_t fru_read_record(fru_nodehdl_t node, void *buffer, int32_t *length, const char *name);
[[nodiscard]] int32_t fru_read_iter_control_bytes(fru_nodehdl_t node, void *control, int32_t *length,
                                                  const char *name);
[[nodiscard]] int32_t libfru_access_data(const char *nac_name, void *buffer, int32_t *length,
                                         int32_t operation, const char *name);
[[nodiscard]] int32_t fru_for_each_segment(fru_nodehdl_t node, fru_segment_callback_t callback, void *arg);
[[nodiscard]] int32_t fru_get_segment_name(fru_seghdl_t segment, char **name);
[[nodiscard]] int32_t fru_get_num_packets(fru_seghdl_t segment);
[[nodiscard]] int32_t fru_remove_segment(fru_nodehdl_t node, const char *segment_name);
[[nodiscard]] int32_t fru_flash_file(const char *nac_name, fru_nodehdl_t node);
[[nodiscard]] int32_t fru_read_op_segment(fru_nodehdl_t node, const char *segment_name, uint8_t *descriptor,
                                          int32_t section, uint8_t *buffer, uint32_t *length);
[[nodiscard]] int32_t fru_update_op_segment(fru_nodehdl_t node, const char *segment_name, uint8_t *descriptor,
                                            int32_t section, uint8_t *buffer, uint32_t *length);
[[nodiscard]] int32_t fru_delete_op_segment(fru_nodehdl_t node, const char *segment_name, int32_t section);
const fru_regdef_t *fru_reg_lookup_def_by_name(const char *definition_name);
[[nodiscard]] int32_t fru_close_node(fru_nodehdl_t node);
[[nodiscard]] int32_t fru_close_data_source(void);
const char *fru_strerror(int32_t status);

// Set by the library to 1 while the segment just examined failed its CRC.
extern int bad_seg;

// Defined by the tool, zero, never set: the library checks it for an
// encryption hook that quillet does not provide.
extern void *encrypt_func;

#ifdef __cplusplus
}
#endif

#if defined(__cplusplus)
#define QUILLET_STATIC_ASSERT static_assert
#else
#define QUILLET_STATIC_ASSERT _Static_assert
#endif

// The layout readers depend on, proven where pointers are 4 bytes wide (the
// service processor); on 64-bit hosts the pointer fields widen.
#if UINTPTR_MAX == 0xffffffffu
QUILLET_STATIC_ASSERT(sizeof(fru_enum_entry_t) == 12, "registry entry is 12 bytes");
QUILLET_STATIC_ASSERT(offsetof(fru_enum_entry_t, text) == 8, "entry name pointer at byte 8");
QUILLET_STATIC_ASSERT(offsetof(fru_regdef_t, enum_count) == 40, "entry count at byte 40");
QUILLET_STATIC_ASSERT(offsetof(fru_regdef_t, enum_table) == 44, "entry array at byte 44");
#endif
QUILLET_STATIC_ASSERT(offsetof(fru_enum_entry_t, value) == 0, "entry value first");
QUILLET_STATIC_ASSERT(offsetof(fru_regdef_t, enum_count) == 40, "entry count at byte 40");

#endif
