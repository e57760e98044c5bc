#include "e2e/e2e_fixture.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet_test {

namespace {

std::vector<std::string> emulator_prefix()
{
    std::vector<std::string> prefix;
    std::stringstream in(QUILLET_TEST_EMULATOR);
    std::string part;
    while (std::getline(in, part, '|'))
        if (!part.empty())
            prefix.push_back(part);
    return prefix;
}

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void EndToEnd::SetUp()
{
    char dir[] = "/tmp/quillet-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    scratch_ = dir;
    store_ = scratch_ + "/store";
    setenv("QUILLET_FRU_STORE", store_.c_str(), 1);
    ASSERT_EQ(fructl({"init"}).status, 0);
}

void EndToEnd::TearDown()
{
    const std::string command = "rm -rf '" + scratch_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

// Runs a program with its output in files; the project's own binaries run
// through the emulator of a cross build, other programs as they are.
// Replaces the forked child with argv[0]; 127 when it cannot be started.
[[noreturn]] static void exec_argv(std::vector<std::string> &argv)
{
    std::vector<char *> raw;
    for (std::string &a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    execvp(raw[0], raw.data());
    _exit(127);
}

Outcome run_program(const std::string &program, const std::vector<std::string> &args,
                    const std::string &input, const std::string &scratch, bool emulated)
{
    const std::string in_path = scratch + "/stdin";
    const std::string out_path = scratch + "/stdout";
    const std::string err_path = scratch + "/stderr";
    std::ofstream(in_path, std::ios::binary) << input;
    std::vector<std::string> argv = emulated ? emulator_prefix() : std::vector<std::string>{};
    argv.push_back(program);
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(in_path.c_str(), O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        // A run that blocks (on a FIFO, say) ends instead of hanging the suite.
        alarm(120);
        exec_argv(argv);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), slurp(out_path),
            slurp(err_path)};
}

Running start_program(const std::string &program, const std::vector<std::string> &args,
                      bool emulated)
{
    std::vector<std::string> argv = emulated ? emulator_prefix() : std::vector<std::string>{};
    argv.push_back(program);
    argv.insert(argv.end(), args.begin(), args.end());
    int in[2];
    int err[2];
    Running running;
    if (pipe(in) != 0 || pipe(err) != 0)
        return running;
    running.pid = fork();
    if (running.pid == 0) {
        const int out = open("/dev/null", O_WRONLY);
        dup2(in[0], 0);
        dup2(out, 1);
        dup2(err[1], 2);
        close(in[1]);
        close(err[0]);
        exec_argv(argv);
    }
    close(in[0]);
    close(err[1]);
    running.input = in[1];
    running.errors = err[0];
    return running;
}

bool wait_for(Running &running, const std::string &text)
{
    char chunk[256];
    while (running.err.find(text) == std::string::npos) {
        const ssize_t n = read(running.errors, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        running.err.append(chunk, static_cast<size_t>(n));
    }
    return true;
}

Outcome finish(Running &running, const std::string &input)
{
    if (!input.empty() && write(running.input, input.data(), input.size()) < 0)
        ADD_FAILURE() << "could not answer";
    close(running.input);
    char chunk[256];
    for (ssize_t n; (n = read(running.errors, chunk, sizeof chunk)) > 0;)
        running.err.append(chunk, static_cast<size_t>(n));
    close(running.errors);
    int status = 0;
    waitpid(running.pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), "", running.err};
}

Running EndToEnd::start_quillet(const std::vector<std::string> &args)
{
    return start_program(QUILLET_TEST_QUILLET, args, true);
}

Outcome EndToEnd::quillet(const std::vector<std::string> &args, const std::string &input)
{
    return run_program(QUILLET_TEST_QUILLET, args, input, scratch_, true);
}

Outcome EndToEnd::fructl(const std::vector<std::string> &args)
{
    return run_program(QUILLET_TEST_FRUCTL, args, "", scratch_, true);
}

std::vector<std::string> EndToEnd::stored(const std::string &nac, const std::string &record)
{
    const Outcome o = fructl({"get", nac, record});
    EXPECT_EQ(o.status, 0) << o.err;
    std::vector<std::string> lines;
    std::stringstream in(o.out);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
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

std::string without_stamp(const std::string &hex)
{
    return hex.size() >= 8 ? "TTTTTTTT" + hex.substr(8) : hex;
}

}  // namespace quillet_test
