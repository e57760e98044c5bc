// The demo platform: a motherboard container with a realistic history.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "access/family.h"
#include "dimm/spd_builder.h"
#include "fructl/store_admin.h"
#include "ipmi/ipmi_builder.h"
#include "registry/registry.h"
#include "store/status.h"
#include "zan/zan_access.h"
#include "zan/zan_records.h"

namespace fruplat {

namespace {

// Builds one record's bytes field by field.
class RecordBytes {
public:
    explicit RecordBytes(const char *record) : def_(find_record_def(record)), bytes_(def_->size, 0) {}

    RecordBytes &text(uint16_t offset, const char *value)
    {
        const size_t length = std::strlen(value);
        std::memcpy(field(offset, length), value, length);
        return *this;
    }
    RecordBytes &number(uint16_t offset, uint64_t value, size_t width)
    {
        store_be(field(offset, width), value, width);
        return *this;
    }
    RecordBytes &code(uint16_t offset, const char *enumeration, const char *name, size_t width)
    {
        const EnumDef *e = find_enum(enumeration);
        for (size_t i = 0; e != nullptr && i < e->count; ++i)
            if (std::strcmp(e->entries[i].name, name) == 0)
                store_be(field(offset, width), e->entries[i].value, width);
        return *this;
    }
    const RecordDef &def() const { return *def_; }
    const uint8_t *data() const { return bytes_.data(); }

private:
    // A field outside the record is a mistake in the tables below; stopping
    // beats writing past the buffer, and tells the optimiser every write
    // stays inside it.
    uint8_t *field(uint16_t offset, size_t width)
    {
        if (width > bytes_.size() || offset > bytes_.size() - width) {
            std::fprintf(stderr, "fructl: demo %s: %zu bytes at %u do not fit its %zu\n",
                         def_->name, width, static_cast<unsigned>(offset), bytes_.size());
            std::abort();
        }
        return bytes_.data() + offset;
    }

