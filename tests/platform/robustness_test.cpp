// Damaged images, writers killed mid-write, and writers racing each other.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/store_fixture.h"
#include "store/image_file.h"
#include "store/status.h"
#include "zan/zan_image.h"
#include "zan/zan_records.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;

int32_t walk_segment(fru_seghdl_t segment, void *)
{
    char *name = nullptr;
    if (fru_get_segment_name(segment, &name) == 0)
        free(name);
    fru_get_num_packets(segment);
    return 0;
}

class DamagedImage : public StoreTest {
protected:
    // Every read path of the layer over whatever the image holds now. What
    // comes back may be any status; it must never crash or read out of
    // bounds (the sanitizer build checks the latter).
    void exercise()
    {
        static const char *const names[] = {"ManR", "Power_SummaryR", "POWER", "IDENTITY",
                                            "INSTALL"};
        for (const char *name : names) {
            std::vector<uint8_t> out;
            slots("MB", name, 1400, &out);
            read("MB", name);
            uint8_t control[4];
            int32_t length = 4;
            const fru_nodehdl_t handle = node("MB");
            fru_read_iter_control_bytes(handle, control, &length, name);
            fru_close_node(handle);
        }
        const fru_nodehdl_t handle = node("MB");
        fru_for_each_segment(handle, walk_segment, nullptr);
        uint8_t descriptor[23];
        uint8_t data[8192];
        uint32_t length = sizeof data;
        fru_read_op_segment(handle, "O1", descriptor, 1, data, &length);
        fru_close_node(handle);
    }

    Bytes valid_image()
    {
        add("MB", fruplat::Family::Zan, 2048);
        EXPECT_EQ(update("MB", "ManR", pattern("ManR", 1)), 0);
        EXPECT_EQ(update("MB", "Power_SummaryR", pattern("Power_SummaryR", 2)), 0);
        EXPECT_EQ(update("MB", "INSTALL", pattern("Installation1R", 3)), 0);
        EXPECT_EQ(update("MB", "POWER", pattern("Power_EventsR", 4)), 0);
        uint8_t descriptor[23] = {};
        uint8_t data[40] = {7};
        uint32_t length = sizeof data;
        EXPECT_EQ(fru_update_op_segment(node("MB"), "O1", descriptor, 1, data, &length), 0);
        Bytes image;
        EXPECT_EQ(fruplat::read_image(entry("MB"), &image), 0);
        fruplat::ZanImage parsed;
        EXPECT_EQ(fruplat::parse_zan_image(image, &parsed), 0);
        image.resize(parsed.used);
        return image;
    }

    void store_raw(const Bytes &image)
    {
        // Written as an EEPROM holds it: the bytes given, nothing after.
        FILE *f = std::fopen(entry("MB").image_path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!image.empty())
            std::fwrite(image.data(), 1, image.size(), f);
        std::fclose(f);
    }
};

TEST_F(DamagedImage, EveryTruncationAndEveryFlippedByteIsSurvived)
{
    const Bytes image = valid_image();
    ASSERT_GT(image.size(), 500u);
    for (size_t length = 0; length < image.size(); ++length) {
        store_raw(Bytes(image.begin(), image.begin() + static_cast<long>(length)));
        exercise();
    }
    for (size_t at = 0; at < image.size(); ++at) {
        Bytes flipped = image;
        flipped[at] ^= 0xFF;
        store_raw(flipped);
        exercise();
        fruplat::ZanImage parsed;
        if (fruplat::parse_zan_image(flipped, &parsed) == fruplat::kOk) {
            for (const fruplat::Segment &s : parsed.segments)
                ASSERT_FALSE(s.usable() && s.stored_crc != fruplat::crc32(s.body.data(), s.body.size()));
        }
    }
}

TEST_F(DamagedImage, RecordOfADamagedSegmentIsAStatusNotGarbage)
{
    Bytes image = valid_image();
    fruplat::ZanImage parsed;
    ASSERT_EQ(fruplat::parse_zan_image(image, &parsed), 0);
    image[fruplat::find_segment(parsed, "MN")->offset + 20] ^= 0x01;
    store_raw(image);
    std::vector<uint8_t> out;
    EXPECT_EQ(slots("MB", "ManR", 183, &out), fruplat::kSegmentDamaged);
    EXPECT_EQ(read("MB", "ManR"), fruplat::kSegmentDamaged);
    EXPECT_EQ(update("MB", "ManR", pattern("ManR", 9)), fruplat::kSegmentDamaged);
    EXPECT_EQ(slots("MB", "Power_SummaryR", 16, &out), 0);
    image[0] = 'X';
    store_raw(image);
    EXPECT_EQ(read("MB", "Power_SummaryR"), fruplat::kImageDamaged);
}

