// Power cuts where a ZAN device is most fragile: the first write to blank
// media, and a commit whose table sequence number wraps. The device takes
// the first N bytes of a write and loses power, for every N; torn, the rest
// of the page being programmed then holds garbage, as a cut EEPROM page
// does. Afterwards every record reads its old or its new content and the
// next write succeeds.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

#include "platform/device_model.h"
#include "platform/store_fixture.h"
#include "platform/container_interface.h"
#include "zan/zan_convert.h"
#include "zan/zan_records.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;

struct Tally {
    size_t clean = 0;
    size_t torn = 0;
    size_t violations = 0;
};

// Flashes container EE with an 8 KiB image holding only ManR, through the
// container interface as quillet -i does.
int32_t flash_man(const std::vector<uint8_t> &man)
{
    fruplat::ZanImage flashed;
    flashed.capacity = 8192;
    if (fruplat::put_record(flashed, *fruplat::find_record_def("ManR"), man.data()) != 0)
        return -1;
    const Bytes bytes = fruplat::serialize_zan_image(flashed);
    capi_container_t container{};
    uint32_t written = 0;
    int32_t status = capi_fruid_open_container("EE", &container);
    if (status == 0)
        status = capi_fruid_write_container(&container, bytes.data(), 0, static_cast<uint32_t>(bytes.size()),
                                            &written);
    const int32_t closed = capi_fruid_close_container(&container);
    return status != 0 ? status : closed;
}

class ZanCut : public StoreTest {
protected:
    void make_device(uint32_t capacity, uint8_t erased, uint32_t page)
    {
        device_ = std::make_unique<ModelledDevice>();
        ASSERT_EQ(device_->add(store_, "EE", capacity, erased, page), 0);
        page_ = page;
        // Registering a device leaves its bytes as they were.
        blank_ = Bytes(capacity, erased);
        ASSERT_TRUE(image("EE") == blank_);
    }

    void TearDown() override
    {
        device_.reset();
        StoreTest::TearDown();
    }

    void put(const Bytes &bytes) { device_->put(bytes); }
    DeviceModel &model() { return device_->model(); }

    // What a record reads through the access path: its status and slots.
    std::pair<int32_t, Bytes> reads(const char *record)
    {
        std::vector<uint8_t> out;
        const int32_t status = slots("EE", record, 4096, &out);
        EXPECT_EQ(fru_close_data_source(), 0);
        return {status, status == 0 ? Bytes(out.begin(), out.end()) : Bytes{}};
    }

    // Runs `op` from `before` uncut, then cut at every byte it wrote, clean
    // and torn; `check` judges the device after each cut.
    Tally sweep(const Bytes &before, const std::function<int32_t()> &op,
                const std::function<bool(size_t cut, bool torn)> &check)
    {
        Tally tally;
        put(before);
        model().reset_counts();
        EXPECT_EQ(op(), 0);
        const size_t total = model().written();
        for (const bool torn : {false, true}) {
            for (size_t cut = 0; cut < total; ++cut) {
                put(before);
                model().cut_after(cut, torn);
                ::testing::internal::CaptureStderr();
                const int32_t status = op();
                ::testing::internal::GetCapturedStderr();
                model().cut_after(SIZE_MAX, false);
                EXPECT_EQ(fru_close_data_source(), 0);
                EXPECT_NE(status, 0) << "cut at byte " << cut;
                ++(torn ? tally.torn : tally.clean);
                if (!check(cut, torn)) {
                    ++tally.violations;
                    ADD_FAILURE() << "cut at byte " << cut << (torn ? " (torn)" : " (clean)");
                }
            }
        }
        return tally;
    }

    std::unique_ptr<ModelledDevice> device_;
    uint32_t page_ = 32;
    Bytes blank_;
};

void report(const char *what, const Tally &t)
{
    std::printf("power cut %s: %zu cut points (clean), %zu (torn), %zu violations\n", what, t.clean, t.torn,
                t.violations);
}

