// quillet and fructl against files that behave like the kernel's EEPROM
// attributes: a fixed size, in a directory where nothing can be created,
// renamed or removed (a file bind-mounted into a read-only mount).
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e/e2e_fixture.h"

namespace quillet_test {
namespace {

int shell(const std::string &command)
{
    return std::system(command.c_str());
}

class SysfsDevice : public EndToEnd {
protected:
    // An `eeprom` attribute holding `content`, as at24 shows one.
    std::string attribute(const std::string &content)
    {
        dir_ = scratch_ + "/0-0050";
        const std::string backing = scratch_ + "/backing";
        std::ofstream(backing, std::ios::binary) << content;
        mkdir(dir_.c_str(), 0755);
        std::ofstream(dir_ + "/eeprom").close();
        const std::string device = dir_ + "/eeprom";
        // Setting this up is part of the test: without it, it fails.
        EXPECT_EQ(shell("mount --bind '" + dir_ + "' '" + dir_ + "' && mount -o remount,bind,ro '" + dir_ +
                        "' && mount --bind '" + backing + "' '" + device + "'"),
                  0);
        mounted_ = true;
        EXPECT_LT(open((dir_ + "/new").c_str(), O_CREAT | O_WRONLY, 0644), 0);
        EXPECT_EQ(errno, EROFS);
        EXPECT_NE(rename(device.c_str(), (dir_ + "/moved").c_str()), 0);
        return device;
    }

    void TearDown() override
    {
        if (mounted_)
            shell("umount -l '" + dir_ + "/eeprom'; umount -l '" + dir_ + "'");
        mounted_ = false;
        EndToEnd::TearDown();
    }

    // Bytes the run moved to or from the device with `call` (pwrite64,
    // pread64), as strace saw them.
    size_t traced_bytes(const std::string &call, const std::vector<std::string> &args, Outcome *outcome)
    {
        const std::string trace = scratch_ + "/trace";
        // LeakSanitizer cannot run under ptrace; the sanitizer build still
        // checks everything else in the traced run.
        std::vector<std::string> argv = {"-f", "-qq", "-E", "ASAN_OPTIONS=detect_leaks=0", "-e",
                                         "trace=" + call, "-P", dir_ + "/eeprom", "-o", trace};
        std::stringstream emulator(QUILLET_TEST_EMULATOR);
        for (std::string part; std::getline(emulator, part, '|');)
            if (!part.empty())
                argv.push_back(part);
        argv.push_back(QUILLET_TEST_QUILLET);
        argv.insert(argv.end(), args.begin(), args.end());
        *outcome = run_program("strace", argv, "", scratch_, false);
        std::stringstream lines(slurp(trace));
        size_t total = 0;
        size_t calls = 0;
        for (std::string line; std::getline(lines, line);) {
            const size_t equals = line.rfind("= ");
            if (line.find(call) != std::string::npos && equals != std::string::npos) {
                total += std::stoul(line.substr(equals + 2));
                ++calls;
            }
        }
        EXPECT_GT(calls, 0u) << "strace saw no " << call;
        return total;
    }

    std::string dir_;
    bool mounted_ = false;
};

TEST_F(SysfsDevice, BlankEepromTakesAnUpdateWithFewBytesAndNothingBesideIt)
{
    for (const char blank : {'\xFF', '\x00'}) {
        const std::string device = attribute(std::string(8192, blank));
        Outcome o = fructl({"add", "EE", "zan", "--device", device});
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(quillet({"-c", "EE", "-r", "Power_SummaryR"}).status, 14);
        const size_t written = traced_bytes("pwrite64", {"-c", "EE", "-r", "Power_SummaryR", "-o", "total_power_ons=5"}, &o);
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_LT(written, 512u);
        std::printf("blank 0x%02x: the first update wrote %zu bytes\n", static_cast<unsigned char>(blank), written);
        // A second update moves the record to free space and commits the
        // other table slot: still a few hundred bytes.
        EXPECT_LT(traced_bytes("pwrite64", {"-c", "EE", "-r", "Power_SummaryR", "-o", "total_power_offs=4"}, &o), 512u);
        ASSERT_EQ(o.status, 0) << o.err;
        o = quillet({"-c", "EE", "-r", "Power_SummaryR"});
        EXPECT_NE(o.out.find("total_power_ons               : 5\n"), std::string::npos) << o.out;
        EXPECT_NE(o.out.find("total_power_offs              : 4\n"), std::string::npos) << o.out;
        EXPECT_EQ(listing(dir_), std::vector<std::string>{"eeprom"});
        // A read takes the bytes in use, not the whole part.
        EXPECT_LT(traced_bytes("pread64", {"-c", "EE", "-r", "Power_SummaryR"}, &o), 2048u);
        EXPECT_EQ(o.status, 0) << o.err;
        struct stat info;
        ASSERT_EQ(stat(device.c_str(), &info), 0);
        EXPECT_EQ(info.st_size, 8192);
        TearDown();
        SetUp();
    }
}

TEST_F(SysfsDevice, RealDdr3SpdWithAZeroedCustomerAreaTakesPowerAndKeepsItsSpd)
{
    std::string spd = slurp(QUILLET_TEST_DATA "/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin");
    ASSERT_EQ(spd.size(), 256u);
    // This module carries vendor bytes at 176 to 183; the modules whose
    // customer bytes are all zero are what the test models.
    std::fill(spd.begin() + 176, spd.end(), '\0');
    const std::string device = attribute(spd);
    ASSERT_EQ(fructl({"add", "D0", "dimm", "--device", device}).status, 0);
    const Outcome decoded = quillet({"-c", "D0", "-r", "SPD_DDR3_R"});
    ASSERT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(quillet({"-c", "D0", "-r", "POWER"}).status, 14);
    Outcome o = quillet({"-c", "D0", "-r", "POWER", "-o", "power_on_minutes=5"});
    ASSERT_EQ(o.status, 0) << o.err;
    o = quillet({"-c", "D0", "-r", "POWER"});
    EXPECT_NE(o.out.find(": 5\n"), std::string::npos) << o.out;
    EXPECT_EQ(quillet({"-c", "D0", "-r", "FAULT"}).status, 14);
    EXPECT_EQ(quillet({"-c", "D0", "-r", "SPD_DDR3_R"}).out, decoded.out);
    EXPECT_EQ(slurp(device).substr(0, 176), spd.substr(0, 176));
}

TEST_F(SysfsDevice, ReadOnlyStoreSaysWhy)
{
    ASSERT_EQ(fructl({"add", "MB", "zan"}).status, 0);
    ASSERT_EQ(quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=1"}).status, 0);
    dir_ = store_;
    ASSERT_EQ(shell("mount --bind '" + store_ + "' '" + store_ + "' && mount -o remount,bind,ro '" + store_ + "'"), 0);
    const Outcome o = quillet({"-c", "MB", "-r", "Power_SummaryR", "-o", "total_power_ons=2"});
    shell("umount -l '" + store_ + "'");
    EXPECT_EQ(o.status, 87);
    EXPECT_NE(o.err.find("Read-only file system"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("Container image is on a read-only file system"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace quillet_test
