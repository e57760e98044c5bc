#include "store/store_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include "store/status.h"

namespace fruplat {

StoreLock::~StoreLock()
{
    if (fd_ >= 0)
        close(fd_);
}

int32_t StoreLock::acquire(const std::string &store_dir, unsigned wait_ms)
{
    const std::string path = store_dir + "/inventory.lock";
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return kNoStore;
    // Polled rather than blocking, so that a holder that hangs costs the
    // others a clear failure instead of a hang of their own.
    constexpr unsigned kStepMs = 5;
    for (unsigned waited = 0;; waited += kStepMs) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return kOk;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (waited >= wait_ms)
            break;
        const struct timespec step = {0, kStepMs * 1000000L};
        nanosleep(&step, nullptr);
    }
    close(fd_);
    fd_ = -1;
    return kStoreBusy;
}

}  // namespace fruplat
