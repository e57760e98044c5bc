// Container locks and transactions: one transaction per update, bounded
// waits, nothing created beside images, rewrites that keep what the image
// file is.
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/store_fixture.h"
#include "store/image_file.h"
#include "store/status.h"

namespace quillet_test {
namespace {

std::vector<std::string> listing(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Locks : public StoreTest {
protected:
    // A regular image (replaced by rename) or a device (written in place).
    void add_kind(bool device)
    {
        if (!device) {
            add("MB", fruplat::Family::Zan, 4096);
            return;
        }
        const std::string path = store_ + "/eeprom";
        std::ofstream(path, std::ios::binary) << std::string(4096, '\xFF');
        fruplat::AddRequest request;
        request.nac = "MB";
        request.device = path;
        ASSERT_EQ(fruplat::add_container(store_, request), 0);
    }

    uint32_t field(const char *record, size_t at)
    {
        std::vector<uint8_t> stored;
        EXPECT_EQ(slots("MB", record, 64, &stored), 0);
        return stored.size() >= at + 4 ? fruplat::get_be32(&stored[at]) : 0;
    }
};

// What quillet does for `-r Power_SummaryR -o FIELD=VALUE`: pre-read
// through the node, change one field, write by NAC name, close.
int32_t update_one_field(size_t at, uint32_t value)
{
    fru_nodehdl_t node = 0;
    int32_t status = fru_get_node("MB", &node);
    uint8_t record[2048] = {};
    int32_t length = 16;
    if (status == 0)
        status = fru_read_record(node, record, &length, "Power_SummaryR");
    if (status == 14)
        status = 0;
    fruplat::put_be(&record[at], value, 4);
    length = sizeof record;
    if (status == 0)
        status = libfru_access_data("MB", record, &length, 2, "Power_SummaryR");
    fru_close_node(node);
    fru_close_data_source();
    return status;
}

TEST_F(Locks, TwoOperatorsUpdatingDifferentFieldsOfOneRecordBothKeepTheirField)
{
    for (const bool device : {false, true}) {
        add_kind(device);
        constexpr uint32_t kRounds = 200;
        const size_t fields[] = {4, 8};  // total_time_on, total_power_ons
        pid_t children[2];
        for (int w = 0; w < 2; ++w) {
            children[w] = fork();
            ASSERT_GE(children[w], 0);
            if (children[w] != 0)
                continue;
            for (uint32_t i = 1; i <= kRounds; ++i)
                if (update_one_field(fields[w], i) != 0)
                    _exit(3);
            _exit(0);
        }
        for (pid_t child : children) {
            int status = 0;
            waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "device " << device;
        }
        EXPECT_EQ(field("Power_SummaryR", 4), kRounds) << "device " << device;
        EXPECT_EQ(field("Power_SummaryR", 8), kRounds) << "device " << device;
        ASSERT_EQ(fruplat::remove_container(store_, "MB"), 0);
    }
}

TEST_F(Locks, AHeldLockMakesAnUpdateWaitABoundedTimeThenSayBusy)
{
    for (const bool device : {false, true}) {
        add_kind(device);
        ASSERT_EQ(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
        fruplat::Bytes before;
        ASSERT_EQ(fruplat::read_image(entry("MB"), &before), 0);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t holder = fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            fruplat::ContainerLock lock;
            const char held = lock.acquire(entry("MB"), fruplat::LockMode::Shared) == 0 ? 'y' : 'n';
            if (::write(ready[1], &held, 1) != 1)
                _exit(1);
            pause();
            _exit(0);
        }
        char held = 0;
        ASSERT_EQ(::read(ready[0], &held, 1), 1);
        EXPECT_EQ(held, 'y');
        setenv("QUILLET_LOCK_WAIT_MS", "200", 1);
        EXPECT_EQ(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 2)), fruplat::kBusy)
            << "device " << device;
        EXPECT_STREQ(fru_strerror(fruplat::kBusy), "Container is busy: another process holds its lock");
        unsetenv("QUILLET_LOCK_WAIT_MS");
        kill(holder, SIGKILL);
        waitpid(holder, nullptr, 0);
        close(ready[0]);
        close(ready[1]);
        fruplat::Bytes after;
        ASSERT_EQ(fruplat::read_image(entry("MB"), &after), 0);
        EXPECT_EQ(after, before) << "a refusal leaves every byte in place";
        EXPECT_EQ(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 2)), 0);
        ASSERT_EQ(fruplat::remove_container(store_, "MB"), 0);
    }
}

TEST_F(Locks, RewriteKeepsModeOwnerAndLinkAndCreatesNothingBesideTheImage)
{
    add("MB");
    const std::string image = entry("MB").image_path;
    const std::string images = image.substr(0, image.rfind('/'));
    // The image lives elsewhere behind a symlink; names an earlier version
    // used beside it are planted as links to files outside the store.
    const std::string target = store_ + "/elsewhere.img";
    ASSERT_EQ(rename(image.c_str(), target.c_str()), 0);
    ASSERT_EQ(symlink(target.c_str(), image.c_str()), 0);
    const std::string victim = store_ + "/victim";
    ASSERT_EQ(symlink(victim.c_str(), (image + ".new").c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), (image + ".lock").c_str()), 0);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(chown(target.c_str(), 1234, 5678), 0);
    const std::vector<std::string> before = listing(images);
    const std::vector<std::string> store_before = listing(store_);

    EXPECT_EQ(read("MB", "Power_SummaryR"), 14);
    EXPECT_EQ(listing(store_), store_before) << "a read creates nothing";
    ASSERT_EQ(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
    EXPECT_EQ(read("MB", "Power_SummaryR"), 0);

    EXPECT_EQ(listing(images), before);
    EXPECT_NE(access(victim.c_str(), F_OK), 0) << "a planted link was followed";
    struct stat link;
    ASSERT_EQ(lstat(image.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode)) << "the link was replaced";
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 5678u);
}

}  // namespace
}  // namespace quillet_test
