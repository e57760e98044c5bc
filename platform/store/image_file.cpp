#include "store/image_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/input_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

constexpr uint8_t kErased = 0xFF;

bool is_regular_or_missing(const std::string &path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode);
}

std::string directory_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool write_all(int fd, const uint8_t *data, size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

int32_t write_in_place(const std::string &path, const Bytes &content)
{
    const int fd = open_checked(path.c_str(), O_WRONLY, FileKinds::RegularOrDevice);
    if (fd < 0)
        return -fd;
    const bool ok = write_all(fd, content.data(), content.size(), 0) && fsync(fd) == 0;
    close(fd);
    return ok ? kOk : kImageIo;
}

}  // namespace

ContainerLock::~ContainerLock()
{
    release();
}

int32_t ContainerLock::acquire(const ContainerEntry &entry, bool exclusive)
{
    release();
    // A regular image is replaced by rename, so its lock lives beside it in
    // a file of its own; a device node stays put and is locked itself.
    const bool regular = is_regular_or_missing(entry.image_path);
    const std::string path = regular ? entry.image_path + ".lock" : entry.image_path;
    fd_ = open(path.c_str(), regular ? O_RDWR | O_CREAT | O_CLOEXEC : O_RDONLY | O_NONBLOCK | O_CLOEXEC,
               0644);
    if (fd_ < 0) {
        // A reader of a store it may not write still reads, unlocked.
        return exclusive ? kLockFailed : kOk;
    }
    int rc;
    do {
        rc = flock(fd_, exclusive ? LOCK_EX : LOCK_SH);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        release();
        return kLockFailed;
    }
    return kOk;
}

void ContainerLock::release()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

int32_t read_image(const ContainerEntry &entry, Bytes *image)
{
    const int fd = open_input(entry.image_path.c_str(), FileKinds::RegularOrDevice);
    if (fd < 0)
        return -fd;
    image->assign(entry.capacity, 0);
    size_t got = 0;
    while (got < image->size()) {
        const ssize_t n = pread(fd, image->data() + got, image->size() - got,
                                static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return kImageIo;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    image->resize(got);
    return kOk;
}

int32_t write_image(const ContainerEntry &entry, const Bytes &image)
{
    if (image.size() > entry.capacity)
        return kNoRoom;
    Bytes full(image);
    full.resize(entry.capacity, kErased);
    if (!is_regular_or_missing(entry.image_path))
        return write_in_place(entry.image_path, full);
    return replace_file(entry.image_path, full);
}

int32_t with_image(const ContainerEntry &entry, Access access,
                   const std::function<int32_t(Bytes &)> &work)
{
    ContainerLock lock;
    int32_t status = lock.acquire(entry, access == Access::Write);
    Bytes image;
    if (status == kOk)
        status = read_image(entry, &image);
    if (status == kOk)
        status = work(image);
    if (status != kOk || access == Access::Read)
        return status;
    return write_image(entry, image);
}

int32_t replace_file(const std::string &path, const Bytes &content)
{
    // One temporary name per target: writers of a container hold its lock,
    // and a temporary left by a killed writer is simply overwritten.
    const std::string temporary = path + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return kImageIo;
    const bool written = write_all(fd, content.data(), content.size(), 0) && fsync(fd) == 0;
    close(fd);
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return kImageIo;
    }
    const int dir = open(directory_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return kOk;
}

}  // namespace fruplat
