#include "support/tool_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/quillet_main.h"
#include "cli/usage.h"
#include "records/buffer_set.h"
#include "segments/bad_crc_scan.h"

namespace quillet_test {

TempFiles::~TempFiles()
{
    for (const std::string &path : paths_)
        unlink(path.c_str());
}

std::string TempFiles::make(size_t size, mode_t mode, unsigned step)
{
    std::string content;
    for (size_t i = 0; i < size; ++i)
        content += static_cast<char>('A' + (i * step) % 26);
    char path[] = "/tmp/quillet-test-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, content.data(), size) != static_cast<ssize_t>(size))
        ADD_FAILURE() << "cannot make " << path;
    close(fd);
    chmod(path, mode);
    paths_.push_back(path);
    return path;
}

void ToolTest::SetUp()
{
    fake::reset();
    quillet::release_record_buffer_set();
}

RunResult ToolTest::run(std::vector<std::string> args, const std::string &answers)
{
    optind = 0;  // getopt keeps its place between calls; 0 makes glibc start afresh
    opterr = 1;
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    FILE *answer_stream = answers.empty()
                              ? std::fopen("/dev/null", "r")
                              : fmemopen(const_cast<char *>(answers.data()), answers.size(), "r");
    quillet::set_answer_stream(answer_stream);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = quillet::quillet_main(static_cast<int>(args.size()), argv.data());
    std::fflush(stdout);
    std::fflush(stderr);
    RunResult result{status & 0xff, ::testing::internal::GetCapturedStdout(),
                     ::testing::internal::GetCapturedStderr()};
    quillet::set_answer_stream(nullptr);
    std::fclose(answer_stream);
    return result;
}

std::string usage_for(const std::string &program_name)
{
    static char text[32768];
    const int n = std::snprintf(text, sizeof text, quillet::kUsageFormat, program_name.c_str());
    return std::string(text, static_cast<size_t>(n));
}

}  // namespace quillet_test