// A cut anywhere in the first write to blank media leaves an empty
// container or the new record, and the next write succeeds: a cut header
// must not make the container unusable for good.
TEST_F(ZanCut, FirstWriteToBlankMediaLeavesEmptyOrNewAndTheNextWriteSucceeds)
{
    const std::vector<uint8_t> first = pattern("Power_SummaryR", 3);
    const std::vector<uint8_t> next = pattern("ManR", 9);
    for (const auto &[erased, page] : {std::pair<uint8_t, uint32_t>{0xFF, 32}, {0x00, 32}, {0xFF, 64}, {0x00, 64}}) {
        SCOPED_TRACE(testing::Message() << "erased " << int(erased) << ", page " << page);
        make_device(8192, erased, page);
        const Tally tally = sweep(
            blank_, [&] { return update("EE", "Power_SummaryR", first); },
            [&](size_t, bool) {
                const auto summary = reads("Power_SummaryR");
                const bool ok = summary.first == fruplat::kAbsent ||
                                (summary.first == 0 && summary.second == Bytes(first.begin(), first.end()));
                const int32_t again = update("EE", "ManR", next);
                const auto man = reads("ManR");
                return ok && again == 0 && man.first == 0 && man.second == Bytes(next.begin(), next.end()) &&
                       reads("Power_SummaryR") == summary;
            });
        char what[64];
        std::snprintf(what, sizeof what, "first write to blank 0x%02X media, page %u", erased, page);
        report(what, tally);
        EXPECT_GT(tally.clean, 60u);
        EXPECT_EQ(tally.violations, 0u);
        TearDown();
        SetUp();
    }
}

// The same for the other first writes blank media can take: a history
// ring's first entry, an opaque segment, a whole image flashed. Whatever
// the cut leaves reads as empty or as the new content, and the next update
// succeeds.
TEST_F(ZanCut, FirstWriteOfEveryKindToBlankMedia)
{
    const std::vector<uint8_t> man = pattern("ManR", 4);
    const std::vector<uint8_t> summary = pattern("Power_SummaryR", 8);
    const auto flash = [&] { return flash_man(man); };
    const struct {
        const char *what;
        std::function<int32_t()> op;
        std::function<bool()> empty_or_new;
    } writes[] = {
        {"ring append", [&] { return update("EE", "Status_EventsR", pattern("Status_EventsR", 3)); },
         [&] {
             const int32_t status = reads("Status_EventsR").first;
             return status == 0 || status == fruplat::kAbsent;
         }},
        {"opaque write", [&] { return opaque_write("EE", "O1", 0, 16, 2); },
         [&] {
             // No segment, or a whole O1 (and, after the next update, its
             // record): nothing damaged either way.
             fruplat::ZanImage parsed;
             return fruplat::parse_zan_image(image("EE"), &parsed, page_) == 0 &&
                    std::all_of(parsed.segments.begin(), parsed.segments.end(),
                                [](const fruplat::Segment &segment) { return segment.usable(); });
         }},
        {"flash", flash,
         [&] {
             const auto now = reads("ManR");
             return now.first == fruplat::kAbsent || now == std::pair{0, Bytes(man.begin(), man.end())};
         }},
    };
    for (const uint8_t erased : {0xFF, 0x00}) {
        for (const auto &w : writes) {
            SCOPED_TRACE(testing::Message() << w.what << ", erased " << int(erased));
            make_device(8192, erased, 32);
            const Tally tally = sweep(blank_, w.op, [&](size_t, bool) {
                const bool ok = w.empty_or_new();
                return ok && update("EE", "Power_SummaryR", summary) == 0 &&
                       reads("Power_SummaryR") == std::pair{0, Bytes(summary.begin(), summary.end())} &&
                       w.empty_or_new();
            });
            char what[80];
            std::snprintf(what, sizeof what, "%s to blank 0x%02X media, page 32", w.what, erased);
            report(what, tally);
            EXPECT_GT(tally.clean, 20u);
            EXPECT_EQ(tally.violations, 0u);
            TearDown();
            SetUp();
        }
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
    model().cut_after(SIZE_MAX, false);
    ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
    ASSERT_EQ(update("EE", "Customer_DataR", pattern("Customer_DataR", 2)), 0);
    // Slot 0 active, slot 1 holding both records too: where equal
    // sequences leave the first slot read, it is the newest.
    ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 4)), 0);
    const Bytes formatted = image("EE");
    fruplat::ZanImage parsed;
    ASSERT_EQ(fruplat::parse_zan_image(formatted, &parsed), 0);
    const int active = parsed.active_slot;
    const struct {
        const char *what;
        uint32_t active, other;
    } rows[] = {
        {"active slot at 0xFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFE},
        {"active slot at 0x7FFFFFFF", 0x7FFFFFFF, 0x7FFFFFFE},
        {"both slots at 5", 5, 5},
    };
    for (const auto &row : rows) {
        Bytes before = formatted;
        set_sequence(before, parsed.layout, active, row.active);
        set_sequence(before, parsed.layout, active ^ 1, row.other);
        const std::vector<uint8_t> summary = pattern("Power_SummaryR", 7);
        const auto old_summary = (put(before), reads("Power_SummaryR"));
        const auto old_customer = reads("Customer_DataR");
        // Three commits in a row, then a delete: each one visible.
        put(before);
        for (uint8_t seed : {7, 8, 9}) {
            EXPECT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", seed)), 0) << row.what;
            const std::vector<uint8_t> want = pattern("Power_SummaryR", seed);
            EXPECT_EQ(reads("Power_SummaryR"), (std::pair{0, Bytes(want.begin(), want.end())})) << row.what;
        }
        EXPECT_EQ(remove("EE", "Customer_DataR"), 0) << row.what;
        EXPECT_EQ(reads("Customer_DataR").first, fruplat::kAbsent) << row.what;

        const auto new_summary = std::pair{0, Bytes(summary.begin(), summary.end())};
        const Tally updates = sweep(before, [&] { return update("EE", "Power_SummaryR", summary); },
                                    [&](size_t, bool) {
                                        const auto now = reads("Power_SummaryR");
                                        return (now == old_summary || now == new_summary) &&
                                               reads("Customer_DataR") == old_customer;
                                    });
        const Tally deletes = sweep(before, [&] { return remove("EE", "Customer_DataR"); }, [&](size_t, bool) {
            const auto now = reads("Customer_DataR");
            return (now == old_customer || now.first == fruplat::kAbsent) && reads("Power_SummaryR") == old_summary;
        });
        report((std::string("update, ") + row.what).c_str(), updates);
        report((std::string("delete, ") + row.what).c_str(), deletes);
        EXPECT_EQ(updates.violations + deletes.violations, 0u) << row.what;
        EXPECT_GT(updates.clean, 30u) << row.what;
    }
}

