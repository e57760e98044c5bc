// Runs the built quillet and fructl, as a user would, against a temporary
// store. Under a cross build the binaries run through the same emulator as
// the tests themselves.
#ifndef QUILLET_TESTS_E2E_FIXTURE_H
#define QUILLET_TESTS_E2E_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/bytes.h"

namespace quillet_test {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs a program with its standard input, output and error in files under
// `scratch` (the input file may be a FIFO made beforehand); `emulated` runs
// it through the cross build's emulator (the project's own binaries).
Outcome run_program(const std::string &program, const std::vector<std::string> &args, const std::string &input,
                    const std::string &scratch, bool emulated);

// The cross build's emulator command, one word an element; empty natively.
std::vector<std::string> emulator_words();

std::string slurp(const std::string &path);
// The names in a directory, "." and ".." aside, sorted.
std::vector<std::string> listing(const std::string &dir);

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Outcome quillet(const std::vector<std::string> &args, const std::string &input = "")
    {
        return run_program(QUILLET_TEST_QUILLET, args, input, scratch_, true);
    }
    Outcome fructl(const std::vector<std::string> &args) { return run_program(QUILLET_TEST_FRUCTL, args, "", scratch_, true); }
    std::string image_bytes(const std::string &nac);
    std::string temp_file(const std::string &content, int mode = 0644);
    // Adds a container of `family` holding `image`.
    void add_image(const std::string &nac, const char *family, const fruplat::Bytes &image);

    std::string store_;
    std::string scratch_;
};

}  // namespace quillet_test

#endif
