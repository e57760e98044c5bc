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
                struct stat info;
                if (lstat((dir + "/" + name).c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && !name.ends_with(".lock"))
                    files[dir + "/" + name] = S_ISREG(info.st_mode) ? slurp(dir + "/" + name) : "(not a file)";
            }
        }
        EXPECT_FALSE(files.empty()) << "listing " << store_ << " failed";
        return files;
    }

    // NAC -> PATH of `fructl list`.
    std::map<std::string, std::string> listed()
    {
        std::map<std::string, std::string> paths;
        std::istringstream in(fructl({"list"}).out);
        for (std::string nac, type, family, capacity, path; in >> nac >> type >> family >> capacity >> path;)
            paths[nac] = path;
        return paths;
    }
};

// Each row is refused with its own status and message, and the store keeps
// every byte. Before these were refused, the FIFO rows blocked for ever,
// /dev/zero ran out of memory, the over-size image made a container that
// broke the whole store, and the names and types were written into the
// inventory. Types that fit their family are taken.
TEST_F(Store, HostileInputsAreRefusedAndLeaveEveryByteInPlace)
{
    ASSERT_EQ(fructl({"demo"}).status, 0);
    const std::string fifo = scratch_ + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0444), 0);
    const std::string big = temp_file(std::string((1u << 20) + 1, '\0'));
    const std::string nac_rule = ": NAC name must be 1 to 64 printable characters without blanks or '#'\n";
    const std::string type_rule = ": Container type does not fit its family (zan 0 or 4, ipmi 1, dimm 2, pirom 3)\n";
    const struct {
        const char *tool;
        std::vector<std::string> args;
        int status;
        std::string err;
    } rows[] = {
        {"fructl", {"add", "A", "zan", "--from", fifo}, 1, "fructl: " + fifo + ": Not a regular file\n"},
        {"fructl", {"add", "A", "zan", "--from", "/dev/zero"}, 1, "fructl: /dev/zero: Not a regular file\n"},
        {"fructl", {"add", "A", "zan", "--from", big}, 1,
         "fructl: " + big + ": File larger than the largest container (1048576 bytes)\n"},
        {"fructl", {"put", "MB", "ManR", "00"}, 1, "fructl: ManR takes 183 bytes, not 1\n"},
        {"fructl", {"add", "A\vB", "zan"}, 2, "fructl: A\vB" + nac_rule},
        {"fructl", {"add", "A\fB", "zan"}, 2, "fructl: A\fB" + nac_rule},
        {"fructl", {"add", "#A", "zan"}, 2, "fructl: #A" + nac_rule},
        {"fructl", {"add", std::string(65, 'N'), "zan"}, 2, "fructl: " + std::string(65, 'N') + nac_rule},
        {"fructl", {"add", "Z2", "zan", "--type", "2"}, 2, "fructl: Z2" + type_rule},
        {"fructl", {"add", "D", "dimm", "--type", "0"}, 2, "fructl: D" + type_rule},
        {"fructl", {"add", "P", "pirom", "--type", "4"}, 2, "fructl: P" + type_rule},
        {"fructl", {"add", "E", "dimm", "--device", "/dev/a b"}, 2,
         "fructl: /dev/a b: PATH must be 1 to 4095 characters without blanks or control characters\n"},
        {"quillet", {"-c", "MB", "-i", fifo}, 255, "Image file " + fifo + " is not a regular file\n"},
        {"quillet", {"-c", "MB", "-i", "/dev/zero"}, 255, "Image file /dev/zero is not a regular file\n"},
        {"quillet", {"-c", "MB", "-s", "segname=O1,filename=/dev/zero,section=STATIC"}, 23,
         "Opaque file /dev/zero is not a regular file\n"},
        {"quillet", {"-c", "MB", "-s", "segname=O1,filename=" + fifo + ",section=STATIC"}, 23,
         "Opaque file " + fifo + " is not a regular file\n"},
        {"quillet", {"-c", "MB", "-r", "PwrMgmt_RFR", "-o", "filename=" + fifo}, 23,
         "Input file stat mode failed for Opaque file " + fifo +
             "\n\nError: Please provide string of name value pairs separated by commas.\n"},
        {"quillet", {"-c", "F", "-r", "ManR"}, 92, "\n Error: Container image is neither a regular file nor a device node\n"},
    };
    std::ofstream(store_ + "/inventory", std::ios::app) << "F 0 zan " << fifo << " 16384\n";
    for (const auto &row : rows) {
        const auto before = snapshot();
        const Outcome o = row.tool == std::string("quillet") ? quillet(row.args) : fructl(row.args);
        EXPECT_EQ(o.status, row.status) << row.err;
        EXPECT_TRUE(o.err.starts_with(row.err)) << row.err << ": " << o.err;
        EXPECT_EQ(snapshot(), before) << row.err;
    }
    for (const auto &[family, type] : {std::pair<const char *, const char *>{"zan", "0"}, {"zan", "4"}, {"ipmi", "1"},
                                       {"dimm", "2"}, {"pirom", "3"}, {"pirom", "unknown"}})
        EXPECT_EQ(fructl({"add", std::string(family) + type, family, "--type", type}).status, 0) << family << type;
    EXPECT_EQ(listed().size(), 11u);
    // A container listed twice makes the whole inventory unusable, not one of the two.
    std::ofstream(store_ + "/inventory", std::ios::app) << "MB 0 zan images/c1.img 16384\n";
    const Outcome twice = quillet({"-c", "MB", "-r", "ManR"});
    EXPECT_EQ(twice.status, 61);
    EXPECT_TRUE(twice.err.ends_with("container MB listed twice\n\n Could not get node handle: MB\n")) << twice.err;
}

