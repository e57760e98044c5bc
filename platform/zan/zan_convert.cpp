#include "zan/zan_convert.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/status.h"
#include "zan/zan_access.h"
#include "zan/zan_image.h"

namespace fruplat {

namespace {

// The backup must be whole and on disk before the device is touched: it is
// all the operator has if the conversion is cut.
int32_t write_backup(const std::string &path, const Bytes &image)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return io_failure("create", path, errno);
    size_t done = 0;
    while (done < image.size()) {
        const ssize_t n = write(fd, image.data() + done, image.size() - done);
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

int32_t convert_zan_container(const ContainerEntry &entry, const std::string *backup)
{
    const bool in_place = written_in_place(entry);
    return with_image_ordered(entry, Access::Write, [&](Bytes &raw, WriteOrder *order) -> int32_t {
        ZanImage image;
        int32_t status = parse_zan_image(raw, &image, in_place ? std::max<uint32_t>(entry.page_size, 1) : 0);
        if (status != kOk)
            return status;
        if (image.version != kZanFormatVersion1)
            return kNotFormat1;
        if (backup != nullptr) {
            Bytes used(raw.begin(), raw.begin() + static_cast<long>(std::min<size_t>(image.used, raw.size())));
            if ((status = write_backup(*backup, used)) != kOk)
                return status;
        }
        image.capacity = entry.capacity;
        return commit_zan_image(image, entry.page_size, in_place, raw, order);
    });
}

int32_t convert_zan_format1(const ContainerEntry &entry, const std::string *backup,
                            const std::function<void()> &before)
{
    const int32_t format = with_zan_image(entry, Access::Read, [](ZanImage &image) -> int32_t {
        return image.version == kZanFormatVersion1 ? kOk : kNotFormat1;
    });
    if (format != kOk)
        return format;
    before();
    return convert_zan_container(entry, backup);
}

}  // namespace fruplat
