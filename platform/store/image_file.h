// Reading and writing container images safely: every change reaches the
// image atomically and durably, and processes serialize per container.
#ifndef FRUPLATFORM_STORE_IMAGE_FILE_H
#define FRUPLATFORM_STORE_IMAGE_FILE_H

#include <cstdint>
#include <functional>
#include <string>

#include "store/bytes.h"
#include "store/inventory.h"

namespace fruplat {

// Holds a container's lock for its lifetime. Shared for readers, exclusive
// for writers. Every operation takes it for its own duration only, so a
// process that holds a node never locks itself out.
class ContainerLock {
public:
    ContainerLock() = default;
    ContainerLock(const ContainerLock &) = delete;
    ContainerLock &operator=(const ContainerLock &) = delete;
    ~ContainerLock();

    int32_t acquire(const ContainerEntry &entry, bool exclusive);
    void release();

private:
    int fd_ = -1;
};

// The whole image (up to the capacity).
int32_t read_image(const ContainerEntry &entry, Bytes *image);

// Replaces the image with `image`, padded to the capacity with erased
// (0xFF) bytes. Regular files are replaced by rename, so a crash leaves the
// old or the new image; device files are written in place.
int32_t write_image(const ContainerEntry &entry, const Bytes &image);

enum class Access { Read, Write };

// Runs `work` on the container's image under its lock; with Access::Write
// and a 0 status the image `work` left is written back before the lock is
// released.
int32_t with_image(const ContainerEntry &entry, Access access,
                   const std::function<int32_t(Bytes &)> &work);

// Atomically and durably replaces a regular file.
int32_t replace_file(const std::string &path, const Bytes &content);

}  // namespace fruplat

#endif