    const RecordDef *def_;
    Bytes bytes_;
};

// 2024-03-11 09:30:00 UTC and later moments of the board's life.
constexpr uint32_t kBuilt = 1710149400;
constexpr uint32_t kDay = 86400;

int32_t seed_motherboard(ZanImage &image)
{
    const RecordBytes records[] = {
        RecordBytes("ManR")
            .number(0, kBuilt, 4)
            .text(4, "System board, 2 sockets, 16 DIMM slots")
            .text(84, "Penang, Malaysia")
            .text(148, "5017540")
            .text(155, "A1B2C3")
            .code(161, "Vendor_Name", "Fujitsu", 2)
            .text(163, "04")
            .text(165, "51")
            .text(167, "SYS_BOARD"),
        RecordBytes("Zan_Man1R")
            .number(0, kBuilt, 4)
            .text(4, "System board, 2 sockets")
            .number(34, 0x0004, 2)
            .number(36, 1, 1)
            .text(37, "Fujitsu Ltd., Kawasaki plant")
            .text(101, "5017540")
            .text(108, "1005LCB-0912A1B2C3")
            .text(138, "YYWW-LLL-SSSSSS")
            .text(158, "04")
            .text(160, "51")
            .text(162, "SYS_BOARD")
            .text(178, "N")
            .text(180, "5017540-04"),
        RecordBytes("Configured_LevelR")
            .number(0, kBuilt + kDay, 4)
            .text(4, "5017540")
            .text(11, "1005LCB-0912A1B2C3")
            .text(31, "04"),
        RecordBytes("Customer_DataR").number(0, kBuilt + 30 * kDay, 4).text(4, "Rack 12, slot 3, lab B"),
        RecordBytes("Power_SummaryR")
            .number(0, kBuilt + 200 * kDay, 4)
            .number(4, 4210, 4)
            .number(8, 37, 4)
            .number(12, 36, 4),
        RecordBytes("InstallationR")
            .number(0, kBuilt + 30 * kDay, 4)
            .text(4, "/SYS/MB")
            .text(132, "5017001")
            .text(139, "F00123")
            .text(145, "02")
            .text(147, "lab-b-rack12")
            .number(167, static_cast<uint16_t>(-300), 2)
            .number(169, 403456, 4)
            .number(173, static_cast<uint32_t>(-740012), 4)
            .number(177, 57, 2)
            .text(179, "Building 4, Lab B"),
        RecordBytes("Top_Level_IdentifierR")
            .number(0, kBuilt + 2 * kDay, 4)
            .text(4, "602-3917-01")
            .number(24, 3, 1)
            .text(25, "0912FMX04A")
            .number(55, 0x0003BA123456ULL, 6)
            .number(61, 0x80ABCDEF, 4),
    };
    for (const RecordBytes &r : records)
        if (const int32_t status = put_record(image, r.def(), r.data()); status != kOk)
            return status;

    // A short status history: a fan fault found by the service processor
    // and repaired in the field.
    const RecordBytes history[] = {
        RecordBytes("Status_EventsR")
            .number(0, kBuilt + 40 * kDay, 4)
            .number(4, 0, 1)
            .number(5, 1, 1)
            .code(6, "Initiator", "SP", 1)
            .number(7, 2, 1)
            .code(8, "Event_Code", "Fan_Fault", 4)
            .text(12, "FT1 fan speed below threshold"),
        RecordBytes("Status_EventsR")
            .number(0, kBuilt + 41 * kDay, 4)
            .number(4, 1, 1)
            .number(5, 2, 1)
            .code(6, "Initiator", "Field_Service", 1)
            .number(7, 2, 1)
            .code(8, "Event_Code", "FRU_Removed", 4)
            .text(12, "FT1 replaced"),
        RecordBytes("Status_EventsR")
            .number(0, kBuilt + 41 * kDay + 600, 4)
            .number(4, 2, 1)
            .number(5, 0, 1)
            .code(6, "Initiator", "SP", 1)
            .number(7, 2, 1)
            .code(8, "Event_Code", "FRU_Inserted", 4)
            .text(12, "FT1 back in service"),
    };
    for (const RecordBytes &r : history)
        if (const int32_t status = put_record(image, r.def(), r.data()); status != kOk)
            return status;

    Segment opaque;
    opaque.name[0] = 'O';
    opaque.name[1] = '1';
    opaque.kind = kSegmentKindOpaque;
    const char notes[] = "SP config v2";
    opaque.sections[1].assign(notes, notes + sizeof notes - 1);
    opaque.changed = true;
    image.segments.push_back(opaque);
    return kOk;
}

// 2024-02-01 08:00 UTC, in minutes since 1996-01-01.
constexpr uint32_t kPsuBuilt = (1706774400u - 820454400u) / 60;

Bytes power_supply_image()
{
    IpmiImageContent content;
    content.chassis = {true, 0x17, 0, {ipmi_text("CH-602-3917"), ipmi_text("CH0912FMX")}};
    content.board = {true, 0, kPsuBuilt,
                  {ipmi_text("Delta Electronics"), ipmi_text("PSU 1200W AC"),
                   ipmi_text("DL1200A09120345"), ipmi_text("300-2264-01"), ipmi_text("")}};
    content.product = {true, 0, 0,
                    {ipmi_text("Delta Electronics"), ipmi_text("A236 1200W PSU"),
                     ipmi_text("300-2264-01"), ipmi_text("04"), ipmi_text("DL1200A09120345"),
                     ipmi_text(""), ipmi_text("")}};
    // A 1200 W supply for 90-140 V and 180-264 V at 47-63 Hz, hot-swappable, with its
    // 12 V main and 12 V standby outputs (little-endian, 10 mV steps).
    content.multirecords = {
        {0x00, {0xB0, 0x04, 0xDC, 0x05, 0x28, 0x0A, 0x28, 0x23, 0xB0, 0x36, 0x50, 0x46, 0x20, 0x67,
                0x2F, 0x3F, 0x14, 0x0F, 0x14, 0x15, 0x00, 0xB0, 0x04, 0x00}},
        {0x01, {0x01, 0xB0, 0x04, 0x3C, 0x00, 0x3C, 0x00, 0x78, 0x00, 0xF4, 0x01, 0x40, 0x9C}},
        {0x01, {0x82, 0xB0, 0x04, 0x3C, 0x00, 0x3C, 0x00, 0x78, 0x00, 0x00, 0x00, 0xB8, 0x0B}},
    };
    return build_ipmi_image(content);
}

Bytes dimm_image()
{
    SpdContent content;  // a 4 GB dual-rank registered ECC DDR3 DIMM
    content.ranks = 2;
    return build_spd(content);
}

// A processor information ROM: a revision byte, the processor's name and
// its part number, and a checksum that makes the bytes sum to zero.
Bytes processor_rom()
{
    Bytes rom(128, 0);
    rom[0] = 0x04;
    const std::string name = "Intel(R) Xeon(R) CPU E5540 @ 2.53GHz";
    const std::string part = "AT80602000792AA";
    std::copy(name.begin(), name.end(), rom.begin() + 16);
    std::copy(part.begin(), part.end(), rom.begin() + 64);
    uint8_t sum = 0;
    for (size_t i = 0; i < 127; ++i)
        sum = static_cast<uint8_t>(sum + rom[i]);
    rom[127] = static_cast<uint8_t>(-sum);
    return rom;
}

// Ten hours of power-on time in the DIMM's customer bytes.
int32_t seed_dimm(const ContainerEntry &entry)
{
    RecordBytes power_on("Power_On_DataR");
    power_on.number(0, kBuilt + 30 * kDay, 4).number(4, 600, 4);
    int32_t length = 2048;
    return family_handler(entry.family)
        .access(entry, 2, "Power_On_DataR", const_cast<uint8_t *>(power_on.data()), &length);
}

struct DemoContainer {
    const char *nac;
    Family family;
    Bytes (*image)();                          // the image it starts from, or empty
    int32_t (*seed_zan)(ZanImage &image);      // records written into a ZAN image
    int32_t (*seed)(const ContainerEntry &entry);
};

constexpr DemoContainer kDemo[] = {
    {"MB", Family::Zan, nullptr, seed_motherboard, nullptr},
    {"PS0", Family::Ipmi, power_supply_image, nullptr, nullptr},
    {"MB/P0/D0", Family::Dimm, dimm_image, nullptr, seed_dimm},
    {"MB/P0", Family::Pirom, processor_rom, nullptr, nullptr},
};

}  // namespace

int add_demo(const std::string &store)
{
    std::vector<SeededAdd> adds;
    for (const DemoContainer &demo : kDemo) {
        SeededAdd add;
        add.request.nac = demo.nac;
        add.request.family = demo.family;
        if (demo.image != nullptr)
            add.request.image = demo.image();
        add.seed = [&demo](const ContainerEntry &entry) -> int32_t {
            int32_t status = kOk;
            if (demo.seed_zan != nullptr)
                status = with_zan_image(entry, Access::Write, demo.seed_zan);
            if (status == kOk && demo.seed != nullptr)
                status = demo.seed(entry);
            return status;
        };
        adds.push_back(add);
    }
    return add_seeded(store, adds);
}

}  // namespace fruplat
