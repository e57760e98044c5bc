// The operator's copy of bytes a command is about to erase or rewrite.
#ifndef FRUPLATFORM_STORE_BACKUP_FILE_H
#define FRUPLATFORM_STORE_BACKUP_FILE_H

#include <cstdint>
#include <string>

#include "store/bytes.h"

namespace fruplat {

// Writes `bytes` to a new file at `path` and syncs it: never over another
// file (kBackupExists) nor through a symlink, readable by its owner only,
// and on the medium before the caller changes the container, since it is
// all the operator has if that change is cut.
[[nodiscard]] int32_t write_backup_file(const std::string &path, const Bytes &bytes);

}  // namespace fruplat

#endif
