// What every fuzz target shares: a scratch store on a memory file system,
// files written whole, and the process-wide state of the tool put back
// between runs so that one input never depends on the one before it.
#ifndef QUILLET_FUZZ_FUZZ_SUPPORT_H
#define QUILLET_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

// A fresh directory made once per process, removed at exit; /dev/shm when
// there is one, since the platform syncs every write it makes.
const std::string &scratch_dir();

// Replaces `path` with `size` bytes of `data`; aborts when it cannot, since
// a target that silently tests nothing is worse than one that stops.
void write_file(const std::string &path, const uint8_t *data, size_t size);
void write_file(const std::string &path, const std::string &text);

// A scratch store holding one container, with QUILLET_FRU_STORE pointing at
// it; the image is written on every call so each run starts from `image`.
struct ScratchStore {
    std::string dir;
    std::string image_path;
};
ScratchStore make_store(const char *nac, const char *family, uint32_t capacity);
void put_image(const ScratchStore &store, const uint8_t *data, size_t size);

// The input as a NUL-terminated text the tool may split in place.
std::vector<char> text_of(const uint8_t *data, size_t size);

// Runs the tool's whole front end as main would; resets getopt, the option
// settings and the record buffer set first.
int run_tool(std::vector<std::string> arguments);

// A stream that swallows what the presenters print.
FILE *null_stream();

}  // namespace fuzzing

#endif
