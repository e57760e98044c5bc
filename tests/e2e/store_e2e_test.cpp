// The store under hostile input and concurrent edits, through the built
// quillet and fructl: refusals leave every byte in place, edits never lose
// or share anything.
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "e2e/e2e_fixture.h"

namespace quillet_test {
namespace {

class Store : public EndToEnd {
protected:
    // Every file of the store and its images/ by name, lock files aside
    // (readers create those).
    std::map<std::string, std::string> snapshot()
    {
        std::map<std::string, std::string> files;
        for (const std::string &dir : {store_, store_ + "/images"}) {
            for (const std::string &name : listing(dir)) {
                const std::string path = dir + "/" + name;
                struct stat info;
                if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && !name.ends_with(".lock"))
                    files[path] = S_ISREG(info.st_mode) ? slurp(path) : "(not a file)";
            }
        }
        EXPECT_FALSE(files.empty()) << "listing " << store_ << " failed";
        return files;
    }

    void write_inventory(const std::string &text) { std::ofstream(store_ + "/inventory") << text; }

    // NAC -> PATH of `fructl list`.
    std::map<std::string, std::string> listed()
    {
        std::map<std::string, std::string> paths;
        std::istringstream in(fructl({"list"}).out);
        std::string nac, type, family, capacity, path, line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            words >> nac >> type >> family >> capacity >> path;
            paths[nac] = path;
        }
        return paths;
    }
};

