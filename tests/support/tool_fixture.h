// Runs the tool's front end in-process against the recording fake, with
// every piece of process-wide state put back between tests.
#ifndef QUILLET_TESTS_TOOL_FIXTURE_H
#define QUILLET_TESTS_TOOL_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_platform.h"

namespace quillet_test {

struct RunResult {
    int status;        // as the process would report it (low 8 bits)
    std::string out;
    std::string err;
};

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs quillet with these arguments (program name first).
    RunResult run(std::vector<std::string> args);
    // Same, feeding `answers` to the y/n prompts.
    RunResult run_with_answers(std::vector<std::string> args, const std::string &answers);

    fake::Platform &fake() { return fake::platform(); }
};

// The usage text as printed for this program name.
std::string usage_for(const std::string &program_name);

}  // namespace quillet_test

#endif
