// Whatever POWER and FAULT updates, deletes and claims do to a DIMM, no byte
// outside its generation's end-user area changes; where the generation has
// no such area, or the area holds someone else's bytes, nothing changes.
#include <fstream>
#include <iterator>

#include "dimm/claim.h"
#include "dimm/spd_builder.h"
#include "dimm/spd_generation.h"
#include "platform/device_model.h"
#include "zan/zan_image.h"

namespace {

using fruplat::Bytes;

struct Module {
    std::string name;
    Bytes spd;
};

Bytes real_spd(const char *file)
{
    std::ifstream in(std::string(QUILLET_TEST_DATA) + "/" + file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<Module> modules()
{
    std::vector<Module> all;
    for (size_t i = 0; const fruplat::SpdGeneration *g = fruplat::spd_generation_at(i); ++i)
        all.push_back({g->name, fruplat::build_generation_spd(g->memory_type)});
    all.push_back({"unknown type 0x0E", fruplat::build_generation_spd(0x0E)});
    all.push_back({"all 0xFF", Bytes(256, 0xFF)});
    all.push_back({"all 0x00", Bytes(256, 0x00)});
    for (const auto &[name, type] : {std::pair{"DDR built", fruplat::SpdType::Ddr}, {"DDR2 built", fruplat::SpdType::Ddr2},
                                     {"FB-DIMM built", fruplat::SpdType::FbDimm}, {"DDR3 built", fruplat::SpdType::Ddr3}}) {
        fruplat::SpdContent content;
        content.type = type;
        all.push_back({name, fruplat::build_spd(content)});
    }
    for (const char *file : {"ddr3-sodimm-samsung-M471B2873FHS-CF8.bin", "ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin",
                             "ddr5-udimm-teamgroup-ud5-6000.bin"})
        all.push_back({file, real_spd(file)});
    return all;
}

enum class Op { Update, Delete, Claim };

struct Step {
    Op op;
    const char *record;
    int32_t status;  // on a module whose area is blank or this platform's
};

constexpr Step kSteps[] = {
    {Op::Update, "POWER", 0},
    {Op::Update, "FAULT", 0},
    {Op::Update, "Power_On_DataR", 0},
    {Op::Delete, "FAULT", 0},
    {Op::Delete, "POWER", 0},
    {Op::Delete, "POWER", fruplat::kAbsent},
    {Op::Update, "Fault_Install_DataR", 0},
    {Op::Claim, nullptr, 0},
    {Op::Update, "POWER", 0},
    {Op::Delete, "FAULT", fruplat::kAbsent},
};

class DimmSafety : public quillet_test::DeviceTest {
protected:
    void add_spd(const std::string &nac, const Bytes &spd)
    {
        add(nac, fruplat::Family::Dimm, static_cast<uint32_t>(spd.size()));
        ASSERT_EQ(fruplat::write_image(entry(nac), spd), 0);
        ASSERT_EQ(image(nac), spd);
    }

    int32_t run(const std::string &nac, const Step &step, uint8_t seed)
    {
        if (step.op == Op::Claim)
            return fruplat::claim_customer_area(entry(nac), store_ + "/" + nac + ".area");
        if (step.op == Op::Delete)
            return remove(nac, step.record);
        return update(nac, step.record, pattern(step.record[0] == 'P' ? "Power_On_DataR" : "Fault_Install_DataR", seed));
    }
};

// Bytes [begin, end) of `after` may differ from `before`, no others.
testing::AssertionResult same_outside(const Bytes &before, const Bytes &after, size_t begin, size_t end)
{
    if (before.size() != after.size())
        return testing::AssertionFailure() << "size " << before.size() << " became " << after.size();
    for (size_t i = 0; i < before.size(); ++i)
        if ((i < begin || i >= end) && before[i] != after[i])
            return testing::AssertionFailure() << "byte " << i << " changed";
    return testing::AssertionSuccess();
}

TEST_F(DimmSafety, NoByteOutsideTheEndUserAreaEverChanges)
{
    const std::vector<Module> all = modules();
    for (const Module &m : all) {
        SCOPED_TRACE(m.name);
        ASSERT_FALSE(m.spd.empty());
        const std::string nac = std::string("D") + std::to_string(&m - all.data());
        add_spd(nac, m.spd);
        size_t begin = 0, end = 0;
        const int32_t refusal = fruplat::customer_area_bounds(m.spd, &begin, &end);
        if (refusal != 0) {
            EXPECT_TRUE(refusal == fruplat::kNoCustomerArea || refusal == fruplat::kUnknownMemoryType);
            for (const Step &step : kSteps)
                EXPECT_EQ(run(nac, step, 1), refusal) << step.record;
            EXPECT_EQ(read(nac, "POWER"), refusal);
            EXPECT_EQ(image(nac), m.spd);
            continue;
        }
        // Someone else's bytes stay until they are claimed, and the claim
        // hands them back as they were.
        const Bytes area(m.spd.begin() + static_cast<long>(begin), m.spd.begin() + static_cast<long>(end));
        const bool blank = std::all_of(area.begin(), area.end(), [&](uint8_t b) { return b == area[0]; }) &&
                           (area[0] == 0 || area[0] == 0xFF);
        if (!blank) {
            for (const Step &step : kSteps)
                if (step.op != Op::Claim) {
                    EXPECT_EQ(run(nac, step, 1), fruplat::kForeignCustomerData) << step.record;
                }
            EXPECT_EQ(image(nac), m.spd);
            const std::string kept = store_ + "/" + nac + ".foreign";
            ASSERT_EQ(fruplat::claim_customer_area(entry(nac), kept), 0);
            std::ifstream in(kept, std::ios::binary);
            EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), area);
            EXPECT_TRUE(same_outside(m.spd, image(nac), begin, end));
        }
        uint8_t seed = 10;
        for (const Step &step : kSteps) {
            EXPECT_EQ(run(nac, step, ++seed), step.status) << &step - kSteps;
            EXPECT_TRUE(same_outside(m.spd, image(nac), begin, end)) << "after step " << &step - kSteps;
        }
        EXPECT_EQ(stored(nac, "Power_On_DataR", 8), pattern("Power_On_DataR", seed - 1));
    }
}

// The issue that started it: a DDR4 module's POWER goes to bytes 384 on,
// laid out as on DDR3 from 176.
TEST_F(DimmSafety, Ddr4ModuleTakesPowerInItsEndUserArea)
{
    const Bytes spd = real_spd("ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin");
    add_spd("D", spd);
    ASSERT_EQ(update("D", "POWER", pattern("Power_On_DataR", 0x40)), 0);
    const Bytes after = image("D");
    EXPECT_TRUE(same_outside(spd, after, 384, 464));
    const Bytes expected = {0x01, 0x01, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47};
    EXPECT_EQ(Bytes(after.begin() + 384, after.begin() + 394), expected);
    EXPECT_EQ(fruplat::spd_crc16(&after[384], 78), fruplat::load_be16(&after[462]));
}

// What an area holds decides whether an update may write there: blank or
// this platform's layout, yes; its own layout damaged, 75; anything else
// is someone's data, 112. A refused update changes nothing.
TEST_F(DimmSafety, AreaContentDecidesWhetherAnUpdateWrites)
{
    Bytes ours = fruplat::build_generation_spd(0x0C);
    add_spd("OURS", ours);
    ASSERT_EQ(update("OURS", "FAULT", pattern("Fault_Install_DataR", 1)), 0);
    ours = image("OURS");
    const struct {
        const char *what;
        size_t at;        // from the area's start
        Bytes bytes;
        int32_t status;      // of a POWER update
        int32_t fault_read;  // after it
    } cases[] = {
        {"all 0x00", 0, Bytes(128, 0x00), 0, fruplat::kAbsent},
        {"all 0xFF", 0, Bytes(128, 0xFF), 0, fruplat::kAbsent},
        {"this platform's records", 0, {}, 0, 0},
        {"a record byte damaged", 20, {0x99}, fruplat::kAreaChecksum, fruplat::kAreaChecksum},
        {"a CRC byte damaged", 78, {0x00, 0x00}, fruplat::kAreaChecksum, fruplat::kAreaChecksum},
        {"an unused byte set", 70, {0x01}, fruplat::kForeignCustomerData, fruplat::kForeignCustomerData},
        {"a byte set past the layout", 100, {0x01}, fruplat::kForeignCustomerData, fruplat::kForeignCustomerData},
        {"an unknown presence bit", 1, {0x82}, fruplat::kForeignCustomerData, fruplat::kForeignCustomerData},
        {"another maker's bytes", 0, {0x01, 0xa0, 0x04, 0x38, 0x20, 0x06, 0x57, 0x31},
         fruplat::kForeignCustomerData, fruplat::kForeignCustomerData},
        {"another layout version", 0, {0x02}, fruplat::kForeignCustomerData, fruplat::kForeignCustomerData},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes spd = ours;
        std::copy(c.bytes.begin(), c.bytes.end(), spd.begin() + 384 + static_cast<long>(c.at));
        const std::string nac = std::string("D") + std::to_string(&c - cases);
        add_spd(nac, spd);
        EXPECT_EQ(update(nac, "POWER", pattern("Power_On_DataR", 7)), c.status);
        EXPECT_EQ(read(nac, "FAULT"), c.fault_read);
        EXPECT_TRUE(same_outside(spd, image(nac), 384, c.status != 0 ? 384 : 512));
    }
}

// A claim never replaces a file: the backup it would write is the only copy.
TEST_F(DimmSafety, ClaimRefusesAnExistingBackupAndChangesNothing)
{
    const Bytes spd = real_spd("ddr3-sodimm-samsung-M471B2873FHS-CF8.bin");
    add_spd("D", spd);
    const std::string backup = store_ + "/kept";
    std::ofstream(backup) << "older backup";
    EXPECT_EQ(fruplat::claim_customer_area(entry("D"), backup), fruplat::kBackupExists);
    EXPECT_EQ(image("D"), spd);
    std::ifstream in(backup);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "older backup");
}

