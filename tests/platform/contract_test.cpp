// The platform layer's contract against real images in a temporary store,
// and the registry as readers see it (the tool's tables against the registry
// are checked in tests/agreement). What quillet and fructl can show of it,
// presentation, inventory errors, opaque sections, damage, lives in
// tests/transcripts/platform-*.t.
#include <cstring>
#include <set>

#include "dimm/spd_builder.h"
#include "platform/container_interface.h"
#include "platform/store_fixture.h"
#include "support/hex.h"

namespace quillet_test {
namespace {

class Contract : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        add("MB");
    }
};

// Unknown containers and types as quillet meets them: tests/e2e
// (Records.ExitStatusesAndMessages).
TEST_F(Contract, TypesAndHandlesComeFromTheInventory)
{
    add("PS0", fruplat::Family::Zan, 0, 4);
    int32_t type = -1;
    EXPECT_EQ(fru_get_cont_type(node("MB"), &type), 0);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(fru_get_cont_type(node("PS0"), &type), 0);
    EXPECT_EQ(type, 4);
    EXPECT_EQ(fru_close_node(node("MB") + 1000), fruplat::kBadHandle);
}

// Absent records are 14 to every call: tests/transcripts/platform-records.t.
TEST_F(Contract, RecordNamesInAnyCaseOrAlias)
{
    const auto bytes = pattern("Power_SummaryR", 1);
    ASSERT_EQ(update("MB", "power_summaryr", bytes), 0);
    EXPECT_EQ(stored("MB", "POWER_SUMMARYR"), bytes);
    ASSERT_EQ(update("MB", "power", pattern("Power_EventsR", 9)), 0);
    EXPECT_EQ(stored("MB", "Power_EventsR", 5), pattern("Power_EventsR", 9));
    EXPECT_EQ(update("MB", "Power_On_DataR", pattern("Power_On_DataR", 1)), fruplat::kNotInFamily);
    EXPECT_EQ(update("MB", "NoSuchR", bytes), fruplat::kUnknownRecord);
    EXPECT_EQ(update("MB", "IDENTITY", pattern("ManR", 0)), fruplat::kIdentityNotOne);
}

// Every record of the ZAN and DIMM families, its ring filled, reads back
// the last entry stored; and a full opaque section still fits beside them
// in the default capacity, but no more than that, nor under a name that is
// not an opaque segment's (quillet refuses those before they get here).
TEST_F(Contract, EveryRecordReadsBackWhatWasStored)
{
    add("D0", fruplat::Family::Dimm);
    ASSERT_EQ(fruplat::write_image(entry("D0"), fruplat::build_spd({})), 0);  // a DDR3 module
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    size_t checked = 0;
    for (size_t d = 0; d < count; ++d) {
        const fruplat::RecordDef &def = defs[d];
        const bool zan = def.families == fruplat::kZanFamily;
        if (!zan && (def.families != fruplat::kDimmFamily || def.field_count == 0))
            continue;
        const char *nac = zan ? "MB" : "D0";
        const int entries = std::max<int>(1, def.ring_capacity);
        for (int n = 0; n < entries; ++n)
            ASSERT_EQ(update(nac, def.name, pattern(def.name, static_cast<uint8_t>(n + checked))), 0) << def.name;
        const std::vector<uint8_t> slots = stored(nac, def.name);
        ASSERT_GE(slots.size(), def.size) << def.name;
        EXPECT_EQ(std::vector<uint8_t>(slots.end() - def.size, slots.end()),
                  pattern(def.name, static_cast<uint8_t>(entries - 1 + checked))) << def.name;
        ++checked;
    }
    EXPECT_GT(checked, 30u);
    EXPECT_EQ(opaque_write("MB", "ES", 1, 8192, 1), 0);
    EXPECT_EQ(opaque_write("MB", "O1", 1, 8193, 0), fruplat::kSectionTooLarge);
    EXPECT_EQ(opaque_write("MB", "MN", 1, 1, 0), fruplat::kBadSegmentName);
    EXPECT_EQ(opaque_write("MB", "O12", 1, 1, 0), fruplat::kBadSegmentName);
}

// How the rings are shown, control bytes included:
// tests/transcripts/platform-rings.t.
TEST_F(Contract, RingsWrapAroundAndSlotsFollowStorageOrder)
{
    for (uint8_t i = 1; i <= 12; ++i)  // entry i holds i + 5 at byte 5
        ASSERT_EQ(update("MB", "Status_EventsR", pattern("Status_EventsR", i)), 0);
    for (uint8_t i = 1; i <= 3; ++i)
        ASSERT_EQ(update("MB", "InstallationR", pattern("InstallationR", i)), 0);
    std::vector<uint8_t> ring = stored("MB", "Status_EventsR", 1400);
    EXPECT_EQ(std::vector<int>({ring.at(5), ring.at(140 + 5), ring.at(280 + 5), ring.at(1260 + 5), int(ring.size())}),
              std::vector<int>({11 + 5, 12 + 5, 3 + 5, 10 + 5, 1400}));
    ring = stored("MB", "InstallationR", 1095);
    EXPECT_EQ(std::vector<int>({ring.at(0), ring.at(219), ring.at(438), ring.at(657), int(ring.size())}),
              std::vector<int>({1, 2, 3, 0, 1095}));
}

