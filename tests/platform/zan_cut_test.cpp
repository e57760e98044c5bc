// Power cuts where a ZAN device is most fragile: the first write to blank
// media, and a commit whose table sequence number wraps. The device takes
// the first N bytes of a write and loses power, for every N; torn, the rest
// of the page being programmed then holds garbage, as a cut EEPROM page
// does. Afterwards every record reads its old or its new content and the
// next write succeeds.
#include <algorithm>
#include <functional>

#include "platform/device_model.h"
#include "zan/zan_convert.h"
#include "zan/zan_records.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;
using Read = std::pair<int32_t, Bytes>;

class ZanCut : public DeviceTest {
protected:
    // What a record reads through the access path: its status and slots.
    Read reads(const char *record)
    {
        std::vector<uint8_t> out;
        const int32_t status = slots("EE", record, 4096, &out);
        EXPECT_EQ(fru_close_data_source(), 0);
        return {status, status == 0 ? out : Bytes{}};
    }
};

// A cut anywhere in the first write blank media can take (a record, a
// history ring's first entry, an opaque segment, a whole image flashed)
// leaves it empty or holding the new content, and the next write succeeds:
// a cut header must not make the container unusable for good.
TEST_F(ZanCut, FirstWriteOfEveryKindToBlankMediaLeavesEmptyOrNewAndTheNextWriteSucceeds)
{
    const Bytes first = pattern("Power_SummaryR", 3), next = pattern("ManR", 9), summary = pattern("Power_SummaryR", 8);
    // Empty or new, and still so after the next update.
    const auto either = [&](const std::function<bool()> &empty_or_new) -> std::function<void()> {
        return [&, empty_or_new] {
            EXPECT_TRUE(empty_or_new());
            EXPECT_EQ(update("EE", "Power_SummaryR", summary), 0);
            EXPECT_EQ(reads("Power_SummaryR"), (Read{0, summary}));
            EXPECT_TRUE(empty_or_new());
        };
    };
    const struct {
        const char *what;
        std::vector<uint32_t> pages;
        std::function<int32_t()> op;
        std::function<void()> check;
        size_t cuts;  // at least
    } writes[] = {
        {"record update", {32, 64}, [&] { return update("EE", "Power_SummaryR", first); },
         [&] {
             // Empty or new, and the next update leaves it as it is.
             const Read now = reads("Power_SummaryR");
             EXPECT_TRUE(now.first == fruplat::kAbsent || now == (Read{0, first}));
             EXPECT_EQ(update("EE", "ManR", next), 0);
             EXPECT_EQ(reads("ManR"), (Read{0, next}));
             EXPECT_EQ(reads("Power_SummaryR"), now);
         },
         60},
        {"ring append", {32}, [&] { return update("EE", "Status_EventsR", pattern("Status_EventsR", 3)); },
         either([&] {
             const int32_t status = reads("Status_EventsR").first;
             return status == 0 || status == fruplat::kAbsent;
         }),
         20},
        {"opaque write", {32}, [&] { return opaque_write("EE", "O1", 0, 16, 2); },
         either([&] {
             // No segment, or a whole O1 (and, after the next update, its
             // record): nothing damaged either way.
             fruplat::ZanImage parsed;
             return fruplat::parse_zan_image(image("EE"), &parsed, 32) == 0 &&
                    std::all_of(parsed.segments.begin(), parsed.segments.end(),
                                [](const fruplat::Segment &segment) { return segment.usable(); });
         }),
         20},
        {"flash", {32}, [&] { return flash_records("EE", {"ManR"}, 4); },
         either([&] {
             const Read now = reads("ManR");
             return now.first == fruplat::kAbsent || now == Read{0, pattern("ManR", 4)};
         }),
         20},
    };
    for (const uint8_t erased : {0xFF, 0x00})
        for (const auto &w : writes)
            for (const uint32_t page : w.pages) {
                const std::string what = std::string(w.what) + " to blank " + (erased ? "0xFF" : "0x00") +
                                         " media, page " + std::to_string(page);
                SCOPED_TRACE(what);
                make_device(8192, erased, page);
                EXPECT_GT(cut_everywhere(what, Bytes(8192, erased), w.op, w.check), w.cuts);
                TearDown();
                SetUp();
            }
}

// Sets the sequence number of table slot `k`, keeping its CRC whole.
void set_sequence(Bytes &raw, const fruplat::ZanLayout &layout, int k, uint32_t sequence)
{
    uint8_t *slot = &raw[layout.slot[k]];
    fruplat::store_be(slot, sequence, 4);
    const size_t covered = fruplat::kSlotHeaderSize + fruplat::load_be16(slot + 4) * fruplat::kTableEntrySize;
    fruplat::store_be(slot + covered, fruplat::crc32(slot, covered), 4);
}

