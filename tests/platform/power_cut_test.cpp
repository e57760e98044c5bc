// A device that takes the first N bytes of a write and then loses power,
// for every N of every kind of write: afterwards every record reads its old
// or its new content. Only a write that had to pack the segments in place
// may leave a segment that the scan reports bad instead.
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <tuple>
#include <unistd.h>

#include "platform/container_interface.h"
#include "platform/store_fixture.h"
#include "zan/zan_records.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;

// What every record and opaque section reads: status and bytes.
using State = std::map<std::string, std::pair<int32_t, Bytes>>;

struct Operation {
    std::string label;
    std::function<int32_t()> run;
};

class PowerCut : public StoreTest {
protected:
    void make_device(uint32_t capacity)
    {
        // On tmpfs where there is one: the test syncs thousands of writes.
        device_ = (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : store_) + "/quillet-eeprom-" +
                  std::to_string(getpid());
        add_device("EE", device_, capacity);
    }

    void restore(const Bytes &bytes) const
    {
        std::fstream(device_, std::ios::binary | std::ios::in | std::ios::out)
            .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // Every ZAN record and every opaque section; a record of a segment the
    // scan calls bad must really be in a bad segment.
    State state(size_t *checked) const
    {
        fruplat::ZanImage image = parsed("EE");
        bool any_bad = false;
        State out;
        for (fruplat::Segment &s : image.segments) {
            any_bad |= !s.usable();
            if (s.kind == fruplat::kSegmentKindOpaque)
                for (int k = 0; k < 2; ++k)
                    out[s.name_text() + "/" + std::to_string(k)] = {
                        s.usable() ? 0 : fruplat::kSegmentDamaged, s.usable() ? s.sections[k] : Bytes{}};
        }
        size_t count = 0;
        const fruplat::RecordDef *defs = fruplat::record_defs(&count);
        for (size_t i = 0; i < count; ++i) {
            if ((defs[i].families & fruplat::kZanFamily) == 0)
                continue;
            Bytes slots;
            const int32_t status = fruplat::record_slots(image, defs[i], 4096, &slots);
            EXPECT_TRUE(status != fruplat::kSegmentDamaged || any_bad) << defs[i].name;
            out[defs[i].name] = {status, status == 0 ? slots : Bytes{}};
            ++*checked;
        }
        return out;
    }

    // Runs `op` from `before` with every possible cut; returns the cut
    // points tried.
    size_t cut_everywhere(const Bytes &before, const Operation &op, size_t *checked, bool may_go_bad)
    {
        size_t total = 0;
        fruplat::set_device_writer([&](int fd, const uint8_t *data, size_t size, off_t at) {
            total += size;
            return pwrite(fd, data, size, at);
        });
        restore(before);
        const State old_state = state(checked);
        EXPECT_EQ(op.run(), 0) << op.label;
        const State new_state = state(checked);
        written_[op.label] = total;
        for (size_t cut = 0; cut < total; ++cut) {
            size_t budget = cut;
            fruplat::set_device_writer([&](int fd, const uint8_t *data, size_t size, off_t at) -> ssize_t {
                if (budget == 0) {
                    errno = EIO;
                    return -1;
                }
                const size_t n = std::min(size, budget);
                budget -= n;
                return pwrite(fd, data, n, at);
            });
            restore(before);
            ::testing::internal::CaptureStderr();
            const int32_t status = op.run();
            ::testing::internal::GetCapturedStderr();
            fru_close_data_source();
            EXPECT_NE(status, 0) << op.label << " cut at byte " << cut;
            State now = state(checked);
            State keys = old_state;
            keys.insert(new_state.begin(), new_state.end());
            keys.insert(now.begin(), now.end());
            const auto read_of = [](const State &s, const std::string &name) {
                auto it = s.find(name);
                return it != s.end() ? it->second : std::pair<int32_t, Bytes>{fruplat::kAbsent, {}};
            };
            for (const auto &key : keys) {
                const auto read = read_of(now, key.first);
                EXPECT_TRUE(read == read_of(old_state, key.first) || read == read_of(new_state, key.first) ||
                            (may_go_bad && read.first == fruplat::kSegmentDamaged))
                    << op.label << " cut at byte " << cut << ": " << key.first << " reads status " << read.first;
            }
        }
        fruplat::set_device_writer(
            [](int fd, const uint8_t *data, size_t size, off_t at) { return pwrite(fd, data, size, at); });
        return total;
    }

    std::vector<Operation> operations()
    {
        std::vector<Operation> ops;
        size_t count = 0;
        const fruplat::RecordDef *defs = fruplat::record_defs(&count);
        for (size_t i = 0; i < count; ++i) {
            if ((defs[i].families & fruplat::kZanFamily) == 0)
                continue;
            const char *name = defs[i].name;
            ops.push_back({std::string("update ") + name,
                           [this, name, i] { return update("EE", name, pattern(name, static_cast<uint8_t>(0x40 + i))); }});
        }
        ops.push_back({"delete Customer_DataR", [this] { return remove("EE", "Customer_DataR"); }});
        ops.push_back({"opaque section write", [this] { return opaque_write("EE", "O1", 1, 120, 9); }});
        ops.push_back({"segment removal", [this] {
                           const fru_nodehdl_t handle = node("EE");
                           int32_t status = 0;
                           walk(handle, &status);
                           if (status == 0)
                               status = fru_remove_segment(handle, "CU");
                           if (status == 0)
                               status = fru_flash_file("EE", handle);
                           fru_close_node(handle);
                           return status;
                       }});
        ops.push_back({"flash", [this] {
                           fruplat::ZanImage image;
                           image.capacity = entry("EE").capacity;
                           fruplat::put_record(image, *fruplat::find_record_def("ManR"), pattern("ManR", 7).data());
                           fruplat::put_record(image, *fruplat::find_record_def("Power_SummaryR"),
                                               pattern("Power_SummaryR", 2).data());
                           const Bytes bytes = fruplat::serialize_zan_image(image);
                           capi_container_t container{};
                           int32_t status = capi_fruid_open_container("EE", &container);
                           uint32_t written = 0;
                           if (status == 0)
                               status = capi_fruid_write_container(&container, bytes.data(), 0,
                                                                   static_cast<uint32_t>(bytes.size()), &written);
                           const int32_t closed = capi_fruid_close_container(&container);
                           return status != 0 ? status : closed;
                       }});
        return ops;
    }

    void TearDown() override
    {
        unlink(device_.c_str());
        StoreTest::TearDown();
    }

    std::string device_;
    std::map<std::string, size_t> written_;  // bytes each operation wrote uncut
};

TEST_F(PowerCut, EveryCutOfEveryWriteLeavesOldOrNewContent)
{
    make_device(8192);
    for (const auto &[name, record, seed] : {std::tuple{"ManR", "ManR", 1}, {"Power_SummaryR", "Power_SummaryR", 2},
                                             {"POWER", "Power_EventsR", 0}, {"POWER", "Power_EventsR", 1},
                                             {"POWER", "Power_EventsR", 2}, {"Customer_DataR", "Customer_DataR", 3},
                                             {"Installation1R", "Installation1R", 4}})
        ASSERT_EQ(update("EE", name, pattern(record, uint8_t(seed))), 0);
    ASSERT_EQ(opaque_write("EE", "O1", 0, 50, 5), 0);
    const Bytes before = image("EE");
    size_t cuts = 0, checked = 0;
    for (const Operation &op : operations())
        cuts += cut_everywhere(before, op, &checked, false);
    std::printf("power cut: %zu cut points tried, %zu record reads checked\n", cuts, checked);
    EXPECT_GT(cuts, 1000u);
    // A changed segment is written whole to free space, plus its table
    // slot's changed pages: small records cost a few hundred bytes.
    for (const char *small : {"update Power_SummaryR", "update Power_EventsR", "update ManR",
                              "delete Customer_DataR", "segment removal"})
        EXPECT_LT(written_[small], 512u) << small;
}

// With no free space left the segments are packed in place; a cut may then
// leave bad segments, never wrong content.
TEST_F(PowerCut, CutOfAPackingWriteLeavesOldOrNewOrABadSegment)
{
    make_device(2048);
    ASSERT_EQ(update("EE", "ManR", pattern("ManR", 1)), 0);
    ASSERT_EQ(update("EE", "Installation1R", pattern("Installation1R", 4)), 0);
    const Bytes before = image("EE");
    size_t checked = 0;
    const size_t cuts = cut_everywhere(
        before, {"update Installation1R", [this] { return update("EE", "Installation1R", pattern("Installation1R", 8)); }},
        &checked, true);
    std::printf("power cut (packing): %zu cut points tried, %zu record reads checked\n", cuts, checked);
}

}  // namespace
}  // namespace quillet_test