// A flash as quillet does it: tests/transcripts/platform-flash.t. Here what
// it cannot show: the inventory count, writes at an offset, up to the end and
// past it, and a second close.
TEST_F(Contract, ContainerInterfaceWritesUpToTheEndAndClosesOnce)
{
    add("EE", fruplat::Family::Zan, 64);
    int32_t count = 0;
    capi_inventory_t *inventory = nullptr;
    ASSERT_EQ(capi_get_inventory("EE", 6, &count, &inventory), 0);
    EXPECT_EQ(count, 1);
    capi_free_inventory(inventory, count);
    capi_container_t container{};
    ASSERT_EQ(capi_fruid_open_container("EE", &container), 0);
    const uint8_t data[] = {1, 2, 3};
    uint32_t written = 0;
    EXPECT_EQ(capi_fruid_write_container(&container, data, 62, 3, &written), fruplat::kImageTooLarge);
    ASSERT_EQ(capi_fruid_write_container(&container, data, 61, 3, &written), 0);
    EXPECT_EQ(written, 3u);
    ASSERT_EQ(capi_fruid_close_container(&container), 0);
    EXPECT_EQ(capi_fruid_close_container(&container), fruplat::kBadHandle);
    EXPECT_EQ(to_hex(image("EE")), std::string(122, 'f') + "010203");
}

// Every status the platform returns has its own text; the others are named
// as unknown.
TEST(Statuses, EveryStatusHasItsOwnText)
{
    std::set<std::string> texts;
    std::set<int32_t> known;
    int32_t status = 0;
    const char *text = nullptr;
    for (size_t i = 0; fruplat::status_entry(i, &status, &text); ++i) {
        EXPECT_STREQ(fru_strerror(status), text);
        EXPECT_TRUE(texts.insert(text).second && known.insert(status).second) << "repeated: " << text;
    }
    for (int32_t s = 0; s < 256; ++s)
        EXPECT_EQ(std::string(fru_strerror(s)) == "Unknown FRU status " + std::to_string(s), !known.count(s)) << s;
    EXPECT_EQ(known.size(), 54u);  // 0, 14, 60 to 101 but 96, 105 to 107, and 110 to 117
}

// The reader's view of the registry agrees with the registry: every
// enumeration with its names and 8-byte big-endian values, every record
// whose name fits with its size and ring, each looked up once and kept.
TEST(Registry, ReadersSeeTheRegistryInTheirLayout)
{
    size_t count = 0;
    const fruplat::EnumDef *enums = fruplat::enum_defs(&count);
    for (const fruplat::EnumDef &e : std::vector<fruplat::EnumDef>(enums, enums + count)) {
        const fru_regdef_t *def = fru_reg_lookup_def_by_name(e.name);
        ASSERT_NE(def, nullptr) << e.name;
        EXPECT_EQ(fru_reg_lookup_def_by_name(e.name), def) << "looked up once, kept";
        ASSERT_EQ(def->enum_count, static_cast<int32_t>(e.count)) << e.name;
        for (size_t i = 0; i < e.count; ++i) {
            uint8_t value[8] = {};
            fruplat::store_be(value + 4, e.entries[i].value, 4);
            EXPECT_STREQ(def->enum_table[i].text, e.entries[i].name) << e.name;
            EXPECT_EQ(to_hex(def->enum_table[i].value, 8), to_hex(value, 8)) << e.name;
        }
    }
    EXPECT_GT(count, 6u);
    const fruplat::RecordDef *records = fruplat::record_defs(&count);
    for (const fruplat::RecordDef &r : std::vector<fruplat::RecordDef>(records, records + count)) {
        const fru_regdef_t *def = fru_reg_lookup_def_by_name(r.name);
        ASSERT_EQ(def == nullptr, std::strlen(r.name) >= sizeof def->name) << r.name << ": the name fits or not";
        if (def == nullptr || fruplat::find_enum(r.name) != nullptr)
            continue;  // Device_Type names its enumeration first
        EXPECT_EQ(def->data_length, r.size) << r.name;
        EXPECT_EQ(def->iteration_count, r.ring_capacity) << r.name;
    }
    EXPECT_EQ(fru_reg_lookup_def_by_name("Nonsense"), nullptr);
}

}  // namespace
}  // namespace quillet_test
