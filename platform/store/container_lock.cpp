// Container locks: one per container and process, bounded waits, taken in
// one directory for every user, where nobody who cannot write a container
// can hold its lock; no file is ever created beside an image.
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

constexpr const char *kSystemLockDir = "/run/quillet";

// What a lock protects, as the file system names it: a regular image is
// replaced by rename, so its identity changes with every write and a lock
// taken on an older identity has to be taken again.
struct Target {
    bool exists = false;
    bool in_place = false;  // device node: its identity never changes
    dev_t dev = 0;
    ino_t ino = 0;
    uid_t owner = 0;
    // A container its group may write (a sysfs EEPROM given to a service's
    // group) is written by that group's members too: they share its lock.
    gid_t group = 0;
    bool group_writes = false;
    std::string name;  // of the lock file
};

struct HeldLock {
    int fd = -1;
    bool exclusive = false;
    int holders = 0;
    pid_t owner = 0;
    bool lock_file = false;  // a file in the lock directory, not the image itself
    std::string image;
    Target target;
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

// Everyone may create lock files in the directory, but only where nobody
// can remove or replace another user's: the sticky bit, or no write right
// for others at all. A symlink is not followed.
bool trusted_directory(const std::string &dir)
{
    struct stat info;
    if (lstat(dir.c_str(), &info) != 0 && errno == ENOENT && mkdir(dir.c_str(), 0700) == 0 &&
        chmod(dir.c_str(), 01777) != 0)
        return false;
    if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    if (info.st_uid != 0 && info.st_uid != geteuid())
        return false;
    return (info.st_mode & 022) == 0 || (info.st_mode & S_ISVTX) != 0;
}

bool stat_target(const std::string &image, Target *target)
{
    struct stat info;
    *target = Target{};
    char name[64];
    if (stat(image.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return false;
        // Not made yet (fructl add): the name stands in until the rename
        // gives it an identity.
        std::snprintf(name, sizeof name, "n-%08x-%zu.lock",
                      crc32(reinterpret_cast<const uint8_t *>(image.data()), image.size()), image.size());
    } else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
        target->exists = target->in_place = true;
        std::snprintf(name, sizeof name, "r-%llu.lock", static_cast<unsigned long long>(info.st_rdev));
    } else {
        target->exists = true;
        std::snprintf(name, sizeof name, "d-%llu-%llu.lock", static_cast<unsigned long long>(info.st_dev),
                      static_cast<unsigned long long>(info.st_ino));
    }
    target->dev = info.st_dev;
    target->ino = info.st_ino;
    target->owner = target->exists ? info.st_uid : geteuid();
    target->group = info.st_gid;
    target->group_writes = target->exists && (info.st_mode & S_IWGRP) != 0;
    target->name = name;
    return true;
}

bool same_target(const Target &a, const Target &b)
{
    return a.name == b.name && a.exists == b.exists && a.dev == b.dev && a.ino == b.ino;
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

// Gives a new lock file to those who may write the container and nobody
// else: its owner (root makes it over; anyone else already is the owner or
// writes through the group) and, where the container's group writes it,
// that group, which may then open it for the flock.
int32_t hand_over(int fd, const std::string &path, const Target &target)
{
    const uid_t owner = geteuid() == 0 ? target.owner : static_cast<uid_t>(-1);
    const gid_t group = target.group_writes ? target.group : static_cast<gid_t>(-1);
    if ((owner != static_cast<uid_t>(-1) || group != static_cast<gid_t>(-1)) && fchown(fd, owner, group) != 0)
        return io_failure("hand over the lock file", path, errno);
    if (fchmod(fd, target.group_writes ? 0640 : 0600) != 0)
        return io_failure("hand over the lock file", path, errno);
    return kOk;
}

// Opens the lock file without O_CREAT first: in a sticky directory the
// kernel may refuse O_CREAT on another user's file even to root. A lock
// file is trusted when its owner may write the container: root, the
// container's owner, the caller, or, where the group writes the container,
// a file of that group (only its members can give a file that group).
int open_lock_file(const std::string &path, const Target &target, int32_t *status)
{
    const auto trusted = [&target](const struct stat &info) {
        return info.st_uid == 0 || info.st_uid == geteuid() || info.st_uid == target.owner ||
               (target.group_writes && info.st_gid == target.group);
    };
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct stat info;
        // Planted by someone who cannot write the container: whoever may
        // remove it (root, in the sticky directory) makes its own.
        if (lstat(path.c_str(), &info) == 0 && !trusted(info)) {
            if (unlink(path.c_str()) == 0)
                continue;
            std::fprintf(stderr, "fru platform: lock file %s belongs to user %u, who cannot write the container\n",
                         path.c_str(), static_cast<unsigned>(info.st_uid));
            *status = kForeignLockFile;
            return -1;
        }
        int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno == ENOENT) {
            fd = open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd >= 0 && (*status = hand_over(fd, path, target)) != kOk) {
                unlink(path.c_str());
                close(fd);
                return -1;
            }
        }
        if (fd < 0) {
            *status = io_failure("lock", path, errno);
            return -1;
        }
        // Replaced between the look and the open: look again.
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !trusted(info)) {
            close(fd);
            continue;
        }
        return fd;
    }
    *status = kLockFailed;
    return -1;
}

