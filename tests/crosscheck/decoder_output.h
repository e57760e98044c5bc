// Reading what quillet and the independent decoders print, so that the
// cross-checks compare fields rather than layouts.
#ifndef QUILLET_TESTS_CROSSCHECK_DECODER_OUTPUT_H
#define QUILLET_TESTS_CROSSCHECK_DECODER_OUTPUT_H

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "e2e/e2e_fixture.h"

namespace quillet_test {

using Fields = std::map<std::string, std::string>;  // name and value as printed

inline std::string trim(std::string text)
{
    return text.erase(text.find_last_not_of(' ') + 1);
}

inline std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

inline std::string value_of(const Fields &fields, const std::string &name)
{
    const auto found = fields.find(name);
    return found == fields.end() ? "<missing " + name + ">" : found->second;
}

// Adds a "    name : value" line, as quillet prints a field; other lines add nothing.
inline void add_quillet_field(const std::string &line, Fields &fields)
{
    const size_t colon = line.find(':');
    if (line.rfind("    ", 0) == 0 && colon != std::string::npos)
        fields.emplace(trim(line.substr(4, colon - 4)), colon + 2 <= line.size() ? line.substr(colon + 2) : "");
}

// The fields of a quillet read; "label value" lines of decode-dimms, whose
// values start in column 49.
inline Fields parse_fields(const std::string &out, bool quillet_read)
{
    Fields fields;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (quillet_read)
            add_quillet_field(line, fields);
        else if (line.size() >= 49 && line[0] != '#' && line.rfind("---", 0) != 0)
            fields.emplace(trim(line.substr(0, 48)), trim(line.substr(49)));
    }
    return fields;
}

// ipmi-fru's bytes, "01h 02h", as quillet prints them: "01 02".
inline std::string freeipmi_bytes(const std::string &theirs)
{
    std::string bytes;
    std::istringstream in(theirs);
    for (std::string byte; in >> byte;)
        bytes.append(bytes.empty() ? "" : " ").append(lower(byte.substr(0, 2)));
    return bytes;
}

class CrossCheck : public EndToEnd {
protected:
    // The decoders print dates in local time; quillet prints UTC.
    void SetUp() override
    {
        setenv("TZ", "UTC0", 1);
        EndToEnd::SetUp();
    }
    std::string file_of(const fruplat::Bytes &bytes) { return temp_file(std::string(bytes.begin(), bytes.end())); }
    Outcome decode(const char *program, const std::vector<std::string> &args)
    {
        return run_program(program, args, "", scratch_, false);
    }
};

}  // namespace quillet_test

// CI sets QUILLET_REQUIRE_CROSSCHECK: there a missing decoder fails.
#define REQUIRE_DECODER(program, package)                                              \
    if (std::system("command -v " program " >/dev/null 2>&1") != 0) {                \
        if (std::getenv("QUILLET_REQUIRE_CROSSCHECK") != nullptr)                     \
            FAIL() << program " (" package ") is required";                          \
        GTEST_SKIP() << program " (" package ") not installed";                      \
    }

#endif
