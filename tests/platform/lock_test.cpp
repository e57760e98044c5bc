// Container locks across users: what an unprivileged user can open must not
// let it stop root, and writers exclude each other whoever they run as.
#include <fcntl.h>
#include <grp.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/store_fixture.h"

namespace quillet_test {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
constexpr uid_t kStranger = 65533;  // neither root, nor the caller, nor an owner
constexpr gid_t kService = 4242;    // a service's group, given write access to a device

// A child process running as `user` (in `group` too, when given): `work`
// runs once the child dropped root, its result is reported, and the child
// then waits until released, holding whatever `work` took.
class Child {
public:
    template <class Work> explicit Child(Work work, gid_t group = kNogroup, uid_t user = kNobody)
    {
        int ready[2], release[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(release), 0);
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(release[1]);
            if (::setgroups(group == kNogroup ? 0 : 1, &group) != 0 || setgid(kNogroup) != 0 || setuid(user) != 0)
                _exit(120);
            const char status = static_cast<char>(work());
            char byte;
            if (write(ready[1], &status, 1) != 1)
                _exit(121);
            while (read(release[0], &byte, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        char status = -1;
        EXPECT_EQ(read(ready[0], &status, 1), 1);
        close(ready[0]);
        result = status;
        release_ = release[1];
    }
    ~Child()
    {
        close(release_);
        int status = 0;
        waitpid(pid_, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    int result = -1;  // what `work` returned

private:
    pid_t pid_ = -1;
    int release_ = -1;
};

// Takes a lock that the child holds until it is released.
int32_t hold(const fruplat::ContainerEntry &container, fruplat::LockMode mode)
{
    static fruplat::ContainerLock lock;
    return lock.acquire(container, mode);
}

class UserLocks : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_EQ(geteuid(), 0u) << "the lock tests change users and must run as root";
        ASSERT_EQ(chmod(store_.c_str(), 0755), 0);
        setenv("QUILLET_LOCK_WAIT_MS", "200", 1);
        locks_ = store_ + "/locks";
        ASSERT_EQ(fruplat::lock_directory(), locks_);
    }
    void TearDown() override
    {
        unsetenv("QUILLET_LOCK_WAIT_MS");
        StoreTest::TearDown();
    }

    // A device node stand-in, by default read-only as a sysfs EEPROM file is.
    void add_device(mode_t mode = 0444, uid_t owner = 0, gid_t group = 0)
    {
        device_ = store_ + "/eeprom";
        std::ofstream(device_, std::ios::binary) << std::string(8192, '\xFF');
        ASSERT_EQ(chown(device_.c_str(), owner, group), 0);
        ASSERT_EQ(chmod(device_.c_str(), mode), 0);
        StoreTest::add_device("EE", device_);
    }

    // A regular image that nobody owns, in a directory nobody may write.
    void add_image_of_nobody()
    {
        add("MB");
        ASSERT_EQ(update("MB", "ManR", pattern("ManR", 1)), 0);
        ASSERT_EQ(chown((store_ + "/images").c_str(), kNobody, kNogroup), 0);
        ASSERT_EQ(chown(entry("MB").image_path.c_str(), kNobody, kNogroup), 0);
    }

    std::string lock_name(const std::string &path) const
    {
        struct stat info;
        EXPECT_EQ(stat(path.c_str(), &info), 0);
        return locks_ + "/d-" + std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino) + ".lock";
    }

    std::string locks_;
    std::string device_;
};

TEST_F(UserLocks, UnprivilegedFlockOnAReadOnlyDeviceDoesNotStopRoot)
{
    add_device();
    for (int how : {LOCK_EX, LOCK_SH}) {
        Child holder([this, how] {
            const int fd = open(device_.c_str(), O_RDONLY);
            return fd >= 0 && flock(fd, how) == 0 ? 0 : 1;
        });
        ASSERT_EQ(holder.result, 0);
        EXPECT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", static_cast<uint8_t>(how))), 0);
        EXPECT_EQ(stored("EE", "Power_SummaryR"), pattern("Power_SummaryR", static_cast<uint8_t>(how)));
        EXPECT_EQ(read("EE", "ManR"), fruplat::kAbsent);
    }
}

TEST_F(UserLocks, RootAndUnprivilegedWritersExcludeEachOther)
{
    add_image_of_nobody();
    {
        Child writer([this] { return hold(entry("MB"), fruplat::LockMode::Exclusive); });
        ASSERT_EQ(writer.result, 0);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(update("MB", "ManR", pattern("ManR", 2)), fruplat::kBusy);
        ::testing::internal::GetCapturedStderr();
    }
    {
        fruplat::ContainerLock lock;
        ASSERT_EQ(lock.acquire(entry("MB"), fruplat::LockMode::Exclusive), 0);
        EXPECT_EQ(Child([this] { return update("MB", "ManR", pattern("ManR", 3)); }).result, fruplat::kBusy);
    }
    EXPECT_EQ(Child([this] { return update("MB", "ManR", pattern("ManR", 4)); }).result, 0);
    EXPECT_EQ(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 5)), 0);
    struct stat info;
    ASSERT_EQ(stat(entry("MB").image_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(stored("MB", "ManR"), pattern("ManR", 4));
    // One lock file per container: those of replaced versions go.
    EXPECT_EQ(std::system(("test $(ls " + locks_ + " | wc -l) = 1").c_str()), 0);
}

// A device root owns and a service's group may write, as a udev rule sets
// a sysfs EEPROM up: the group's members and root share one lock file,
// whoever makes it, and exclude each other.
TEST_F(UserLocks, AGroupThatWritesADeviceSharesItsLockWithRoot)
{
    add_device(0660, 0, kService);
    struct stat device;
    ASSERT_EQ(stat(device_.c_str(), &device), 0);
    const std::string lock = locks_ + "/r-" + std::to_string(device.st_rdev) + ".lock";
    const std::string file_lock = lock_name(device_);
    EXPECT_EQ(Child([this] { return update("EE", "ManR", pattern("ManR", 1)); }, kService).result, 0);
    struct stat made;
    ASSERT_EQ(lstat(file_lock.c_str(), &made), 0) << lock;
    EXPECT_EQ(made.st_gid, kService);
    EXPECT_EQ(made.st_mode & 07777, 0640u);
    EXPECT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 2)), 0);
    struct stat after;
    ASSERT_EQ(lstat(file_lock.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, made.st_ino) << "root replaced the group's lock file";
    {
        fruplat::ContainerLock held;
        ASSERT_EQ(held.acquire(entry("EE"), fruplat::LockMode::Exclusive), 0);
        EXPECT_EQ(Child([this] { return update("EE", "ManR", pattern("ManR", 3)); }, kService).result, fruplat::kBusy);
    }
    Child outsider([this] { return update("EE", "ManR", pattern("ManR", 4)); });
    EXPECT_NE(outsider.result, 0);
    EXPECT_EQ(stored("EE", "ManR"), pattern("ManR", 1));
}

