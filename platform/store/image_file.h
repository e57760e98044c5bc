// Reading and writing container images safely. A regular image is replaced
// atomically; a device (an EEPROM the kernel exposes as a file) is written
// in place, only the pages that change, in an order that survives a power
// cut, and read back. Processes serialize per container.
#ifndef FRUPLATFORM_STORE_IMAGE_FILE_H
#define FRUPLATFORM_STORE_IMAGE_FILE_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>

#include "store/bytes.h"
#include "store/device.h"
#include "store/inventory.h"

namespace fruplat {

enum class LockMode {
    Shared,
    Exclusive,
    // Exclusive where the caller may lock; a caller that cannot create or
    // open the lock (a reader without rights) goes on unlocked.
    ExclusiveIfAllowed,
};

// Holds a container's lock for its lifetime. A process keeps one lock per
// container: a holder that asks again (the write of a transaction whose
// pre-read took the lock) shares the lock it already has instead of
// waiting for itself; but one that holds it shared cannot have it
// exclusive (kLockFailed: flock would drop the shared lock on the way).
// Every user locks in one directory (see
// lock_directory), in a file named by what it protects: d-DEV-INO.lock for
// a regular file, r-RDEV.lock for a device node. A lock file owned by a
// user other than root, the caller and the container's owner is not
// trusted: a writer gets kForeignLockFile, a reader reads unlocked. Only
// where no directory can be used is the container's own file locked.
// Waiting is bounded (QUILLET_LOCK_WAIT_MS, 5000 by default), then a
// writer gets kBusy and a reader reads unlocked.
class ContainerLock {
public:
    ContainerLock() = default;
    ContainerLock(const ContainerLock &) = delete;
    ContainerLock &operator=(const ContainerLock &) = delete;
    ~ContainerLock();

    [[nodiscard]] int32_t acquire(const ContainerEntry &entry, LockMode mode);
    void release();

private:
    std::string key_;
};

// The lock directory in use: QUILLET_LOCK_DIR, else /run/quillet (made,
// mode 1777, when missing and allowed); empty when it cannot be used (not
// a directory, owned by another user, writable by others without the
// sticky bit).
std::string lock_directory();

// Written last, after everything else reached the medium: the bytes that
// make a change visible (a table slot). Bytes before `first_end` (a header
// being formatted) go before everything else.
struct WriteOrder {
    size_t first_end = 0;
    size_t commit_begin = 0;
    size_t commit_end = 0;
};

bool written_in_place(const ContainerEntry &entry);

// The whole image (up to the capacity).
[[nodiscard]] int32_t read_image(const ContainerEntry &entry, Bytes *image);

// Replaces the image with `image`, padded to the capacity with erased
// (0xFF) bytes, under the container's exclusive lock.
[[nodiscard]] int32_t write_image(const ContainerEntry &entry, const Bytes &image);

enum class Access { Read, Write };

// Runs `work` on the container's image under its lock; with Access::Write
// and a 0 status the image `work` left is written back before the lock is
// released: a device only where its bytes changed, in `order`.
[[nodiscard]] int32_t with_image_ordered(const ContainerEntry &entry, Access access,
                           const std::function<int32_t(Bytes &, WriteOrder *)> &work);
[[nodiscard]] int32_t with_image(const ContainerEntry &entry, Access access,
                   const std::function<int32_t(Bytes &)> &work);

// A container's device, bound by a test or opened from its path.
struct OpenedDevice {
    Device *device = nullptr;
    bool bound = false;
    std::unique_ptr<FileDevice> owned;
};

// A container opened for a read that takes only what it needs: its first
// bytes come in one read (a file's first kReadAhead, all of a small one; a
// device's header), anything further only where asked. Reads stop at the capacity and where the file ends.
class ImageReader {
public:
    static constexpr size_t kReadAhead = 8192;
    uint32_t capacity() const { return capacity_; }
    const Bytes &head() const { return head_; }
    // Whether the container is written in place (a device, anything but a
    // regular file), as the open descriptor says.
    bool in_place() const { return in_place_; }
    // Bytes [offset, offset + size) as far as the image holds them; `whole`
    // says whether it holds all of them.
    [[nodiscard]] int32_t read(uint64_t offset, uint64_t size, Bytes *out, bool *whole);

private:
    friend int32_t with_image_reader(const ContainerEntry &,
                                     const std::function<int32_t(ImageReader &)> &);
    OpenedDevice opened_;
    uint32_t capacity_ = 0;
    const std::string *path_ = nullptr;
    Bytes head_;
    bool ended_ = false;  // the file ends within the head
    bool in_place_ = false;
};

// Runs `work` on a reader of the container, under the same lock a read takes.
[[nodiscard]] int32_t with_image_reader(const ContainerEntry &entry,
                          const std::function<int32_t(ImageReader &)> &work);

// Atomically and durably replaces a regular file (through a symlink, to
// its target), keeping its mode and owner.
[[nodiscard]] int32_t replace_file(const std::string &path, const Bytes &content);

// A failed system call as a status: its own status where one exists (disk
// full, read-only file system, permission denied, I/O error), the reason
// on stderr.
[[nodiscard]] int32_t io_failure(const char *what, const std::string &path, int error);

}  // namespace fruplat

#endif
