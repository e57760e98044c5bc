#include "store/image_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "store/input_file.h"
#include "store/paths.h"
#include "store/status.h"

namespace fruplat {

namespace {

int32_t write_all(Device &device, const uint8_t *data, size_t size, uint64_t offset, const std::string &path)
{
    while (size > 0) {
        const ssize_t n = device.write(data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return io_failure("write", path, errno);
        if (n == 0) {
            std::fprintf(stderr, "fru platform: write %s: cut short at byte %llu\n", path.c_str(),
                         static_cast<unsigned long long>(offset));
            return kShortWrite;
        }
        data += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return kOk;
}

int32_t read_all(Device &device, uint8_t *data, size_t size, uint64_t offset, size_t *got,
                 const std::string &path)
{
    *got = 0;
    while (*got < size) {
        const ssize_t n = device.read(data + *got, size - *got, offset + *got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return io_failure("read", path, errno);
        if (n == 0)
            break;
        *got += static_cast<size_t>(n);
    }
    return kOk;
}

int32_t sync_device(Device &device, const std::string &path)
{
    return device.sync() == 0 ? kOk : io_failure("sync", path, errno);
}

struct Run {
    int phase;
    size_t begin;
    size_t end;
};

// The bytes that differ, from the first to the last changed one of each
// page, merged into runs and ordered: the header being formatted, then
// everything else, then the bytes that commit. A run never starts before
// its first changed byte: a cut tears what follows the bytes being
// programmed, and a DIMM's SPD bytes just before its end-user area must
// not be among them.
std::vector<Run> changed_runs(const Bytes &old, const Bytes &now, size_t page,
                              const WriteOrder &order)
{
    std::vector<Run> runs;
    for (size_t page_begin = 0; page_begin < now.size(); page_begin += page) {
        size_t begin = page_begin;
        size_t end = std::min(page_begin + page, now.size());
        while (begin < end && now[begin] == old[begin])
            ++begin;
        if (begin == end)
            continue;
        while (now[end - 1] == old[end - 1])
            --end;
        // The page decides the phase, as the layout places its parts.
        const size_t page_end = std::min(page_begin + page, now.size());
        int phase = 1;
        if (page_begin < order.first_end)
            phase = 0;
        else if (page_begin < order.commit_end && page_end > order.commit_begin)
            phase = 2;
        if (!runs.empty() && runs.back().end == begin && runs.back().phase == phase)
            runs.back().end = end;
        else
            runs.push_back({phase, begin, end});
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run &a, const Run &b) { return a.phase < b.phase; });
    return runs;
}

// An image is opened without blocking and must be a file or a device node:
// a FIFO planted as an image must not hang a run.
int open_image(const std::string &path, int flags, int32_t *status, struct stat *info = nullptr)
{
    const int fd = open_checked(path.c_str(), flags, FileKinds::RegularOrDevice, info);
    if (fd < 0)
        *status = -fd == kImageIo ? io_failure("open", path, errno) : -fd;
    return fd;
}

// The device a container is read and written through: the one bound to its
// path, else its file, opened with `flags`.
int32_t open_device(const ContainerEntry &entry, int flags, OpenedDevice *out, struct stat *info = nullptr)
{
    out->device = bound_device(entry.image_path);
    out->bound = out->device != nullptr;
    if (out->bound)
        return kOk;
    int32_t status = kOk;
    const int fd = open_image(entry.image_path, flags, &status, info);
    if (fd < 0)
        return status;
    out->owned = std::make_unique<FileDevice>(fd, entry.capacity, entry.page_size);
    out->device = out->owned.get();
    return kOk;
}

int32_t write_device(const ContainerEntry &entry, const Bytes &old, const Bytes &now,
                     const WriteOrder &order)
{
    const std::string &path = entry.image_path;
    OpenedDevice opened;
    int32_t status = open_device(entry, O_RDWR, &opened);
    if (status != kOk)
        return status;
    Device &device = *opened.device;
    int phase = -1;
    Bytes back;
    for (const Run &run : changed_runs(old, now, std::max<uint32_t>(device.page(), 1), order)) {
        if (phase >= 0 && run.phase != phase && (status = sync_device(device, path)) != kOk)
            break;
        phase = run.phase;
        const size_t size = run.end - run.begin;
        status = write_all(device, &now[run.begin], size, run.begin, path);
        if (status != kOk)
            break;
        back.assign(size, 0);
        size_t got = 0;
        status = read_all(device, back.data(), size, run.begin, &got, path);
        if (status != kOk)
            break;
        if (got != size || !std::equal(back.begin(), back.end(), now.begin() + static_cast<long>(run.begin))) {
            std::fprintf(stderr, "fru platform: %s: bytes %zu to %zu read back differently\n",
                         path.c_str(), run.begin, run.end - 1);
            status = kWriteNotVerified;
            break;
        }
    }
    if (status == kOk && phase >= 0)
        status = sync_device(device, path);
    return status;
}

int32_t store_image(const ContainerEntry &entry, const Bytes &old, Bytes image,
                    const WriteOrder &order)
{
    if (image.size() > entry.capacity)
        return kNoRoom;
    image.resize(entry.capacity, kErased);
    if (!written_in_place(entry))
        return replace_file(entry.image_path, image);
    if (old.size() < image.size()) {
        std::fprintf(stderr, "fru platform: %s holds %zu bytes, not %zu\n",
                     entry.image_path.c_str(), old.size(), image.size());
        return kSizeChanged;
    }
    return write_device(entry, old, image, order);
}

}  // namespace

int32_t io_failure(const char *what, const std::string &path, int error)
{
    std::fprintf(stderr, "fru platform: %s %s: %s\n", what, path.c_str(), std::strerror(error));
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return kNoSpace;
    case EROFS:
        return kReadOnlyFileSystem;
    case EACCES:
    case EPERM:
        return kPermissionDenied;
    case EIO:
        return kDeviceIo;
    default:
        return kImageIo;
    }
}

bool written_in_place(const ContainerEntry &entry)
{
    if (entry.device)
        return true;
    struct stat info;
    return stat(entry.image_path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

int32_t read_image(const ContainerEntry &entry, Bytes *image)
{
    OpenedDevice opened;
    int32_t status = open_device(entry, O_RDONLY, &opened);
    if (status != kOk)
        return status;
    image->assign(entry.capacity, 0);
    size_t got = 0;
    status = read_all(*opened.device, image->data(), image->size(), 0, &got, entry.image_path);
    image->resize(got);
    return status;
}

int32_t write_image(const ContainerEntry &entry, const Bytes &image)
{
    return with_image(entry, Access::Write, [&](Bytes &stored) -> int32_t {
        if (image.size() > entry.capacity)
            return kNoRoom;
        stored = image;
        return kOk;
    });
}

int32_t with_image_ordered(const ContainerEntry &entry, Access access,
                           const std::function<int32_t(Bytes &, WriteOrder *)> &work)
{
    ContainerLock lock;
    int32_t status = kOk;
    // A regular image is only ever replaced whole, by rename: a reader
    // sees one version or the other without a lock, and creates nothing.
    if (access == Access::Write)
        status = lock.acquire(entry, LockMode::Exclusive);
    else if (written_in_place(entry))
        status = lock.acquire(entry, LockMode::Shared);
    Bytes old;
    if (status == kOk) {
        struct stat info;
        // A container that is not there yet (fructl add) starts erased.
        if (access == Access::Write && !entry.device && stat(entry.image_path.c_str(), &info) != 0 &&
            errno == ENOENT)
            old.assign(entry.capacity, kErased);
        else
            status = read_image(entry, &old);
    }
    // A read changes nothing, so it needs no copy to compare with.
    Bytes image = access == Access::Read ? std::move(old) : old;
    WriteOrder order;
    if (status == kOk)
        status = work(image, &order);
    if (status != kOk || access == Access::Read)
        return status;
    return store_image(entry, old, std::move(image), order);
}

int32_t ImageReader::read(uint64_t offset, uint64_t size, Bytes *out, bool *whole)
{
    const uint64_t end = std::min<uint64_t>(offset + size, capacity_);
    const uint64_t begin = std::min<uint64_t>(offset, end);
    // Whether an empty range lies within the file is whether the byte
    // before it does.
    const uint64_t from = size == 0 && begin > 0 ? begin - 1 : begin;
    const uint64_t until = std::max(end, from + (size == 0 && begin > 0));
    const uint64_t held = std::min<uint64_t>(until, head_.size());
    out->clear();
    if (from < held)
        out->assign(head_.begin() + static_cast<long>(from), head_.begin() + static_cast<long>(held));
    size_t got = 0;
    int32_t status = kOk;
    if (until > std::max(from, held) && !ended_) {
        const uint64_t rest = std::max(from, held);
        const size_t have = out->size();
        out->resize(have + (until - rest));
        status = read_all(*opened_.device, out->data() + have, until - rest, rest, &got, *path_);
        out->resize(have + got);
    }
    *whole = offset + size <= capacity_ && out->size() == until - from;
    if (from < begin)
        out->clear();
    return status;
}

int32_t with_image_reader(const ContainerEntry &entry,
                          const std::function<int32_t(ImageReader &)> &work)
{
    ImageReader reader;
    struct stat info = {};
    int32_t status = open_device(entry, O_RDONLY, &reader.opened_, &info);
    if (status != kOk)
        return status;
    const bool regular = !entry.device && !reader.opened_.bound && S_ISREG(info.st_mode);
    // Only what is written in place needs the lock: a regular image is
    // replaced whole, by rename, and the descriptor keeps the version it
    // opened.
    ContainerLock lock;
    if (!regular && (status = lock.acquire(entry, LockMode::Shared)) != kOk)
        return status;
    reader.capacity_ = entry.capacity;
    reader.path_ = &entry.image_path;
    reader.in_place_ = !regular;
    // A file costs a system call per read; an EEPROM costs bus time per
    // byte, so there only the header comes ahead.
    reader.head_.resize(std::min<size_t>(entry.capacity, regular ? ImageReader::kReadAhead : 64));
    size_t got = 0;
    status = read_all(*reader.opened_.device, reader.head_.data(), reader.head_.size(), 0, &got,
                      entry.image_path);
    reader.ended_ = got < reader.head_.size();
    reader.head_.resize(got);
    if (status == kOk)
        status = work(reader);
    return status;
}

int32_t with_image(const ContainerEntry &entry, Access access,
                   const std::function<int32_t(Bytes &)> &work)
{
    return with_image_ordered(entry, access,
                              [&](Bytes &image, WriteOrder *) { return work(image); });
}

int32_t replace_file(const std::string &path, const Bytes &content)
{
    const std::string target = real_path(path);
    const size_t slash = target.rfind('/');
    const std::string dir = directory_of(target);
    std::string temporary = dir + "/." + target.substr(slash == std::string::npos ? 0 : slash + 1) +
                            ".XXXXXX";
    // mkostemp creates with O_EXCL: a name planted beforehand, symlink or
    // not, is never opened.
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return io_failure("create a temporary file in", dir, errno);
    struct stat old;
    int32_t status = kOk;
    if (stat(target.c_str(), &old) == 0) {
        if (fchmod(fd, old.st_mode & 07777) != 0 ||
            ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
             fchown(fd, old.st_uid, old.st_gid) != 0))
            status = io_failure("keep the mode and owner of", target, errno);
    } else if (fchmod(fd, 0644) != 0) {
        status = io_failure("set the mode of", temporary, errno);
    }
    {
        FileDevice file(fd, content.size(), 1);
        if (status == kOk)
            status = write_all(file, content.data(), content.size(), 0, temporary);
        if (status == kOk && fsync(fd) != 0)
            status = io_failure("sync", temporary, errno);
    }
    if (status == kOk && rename(temporary.c_str(), target.c_str()) != 0)
        status = io_failure("rename onto", target, errno);
    if (status != kOk) {
        unlink(temporary.c_str());
        return status;
    }
    // Until the directory is on the medium the rename may not survive a
    // crash: the change is not reported done before.
    const int dir_fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd < 0)
        return io_failure("open", dir, errno);
    if (fsync(dir_fd) != 0 && errno != EINVAL)
        status = io_failure("sync", dir, errno);
    close(dir_fd);
    return status;
}

}  // namespace fruplat
