#ifndef QUILLET_TESTS_CROSSCHECK_FIXTURE_H
#define QUILLET_TESTS_CROSSCHECK_FIXTURE_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "e2e/e2e_fixture.h"
#include "store/bytes.h"

namespace quillet_test {

// Name and value pairs of a quillet read, in the order printed.
using Presented = std::vector<std::pair<std::string, std::string>>;

Presented parse_presentation(const std::string &out);
std::string value_of(const Presented &lines, const std::string &name);

// Runs an independent decoder; skips the test when it is not installed
// unless QUILLET_REQUIRE_CROSSCHECK is set (CI sets it).
bool decoder_available(const std::string &program);

class CrossCheck : public EndToEnd {
protected:
    // The decoders print dates in local time; quillet prints UTC.
    void SetUp() override;
    std::string write_file(const std::string &name, const fruplat::Bytes &bytes);
    Outcome run_decoder(const std::vector<std::string> &argv);
};

}  // namespace quillet_test

#endif