// Each row is refused with its own status and message, and the store keeps
// every byte. Before these were refused, the FIFO rows blocked for ever,
// /dev/zero ran out of memory, the over-size image made a container that
// broke the whole store, the names and types were written into the
// inventory, and a type that does not fit its family made an update copy a
// record of the wrong size into the image.
TEST_F(Store, HostileInputsAreRefusedAndLeaveEveryByteInPlace)
{
    ASSERT_EQ(fructl({"demo"}).status, 0);
    const std::string fifo = scratch_ + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0444), 0);
    const std::string big = temp_file(std::string((1u << 20) + 1, '\0'));
    const std::string demo_inventory = slurp(store_ + "/inventory");
    const std::string mb_image = listed()["MB"];
    const std::string nac_rule = "NAC name must be 1 to 64 printable characters without blanks or '#'\n";
    const std::string type_rule =
        "Container type does not fit its family (zan 0 or 4, ipmi 1, dimm 2, pirom 3)\n";
    const struct {
        const char *what;
        std::string extra_line;  // appended to the inventory for the run
        bool quillet;
        std::vector<std::string> args;
        int status;
        std::string err;
    } rows[] = {
        {"--from a FIFO", "", false, {"add", "A", "zan", "--from", fifo}, 1,
         "fructl: " + fifo + ": Not a regular file\n"},
        {"--from /dev/zero", "", false, {"add", "A", "zan", "--from", "/dev/zero"}, 1,
         "fructl: /dev/zero: Not a regular file\n"},
        {"--from beyond the largest container", "", false, {"add", "A", "zan", "--from", big}, 1,
         "fructl: " + big + ": File larger than the largest container (1048576 bytes)\n"},
        {"put of the wrong size", "", false, {"put", "MB", "ManR", "00"}, 1, "fructl: ManR takes 183 bytes, not 1\n"},
        {"vertical tab in a name", "", false, {"add", "A\vB", "zan"}, 2, "fructl: A\vB: " + nac_rule},
        {"form feed in a name", "", false, {"add", "A\fB", "zan"}, 2, "fructl: A\fB: " + nac_rule},
        {"'#' in a name", "", false, {"add", "#A", "zan"}, 2, "fructl: #A: " + nac_rule},
        {"name of 65 characters", "", false, {"add", std::string(65, 'N'), "zan"}, 2,
         "fructl: " + std::string(65, 'N') + ": " + nac_rule},
        {"zan with type 2", "", false, {"add", "Z2", "zan", "--type", "2"}, 2, "fructl: Z2: " + type_rule},
        {"dimm with type 0", "", false, {"add", "D", "dimm", "--type", "0"}, 2, "fructl: D: " + type_rule},
        {"pirom with type 4", "", false, {"add", "P", "pirom", "--type", "4"}, 2, "fructl: P: " + type_rule},
        {"device path with a blank", "", false, {"add", "E", "dimm", "--device", "/dev/a b"}, 2,
         "fructl: /dev/a b: PATH must be 1 to 4095 characters without blanks or control characters\n"},
        {"-i a FIFO", "", true, {"-c", "MB", "-i", fifo}, 255,
         "Image file " + fifo + " is not a regular file\n"},
        {"-i /dev/zero", "", true, {"-c", "MB", "-i", "/dev/zero"}, 255,
         "Image file /dev/zero is not a regular file\n"},
        {"opaque filename= /dev/zero", "", true,
         {"-c", "MB", "-s", "segname=O1,filename=/dev/zero,section=STATIC"}, 23,
         "Opaque file /dev/zero is not a regular file\n"},
        {"opaque filename= a FIFO", "", true,
         {"-c", "MB", "-s", "segname=O1,filename=" + fifo + ",section=STATIC"}, 23,
         "Opaque file " + fifo + " is not a regular file\n"},
        {"file element a FIFO", "", true, {"-c", "MB", "-r", "PwrMgmt_RFR", "-o", "filename=" + fifo}, 23,
         "Input file stat mode failed for Opaque file " + fifo +
             "\n\nError: Please provide string of name value pairs separated by commas.\n"},
        {"container image a FIFO", "F 0 zan " + fifo + " 16384\n", true, {"-c", "F", "-r", "ManR"}, 92,
         "\n Error: Container image is neither a regular file nor a device node\n"},
        {"inventory type that does not fit", "Z2 2 zan " + mb_image + " 16384\n", true,
         {"-c", "Z2", "-r", "Zan_Man1R", "-o", "fru_description=x"}, 61,
         "fru store: " + store_ + "/inventory line 6: TYPE 2 does not fit FAMILY zan, which takes 0 or 4 "
                                  "(or unknown)\n"},
        {"inventory name with a form feed", "A\fB 0 zan " + mb_image + " 16384\n", true,
         {"-c", "A\fB", "-r", "ManR"}, 61,
         "fru store: " + store_ + "/inventory line 6: NAC must be 1 to 64 printable characters without "
                                  "blanks or '#'\n"},
    };
    for (const auto &row : rows) {
        write_inventory(demo_inventory + row.extra_line);
        const auto before = snapshot();
        const Outcome o = row.quillet ? quillet(row.args) : fructl(row.args);
        EXPECT_EQ(o.status, row.status) << row.what;
        EXPECT_TRUE(o.err.starts_with(row.err)) << row.what << ": " << o.err;
        EXPECT_EQ(snapshot(), before) << row.what;
    }
    // The type fits, or is left unknown, for every family.
    write_inventory(demo_inventory);
    for (const auto &[family, type] : {std::pair<const char *, const char *>{"zan", "0"}, {"zan", "4"}, {"ipmi", "1"},
                                       {"dimm", "2"}, {"pirom", "3"}, {"pirom", "unknown"}})
        EXPECT_EQ(fructl({"add", std::string(family) + type, family, "--type", type}).status, 0) << family << type;
    EXPECT_EQ(listed().size(), 10u);
}

TEST_F(Store, EightConcurrentAddsEachKeepTheirOwnImage)
{
    constexpr int kAdds = 8;
    int statuses[kAdds];
    std::vector<std::thread> adds;
    for (int i = 0; i < kAdds; ++i) {
        const std::string own = scratch_ + "/run" + std::to_string(i);
        ASSERT_EQ(mkdir(own.c_str(), 0755), 0);
        adds.emplace_back([&, i, own] {
            statuses[i] = run_program(QUILLET_TEST_FRUCTL, {"add", "C" + std::to_string(i), "zan"}, "",
                                      own, true)
                              .status;
        });
    }
    for (std::thread &t : adds)
        t.join();
    const auto paths = listed();
    std::set<std::string> images;
    for (int i = 0; i < kAdds; ++i) {
        EXPECT_EQ(statuses[i], 0) << i;
        const auto it = paths.find("C" + std::to_string(i));
        ASSERT_NE(it, paths.end()) << i;
        images.insert(it->second);
    }
    EXPECT_EQ(images.size(), static_cast<size_t>(kAdds));
    size_t on_disk = 0;
    for (const auto &file : snapshot())
        on_disk += file.first.find("/images/") != std::string::npos;
    EXPECT_EQ(on_disk, static_cast<size_t>(kAdds)) << "no orphan images";
}

