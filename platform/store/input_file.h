// Files named by a user or an inventory are read without ever blocking:
// a FIFO, a socket or a terminal must not hang a maintenance run, and a
// device such as /dev/zero must not feed it until memory runs out.
#ifndef FRUPLATFORM_STORE_INPUT_FILE_H
#define FRUPLATFORM_STORE_INPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "store/bytes.h"

namespace fruplat {

enum class FileKinds { RegularOnly, RegularOrDevice };

// Opens `path` with `flags` and O_NONBLOCK, checks what it is, and then
// lets reads and writes block again as a file or device expects: a
// descriptor (>= 0) or a status, negated: -kNotRegularFile or
// -kImageNotStorage for the wrong kind, -kImageIo when it cannot be opened.
// `info`, when given, receives what the file is.
int open_checked(const char *path, int flags, FileKinds kinds, struct stat *info = nullptr);

inline int open_input(const char *path, FileKinds kinds)
{
    return open_checked(path, O_RDONLY, kinds);
}

// Everything `fd` holds from its current offset, up to `limit` bytes;
// kInputTooLarge when there is more, kImageIo when a read fails. `known`
// is the file's status where the caller already has it.
[[nodiscard]] int32_t read_bounded(int fd, size_t limit, Bytes *content, const struct stat *known = nullptr);

// Bytes read into memory that is not cleared first.
struct RawText {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};
[[nodiscard]] int32_t read_bounded(int fd, size_t limit, RawText *content, const struct stat *known = nullptr);

// The whole content of a regular file of at most `limit` bytes; kImageIo
// when it cannot be opened or read, kNotRegularFile, kInputTooLarge.
[[nodiscard]] int32_t read_regular_file(const std::string &path, size_t limit, Bytes *content);

}  // namespace fruplat

#endif