class CrashSafety : public StoreTest {};

// A writer that stores ever larger counts into Power_SummaryR until killed.
[[noreturn]] void keep_writing(const std::string &nac, uint32_t first)
{
    for (uint32_t count = first;; ++count) {
        std::vector<uint8_t> record(16, 0);
        fruplat::put_be(&record[8], count, 4);
        int32_t length = 2048;
        if (libfru_access_data(nac.c_str(), record.data(), &length, 2, "Power_SummaryR") != 0)
            _exit(3);
    }
}

TEST_F(CrashSafety, KilledWriterLeavesOldOrNewContent)
{
    add("MB");
    ASSERT_EQ(update("MB", "ManR", pattern("ManR", 1)), 0);
    std::mt19937 random(20261205);
    std::uniform_int_distribution<int> delay_us(0, 4000);
    uint32_t last_seen = 0;
    const fruplat::ContainerEntry e = entry("MB");
    for (int round = 0; round < 200; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            keep_writing("MB", last_seen + 1);
        usleep(static_cast<useconds_t>(delay_us(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "writer failed on its own in round " << round;

        fruplat::Bytes image;
        ASSERT_EQ(fruplat::read_image(e, &image), 0);
        fruplat::ZanImage parsed;
        ASSERT_EQ(fruplat::parse_zan_image(image, &parsed), 0) << "round " << round;
        for (const fruplat::Segment &s : parsed.segments)
            ASSERT_TRUE(s.usable()) << s.name_text() << " in round " << round;
        std::vector<uint8_t> manr;
        ASSERT_EQ(slots("MB", "ManR", 183, &manr), 0);
        ASSERT_EQ(manr, pattern("ManR", 1));
        std::vector<uint8_t> summary;
        const int32_t found = slots("MB", "Power_SummaryR", 16, &summary);
        if (found == 14) {
            ASSERT_EQ(last_seen, 0u) << "a stored record vanished in round " << round;
            continue;
        }
        ASSERT_EQ(found, 0);
        const uint32_t count = fruplat::get_be32(&summary[8]);
        ASSERT_GE(count, last_seen) << "round " << round;
        last_seen = count;
    }
}

class Concurrency : public StoreTest {};

TEST_F(Concurrency, TwoWritersOnOneContainerLoseNothing)
{
    add("MB");
    constexpr int kUpdates = 200;
    const char *records[] = {"Power_SummaryR", "TAVO_Usage_Kvms_R"};
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] != 0)
            continue;
        for (uint32_t i = 1; i <= kUpdates; ++i) {
            const fruplat::RecordDef *def = fruplat::find_record_def(records[w]);
            std::vector<uint8_t> record(def->size, 0);
            fruplat::put_be(&record[4], i, 4);
            // A node held across the access call must not lock its holder out.
            fru_nodehdl_t handle = 0;
            if (fru_get_node("MB", &handle) != 0)
                _exit(2);
            int32_t length = 2048;
            if (libfru_access_data("MB", record.data(), &length, 2, records[w]) != 0)
                _exit(3);
            fru_close_node(handle);
        }
        _exit(0);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char *record : records) {
        std::vector<uint8_t> stored;
        ASSERT_EQ(slots("MB", record, 16, &stored), 0) << record;
        EXPECT_EQ(fruplat::get_be32(&stored[4]), static_cast<uint32_t>(kUpdates)) << record;
    }
    fruplat::Bytes image;
    ASSERT_EQ(fruplat::read_image(entry("MB"), &image), 0);
    fruplat::ZanImage parsed;
    ASSERT_EQ(fruplat::parse_zan_image(image, &parsed), 0);
    for (const fruplat::Segment &s : parsed.segments)
        EXPECT_TRUE(s.usable()) << s.name_text();
}

// The CRC images carry is zlib's: check values at every length and
// alignment the four-byte steps meet.
TEST(Crc32, MatchesTheIeeeCheckValuesAtEveryAlignment)
{
    const struct {
        const char *text;
        uint32_t crc;
    } rows[] = {{"", 0x00000000u}, {"a", 0xE8B7BE43u}, {"abc", 0x352441C2u},
                {"123456789", 0xCBF43926u}, {"The quick brown fox jumps over the lazy dog", 0x414FA339u}};
    for (const auto &row : rows) {
        for (size_t shift = 0; shift < 4; ++shift) {
            std::vector<uint8_t> bytes(shift, 0x5A);
            bytes.insert(bytes.end(), row.text, row.text + std::strlen(row.text));
            EXPECT_EQ(fruplat::crc32(bytes.data() + shift, bytes.size() - shift), row.crc) << row.text << shift;
        }
    }
}

}  // namespace
}  // namespace quillet_test
