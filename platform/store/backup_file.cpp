#include "store/backup_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

int32_t write_backup_file(const std::string &path, const Bytes &bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return errno == EEXIST ? kBackupExists : io_failure("create", path, errno);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            close(fd);
            return io_failure("write", path, error);
        }
        done += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0) {
        const int error = errno;
        close(fd);
        return io_failure("sync", path, error);
    }
    return close(fd) == 0 ? kOk : io_failure("close", path, errno);
}

}  // namespace fruplat