// Effective ids, as the write itself would use them: a device is written
// in place, an image through a new file renamed in its directory. A
// container not made yet is its maker's, and one on a read-only mount is
// left for the write to say so.
bool may_write(const ContainerEntry &entry, const std::string &image, const Target &target)
{
    const std::string written = written_in_place(entry) ? image : directory_of(image);
    return !target.exists || faccessat(AT_FDCWD, written.c_str(), W_OK, AT_EACCESS) == 0 || errno == EROFS;
}

// Whether the file at `path` is still the one `fd` has open: a lock file
// removed while this process waited for it protects nothing any more.
bool still_linked(int fd, const std::string &path)
{
    struct stat held, named;
    return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

std::string lock_directory()
{
    if (const char *dir = std::getenv("QUILLET_LOCK_DIR"); dir != nullptr && *dir != '\0')
        return trusted_directory(dir) ? dir : "";
    return trusted_directory(kSystemLockDir) ? kSystemLockDir : "";
}

ContainerLock::~ContainerLock()
{
    release();
}

int32_t ContainerLock::acquire(const ContainerEntry &entry, LockMode mode)
{
    release();
    const std::string image = real_path(entry.image_path);
    const bool exclusive = mode != LockMode::Shared;
    // A reader that cannot lock still reads: what it reads is checked by
    // CRC, so a write in progress shows as damage.
    const auto unlocked_read = [mode](int32_t status) { return mode != LockMode::Exclusive ? kOk : status; };
    for (int attempt = 0; attempt < 64; ++attempt) {
        Target target;
        if (!stat_target(image, &target))
            return unlocked_read(io_failure("lock", entry.image_path, errno));
        const std::string dir = lock_directory();
        // Without a usable directory the container's own descriptor is
        // locked, as any reader of it may; nothing to lock before it exists.
        if (dir.empty() && !target.exists)
            return kOk;
        // Only a writer of the container takes its lock in the directory: a
        // lock file a reader made would stay, trusted by no writer and not
        // theirs to remove. A reader that may not write reads unlocked, and
        // a writer that may not write fails at its own open, saying why.
        if (!dir.empty() && !may_write(entry, image, target))
            return kOk;
        const std::string key = dir.empty() ? image : dir + "/" + target.name;
        HeldLock &held = held_locks()[key];
        if (held.fd >= 0 && held.owner != getpid()) {
            // Inherited through fork: the lock belongs to the parent, and this
            // copy of its descriptor would keep it held after the parent let go.
            close(held.fd);
            held = HeldLock{};
        }
        if (held.fd >= 0) {
            // flock makes a shared lock exclusive by dropping it first: a
            // failed upgrade leaves the holders of the shared lock unlocked,
            // and even one that succeeds lets a writer in between what they
            // read and this write. So a holder of the shared lock cannot
            // upgrade; nobody needs to, as a transaction locks exclusively
            // from its first read.
            if (exclusive && !held.exclusive)
                return unlocked_read(kLockFailed);
            ++held.holders;
            key_ = key;
            return kOk;
        }
        int32_t status = kOk;
        const int fd = dir.empty() ? open(key.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
                                   : open_lock_file(key, target, &status);
        if (fd < 0 && dir.empty())
            status = io_failure("lock", entry.image_path, errno);
        if (fd >= 0)
            status = wait_for(fd, exclusive);
        if (status != kOk) {
            if (fd >= 0)
                close(fd);
            held_locks().erase(key);
            return unlocked_read(status);
        }
        // Replaced (or made) while this process waited: lock what is there now.
        Target now;
        if (!stat_target(image, &now) || !same_target(now, target) || (!dir.empty() && !still_linked(fd, key))) {
            close(fd);
            held_locks().erase(key);
            continue;
        }
        held = HeldLock{fd, exclusive, 1, getpid(), !dir.empty(), image, target};
        key_ = key;
        return kOk;
    }
    return kLockFailed;
}

void ContainerLock::release()
{
    if (key_.empty())
        return;
    auto it = held_locks().find(key_);
    const std::string key = key_;
    key_.clear();
    if (it == held_locks().end() || --it->second.holders > 0)
        return;
    const HeldLock &held = it->second;
    // The lock file of an identity the image no longer has is removed, so
    // that the directory keeps one file per container; a process still
    // waiting for it sees it gone and locks the new identity.
    Target now;
    if (held.lock_file && !held.target.in_place && stat_target(held.image, &now) &&
        !same_target(now, held.target))
        unlink(key.c_str());
    close(held.fd);
    held_locks().erase(it);
}

}  // namespace fruplat