// flock makes a shared lock exclusive by dropping it first, so an upgrade
// is refused: the shared lock stays held, for as long as its holder holds
// it, and then goes.
TEST_F(UserLocks, AnUpgradeIsRefusedAndKeepsTheSharedLock)
{
    add_device(0660, 0, kService);
    const auto exclusive = [this] { return hold(entry("EE"), fruplat::LockMode::Exclusive); };
    fruplat::ContainerLock reader;
    ASSERT_EQ(reader.acquire(entry("EE"), fruplat::LockMode::Shared), 0);
    {
        Child other([this] { return hold(entry("EE"), fruplat::LockMode::Shared); }, kService);
        ASSERT_EQ(other.result, 0);
        fruplat::ContainerLock writer;
        EXPECT_EQ(writer.acquire(entry("EE"), fruplat::LockMode::Exclusive), fruplat::kLockFailed);
    }
    EXPECT_EQ(Child(exclusive, kService).result, fruplat::kBusy) << "the refused upgrade dropped the shared lock";
    reader.release();
    EXPECT_EQ(Child(exclusive, kService).result, 0) << "the shared lock outlived its holder";
}

// A reader who cannot write the container makes no lock file: one it left
// behind would stop the container's own (non-root) writer for good.
TEST_F(UserLocks, AReaderLeavesNoLockFileThatStopsTheOwner)
{
    add_device(0644, kStranger, kNogroup);
    EXPECT_EQ(Child([this] { return fruplat::ContainerLock().acquire(entry("EE"), fruplat::LockMode::Shared); }).result,
              0);
    EXPECT_EQ(std::system(("test -z \"$(ls " + locks_ + ")\"").c_str()), 0);
    EXPECT_EQ(Child([this] { return update("EE", "ManR", pattern("ManR", 6)); }, kNogroup, kStranger).result, 0)
        << "the owner could not write after a reader";
}

// A lock file planted by a user who cannot write the container: root
// removes it and locks; another user's writer refuses, its reader reads.
TEST_F(UserLocks, APlantedLockFileStopsNobody)
{
    add_image_of_nobody();
    const int planted = open(lock_name(entry("MB").image_path).c_str(), O_RDONLY | O_CREAT, 0600);
    ASSERT_GE(planted, 0);
    ASSERT_EQ(fchown(planted, kStranger, kNogroup), 0);
    ASSERT_EQ(flock(planted, LOCK_EX), 0);
    Child writer([this] { return update("MB", "ManR", pattern("ManR", 6)); });
    EXPECT_EQ(writer.result, fruplat::kForeignLockFile);
    Child reader([this] { return read("MB", "ManR"); });
    EXPECT_EQ(reader.result, 0);
    EXPECT_EQ(update("MB", "ManR", pattern("ManR", 7)), 0);
    close(planted);
}

}  // namespace
}  // namespace quillet_test
