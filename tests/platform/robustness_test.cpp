// Damage and locks: every truncation and flipped byte of a real image is
// survived (platform-records.t shows damage read as a status), so is a writer
// killed mid-write, and a node keeps a device locked until it is closed. One
// transaction per update, bounded waits, rewrites that keep the image file:
// tests/transcripts/platform-{operators,locks,rewrite}.t.
#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/store_fixture.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;

using DamagedImage = StoreTest;

// Every read path of the layer over every truncation and every flipped byte
// of a real image, written as an EEPROM holds it: the bytes given, nothing
// after. What comes back may be any status; it must never crash or read out
// of bounds (the sanitizer build checks the latter).
TEST_F(DamagedImage, EveryTruncationAndEveryFlippedByteIsSurvived)
{
    add("MB", fruplat::Family::Zan, 2048);
    for (const auto &[name, record] : {std::pair{"ManR", "ManR"}, {"Power_SummaryR", "Power_SummaryR"},
                                       {"INSTALL", "Installation1R"}, {"POWER", "Power_EventsR"}})
        ASSERT_EQ(update("MB", name, pattern(record, 1)), 0);
    ASSERT_EQ(opaque_write("MB", "O1", 1, 40, 7), 0);
    Bytes valid = image("MB");
    valid.resize(parsed("MB").used);
    ASSERT_GT(valid.size(), 500u);
    const auto survive = [this](const Bytes &bytes) {
        std::ofstream(entry("MB").image_path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const fru_nodehdl_t handle = node("MB");
        for (const char *name : {"ManR", "Power_SummaryR", "POWER", "IDENTITY", "INSTALL"}) {
            std::vector<uint8_t> out;
            slots("MB", name, 1400, &out);
            read("MB", name);
            uint8_t control[4];
            int32_t length = 4;
            (void)fru_read_iter_control_bytes(handle, control, &length, name);
        }
        walk(handle);
        uint8_t descriptor[FRU_SEGMENT_DESCRIPTOR_SIZE];
        uint8_t data[8192];
        uint32_t length = sizeof data;
        // Any status will do: what counts is that every call returns.
        (void)fru_read_op_segment(handle, "O1", descriptor, 1, data, &length);
        (void)fru_close_node(handle);
    };
    for (size_t length = 0; length < valid.size(); ++length)
        survive(Bytes(valid.begin(), valid.begin() + static_cast<long>(length)));
    for (size_t at = 0; at < valid.size(); ++at) {
        Bytes flipped = valid;
        flipped[at] ^= 0xFF;
        survive(flipped);
        // The parse never calls a segment usable whose CRC does not hold.
        fruplat::ZanImage image;
        const bool whole = fruplat::parse_zan_image(flipped, &image) == fruplat::kOk;
        for (const fruplat::Segment &s : whole ? image.segments : std::vector<fruplat::Segment>{})
            ASSERT_FALSE(s.usable() && s.stored_crc != fruplat::crc32(s.body.data(), s.body.size())) << at;
    }
}

// The CRC images carry is zlib's: check values at every remainder the
// eight-byte steps leave. Bytes are combined by shifts, so their alignment
// cannot matter; the PowerPC run checks that byte order does not either.
TEST(Crc32, MatchesTheIeeeCheckValues)
{
    for (const auto &[text, crc] : {std::pair<const char *, uint32_t>{"", 0x00000000u}, {"a", 0xE8B7BE43u},
                                    {"ab", 0x9E83486Du}, {"abc", 0x352441C2u}, {"1234", 0x9BE3E0A3u},
                                    {"12345", 0xCBF53A1Cu}, {"123456", 0x0972D361u}, {"1234567", 0x5003699Fu},
                                    {"12345678", 0x9AE0DAAFu}, {"123456789", 0xCBF43926u},
                                    {"The quick brown fox jumps over the lazy dog", 0x414FA339u}})
        EXPECT_EQ(fruplat::crc32(reinterpret_cast<const uint8_t *>(text), std::strlen(text)), crc) << text;
}

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
        ASSERT_EQ(stored("MB", "ManR", 183), pattern("ManR", 1));
        std::vector<uint8_t> read_back;
        const int32_t found = slots("MB", "Power_SummaryR", 16, &read_back);
        ASSERT_TRUE(found == 0 || (found == 14 && last_seen == 0)) << "a stored record vanished: " << found;
        if (found == 0) {
            ASSERT_GE(fruplat::load_be32(&read_back[8]), last_seen);
            last_seen = fruplat::load_be32(&read_back[8]);
        }
    }
}

// A node holds its container from its first call until it is closed, also
// across the shared lock a device read takes inside it: when the inner lock
// let go of the container, two operators' updates could lose each other's
// field (tests/transcripts/platform-operators.t shows that only by chance).
TEST_F(Locks, ANodeHoldsADeviceUntilItIsClosed)
{
    std::ofstream(store_ + "/eeprom", std::ios::binary) << std::string(4096, '\xFF');
    add_device("MB", store_ + "/eeprom");
    const auto update_elsewhere = [this] {
        const pid_t child = fork();
        if (child == 0)
            _exit(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 1)));
        int status = 0;
        waitpid(child, &status, 0);
        return WEXITSTATUS(status);
    };
    setenv("QUILLET_LOCK_WAIT_MS", "100", 1);
    const fru_nodehdl_t handle = node("MB");
    uint8_t record[16];
    int32_t length = sizeof record;
    ASSERT_EQ(fru_read_record(handle, record, &length, "Power_SummaryR"), 14);
    EXPECT_EQ(update_elsewhere(), fruplat::kBusy);
    EXPECT_EQ(fru_close_node(handle), 0);
    EXPECT_EQ(update_elsewhere(), 0);
    unsetenv("QUILLET_LOCK_WAIT_MS");
}

}  // namespace
}  // namespace quillet_test
