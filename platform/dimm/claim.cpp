#include "dimm/claim.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "dimm/customer_area.h"
#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

// The operator's only copy of bytes about to be erased: never over another
// file, and on the medium before the module changes.
int32_t write_backup(const std::string &path, const Bytes &bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
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

}  // namespace

int32_t claim_customer_area(const ContainerEntry &entry, const std::string &backup)
{
    if (entry.family != Family::Dimm)
        return kUnsupportedFamily;
    return with_image(entry, Access::Write, [&](Bytes &image) -> int32_t {
        Bytes previous;
        const int32_t status = claim_customer(image, &previous);
        return status != kOk ? status : write_backup(backup, previous);
    });
}

}  // namespace fruplat
