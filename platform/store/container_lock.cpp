// Container locks: one per container and process, bounded waits, and no
// file ever created beside an image.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/paths.h"
#include "store/status.h"

namespace fruplat {

namespace {

struct HeldLock {
    int fd = -1;
    bool exclusive = false;
    int holders = 0;
    pid_t owner = 0;
};

std::map<std::string, HeldLock> &held_locks()
{
    static std::map<std::string, HeldLock> locks;
    return locks;
}

long lock_wait_ms()
{
    const char *text = std::getenv("QUILLET_LOCK_WAIT_MS");
    if (text != nullptr && *text != '\0')
        return std::strtol(text, nullptr, 10);
    return 5000;
}

// A directory only this user can write, made when missing; a symlink or a
// directory someone else owns is not trusted.
bool private_directory(const std::string &dir)
{
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    return lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & 022) == 0;
}

std::string lock_directory()
{
    if (const char *dir = std::getenv("QUILLET_LOCK_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    if (geteuid() == 0 && private_directory("/run/quillet"))
        return "/run/quillet";
    return store_directory() + "/.locks";
}

std::string lock_file_name(const std::string &image)
{
    char name[32];
    std::snprintf(name, sizeof name, "/c-%08x-%zu.lock",
                  crc32(reinterpret_cast<const uint8_t *>(image.data()), image.size()),
                  image.size());
    return name;
}

int32_t wait_for(int fd, bool exclusive)
{
    const long limit = lock_wait_ms();
    for (long waited = 0;; waited += 5) {
        if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
            return kOk;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return kLockFailed;
        if (waited >= limit)
            return kBusy;
        const timespec pause = {0, 5 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

}  // namespace

ContainerLock::~ContainerLock()
{
    release();
}

int32_t ContainerLock::acquire(const ContainerEntry &entry, LockMode mode)
{
    release();
    const bool device = written_in_place(entry);
    const std::string image = real_path(entry.image_path);
    const std::string key = device ? image : lock_directory() + lock_file_name(image);
    const bool exclusive = mode != LockMode::Shared;
    HeldLock &held = held_locks()[key];
    if (held.fd >= 0 && held.owner != getpid()) {
        // Inherited through fork: the lock belongs to the parent, and this
        // copy of its descriptor would keep it held after the parent let go.
        close(held.fd);
        held = HeldLock{};
    }
    if (held.fd < 0) {
        int fd = -1;
        if (device) {
            fd = open(key.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        } else {
            const std::string dir = directory_of(key);
            if (std::getenv("QUILLET_LOCK_DIR") != nullptr || private_directory(dir))
                fd = open(key.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
            else if (errno == EEXIST || errno == 0)
                errno = EACCES;  // there, but not this user's own
        }
        if (fd < 0) {
            const int error = errno;
            held_locks().erase(key);
            // A reader that may not lock still reads; what it reads is
            // checked by CRC, so a write in progress shows as damage.
            if (mode != LockMode::Exclusive)
                return kOk;
            return io_failure("lock", device ? key : entry.image_path, error);
        }
        const int32_t status = wait_for(fd, exclusive);
        if (status != kOk) {
            close(fd);
            held_locks().erase(key);
            return status;
        }
        held = HeldLock{fd, exclusive, 0, getpid()};
    } else if (exclusive && !held.exclusive) {
        const int32_t status = wait_for(held.fd, true);
        if (status != kOk)
            return status;
        held.exclusive = true;
    }
    ++held.holders;
    key_ = key;
    return kOk;
}

void ContainerLock::release()
{
    if (key_.empty())
        return;
    auto it = held_locks().find(key_);
    key_.clear();
    if (it == held_locks().end() || --it->second.holders > 0)
        return;
    close(it->second.fd);
    held_locks().erase(it);
}

}  // namespace fruplat