// On an EEPROM written in place, a power cut at any byte of a POWER or
// FAULT update, clean or tearing the rest of the page being programmed,
// leaves every byte before the end-user area as it was, whatever the page
// size: the area need not start on a page boundary (DDR3's 176 is not one
// of 32), and a write must not start before it.
TEST_F(DimmSafety, ACutNeverReachesTheBytesBeforeTheEndUserArea)
{
    for (const char *file : {"ddr3-sodimm-samsung-M471B2873FHS-CF8.bin", "ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin"}) {
        Bytes spd = real_spd(file);
        size_t begin = 0, end = 0;
        ASSERT_EQ(fruplat::customer_area_bounds(spd, &begin, &end), 0);
        std::fill(spd.begin() + static_cast<long>(begin), spd.end(), 0x00);
        for (const uint32_t page : {16u, 32u, 64u}) {
            const std::string nac = std::string("S") + std::to_string(spd.size()) + "-" + std::to_string(page);
            make_device(static_cast<uint32_t>(spd.size()), 0xFF, page, nac, fruplat::Family::Dimm);
            EXPECT_GT(cut_everywhere(std::string(file) + ", page " + std::to_string(page), spd,
                                     [&] { return update(nac, "POWER", pattern("Power_On_DataR", 2)); },
                                     [&] { EXPECT_TRUE(same_outside(spd, image(nac), begin, end)); }),
                      5u);
        }
    }
}

// A whole image flashed onto a DIMM: one that would change any SPD byte is
// refused and changes nothing; one that changes only the end-user area is
// written.
TEST_F(DimmSafety, AFlashMayChangeTheEndUserAreaOnly)
{
    const Bytes spd = real_spd("ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin");
    add_spd("D", spd);
    Bytes other = spd;
    other[100] ^= 0xFF;
    Bytes zan(spd.size(), 0xFF);
    std::copy(fruplat::kZanMagic, fruplat::kZanMagic + 4, zan.begin());
    for (const Bytes *refused : {&other, &zan}) {
        EXPECT_EQ(quillet_test::flash("D", *refused), fruplat::kReadOnlyFamily);
        EXPECT_EQ(image("D"), spd);
    }
    Bytes area = spd;
    area[400] = 0x5A;
    EXPECT_EQ(quillet_test::flash("D", area), 0);
    EXPECT_EQ(image("D"), area);
}

}  // namespace