// Whatever the sequence numbers of the two slots, the slot a commit writes
// is the one read next: a wrapped or equal sequence never hides it.
TEST_F(ZanCut, AWrappedSequenceNeverHidesANewerSlot)
{
    make_device(8192, 0xFF, 32);
    ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
    ASSERT_EQ(update("EE", "Customer_DataR", pattern("Customer_DataR", 2)), 0);
    // Slot 0 active, slot 1 holding both records too: where equal
    // sequences leave the first slot read, it is the newest.
    ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 4)), 0);
    const Bytes formatted = image("EE");
    const fruplat::ZanImage zan = parsed("EE");
    const struct {
        const char *what;
        uint32_t active, other;
    } rows[] = {
        {"active slot at 0xFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFE},
        {"active slot at 0x7FFFFFFF", 0x7FFFFFFF, 0x7FFFFFFE},
        {"both slots at 5", 5, 5},
    };
    const Bytes summary = pattern("Power_SummaryR", 7);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        Bytes before = formatted;
        set_sequence(before, zan.layout, zan.active_slot, row.active);
        set_sequence(before, zan.layout, zan.active_slot ^ 1, row.other);
        put(before);
        const Read old_summary = reads("Power_SummaryR"), old_customer = reads("Customer_DataR");
        // Three commits in a row, then a delete: each one visible.
        for (uint8_t seed : {7, 8, 9}) {
            EXPECT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", seed)), 0);
            EXPECT_EQ(reads("Power_SummaryR"), (Read{0, pattern("Power_SummaryR", seed)}));
        }
        EXPECT_EQ(remove("EE", "Customer_DataR"), 0);
        EXPECT_EQ(reads("Customer_DataR").first, fruplat::kAbsent);

        EXPECT_GT(cut_everywhere(std::string("update, ") + row.what, before,
                                 [&] { return update("EE", "Power_SummaryR", summary); },
                                 [&] {
                                     const Read now = reads("Power_SummaryR");
                                     EXPECT_TRUE(now == old_summary || now == (Read{0, summary}));
                                     EXPECT_EQ(reads("Customer_DataR"), old_customer);
                                 }),
                  30u);
        cut_everywhere(std::string("delete, ") + row.what, before, [&] { return remove("EE", "Customer_DataR"); }, [&] {
            const Read now = reads("Customer_DataR");
            EXPECT_TRUE(now == old_customer || now.first == fruplat::kAbsent);
            EXPECT_EQ(reads("Power_SummaryR"), old_summary);
        });
    }
}

// A format 1 image holding Customer_DataR: header, then the segment's
// 12-byte header and body.
Bytes format1_image(const Bytes &customer)
{
    Bytes body(fruplat::kPacketHeaderSize);
    fruplat::store_be(&body[0], 0x0201, 2);
    fruplat::store_be(&body[4], customer.size(), 4);
    body.insert(body.end(), customer.begin(), customer.end());
    Bytes image(fruplat::kZanV1HeaderSize + fruplat::kSegmentHeaderSize);
    std::copy(fruplat::kZanMagic, fruplat::kZanMagic + 4, image.begin());
    image[4] = fruplat::kZanFormatVersion1;
    fruplat::store_be(&image[6], 1, 2);
    fruplat::store_be(&image[8], 8192, 4);
    fruplat::store_be(&image[12], image.size() + body.size(), 4);
    fruplat::store_be(&image[20], fruplat::crc32(image.data(), 20), 4);
    uint8_t *segment = &image[fruplat::kZanV1HeaderSize];
    std::copy_n("CU", 2, segment);
    segment[2] = fruplat::kSegmentKindRecord;
    fruplat::store_be(segment + 4, body.size(), 4);
    fruplat::store_be(segment + 8, fruplat::crc32(body.data(), body.size()), 4);
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

// Nothing converts a format 1 device on the fly: every kind of write is
// refused with a status of its own and leaves every byte, reads go on, and
// after the explicit conversion the same writes succeed.
TEST_F(ZanCut, Format1DeviceRefusesEveryWriteUntilConverted)
{
    make_device(8192, 0xFF, 32);
    const Bytes customer = pattern("Customer_DataR", 5);
    put(format1_image(customer));
    const Bytes before = image("EE");
    const std::pair<const char *, std::function<int32_t()>> writes[] = {
        {"update", [&] { return update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)); }},
        {"delete", [&] { return remove("EE", "Customer_DataR"); }},
        {"opaque write", [&] { return opaque_write("EE", "O1", 0, 16, 2); }},
        {"flash", [&] { return flash_records("EE", {"ManR"}, 3); }},
    };
    for (const auto &[what, write] : writes) {
        EXPECT_EQ(write(), fruplat::kFormat1OnDevice) << what;
        EXPECT_EQ(fru_close_data_source(), 0);
        EXPECT_TRUE(image("EE") == before) << what;
        EXPECT_EQ(reads("Customer_DataR"), (Read{0, customer})) << what;
    }
    EXPECT_EQ(fruplat::convert_zan_container(entry("EE"), nullptr), 0);
    EXPECT_EQ(fruplat::convert_zan_container(entry("EE"), nullptr), fruplat::kNotFormat1);
    EXPECT_EQ(reads("Customer_DataR"), (Read{0, customer}));
    for (const auto &[what, write] : writes)
        EXPECT_EQ(write(), 0) << what;
}

// A format 1 image whose header CRC no longer holds, all of it in the
// header's page, is damaged, not a cut first format: a write must not
// format its records away.
TEST_F(ZanCut, ADamagedFormat1HeaderIsNotBlankMedia)
{
    make_device(8192, 0xFF, 256);
    Bytes damaged = format1_image(pattern("Customer_DataR", 5));
    damaged[21] ^= 0x01;  // the header's CRC
    damaged.resize(8192, 0xFF);
    put(damaged);
    ::testing::internal::CaptureStderr();
    EXPECT_NE(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
    EXPECT_NE(reads("Power_SummaryR").first, fruplat::kAbsent);
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(image("EE") == damaged);
}

}  // namespace
}  // namespace quillet_test
