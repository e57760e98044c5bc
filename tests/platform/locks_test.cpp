// Container locks and transactions: one transaction per update, and writers
// killed mid-write. Bounded waits, and rewrites that keep what the image file
// is: tests/transcripts/platform-locks.t and platform-rewrite.t.
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/store_fixture.h"

namespace quillet_test {
namespace {

class Locks : public StoreTest {
protected:
    // Runs `body` on a regular image (replaced by rename) and on a device
    // (written in place).
    void on_each_kind(const std::function<void()> &body)
    {
        for (const bool device : {false, true}) {
            SCOPED_TRACE(device ? "device" : "image file");
            device ? add_device("MB", store_ + "/eeprom", 4096) : add("MB", fruplat::Family::Zan, 4096);
            body();
            ASSERT_EQ(fruplat::remove_container(store_, "MB"), 0);
        }
    }
};

// What quillet does for `-r Power_SummaryR -o FIELD=VALUE`: pre-read
// through the node, change one field, write by NAC name while the node is
// still held, close.
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
    fruplat::store_be(&record[at], value, 4);
    length = sizeof record;
    if (status == 0)
        status = libfru_access_data("MB", record, &length, 2, "Power_SummaryR");
    fru_close_node(node);
    fru_close_data_source();
    return status;
}

TEST_F(Locks, TwoOperatorsUpdatingDifferentFieldsOfOneRecordBothKeepTheirField)
{
    constexpr uint32_t kRounds = 200;
    on_each_kind([&] {
        run_children(2, [](int w) {
            for (uint32_t i = 1; i <= kRounds; ++i)
                if (update_one_field(w == 0 ? 4 : 8, i) != 0)  // total_time_on, total_power_ons
                    return 3;
            return 0;
        });
        std::vector<uint8_t> stored;
        ASSERT_EQ(slots("MB", "Power_SummaryR", 64, &stored), 0);
        EXPECT_EQ(fruplat::load_be32(&stored[4]), kRounds);
        EXPECT_EQ(fruplat::load_be32(&stored[8]), kRounds);
        for (const fruplat::Segment &s : parsed("MB").segments)
            EXPECT_TRUE(s.usable()) << s.name_text();
    });
}

// A writer storing ever larger counts into Power_SummaryR is killed at a
// random moment, 200 times: every other record stays, the count never goes
// back, and every segment stays usable.
TEST_F(Locks, KilledWriterLeavesOldOrNewContent)
{
    add("MB");
    ASSERT_EQ(update("MB", "ManR", pattern("ManR", 1)), 0);
    std::mt19937 random(20261205);
    std::uniform_int_distribution<int> delay_us(0, 4000);
    uint32_t last_seen = 0;
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (uint32_t count = last_seen + 1;; ++count) {
                std::vector<uint8_t> record(16, 0);
                fruplat::store_be(&record[8], count, 4);
                if (update("MB", "Power_SummaryR", record) != 0)
                    _exit(3);
            }
        usleep(static_cast<useconds_t>(delay_us(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";
        for (const fruplat::Segment &s : parsed("MB").segments)
            ASSERT_TRUE(s.usable()) << s.name_text();
        std::vector<uint8_t> read_back;
        ASSERT_EQ(slots("MB", "ManR", 183, &read_back), 0);
        ASSERT_EQ(read_back, pattern("ManR", 1));
        const int32_t found = slots("MB", "Power_SummaryR", 16, &read_back);
        ASSERT_TRUE(found == 0 || (found == 14 && last_seen == 0)) << "a stored record vanished: " << found;
        if (found == 0) {
            ASSERT_GE(fruplat::load_be32(&read_back[8]), last_seen);
            last_seen = fruplat::load_be32(&read_back[8]);
        }
    }
}

}  // namespace
}  // namespace quillet_test
