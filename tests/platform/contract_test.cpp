// The platform layer's contract against real images in a temporary store.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/container_interface.h"
#include "platform/store_fixture.h"
#include "store/image_file.h"
#include "store/status.h"
#include "zan/zan_image.h"
#include "support/hex.h"

namespace quillet_test {
namespace {

using fruplat::Family;

class Contract : public StoreTest {};

TEST_F(Contract, NodeAndContainerTypeComeFromTheInventory)
{
    add("MB");
    add("PS0", Family::Zan, 0, 4);
    fru_nodehdl_t handle = 0;
    EXPECT_EQ(fru_get_node("nope", &handle), fruplat::kUnknownContainer);
    int32_t type = -1;
    EXPECT_EQ(fru_get_cont_type(node("MB"), &type), 0);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(fru_get_cont_type(node("PS0"), &type), 0);
    EXPECT_EQ(type, 4);
    EXPECT_EQ(fru_close_node(handle + 1000), fruplat::kBadHandle);
}

TEST_F(Contract, UnknownTypeFailsWithoutWritingTheType)
{
    fruplat::AddRequest request;
    request.nac = "X";
    request.type_known = false;
    ASSERT_EQ(fruplat::add_container(store_, request), 0);
    int32_t type = 4;
    EXPECT_EQ(fru_get_cont_type(node("X"), &type), fruplat::kUnknownType);
    EXPECT_EQ(type, 4);
}

TEST_F(Contract, RecordSizeComesFromTheNameInAnyCaseOrAlias)
{
    add("MB");
    const auto bytes = pattern("Power_SummaryR", 1);
    ASSERT_EQ(update("MB", "power_summaryr", bytes), 0);
    std::vector<uint8_t> stored;
    ASSERT_EQ(slots("MB", "POWER_SUMMARYR", 2048, &stored), 0);
    EXPECT_EQ(stored, bytes);
    const auto event = pattern("Power_EventsR", 9);
    ASSERT_EQ(update("MB", "power", event), 0);
    ASSERT_EQ(slots("MB", "Power_EventsR", 5, &stored), 0);
    EXPECT_EQ(stored, event);
    EXPECT_EQ(update("MB", "Power_On_DataR", pattern("Power_On_DataR", 1)), fruplat::kNotInFamily);
    EXPECT_EQ(update("MB", "NoSuchR", bytes), fruplat::kUnknownRecord);
}

TEST_F(Contract, AbsentRecordsAre14ForEveryOperation)
{
    add("MB");
    std::vector<uint8_t> out;
    EXPECT_EQ(read("MB", "ManR"), 14);
    EXPECT_EQ(remove("MB", "ManR"), 14);
    EXPECT_EQ(slots("MB", "ManR", 183, &out), 14);
    uint8_t control[4];
    int32_t length = 4;
    EXPECT_EQ(fru_read_iter_control_bytes(node("MB"), control, &length, "Status_EventsR"), 14);
}

TEST_F(Contract, RingWrapsAroundAndKeepsTheNewestTen)
{
    add("MB");
    for (uint8_t i = 1; i <= 12; ++i) {
        auto entry = pattern("Status_EventsR", 0);
        entry[5] = i;  // new_status tells the entries apart
        ASSERT_EQ(update("MB", "Status_EventsR", entry), 0);
    }
    uint8_t control[4] = {};
    int32_t length = 4;
    ASSERT_EQ(fru_read_iter_control_bytes(node("MB"), control, &length, "FAULT"), 0);
    EXPECT_EQ(to_hex(control, 4), "0a010a00");
    std::vector<uint8_t> ring;
    ASSERT_EQ(slots("MB", "Status_EventsR", 1400, &ring), 0);
    ASSERT_EQ(ring.size(), 1400u);
    EXPECT_EQ(ring[0 * 140 + 5], 11);
    EXPECT_EQ(ring[1 * 140 + 5], 12);
    EXPECT_EQ(ring[2 * 140 + 5], 3);
    std::string shown;
    ASSERT_EQ(read("MB", "fault", &shown), 0);
    EXPECT_NE(shown.find("Status_EventsR: 10 of 10 entries, oldest first"), std::string::npos);
    EXPECT_LT(shown.find("new_status                    : 3\n"),
              shown.find("new_status                    : 12\n"));
    EXPECT_EQ(shown.find("new_status                    : 2\n"), std::string::npos);
}

TEST_F(Contract, InstallationRingHoldsFiveAndSlotsFollowStorageOrder)
{
    add("MB");
    for (uint8_t i = 1; i <= 3; ++i)
        ASSERT_EQ(update("MB", "InstallationR", pattern("InstallationR", i)), 0);
    std::vector<uint8_t> ring;
    ASSERT_EQ(slots("MB", "InstallationR", 1095, &ring), 0);
    ASSERT_EQ(ring.size(), 1095u);
    EXPECT_EQ(ring[0], 1);
    EXPECT_EQ(ring[219], 2);
    EXPECT_EQ(ring[438], 3);
    EXPECT_EQ(ring[657], 0);
    std::string shown;
    ASSERT_EQ(read("MB", "INSTALL", &shown), 0);
    EXPECT_EQ(shown.rfind("InstallationR: 3 of 5 entries", 0), 0u);
}

TEST_F(Contract, IdentifierRecordsAreStoredAtEightyBytes)
{
    add("MB");
    const char *names[] = {"Ethernet_Addr", "HOSTID", "Sequence_Number", "WWN",
                           "Enclosure_Nickname", "New_Serial_No"};
    for (size_t i = 0; i < 6; ++i)
        ASSERT_EQ(update("MB", names[i], std::vector<uint8_t>(80, static_cast<uint8_t>(i + 1))), 0);
    for (size_t i = 0; i < 6; ++i) {
        std::vector<uint8_t> stored;
        ASSERT_EQ(slots("MB", names[i], 2048, &stored), 0);
        EXPECT_EQ(stored, std::vector<uint8_t>(80, static_cast<uint8_t>(i + 1))) << names[i];
    }
}

TEST_F(Contract, PresentationShowsFieldsAsAnEngineerReadsThem)
{
    add("MB");
    std::vector<uint8_t> tli(65, 0);
    const uint8_t stamp[] = {0x66, 0x24, 0xDC, 0x98};  // 2024-04-21 09:30:00 UTC
    std::copy(stamp, stamp + 4, tli.begin());
    std::memcpy(&tli[4], "602-3917-01", 11);
    tli[24] = 3;
    const uint8_t mac[] = {0x00, 0x03, 0xBA, 0x12, 0x34, 0x56};
    std::copy(mac, mac + 6, tli.begin() + 55);
    ASSERT_EQ(update("MB", "TLI", tli), 0);
    std::string shown;
    ASSERT_EQ(read("MB", "tli", &shown), 0);
    EXPECT_EQ(shown,
              "Top_Level_IdentifierR\n"
              "    timestamp                     : 2024-04-21 09:30:00 UTC\n"
              "    product_part_no               : 602-3917-01\n"
              "    product_rev_level             : 3\n"
              "    product_serial_no             :\n"
              "    macaddr                       : 00:03:ba:12:34:56\n"
              "    hostid                        : 0x00000000\n");
    std::vector<uint8_t> event = {0, 0, 0, 0, 2};
    ASSERT_EQ(update("MB", "POWER", event), 0);
    ASSERT_EQ(read("MB", "POWER", &shown), 0);
    EXPECT_NE(shown.find("event                         : power_off (0x02)"), std::string::npos);
    EXPECT_NE(shown.find("timestamp                     : not set"), std::string::npos);
}

TEST_F(Contract, IdentityPresentsEveryIdentityRecordAndCannotBeChanged)
{
    add("MB");
    EXPECT_EQ(read("MB", "IDENTITY"), 14);
    ASSERT_EQ(update("MB", "ManR", pattern("ManR", 0x41)), 0);
    ASSERT_EQ(update("MB", "Zan_Part_Number_DataR", pattern("Zan_Part_Number_DataR", 0x41)), 0);
    std::string shown;
    ASSERT_EQ(read("MB", "identity", &shown), 0);
    EXPECT_EQ(shown.rfind("ManR\n", 0), 0u);
    EXPECT_NE(shown.find("\nZan_Part_Number_DataR\n"), std::string::npos);
    EXPECT_EQ(shown.find("Zan_ManR"), std::string::npos);
    EXPECT_EQ(remove("MB", "IDENTITY"), fruplat::kIdentityNotOne);
    EXPECT_EQ(update("MB", "IDENTITY", pattern("ManR", 0)), fruplat::kIdentityNotOne);
}

TEST_F(Contract, DeletingTheLastRecordOfASegmentRemovesTheSegment)
{
    add("MB");
    ASSERT_EQ(update("MB", "CUSTOMER", pattern("Customer_DataR", 1)), 0);
    ASSERT_EQ(update("MB", "ManR", pattern("ManR", 1)), 0);
    ASSERT_EQ(remove("MB", "customer"), 0);
    const fru_nodehdl_t handle = node("MB");
    std::vector<std::string> names;
    ASSERT_EQ(fru_for_each_segment(
                  handle,
                  [](fru_seghdl_t segment, void *arg) -> int32_t {
                      char *name = nullptr;
                      fru_get_segment_name(segment, &name);
                      static_cast<std::vector<std::string> *>(arg)->push_back(name);
                      EXPECT_GT(fru_get_num_packets(segment), 0);
                      free(name);
                      return 0;
                  },
                  &names),
              0);
    EXPECT_EQ(names, std::vector<std::string>{"MN"});
}

TEST_F(Contract, OpaqueSectionsAreIndependent)
{
    add("MB");
    const fru_nodehdl_t handle = node("MB");
    uint8_t descriptor[23] = {};
    std::vector<uint8_t> big(8192, 0x5A);
    uint32_t length = 8192;
    ASSERT_EQ(fru_update_op_segment(handle, "O1", descriptor, 1, big.data(), &length), 0);
    uint8_t small[3] = {1, 2, 3};
    length = 3;
    ASSERT_EQ(fru_update_op_segment(handle, "O1", descriptor, 0, small, &length), 0);
    std::vector<uint8_t> out(8192);
    length = 8192;
    ASSERT_EQ(fru_read_op_segment(handle, "O1", descriptor, 1, out.data(), &length), 0);
    EXPECT_EQ(length, 8192u);
    EXPECT_EQ(out, big);
    length = 8192;
    ASSERT_EQ(fru_read_op_segment(handle, "O1", descriptor, 0, out.data(), &length), 0);
    EXPECT_EQ(to_hex(out.data(), length), "010203");
    ASSERT_EQ(fru_delete_op_segment(handle, "O1", 1), 0);
    length = 8192;
    ASSERT_EQ(fru_read_op_segment(handle, "O1", descriptor, 1, out.data(), &length), 0);
    EXPECT_EQ(length, 0u);
    ASSERT_EQ(fru_delete_op_segment(handle, "O1", 0), 0);
    length = 8192;
    EXPECT_EQ(fru_read_op_segment(handle, "O1", descriptor, 0, out.data(), &length), 14);
    EXPECT_EQ(fru_delete_op_segment(handle, "O1", 0), 14);
    std::vector<uint8_t> huge(8193);
    length = 8193;
    EXPECT_EQ(fru_update_op_segment(handle, "O1", descriptor, 1, huge.data(), &length),
              fruplat::kSectionTooLarge);
    length = 1;
    EXPECT_EQ(fru_update_op_segment(handle, "MN", descriptor, 1, huge.data(), &length),
              fruplat::kBadSegmentName);
    EXPECT_EQ(fru_update_op_segment(handle, "O12", descriptor, 1, huge.data(), &length),
              fruplat::kBadSegmentName);
}

TEST_F(Contract, OpaqueSectionBesidesRecordsFitsTheDefaultCapacity)
{
    add("MB");
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    for (size_t i = 0; i < count; ++i) {
        if (defs[i].families != fruplat::kZanFamily)
            continue;
        for (int n = 0; n < std::max<int>(1, defs[i].ring_capacity); ++n)
            ASSERT_EQ(update("MB", defs[i].name, pattern(defs[i].name, 1)), 0) << defs[i].name;
    }
    std::vector<uint8_t> section(8192, 1);
    uint32_t length = 8192;
    uint8_t descriptor[23] = {};
    EXPECT_EQ(fru_update_op_segment(node("MB"), "ES", descriptor, 1, section.data(), &length), 0);
}

TEST_F(Contract, SmallContainerRefusesWhatDoesNotFit)
{
    add("TINY", Family::Zan, 512);
    EXPECT_EQ(update("TINY", "ManR", pattern("ManR", 1)), 0);
    EXPECT_EQ(update("TINY", "Zan_Man1R", pattern("Zan_Man1R", 1)), fruplat::kNoRoom);
    std::vector<uint8_t> stored;
    EXPECT_EQ(slots("TINY", "Zan_Man1R", 2048, &stored), 14);
}

struct SegmentWalk {
    std::vector<std::string> names;
    std::vector<int> bad;
};

int32_t collect(fru_seghdl_t segment, void *arg)
{
    auto *walk = static_cast<SegmentWalk *>(arg);
    char *name = nullptr;
    if (fru_get_segment_name(segment, &name) != 0)
        return 1;
    fru_get_num_packets(segment);
    walk->names.push_back(name);
    walk->bad.push_back(bad_seg);
    free(name);
    return 0;
}

TEST_F(Contract, RemovedSegmentsReachTheImageOnlyThroughFlash)
{
    add("MB");
    ASSERT_EQ(fruplat::add_demo(store_), 0);  // MB exists; demo keeps it
    ASSERT_EQ(update("MB", "ManR", pattern("ManR", 1)), 0);
    ASSERT_EQ(update("MB", "CUSTOMER", pattern("Customer_DataR", 1)), 0);
    ASSERT_EQ(update("MB", "POWER", pattern("Power_EventsR", 1)), 0);

    // Damage two segments' stored CRC in the image, keep one, remove one.
    fruplat::ContainerEntry e = entry("MB");
    fruplat::Bytes image;
    ASSERT_EQ(fruplat::read_image(e, &image), 0);
    fruplat::ZanImage parsed;
    ASSERT_EQ(fruplat::parse_zan_image(image, &parsed), 0);
    ASSERT_EQ(fruplat::corrupt_segment_crc(image, "CU"), 0);
    ASSERT_EQ(fruplat::corrupt_segment_crc(image, "PE"), 0);
    ASSERT_EQ(fruplat::write_image(e, image), 0);
    EXPECT_EQ(read("MB", "CUSTOMER"), fruplat::kSegmentDamaged);

    const fru_nodehdl_t handle = node("MB");
    SegmentWalk walk;
    ASSERT_EQ(fru_for_each_segment(handle, collect, &walk), 0);
    EXPECT_EQ(walk.names, (std::vector<std::string>{"MN", "CU", "PE"}));
    EXPECT_EQ(walk.bad, (std::vector<int>{0, 1, 1}));
    ASSERT_EQ(fru_remove_segment(handle, "CU"), 0);
    EXPECT_EQ(fru_remove_segment(handle, "CU"), fruplat::kNoSuchSegment);
    // Not yet in the image.
    EXPECT_EQ(read("MB", "CUSTOMER"), fruplat::kSegmentDamaged);
    // A record written by someone else meanwhile survives the write-back.
    ASSERT_EQ(update("MB", "TLI", pattern("Top_Level_IdentifierR", 1)), 0);
    ASSERT_EQ(fru_flash_file("MB", handle), 0);
    EXPECT_EQ(read("MB", "CUSTOMER"), 14);
    EXPECT_EQ(read("MB", "TLI"), 0);
    SegmentWalk after;
    ASSERT_EQ(fru_for_each_segment(node("MB"), collect, &after), 0);
    EXPECT_EQ(after.names, (std::vector<std::string>{"MN", "PE", "CF"}));
    EXPECT_EQ(after.bad, (std::vector<int>{0, 1, 0}));
}

TEST_F(Contract, EveryStatusHasAText)
{
    for (int32_t status : {0, 14, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76,
                           77, 78, 79, 80, 97, 98, 99}) {
        const std::string text = fru_strerror(status);
        EXPECT_EQ(text.find("Unknown"), std::string::npos) << status;
        EXPECT_FALSE(text.empty());
    }
    EXPECT_EQ(std::string(fru_strerror(123)), "Unknown FRU status 123");
}

TEST_F(Contract, RegistryDefinitionsInTheReadersLayout)
{
    const fru_regdef_t *event = fru_reg_lookup_def_by_name("Event");
    ASSERT_NE(event, nullptr);
    ASSERT_EQ(event->enum_count, 3);
    EXPECT_STREQ(event->enum_table[1].text, "power_off");
    EXPECT_EQ(to_hex(event->enum_table[1].value, 8), "0000000000000002");
    const fru_regdef_t *entry_type = fru_reg_lookup_def_by_name("Entry_Type");
    ASSERT_NE(entry_type, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < entry_type->enum_count; ++i)
        names.push_back(entry_type->enum_table[i].text);
    EXPECT_EQ(names, (std::vector<std::string>{"Corruption Detected", "Dynamic Section Header Corrupted",
                                               "Static Section Header Corrupted", "Unuse", "Creation"}));
    for (const char *name : {"Vendor_Name", "Initiator", "Event_Code", "Message_Type", "FRU_Type",
                             "Device_Type"}) {
        const fru_regdef_t *def = fru_reg_lookup_def_by_name(name);
        ASSERT_NE(def, nullptr) << name;
        EXPECT_GT(def->enum_count, 2) << name;
        EXPECT_EQ(fru_reg_lookup_def_by_name(name), def) << "looked up once, kept";
    }
    const fru_regdef_t *status_events = fru_reg_lookup_def_by_name("Status_EventsR");
    ASSERT_NE(status_events, nullptr);
    EXPECT_EQ(status_events->data_length, 140);
    EXPECT_EQ(status_events->iteration_count, 10);
    EXPECT_EQ(fru_reg_lookup_def_by_name("Nonsense"), nullptr);
}

TEST_F(Contract, ContainerInterfaceLeavesTheRestErased)
{
    add("EE", Family::Zan, 64);
    int32_t count = 0;
    capi_inventory_t *inventory = nullptr;
    EXPECT_EQ(capi_get_inventory("nope", 6, &count, &inventory), fruplat::kUnknownContainer);
    EXPECT_EQ(inventory, nullptr);
    ASSERT_EQ(capi_get_inventory("EE", 6, &count, &inventory), 0);
    EXPECT_EQ(count, 1);
    capi_free_inventory(inventory, count);
    capi_container_t container{};
    ASSERT_EQ(capi_fruid_open_container("EE", &container), 0);
    const uint8_t data[] = {1, 2, 3};
    uint32_t written = 0;
    EXPECT_EQ(capi_fruid_write_container(&container, data, 62, 3, &written),
              fruplat::kImageTooLarge);
    ASSERT_EQ(capi_fruid_write_container(&container, data, 0, 3, &written), 0);
    EXPECT_EQ(written, 3u);
    ASSERT_EQ(capi_fruid_close_container(&container), 0);
    EXPECT_EQ(capi_fruid_close_container(&container), fruplat::kBadHandle);
    fruplat::Bytes image;
    ASSERT_EQ(fruplat::read_image(entry("EE"), &image), 0);
    EXPECT_EQ(to_hex(image), "010203" + std::string(122, 'f'));
}

TEST_F(Contract, MalformedInventoryLineIsNamed)
{
    std::ofstream(store_ + "/inventory") << "# comment\n\nMB 0 zan images/a.img 4096\nPS0 1 ipmi\n";
    fru_nodehdl_t handle = 0;
    // A look-up parses only its own container's lines.
    EXPECT_EQ(fru_get_node("MB", &handle), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(fru_get_node("PS0", &handle), fruplat::kBadInventory);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "fru store: " + store_ +
                  "/inventory line 4: expected: NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]\n");
    const struct {
        std::string line;
        std::string problem;
    } rows[] = {
        {"MB x zan a.img 10", "TYPE must be a number or 'unknown'"},
        {"MB 0 eeprom a.img 10", "FAMILY must be zan, ipmi, dimm or pirom"},
        {"MB 0 zan a.img 0", "CAPACITY must be a byte count from 1 to 1048576"},
        {"MB 0 zan a.img 10 extra", "after CAPACITY only 'device' and 'page=BYTES' (1 to 4096) may follow"},
        {"MB 2 zan a.img 10", "TYPE 2 does not fit FAMILY zan, which takes 0 or 4 (or unknown)"},
        {"MB 0 dimm a.img 10", "TYPE 0 does not fit FAMILY dimm, which takes 2 (or unknown)"},
        {"MB 4 ipmi a.img 10", "TYPE 4 does not fit FAMILY ipmi, which takes 1 (or unknown)"},
        {"M\vB 0 zan a.img 10", "NAC must be 1 to 64 printable characters without blanks or '#'"},
        {std::string(65, 'M') + " 0 zan a.img 10",
         "NAC must be 1 to 64 printable characters without blanks or '#'"},
        {"MB 0 zan a\x01.img 10",
         "PATH must be 1 to 4095 characters without blanks or control characters"},
        {"MB 0 zan a.img 1048577", "CAPACITY must be a byte count from 1 to 1048576"},
    };
    for (const auto &row : rows) {
        std::ofstream(store_ + "/inventory") << row.line << "\n";
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(fru_get_node(row.line.substr(0, row.line.find(' ')).c_str(), &handle),
                  fruplat::kBadInventory);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "fru store: " + store_ + "/inventory line 1: " + row.problem + "\n");
    }
    std::ofstream(store_ + "/inventory") << "MB 0 zan a.img 10\nMB/P0 3 pirom b.img 9\n MB\t0 zan c.img 10\n";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(fru_get_node("MB", &handle), fruplat::kBadInventory);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "fru store: " + store_ + "/inventory line 3: container MB listed twice\n");
    setenv("QUILLET_FRU_STORE", "/nonexistent-store", 1);
    EXPECT_EQ(fru_get_node("MB", &handle), fruplat::kNoStore);
}

}  // namespace
}  // namespace quillet_test
