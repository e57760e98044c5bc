#include "support/tool_fixture.h"

#include <cstdio>
#include <memory>
#include <unistd.h>

#include "cli/quillet_main.h"
#include "cli/usage.h"
#include "records/buffer_set.h"
#include "segments/bad_crc_scan.h"

namespace quillet_test {

void ToolTest::SetUp()
{
    fake::reset();
    quillet::release_record_buffer_set();
}

void ToolTest::TearDown()
{
    quillet::release_record_buffer_set();
    quillet::set_answer_stream(nullptr);
}

RunResult ToolTest::run(std::vector<std::string> args)
{
    return run_with_answers(std::move(args), "");
}

RunResult ToolTest::run_with_answers(std::vector<std::string> args, const std::string &answers)
{
    // getopt keeps its place between calls; 0 makes glibc start afresh.
    optind = 0;
    opterr = 1;
    std::vector<std::vector<char>> storage;
    std::vector<char *> argv;
    for (const std::string &a : args) {
        storage.emplace_back(a.begin(), a.end());
        storage.back().push_back('\0');
    }
    for (auto &s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    FILE *answer_stream = fmemopen(const_cast<char *>(answers.data()), answers.size(), "r");
    if (answers.empty()) {
        if (answer_stream != nullptr)
            std::fclose(answer_stream);
        answer_stream = std::fopen("/dev/null", "r");
    }
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
    char *text = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&text, &size);
    std::fprintf(out, quillet::kUsageFormat, program_name.c_str());
    std::fclose(out);
    std::string usage(text, size);
    std::free(text);
    return usage;
}

}  // namespace quillet_test
