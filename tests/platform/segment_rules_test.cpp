// Segment names are unique within a container, a name holds one kind of
// segment, and a removal takes exactly the segment its walk showed, and
// only when the image is flashed.
#include <cstdlib>
#include <optional>

#include "platform/store_fixture.h"
#include "support/segment_images.h"

namespace quillet_test {
namespace {

using fruplat::kSegmentKindOpaque;

class SegmentRules : public StoreTest {
protected:
    // 'r', 'u', 'd': read, update, delete CUSTOMER; 'R', 'U', 'D' the same on
    // section 0 of the opaque segment O1.
    int32_t call(const std::string &nac, char operation)
    {
        if (operation == 'r' || operation == 'u' || operation == 'd')
            return operation == 'r'   ? read(nac, "CUSTOMER")
                   : operation == 'u' ? update(nac, "CUSTOMER", pattern("Customer_DataR", 7))
                                      : remove(nac, "CUSTOMER");
        if (operation == 'U')
            return opaque_write(nac, "O1", 0, 16, 1);
        uint8_t descriptor[FRU_SEGMENT_DESCRIPTOR_SIZE] = {};
        uint8_t data[16];
        uint32_t length = sizeof data;
        const fru_nodehdl_t handle = node(nac);
        const int32_t status = operation == 'R' ? fru_read_op_segment(handle, "O1", descriptor, 0, data, &length)
                                                : fru_delete_op_segment(handle, "O1", 0);
        EXPECT_EQ(fru_close_node(handle), 0);
        return status;
    }
};

// (A record's home segment held by an opaque one: tests/e2e,
// Segments.UpdateWhoseHomeSegmentIsOpaqueIsRefused.)
TEST_F(SegmentRules, AmbiguousOrMisplacedSegmentsAreRefusedLeavingEveryByte)
{
    const SegmentPlan record_cu = {"CU", false, 1};
    const SegmentPlan opaque_o1 = {"O1", false, 2, kSegmentKindOpaque};
    const SegmentPlan record_o1 = {"O1", false, 2};
    // Customer_DataR's tag in a segment that is not its home.
    const SegmentPlan stray_cu = {"MN", false, 3, fruplat::kSegmentKindRecord, 84, 0x0201};
    const struct {
        const char *what;
        std::vector<SegmentPlan> segments;
        char call;
        int32_t status;
    } rows[] = {
        {"opaque name held by records: update", {record_o1}, 'U', fruplat::kSegmentKindTaken},
        {"opaque name held by records: show", {record_o1}, 'R', fruplat::kSegmentKindTaken},
        {"repeated record segment: read", {record_cu, record_cu}, 'r', fruplat::kDuplicateSegmentName},
        {"repeated record segment: update", {record_cu, {"CU", false, 3}}, 'u', fruplat::kDuplicateSegmentName},
        {"repeated record segment: delete", {record_cu, record_cu}, 'd', fruplat::kDuplicateSegmentName},
        {"repeated, the first with a bad CRC", {{"CU", true, 3}, record_cu}, 'r', fruplat::kSegmentDamaged},
        {"repeated opaque segment: show", {opaque_o1, opaque_o1}, 'R', fruplat::kDuplicateSegmentName},
        {"repeated opaque segment: update", {opaque_o1, opaque_o1}, 'U', fruplat::kDuplicateSegmentName},
        {"repeated opaque segment: delete", {opaque_o1, opaque_o1}, 'D', fruplat::kDuplicateSegmentName},
        {"tag in two segments: read", {record_cu, stray_cu}, 'r', fruplat::kDuplicateSegmentName},
        {"tag in two segments: update", {stray_cu, record_cu}, 'u', fruplat::kDuplicateSegmentName},
        {"tag in two segments: delete", {record_cu, stray_cu}, 'd', fruplat::kDuplicateSegmentName},
    };
    int container = 0;
    for (const auto &row : rows) {
        const std::string nac = std::string("C") + std::to_string(++container);
        add_image(nac, segment_image(row.segments, 16384));
        const fruplat::Bytes before = image(nac);
        EXPECT_EQ(call(nac, row.call), row.status) << row.what;
        EXPECT_TRUE(image(nac) == before) << row.what;
    }
}

// Per bad segment as listed: 'p' removes it by the name string handed out,
// 'c' by a copy of that name, '-' keeps it.
TEST_F(SegmentRules, RemovalTakesTheSegmentTheWalkShowed)
{
    const SegmentPlan mn = {"MN", false, 9};
    const SegmentPlan cu = {"CU", true, 1};
    // More segments than a table has room for by default: the table grows.
    std::vector<SegmentPlan> many = {mn};
    for (int i = 0; i < 40; ++i)
        many.push_back({std::string{static_cast<char>('P' + i / 10), static_cast<char>('0' + i % 10)},
                        true, static_cast<uint8_t>(i)});
    const struct {
        const char *what;
        std::vector<SegmentPlan> segments;
        std::string picks;
        std::optional<std::vector<SegmentPlan>> meanwhile;
        int32_t close_status;
        std::string left;
    } rows[] = {
        {"twins, second by its own name", {cu, {"CU", false, 2}}, "-p", {}, 0, "CU=01 bad"},
        {"twins, first by its own name", {cu, {"CU", false, 2}}, "p-", {}, 0, "CU=02"},
        {"twins, a copy names the first", {cu, {"CU", true, 2}}, "-c", {}, 0, "CU=02 bad"},
        {"identical twins, second", {cu, mn, cu}, "-p", {}, 0, "CU=01 bad,MN=09"},
        {"empty and unprintable names", {{"", true, 3}, mn, {"\x7f", true, 4}}, "cp", {}, 0, "MN=09"},
        {"gone meanwhile", {mn, cu}, "p", {{mn}}, 0, "MN=09"},
        {"moved meanwhile, unchanged", {mn, cu}, "p", {{cu, {"TH", false, 5}, mn}}, 0, "TH=05,MN=09"},
        {"recreated meanwhile", {mn, cu}, "p", {{mn, {"CU", false, 6}}}, 97, "MN=09,CU=06"},
        {"repaired meanwhile", {mn, cu}, "p", {{mn, {"CU", false, 1}}}, 97, "MN=09,CU=01"},
        {"changed meanwhile, still bad", {mn, cu}, "p", {{mn, {"CU", true, 7}}}, 97, "MN=09,CU=07 bad"},
        {"one of two changed", {mn, cu, {"TH", true, 5}}, "pp",
         {{mn, {"CU", true, 8}, {"TH", true, 5}}}, 97, "MN=09,CU=08 bad"},
        {"forty bad segments", many, std::string(40, 'p'), {}, 0, "MN=09"},
        {"one tag in two segments", {{"CU", false, 1}, {"MN", false, 9, fruplat::kSegmentKindRecord, 84, 0x0201}},
         "p-", {}, 0, "MN=09"},
    };
    int container = 0;
    for (const auto &row : rows) {
        const std::string nac = std::string("C") + std::to_string(++container);
        add_image(nac, segment_image(row.segments, 16384));
        const fru_nodehdl_t handle = node(nac);
        std::vector<char *> bad;  // the names as handed out
        int32_t walked = -1;
        walk(handle, &walked, &bad);
        ASSERT_EQ(walked, 0) << row.what;
        ASSERT_EQ(bad.size(), row.picks.size()) << row.what;
        const fruplat::Bytes before = image(nac);
        for (size_t i = 0; i < row.picks.size(); ++i)
            if (row.picks[i] != '-') {
                EXPECT_EQ(fru_remove_segment(handle, row.picks[i] == 'p' ? bad[i] : std::string(bad[i]).c_str()), 0)
                    << row.what << i;
            }
        // A removal reaches the image only through the flash; a segment
        // removed is not there to remove again.
        EXPECT_TRUE(image(nac) == before) << row.what;
        const int32_t again = row.picks == "p" ? fru_remove_segment(handle, bad[0]) : fruplat::kNoSuchSegment;
        EXPECT_EQ(again, fruplat::kNoSuchSegment) << row.what;
        if (row.meanwhile) {
            ASSERT_EQ(fruplat::write_image(entry(nac), segment_image(*row.meanwhile, 16384)), 0);
        }
        EXPECT_EQ(fru_flash_file(nac.c_str(), handle), 0) << row.what;
        EXPECT_EQ(fru_close_node(handle), row.close_status) << row.what;
        EXPECT_EQ(segment_layout(image(nac)), row.left) << row.what;
        for (char *name : bad)
            std::free(name);
    }
}

// What a newer build wrote is recognised and left alone: a newer format
// version is refused as such, never called damaged, and a segment kind this
// build does not know is kept byte for byte and never offered for removal.
TEST_F(SegmentRules, NewerFormatsAndKindsAreKeptNeverJudged)
{
    fruplat::Bytes newer = fruplat::empty_zan_image(4096);
    newer[4] = fruplat::kZanFormatVersion + 1;
    fruplat::store_be(&newer[28], fruplat::crc32(newer.data(), 28), 4);
    add_image("NEW", newer);
    const fruplat::Bytes before = image("NEW");
    for (const char operation : {'r', 'u', 'd', 'R', 'U'})
        EXPECT_EQ(call("NEW", operation), fruplat::kNewerFormat) << operation;
    int32_t status = 0;
    const fru_nodehdl_t handle = node("NEW");
    EXPECT_TRUE(walk(handle, &status).empty());
    EXPECT_EQ(status, fruplat::kNewerFormat);
    EXPECT_EQ(fru_close_node(handle), 0);
    EXPECT_TRUE(image("NEW") == before);

    add_image("KIND", segment_image({{"CU", false, 1}, {"NX", false, 6, 'X'}, {"Ox", false, 7, 'o'}}, 16384));
    const fruplat::Bytes kinds = image("KIND");
    const fru_nodehdl_t walked = node("KIND");
    EXPECT_EQ(walk(walked, &status), (std::vector<std::string>{"CU", "NX", "Ox"}));
    EXPECT_EQ(fru_close_node(walked), 0);
    EXPECT_EQ(call("KIND", 'u'), 0);
    EXPECT_EQ(call("KIND", 'r'), 0);
    // Kept in place: a regular image is rewritten whole, bodies unchanged.
    EXPECT_EQ(segment_layout(image("KIND")), "CU=07,NX=06,Ox=07");
    fruplat::ZanImage old_image, new_image;
    ASSERT_EQ(fruplat::parse_zan_image(kinds, &old_image), 0);
    ASSERT_EQ(fruplat::parse_zan_image(image("KIND"), &new_image), 0);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_TRUE(new_image.segments[i].body == old_image.segments[i].body) << i;
        EXPECT_EQ(new_image.segments[i].stored_crc, old_image.segments[i].stored_crc) << i;
        EXPECT_TRUE(new_image.segments[i].usable()) << i;
    }
}

}  // namespace
}  // namespace quillet_test
