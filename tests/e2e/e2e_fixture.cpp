// Directory offsets of a 64-bit host's file system overflow the 32-bit
// readdir of the PowerPC build, which then lists nothing.
#define _FILE_OFFSET_BITS 64

#include "e2e/e2e_fixture.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet_test {

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> listing(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> emulator_words()
{
    std::vector<std::string> words;
    std::stringstream emulator(QUILLET_TEST_EMULATOR);
    for (std::string part; std::getline(emulator, part, '|');)
        if (!part.empty())
            words.push_back(part);
    return words;
}

Outcome run_program(const std::string &program, const std::vector<std::string> &args, const std::string &input,
                    const std::string &scratch, bool emulated)
{
    const std::string in = scratch + "/stdin", out = scratch + "/stdout", err = scratch + "/stderr";
    std::ofstream(in, std::ios::binary) << input;
    std::vector<std::string> argv = emulated ? emulator_words() : std::vector<std::string>{};
    argv.push_back(program);
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        // A run that blocks (on a FIFO, say) ends instead of hanging the suite.
        alarm(120);
        std::vector<char *> raw;
        for (std::string &a : argv)
            raw.push_back(a.data());
        raw.push_back(nullptr);
        execvp(raw[0], raw.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), slurp(out), slurp(err)};
}

void EndToEnd::SetUp()
{
    char dir[] = "/tmp/quillet-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    scratch_ = dir;
    store_ = scratch_ + "/store";
    setenv("QUILLET_FRU_STORE", store_.c_str(), 1);
    // Locks of the run's own, not in the machine's /run/quillet.
    setenv("QUILLET_LOCK_DIR", (scratch_ + "/locks").c_str(), 1);
    ASSERT_EQ(fructl({"init"}).status, 0);
}

void EndToEnd::TearDown()
{
    ASSERT_EQ(std::system(("rm -rf '" + scratch_ + "'").c_str()), 0);
}

std::string EndToEnd::image_bytes(const std::string &nac)
{
    const std::string path = scratch_ + "/image-of-" + std::to_string(getpid());
    EXPECT_EQ(fructl({"image", nac, path}).status, 0);
    return slurp(path);
}

std::string EndToEnd::temp_file(const std::string &content, int mode)
{
    static int counter = 0;
    const std::string path = scratch_ + "/file" + std::to_string(++counter);
    std::ofstream(path, std::ios::binary) << content;
    chmod(path.c_str(), static_cast<mode_t>(mode));
    return path;
}

void EndToEnd::add_image(const std::string &nac, const char *family, const fruplat::Bytes &image)
{
    ASSERT_EQ(fructl({"add", nac, family, "--from", temp_file(std::string(image.begin(), image.end()))}).status, 0);
}

}  // namespace quillet_test
