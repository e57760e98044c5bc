#include "fructl/doctor.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/inventory.h"
#include "store/paths.h"
#include "store/status.h"
#include "store/store_hint.h"

namespace fruplat {

namespace {

// One check's verdict: empty when it passed, else why not.
using Finding = std::string;

Finding because(const std::string &path, int error)
{
    return path + ": " + std::strerror(error);
}

// Whether this user may create and rename files in `dir`, with the
// effective ids the layer runs with; a read-only mount says so here too.
Finding directory_writable(const std::string &dir)
{
    if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return because(dir, errno);
    return {};
}

// A real open rather than access(): root passes every mode check that
// access() makes, but not a sysfs attribute without a writer or a mount
// that refuses writes. Opening does not write anything.
Finding opens(const std::string &path, int flags)
{
    const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return because(path, errno);
    close(fd);
    return {};
}

Finding readable(const ContainerEntry &entry)
{
    Finding problem = opens(entry.image_path, O_RDONLY);
    if (!problem.empty())
        return problem;
    struct stat info;
    if (stat(entry.image_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && entry.device &&
        static_cast<uint64_t>(info.st_size) < entry.capacity)
        return entry.image_path + ": " + status_text(kSizeChanged);
    return {};
}

// Writes go in place on a device, through a new file renamed over the old
// one otherwise, under a lock file in the lock directory.
Finding writable(const ContainerEntry &entry, const std::string &lock_dir)
{
    if (written_in_place(entry)) {
        const Finding device = opens(entry.image_path, O_WRONLY);
        return device.empty() && !lock_dir.empty() ? directory_writable(lock_dir) : device;
    }
    const std::string image = real_path(entry.image_path);
    Finding problem = directory_writable(directory_of(image));
    if (!problem.empty())
        return problem;
    struct stat info;
    if (stat(image.c_str(), &info) == 0 && geteuid() != 0 &&
        (info.st_uid != geteuid() || info.st_gid != getegid()))
        return image + ": owned by " + std::to_string(info.st_uid) + ":" +
               std::to_string(info.st_gid) + ", which a rewrite by this user could not keep";
    return lock_dir.empty() ? Finding{} : directory_writable(lock_dir);
}

const char *verdict(const Finding &finding)
{
    return finding.empty() ? "ok" : "no";
}

}  // namespace

int run_doctor(const std::string &store, const std::vector<std::string> &nacs)
{
    Inventory inventory;
    const int32_t status = load_inventory(store, &inventory);
    if (status != kOk) {
        const std::string hint = store_hint(status, store, nullptr);
        std::printf("store %s: %s\n", store.c_str(),
                    hint.empty() ? status_text(status) : hint.c_str() + std::strlen("fru store: "));
        return kDoctorUnusable;
    }
    const Finding store_write = directory_writable(store);
    std::printf("store %s: %zu containers, read ok, write %s%s\n", store.c_str(),
                inventory.entries.size(), verdict(store_write),
                store_write.empty() ? "" : (" (" + store_write + ")").c_str());

    // Every writer takes a lock file there; without a usable directory each
    // container's own file is locked instead.
    const std::string lock_probe = lock_directory();
    if (lock_probe.empty()) {
        std::printf("locks: no usable lock directory; each container's own file is locked\n");
    } else {
        const Finding lock_write = directory_writable(lock_probe);
        std::printf("locks %s: write %s%s\n", lock_probe.c_str(), verdict(lock_write),
                    lock_write.empty() ? "" : (" (" + lock_write + ")").c_str());
    }

    int result = kDoctorFine;
    auto check = [&](const ContainerEntry &entry) {
        const Finding read = readable(entry);
        const Finding write = writable(entry, lock_probe);
        std::printf("%s: read %s%s, write %s%s\n", entry.nac.c_str(), verdict(read),
                    read.empty() ? "" : (" (" + read + ")").c_str(), verdict(write),
                    write.empty() ? "" : (" (" + write + ")").c_str());
        if (!read.empty())
            result = kDoctorUnusable;
        else if (!write.empty() && result == kDoctorFine)
            result = kDoctorReadOnly;
    };
    for (const std::string &nac : nacs) {
        if (const ContainerEntry *entry = find_container(inventory, nac.c_str()); entry != nullptr) {
            check(*entry);
        } else {
            std::printf("%s: not in the store\n", nac.c_str());
            result = kDoctorUnusable;
        }
    }
    if (nacs.empty())
        for (const ContainerEntry &entry : inventory.entries)
            check(entry);
    return result;
}

}  // namespace fruplat
