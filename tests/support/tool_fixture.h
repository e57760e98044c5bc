// Runs the tool's front end in-process against the recording fake, with
// every piece of process-wide state put back between tests.
#ifndef QUILLET_TESTS_TOOL_FIXTURE_H
#define QUILLET_TESTS_TOOL_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <sys/types.h>
#include <vector>

#include "fake/fake_platform.h"
#include "support/hex.h"

namespace quillet_test {

using Calls = std::vector<std::string>;

struct RunResult {
    int status;  // as the process would report it (low 8 bits)
    std::string out, err;
};

// Files a test makes, removed again when it goes: `size` bytes that differ
// from one offset to the next ('A' + i * step, modulo 26).
class TempFiles {
public:
    ~TempFiles();
    std::string make(size_t size, mode_t mode = 0644, unsigned step = 1);
private:
    std::vector<std::string> paths_;
};

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Runs quillet with these arguments (program name first), feeding
    // `answers` to the y/n prompts.
    RunResult run(std::vector<std::string> args, const std::string &answers = "");
    RunResult run(std::vector<std::string> args, const std::vector<std::string> &more)
    {
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    }
    fake::Platform &fake() { return fake::platform(); }
    TempFiles files_;
};

// The usage text as printed for this program name.
std::string usage_for(const std::string &program_name);

}  // namespace quillet_test

#endif
