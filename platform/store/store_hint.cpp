#include "store/store_hint.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/inventory.h"
#include "store/status.h"

namespace fruplat {

std::string store_hint(int32_t status, const std::string &store_dir, const char *nac)
{
    const std::string inventory = store_dir + "/inventory";
    if (status == kUnknownContainer)
        return std::string("fru store: no container ") + (nac != nullptr ? nac : "") + " in " +
               inventory + "; 'fructl list' lists the store, 'fructl add' adds a container";
    if (status != kNoStore)
        return {};
    struct stat info;
    if (stat(store_dir.c_str(), &info) != 0 && errno == ENOENT)
        return "fru store: no store at " + store_dir +
               "; create it with 'fructl init' or name another with QUILLET_FRU_STORE";
    if (stat(inventory.c_str(), &info) != 0 && errno == ENOENT)
        return "fru store: no inventory in " + store_dir +
               "; create it with 'fructl init' or name another store with QUILLET_FRU_STORE";
    // Effective ids, as the open that failed used them.
    const int error = faccessat(AT_FDCWD, inventory.c_str(), R_OK, AT_EACCESS) != 0 ? errno : EIO;
    return "fru store: cannot read " + inventory + ": " + std::strerror(error);
}

void explain_lookup_failure(int32_t status, const char *nac)
{
    static std::string last;
    const std::string line = store_hint(status, store_directory(), nac);
    if (line.empty() || line == last)
        return;
    last = line;
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace fruplat
