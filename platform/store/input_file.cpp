#include "store/input_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/status.h"

namespace fruplat {

int open_checked(const char *path, int flags, FileKinds kinds, struct stat *info)
{
    const int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -kImageIo;
    struct stat own;
    if (info == nullptr)
        info = &own;
    if (fstat(fd, info) != 0) {
        close(fd);
        return -kImageIo;
    }
    const bool device = S_ISCHR(info->st_mode) || S_ISBLK(info->st_mode);
    const bool wanted = S_ISREG(info->st_mode) || (device && kinds == FileKinds::RegularOrDevice);
    // O_NONBLOCK means nothing to a regular file. F_SETFL takes only the
    // status flags, so `flags` without O_NONBLOCK restores the others.
    if (wanted && (!device || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0))
        return fd;
    close(fd);
    if (wanted)
        return -kImageIo;
    return kinds == FileKinds::RegularOnly ? -kNotRegularFile : -kImageNotStorage;
}

int32_t read_bounded(int fd, size_t limit, RawText *content, const struct stat *known)
{
    struct stat info;
    if (known != nullptr)
        info = *known;
    const size_t hint = (known != nullptr || fstat(fd, &info) == 0) && info.st_size > 0
                            ? static_cast<size_t>(info.st_size)
                            : 0;
    // The file may grow while it is read; one byte past the limit tells.
    // The buffer is not cleared first: on a large inventory clearing it
    // cost more than searching it.
    size_t room = std::min(hint, limit) + 1;
    std::unique_ptr<uint8_t[]> data(new uint8_t[room]);
    size_t got = 0;
    for (;;) {
        if (got == room) {
            if (got > limit)
                break;
            const size_t bigger = std::min(got + 65536, limit + 1);
            std::unique_ptr<uint8_t[]> grown(new uint8_t[bigger]);
            std::memcpy(grown.get(), data.get(), got);
            data = std::move(grown);
            room = bigger;
        }
        const ssize_t n = read(fd, data.get() + got, room - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return kImageIo;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
        // A regular file read short has ended: one more read would only
        // say so.
        if (S_ISREG(info.st_mode) && known != nullptr && got < room)
            break;
    }
    if (got > limit)
        return kInputTooLarge;
    content->data = std::move(data);
    content->size = got;
    return kOk;
}

int32_t read_bounded(int fd, size_t limit, Bytes *content, const struct stat *known)
{
    RawText text;
    const int32_t status = read_bounded(fd, limit, &text, known);
    content->assign(text.data.get(), text.data.get() + text.size);
    return status;
}

int32_t read_regular_file(const std::string &path, size_t limit, Bytes *content)
{
    const int fd = open_input(path.c_str(), FileKinds::RegularOnly);
    if (fd < 0)
        return -fd;
    const int32_t status = read_bounded(fd, limit, content);
    close(fd);
    return status;
}

}  // namespace fruplat
