// Writers killed mid-write. One transaction per update, bounded waits and
// rewrites that keep what the image file is are shown by
// tests/transcripts/platform-{operators,locks,rewrite}.t.
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/store_fixture.h"

namespace quillet_test {
namespace {

using Locks = StoreTest;

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
