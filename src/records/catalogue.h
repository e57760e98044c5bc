// The record class catalogue: which class names a container type supports,
// which buffer an update fills, and how much of the stored record is read
// back first.
#ifndef QUILLET_RECORDS_CATALOGUE_H
#define QUILLET_RECORDS_CATALOGUE_H

#include <cstdint>

#include "platform/fru_access.h"
#include "records/record_id.h"

namespace quillet {

enum class Mode { Read, Update, Delete };

enum class ContainerType : int32_t { Zan = 0, Ipmi = 1, Dimm = 2, Pirom = 3, ZanAlt = 4 };

enum class Resolution { Resolved, NotSupported, IdentityUpdateRefused, IpmiIdentityRead };

inline constexpr int kResolvedNameSize = 128;

struct ResolveRequest {
    const char *class_name;
    int32_t container_type;  // 4 already folded to 0
    Mode mode;
    fru_nodehdl_t node;  // for the installation probe
};

struct ClassResolution {
    Resolution outcome = Resolution::NotSupported;
    RecordId record = RecordId::None;
    uint8_t *buffer = nullptr;  // null unless the buffer set exists
    int32_t pre_read_length = 0;
    const char *class_name = nullptr;  // the name handed on
};

// Resolves the class name. `resolved_name` (kResolvedNameSize bytes) is
// cleared and may receive an exact record name that replaces the class name
// in the access call. Refusals print their message here.
ClassResolution resolve_record_class(const ResolveRequest &request, char *resolved_name);

// The catalogue as data, for the manual page and the shell completion, which
// are generated from it. A row's class names (aliases included) and the
// records an update through it may fill; both return 0 past the last row.
inline constexpr int kMaxRowNames = 6;
inline constexpr int kMaxRowRecords = 4;
int catalogue_row_names(ContainerType type, int row, const char *names[kMaxRowNames]);
int catalogue_row_records(ContainerType type, int row, RecordId records[kMaxRowRecords]);

}  // namespace quillet

#endif
