// Reading what quillet and the independent decoders print, so that the
// cross-checks compare fields rather than layouts.
#ifndef QUILLET_TESTS_CROSSCHECK_DECODER_OUTPUT_H
#define QUILLET_TESTS_CROSSCHECK_DECODER_OUTPUT_H

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

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

// "    name : value" lines of a quillet read; "label value" lines of
// decode-dimms, whose values start in column 49.
inline Fields parse_fields(const std::string &out, bool quillet_read)
{
    Fields fields;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        const size_t colon = line.find(':');
        if (quillet_read && line.rfind("    ", 0) == 0 && colon != std::string::npos)
            fields.emplace(trim(line.substr(4, colon - 4)), colon + 2 <= line.size() ? line.substr(colon + 2) : "");
        else if (!quillet_read && line.size() >= 49 && line[0] != '#' && line.rfind("---", 0) != 0)
            fields.emplace(trim(line.substr(0, 48)), trim(line.substr(49)));
    }
    return fields;
}

}  // namespace quillet_test

// CI sets QUILLET_REQUIRE_CROSSCHECK: there a missing decoder fails.
#define REQUIRE_DECODER(program, package)                                              \
    if (std::system("command -v " program " >/dev/null 2>&1") != 0) {                \
        if (std::getenv("QUILLET_REQUIRE_CROSSCHECK") != nullptr)                     \
            FAIL() << program " (" package ") is required";                          \
        GTEST_SKIP() << program " (" package ") not installed";                      \
    }

#endif
