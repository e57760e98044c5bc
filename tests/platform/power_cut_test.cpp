// A device that takes the first N bytes of a write and then loses power,
// for every N of every kind of write: afterwards every record reads its old
// or its new content. Only a write that had to pack the segments in place
// may leave a segment that the scan reports bad instead.
#include <cstdio>
#include <map>
#include <tuple>

#include "platform/device_model.h"
#include "zan/zan_records.h"

namespace quillet_test {
namespace {

using fruplat::Bytes;
using Read = std::pair<int32_t, Bytes>;
using State = std::map<std::string, Read>;  // what every record and opaque section reads
using Operation = std::pair<std::string, std::function<int32_t()>>;

std::vector<const fruplat::RecordDef *> zan_defs()
{
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    std::vector<const fruplat::RecordDef *> out;
    for (size_t i = 0; i < count; ++i)
        if ((defs[i].families & fruplat::kZanFamily) != 0)
            out.push_back(&defs[i]);
    return out;
}

Read read_of(const State &s, const std::string &name)
{
    const auto it = s.find(name);
    return it != s.end() ? it->second : Read{fruplat::kAbsent, {}};
}

class PowerCut : public DeviceTest {
protected:
    // A record of a segment the scan calls bad must really be in a bad
    // segment.
    State state()
    {
        fruplat::ZanImage image = parsed("EE");
        bool any_bad = false;
        State out;
        for (fruplat::Segment &s : image.segments) {
            any_bad |= !s.usable();
            for (int k = 0; s.kind == fruplat::kSegmentKindOpaque && k < 2; ++k)
                out[s.name_text() + "/" + std::to_string(k)] =
                    s.usable() ? Read{0, s.sections[k]} : Read{fruplat::kSegmentDamaged, {}};
        }
        for (const fruplat::RecordDef *def : zan_defs()) {
            Bytes slots;
            const int32_t status = fruplat::record_slots(image, *def, 4096, &slots);
            EXPECT_TRUE(status != fruplat::kSegmentDamaged || any_bad) << def->name;
            out[def->name] = {status, status == 0 ? slots : Bytes{}};
            ++checked_;
        }
        return out;
    }

    // Every cut of `op` from `before` leaves each record and section
    // reading as before or after it; with `may_go_bad`, or damaged.
    size_t cut_all(const Bytes &before, const Operation &op, bool may_go_bad)
    {
        put(before);
        const State old_state = state();
        EXPECT_EQ(op.second(), 0) << op.first;
        const State new_state = state();
        return written_[op.first] = cut_everywhere(op.first, before, op.second, [&] {
                   State keys = state();
                   const State now = keys;
                   keys.insert(old_state.begin(), old_state.end());
                   keys.insert(new_state.begin(), new_state.end());
                   for (const auto &key : keys) {
                       const Read read = read_of(now, key.first);
                       EXPECT_TRUE(read == read_of(old_state, key.first) || read == read_of(new_state, key.first) ||
                                   (may_go_bad && read.first == fruplat::kSegmentDamaged))
                           << key.first << " reads status " << read.first;
                   }
               });
    }

    std::vector<Operation> operations()
    {
        std::vector<Operation> ops;
        uint8_t seed = 0x40;
        for (const fruplat::RecordDef *def : zan_defs())
            ops.push_back({std::string("update ") + def->name,
                           [this, def, s = seed++] { return update("EE", def->name, pattern(def->name, s)); }});
        ops.push_back({"delete Customer_DataR", [this] { return remove("EE", "Customer_DataR"); }});
        ops.push_back({"opaque section write", [this] { return opaque_write("EE", "O1", 1, 120, 9); }});
        ops.push_back({"segment removal", [this] {
                           const fru_nodehdl_t handle = node("EE");
                           int32_t status = 0;
                           walk(handle, &status);
                           status = status != 0 ? status : fru_remove_segment(handle, "CU");
                           status = status != 0 ? status : fru_flash_file("EE", handle);
                           EXPECT_EQ(fru_close_node(handle), 0);
                           return status;
                       }});
        ops.push_back({"flash", [] { return flash_records("EE", {"ManR", "Power_SummaryR"}, 7); }});
        return ops;
    }

    size_t checked_ = 0;                      // record reads
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
    size_t cuts = 0;
    for (const Operation &op : operations())
        cuts += 2 * cut_all(before, op, false);
    std::printf("power cut: %zu cut points tried, %zu record reads checked\n", cuts, checked_);
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
    cut_all(image("EE"),
            {"update Installation1R, packing", [this] { return update("EE", "Installation1R", pattern("Installation1R", 8)); }},
            true);
    std::printf("power cut (packing): %zu record reads checked\n", checked_);
}

}  // namespace
}  // namespace quillet_test
