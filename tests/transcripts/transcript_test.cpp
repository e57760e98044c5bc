// Runs each tests/transcripts/*.t as a user at a shell would: every "$ "
// line goes to /bin/sh in a fresh store, with quillet and fructl on the
// PATH, and what it prints must be what the file shows beneath it:
//   | a line of standard output        ! a line of standard error
//   [N] the exit status, when not 0    ... (no eol) a last line without newline
// An expected line ending in " (re)" is a regular expression for the text
// after its two-character prefix (timestamps of fresh updates). Other lines
// are kept as they stand. QUILLET_TRANSCRIPT_UPDATE=1 rewrites the files with
// what the binaries printed, for review with git diff.
#define _FILE_OFFSET_BITS 64

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e/e2e_fixture.h"

namespace quillet_test {
namespace {

const std::string kRegexSuffix = " (re)";

std::vector<std::string> lines_of(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool is_output(const std::string &line)
{
    return line.starts_with("|") || line.starts_with("!") ||
           (line.size() > 2 && line.front() == '[' && line.back() == ']');
}

void render_stream(const std::string &text, char mark, std::string *out)
{
    std::vector<std::string> lines = lines_of(text);
    if (!text.empty() && text.back() != '\n')
        lines.back() += " (no eol)";
    for (const std::string &line : lines)
        *out += line.empty() ? std::string(1, mark) + "\n" : std::string(1, mark) + " " + line + "\n";
}

// The binaries as a user types them; a cross build's run through its
// emulator, told the name they were called by.
void install_binaries(const std::string &bin)
{
    ASSERT_EQ(mkdir(bin.c_str(), 0755), 0);
    const std::vector<std::string> emulator = emulator_words();
    for (const auto &[name, path] : {std::pair<std::string, std::string>{"quillet", QUILLET_TEST_QUILLET},
                                     {"fructl", QUILLET_TEST_FRUCTL}}) {
        const std::string link = bin + "/" + name;
        if (emulator.empty()) {
            ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
            continue;
        }
        std::string command;
        for (size_t i = 0; i < emulator.size(); ++i)
            command += emulator[i] + (i == 0 && emulator[0].find("qemu") != std::string::npos ? " -0 " + name : "") + " ";
        std::ofstream(link) << "#!/bin/sh\nexec " << command << path << " \"$@\"\n";
        ASSERT_EQ(chmod(link.c_str(), 0755), 0);
    }
}

class Transcript : public EndToEnd, public ::testing::WithParamInterface<std::string> {
protected:
    // A transcript that failed half-way may leave mounts in its directory.
    void TearDown() override
    {
        run_program("/bin/sh", {"-c", "grep -o ' " + scratch_ + "/[^ ]*' /proc/self/mountinfo | sort -r | xargs -r -n1 umount -l"},
                    "", scratch_, false);
        EndToEnd::TearDown();
    }
    // The file as the binaries would have written it.
    std::string replay(const std::vector<std::string> &expected)
    {
        const std::string work = scratch_ + "/work";
        EXPECT_EQ(mkdir(work.c_str(), 0755), 0);
        const std::string prologue = "export PATH='" + scratch_ + "/bin':\"$PATH\" STORE='" + store_ +
                                     "' DATA='" QUILLET_TEST_DATA "'; cd '" + work + "' || exit 99\n";
        std::string actual;
        for (const std::string &line : expected) {
            if (is_output(line))
                continue;
            actual += line + "\n";
            if (!line.starts_with("$ "))
                continue;
            const Outcome o = run_program("/bin/sh", {"-c", prologue + line.substr(2)}, "", scratch_, false);
            render_stream(o.out, '|', &actual);
            render_stream(o.err, '!', &actual);
            if (o.status != 0)
                actual += std::string("[") + std::to_string(o.status) + "]\n";
        }
        return actual;
    }
};

// Expected lines that are patterns take the actual line they match, so
// that only real differences show. Lines pair up by their place under the
// same command (the commands come in the file's order), so that an edited
// file still keeps its patterns.
std::string with_patterns_matched(const std::vector<std::string> &expected, const std::string &actual)
{
    std::string text;
    size_t at = expected.size(), next_command = 0;  // the expected line the actual one stands for
    for (std::string line : lines_of(actual)) {
        if (line.starts_with("$ ")) {
            at = std::find(expected.begin() + static_cast<long>(next_command), expected.end(), line) - expected.begin();
            next_command = std::min(at + 1, expected.size());
        } else if (++at < expected.size()) {
            const std::string &want = expected[at];
            if (want.ends_with(kRegexSuffix) && want.size() >= 2 + kRegexSuffix.size() && line.starts_with(want.substr(0, 2)) &&
                std::regex_match(line.substr(2), std::regex(want.substr(2, want.size() - 2 - kRegexSuffix.size()))))
                line = want;
        }
        text += line + "\n";
    }
    return text;
}

TEST_P(Transcript, PrintsWhatItShows)
{
    const std::string path = std::string(QUILLET_TEST_TRANSCRIPTS) + "/" + GetParam() + ".t";
    ASSERT_NO_FATAL_FAILURE(install_binaries(scratch_ + "/bin"));
    const std::string written = slurp(path);
    ASSERT_FALSE(written.empty()) << path;
    const std::vector<std::string> expected = lines_of(written);
    const std::string actual = with_patterns_matched(expected, replay(expected));
    if (const char *update = std::getenv("QUILLET_TRANSCRIPT_UPDATE"); update != nullptr && *update == '1')
        std::ofstream(path, std::ios::binary) << actual;
    else
        EXPECT_EQ(actual, written);
}

std::vector<std::string> transcripts()
{
    std::vector<std::string> names;
    for (const std::string &file : listing(QUILLET_TEST_TRANSCRIPTS))
        if (file.ends_with(".t"))
            names.push_back(file.substr(0, file.size() - 2));
    return names;
}

INSTANTIATE_TEST_SUITE_P(Files, Transcript, ::testing::ValuesIn(transcripts()), [](const auto &info) {
    std::string name = info.param;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
});

}  // namespace
}  // namespace quillet_test
