#include "crosscheck/crosscheck_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quillet_test {

Presented parse_presentation(const std::string &out)
{
    Presented lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("    ", 0) != 0)
            continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(4, colon - 4);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        const std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
        lines.emplace_back(name, value);
    }
    return lines;
}

std::string value_of(const Presented &lines, const std::string &name)
{
    for (const auto &[n, v] : lines)
        if (n == name)
            return v;
    return "<missing " + name + ">";
}

bool decoder_available(const std::string &program)
{
    const std::string command = "command -v " + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void CrossCheck::SetUp()
{
    setenv("TZ", "UTC0", 1);
    EndToEnd::SetUp();
}

std::string CrossCheck::write_file(const std::string &name, const fruplat::Bytes &bytes)
{
    const std::string path = scratch_ + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

Outcome CrossCheck::run_decoder(const std::vector<std::string> &argv)
{
    return run_program(argv[0], {argv.begin() + 1, argv.end()}, "", scratch_, false);
}

}  // namespace quillet_test