TEST_F(Store, EightConcurrentAddsEachKeepTheirOwnImage)
{
    int statuses[8];
    std::vector<std::thread> adds;
    for (int i = 0; i < 8; ++i) {
        const std::string own = scratch_ + "/run" + std::to_string(i);
        ASSERT_EQ(mkdir(own.c_str(), 0755), 0);
        adds.emplace_back([&, i, own] {
            statuses[i] = run_program(QUILLET_TEST_FRUCTL, {"add", "C" + std::to_string(i), "zan"}, "", own, true).status;
        });
    }
    for (std::thread &t : adds)
        t.join();
    std::set<std::string> images;
    for (const auto &[nac, path] : listed())
        images.insert(path);
    EXPECT_EQ(std::vector<int>(statuses, statuses + 8), std::vector<int>(8, 0));
    EXPECT_EQ(images.size(), 8u);
    EXPECT_EQ(listing(store_ + "/images").size(), 8u) << "no orphan images";
}

// A failed add or demo takes away what it made: here the images/ directory
// runs out of space before the first image is written.
TEST_F(Store, FailedEditsLeaveNothingBehind)
{
    const std::string images = store_ + "/images";
    ASSERT_EQ(mount("tmpfs", images.c_str(), "tmpfs", 0, "size=8k"), 0) << "needs root";
    const auto before = snapshot();
    for (const std::vector<std::string> &args : {std::vector<std::string>{"add", "MB", "zan"}, {"demo"}}) {
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
        << "ABS 0 zan " << outside << " 16384\nLINKED 0 zan images/c7.img 16384\n";
    for (const char *nac : {"UP", "ABS", "OWN"})
        ASSERT_EQ(fructl({"remove", nac}).status, 0) << nac;
    EXPECT_EQ(slurp(outside), "keep");
    EXPECT_NE(access(own.c_str(), F_OK), 0) << "an image fructl made is deleted";
    ASSERT_EQ(rename((store_ + "/images").c_str(), (scratch_ + "/old-images").c_str()), 0);
    ASSERT_EQ(symlink((scratch_ + "/elsewhere").c_str(), (store_ + "/images").c_str()), 0);
    ASSERT_EQ(fructl({"remove", "LINKED"}).status, 0);
    EXPECT_EQ(slurp(scratch_ + "/elsewhere/c7.img"), "keep");
    EXPECT_EQ(listed().size(), 0u);
}

}  // namespace
}  // namespace quillet_test
