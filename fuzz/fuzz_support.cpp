#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/quillet_main.h"
#include "records/buffer_set.h"

namespace fuzzing {

namespace {

void remove_scratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratch_dir(), ignored);
}

std::string make_scratch()
{
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/quillet-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("quillet fuzz: mkdtemp");
        std::abort();
    }
    return pattern;
}

}  // namespace

const std::string &scratch_dir()
{
    // Never destroyed: the exit handler that removes it runs after every
    // static destructor registered later than itself.
    static const std::string *dir = [] {
        auto *made = new std::string(make_scratch());
        std::atexit(remove_scratch);
        return made;
    }();
    return *dir;
}

void write_file(const std::string &path, const uint8_t *data, size_t size)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || (size > 0 && write(fd, data, size) != static_cast<ssize_t>(size))) {
        std::perror(path.c_str());
        std::abort();
    }
    close(fd);
}

void write_file(const std::string &path, const std::string &text)
{
    write_file(path, reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

ScratchStore make_store(const char *nac, const char *family, uint32_t capacity)
{
    ScratchStore store;
    store.dir = scratch_dir() + "/store";
    mkdir(store.dir.c_str(), 0755);
    store.image_path = store.dir + "/fuzzed.img";
    write_file(store.dir + "/inventory", std::string(nac) + " 0 " + family + " fuzzed.img " +
                                             std::to_string(capacity) + "\n");
    setenv("QUILLET_FRU_STORE", store.dir.c_str(), 1);
    return store;
}

void put_image(const ScratchStore &store, const uint8_t *data, size_t size)
{
    write_file(store.image_path, data, size);
}

std::vector<char> text_of(const uint8_t *data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    return text;
}

int run_tool(std::vector<std::string> arguments)
{
    std::vector<char *> argv;
    for (std::string &a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    optind = 0;  // glibc: also forgets where it was inside a cluster of options
    quillet::release_record_buffer_set();
    const int status = quillet::quillet_main(static_cast<int>(arguments.size()), argv.data());
    quillet::release_record_buffer_set();
    std::fflush(stdout);
    return status;
}

FILE *null_stream()
{
    static FILE *stream = std::fopen("/dev/null", "w");
    return stream;
}

}  // namespace fuzzing
