// The IPMI, DIMM and PIROM rows of the catalogue through quillet, on real
// images in a store.
#include "dimm/spd_builder.h"
#include "e2e/e2e_fixture.h"
#include "ipmi/ipmi_builder.h"
#include "support/hex.h"

namespace quillet_test {
namespace {

fruplat::Bytes ipmi_with(bool chassis, bool board, bool product)
{
    fruplat::IpmiImageContent content;
    content.chassis = {chassis, 0x17, 0, {fruplat::ipmi_text("CH-1"), fruplat::ipmi_text("CS-1")}};
    content.board = {board, 0, 60, {fruplat::ipmi_text("Maker"), fruplat::ipmi_six_bit("PSU")}};
    content.product = {product, 0, 0, {fruplat::ipmi_text("Maker"), fruplat::ipmi_text("Unit")}};
    return fruplat::build_ipmi_image(content);
}

class Families : public EndToEnd {};

// Which area IDENTITY tries first is the catalogue unit test's; here the
// platform's answers for present and absent areas, and its refusals.
TEST_F(Families, IpmiIdentityShowsTheFirstAreaPresentAndNothingChanges)
{
    const struct {
        bool chassis, board, product;
        int status;
        std::string first_line;
    } rows[] = {
        {true, true, true, 0, "Board_Info_Area_S"},
        {false, false, false, 14, ""},
    };
    int n = 0;
    for (const auto &row : rows) {
        const std::string nac = "PS" + std::to_string(n++);
        add_image(nac, "ipmi", ipmi_with(row.chassis, row.board, row.product));
        const Outcome o = quillet({"-c", nac, "-r", "IDENTITY"});
        EXPECT_EQ(o.status, row.status) << nac;
        EXPECT_EQ(o.out.substr(0, o.out.find('\n')), row.first_line) << nac;
        EXPECT_EQ(o.err, row.status == 0 ? "" : "\n Error: Record or area not present in the container\n");
    }
    EXPECT_EQ(quillet({"-c", "PS0", "-r", "board_info_area_s"}).status, 0) << "in any case";
    const std::string before = image_bytes("PS0");
    const Outcome o = quillet({"-c", "PS0", "-r", "Board_Info_Area_S", "-o", "timestamp"});
    EXPECT_EQ(o.status, 81);
    EXPECT_EQ(o.err, "\n Error: IPMI FRU information areas cannot be changed or deleted\n");
    EXPECT_EQ(quillet({"-c", "PS0", "-r", "Chassis_Info_Area_S", "-d"}).status, 81);
    EXPECT_EQ(quillet({"-c", "PS0", "-r", "ManR"}).status, 18);
    EXPECT_EQ(image_bytes("PS0"), before);
}

TEST_F(Families, DimmRecordsLiveInTheCustomerBytes)
{
    add_image("D0", "dimm", fruplat::build_spd(fruplat::SpdContent()));
    const std::string spd = image_bytes("D0");
    EXPECT_EQ(quillet({"-c", "D0", "-r", "POWER"}).status, 14);
    ASSERT_EQ(quillet({"-c", "D0", "-r", "POWER", "-o", "power_on_minutes=90"}).status, 0);
    EXPECT_EQ(without_stamp(stored("D0", "Power_On_DataR")[0]), "TTTTTTTT0000005a");
    ASSERT_EQ(quillet({"-c", "D0", "-r", "FAULT", "-o", "status=3,macaddr=0003BA123456"}).status, 0);
    // The power-on record keeps its value through the other record's update
    // and its own partial one.
    ASSERT_EQ(quillet({"-c", "D0", "-r", "Power_On_DataR", "-o", "timestamp"}).status, 0);
    EXPECT_EQ(without_stamp(stored("D0", "POWER")[0]), "TTTTTTTT0000005a");
    EXPECT_EQ(without_stamp(stored("D0", "Fault_Install_DataR")[0]), "TTTTTTTT" "0003ba123456" "03" "0000" + zeros(32));
    EXPECT_NE(quillet({"-c", "D0", "-r", "FAULT"}).out.find("macaddr                       : 00:03:ba:12:34:56"),
              std::string::npos);
    // The SPD itself is read-only; the customer checksum guards the records.
    EXPECT_EQ(quillet({"-c", "D0", "-r", "SPD_DDR3_R", "-o", "timestamp"}).status, 0);
    EXPECT_EQ(quillet({"-c", "D0", "-r", "SPD_DDR3_R", "-d"}).status, 70);
    EXPECT_EQ(image_bytes("D0").substr(0, 176), spd.substr(0, 176));
    std::string damaged = image_bytes("D0");
    damaged[180] ^= 0x01;
    add_image("D1", "dimm", fruplat::Bytes(damaged.begin(), damaged.end()));
    EXPECT_EQ(quillet({"-c", "D1", "-r", "POWER"}).status, 75);

    ASSERT_EQ(quillet({"-c", "D0", "-r", "FAULT", "-d"}).status, 0);
    ASSERT_EQ(quillet({"-c", "D0", "-r", "POWER", "-d"}).status, 0);
    EXPECT_EQ(quillet({"-c", "D0", "-r", "FAULT"}).status, 14);
    // With both gone the customer bytes are erased again.
    EXPECT_EQ(image_bytes("D0"), spd.substr(0, 176));
}

TEST_F(Families, PiromReadsAndRefusesWrites)
{
    fruplat::Bytes rom(128);
    for (size_t i = 0; i < rom.size(); ++i)
        rom[i] = static_cast<uint8_t>(i);
    add_image("P0", "pirom", rom);
    Outcome o = quillet({"-c", "P0", "-r", "PIROM"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("0x40                          : 40 41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f"
                         "  |@ABCDEFGHIJKLMNO|"),
              std::string::npos)
        << o.out;
    o = quillet({"-c", "P0", "-r", "PIROM_DataR", "-o", "timestamp"});
    EXPECT_EQ(o.status, 82);
    EXPECT_EQ(o.err, "\n Error: PIROM container is read only\n");
    EXPECT_EQ(quillet({"-c", "P0", "-r", "pirom", "-d"}).status, 82);
    EXPECT_EQ(quillet({"-c", "P0", "-r", "POWER"}).status, 18);
    EXPECT_EQ(stored("P0", "PIROM_DataR")[0], to_hex(rom));
}

}  // namespace
}  // namespace quillet_test