// A failed add or demo takes away what it made: here the images/ directory
// runs out of space before the first image is written.
TEST_F(Store, FailedEditsLeaveNothingBehind)
{
    const std::string images = store_ + "/images";
    ASSERT_EQ(mount("tmpfs", images.c_str(), "tmpfs", 0, "size=8k"), 0) << "needs root";
    const auto before = snapshot();
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"add", "MB", "zan"}, {"demo"}}) {
        EXPECT_EQ(fructl(args).status, 1) << args[0];
        EXPECT_EQ(snapshot(), before) << args[0];
        EXPECT_EQ(fructl({"list"}).out, "") << args[0];
    }
    EXPECT_EQ(umount(images.c_str()), 0);
}

// remove deletes an image only by a plain name inside the store's own
// images/ directory; before, an inventory path climbing out with '..' or an
// images/ linked elsewhere cost a file outside the store.
TEST_F(Store, RemoveDeletesOnlyImagesInsideTheStore)
{
    ASSERT_EQ(fructl({"add", "OWN", "zan"}).status, 0);
    const std::string own = store_ + "/" + listed()["OWN"];
    const std::string outside = temp_file("keep");
    ASSERT_EQ(mkdir((scratch_ + "/elsewhere").c_str(), 0755), 0);
    std::ofstream(scratch_ + "/elsewhere/c7.img") << "keep";
    std::ofstream(store_ + "/inventory", std::ios::app)
        << "UP 0 zan images/../../" << outside.substr(scratch_.size() + 1) << " 16384\n"
        << "ABS 0 zan " << outside << " 16384\n"
        << "LINKED 0 zan images/c7.img 16384\n";
    ASSERT_EQ(fructl({"remove", "UP"}).status, 0);
    ASSERT_EQ(fructl({"remove", "ABS"}).status, 0);
    EXPECT_EQ(slurp(outside), "keep");
    ASSERT_EQ(fructl({"remove", "OWN"}).status, 0);
    EXPECT_NE(access(own.c_str(), F_OK), 0) << "an image fructl made is deleted";
    ASSERT_EQ(rename((store_ + "/images").c_str(), (scratch_ + "/old-images").c_str()), 0);
    ASSERT_EQ(symlink((scratch_ + "/elsewhere").c_str(), (store_ + "/images").c_str()), 0);
    ASSERT_EQ(fructl({"remove", "LINKED"}).status, 0);
    EXPECT_EQ(slurp(scratch_ + "/elsewhere/c7.img"), "keep");
    EXPECT_EQ(listed().size(), 0u);
}

// The overview names every command with one line of explanation, and each
// named command has its own help.
TEST_F(Store, HelpNamesEveryCommandAndVersionIsTheProjects)
{
    const Outcome help = fructl({"--help"});
    EXPECT_EQ(help.status, 0);
    std::istringstream lines(help.out);
    std::string line;
    int commands = 0;
    while (std::getline(lines, line)) {
        if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ')
            continue;
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        const Outcome one = fructl({"help", name});
        EXPECT_EQ(one.status, 0) << name;
        EXPECT_TRUE(one.out.starts_with("usage: fructl [--store DIR] " + name)) << one.out;
        EXPECT_NE(one.out.find(line.substr(12)), std::string::npos) << name;
        ++commands;
    }
    EXPECT_EQ(commands, 13);
    EXPECT_EQ(fructl({"help", "nope"}).status, 2);
    const Outcome unknown = fructl({"nope"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n') + 1), "fructl: unknown command nope\n");
    const Outcome version = fructl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("fructl (quillet) ") + QUILLET_TEST_VERSION + "\n");
}

}  // namespace
}  // namespace quillet_test