// A format 1 image holding Customer_DataR: header, then the segment's
// 12-byte header and body.
Bytes format1_image(const std::vector<uint8_t> &customer)
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
    segment[0] = 'C';
    segment[1] = 'U';
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
    model().cut_after(SIZE_MAX, false);
    const std::vector<uint8_t> customer = pattern("Customer_DataR", 5);
    put(format1_image(customer));
    const Bytes before = image("EE");
    const std::pair<const char *, std::function<int32_t()>> writes[] = {
        {"update", [&] { return update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)); }},
        {"delete", [&] { return remove("EE", "Customer_DataR"); }},
        {"opaque write", [&] { return opaque_write("EE", "O1", 0, 16, 2); }},
        {"flash", [&] { return flash_man(pattern("ManR", 3)); }},
    };
    for (const auto &[what, write] : writes) {
        EXPECT_EQ(write(), fruplat::kFormat1OnDevice) << what;
        EXPECT_EQ(fru_close_data_source(), 0);
        EXPECT_TRUE(image("EE") == before) << what;
        EXPECT_EQ(reads("Customer_DataR"), (std::pair{0, Bytes(customer.begin(), customer.end())})) << what;
    }
    EXPECT_EQ(fruplat::convert_zan_container(entry("EE"), nullptr), 0);
    EXPECT_EQ(fruplat::convert_zan_container(entry("EE"), nullptr), fruplat::kNotFormat1);
    EXPECT_EQ(reads("Customer_DataR"), (std::pair{0, Bytes(customer.begin(), customer.end())}));
    for (const auto &[what, write] : writes)
        EXPECT_EQ(write(), 0) << what;
}

// A format 1 image whose header CRC no longer holds, all of it in the
// header's page, is damaged, not a cut first format: a write must not
// format its records away.
TEST_F(ZanCut, ADamagedFormat1HeaderIsNotBlankMedia)
{
    make_device(8192, 0xFF, 256);
    model().cut_after(SIZE_MAX, false);
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
