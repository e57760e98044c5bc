// Which names each container type accepts, which buffer an update fills and
// how much of the stored record is read back first.
#include "support/hex.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

struct UpdateRow {
    int container_type;
    std::string class_name;
    int pre_read;  // 0: no read back
};

void PrintTo(const UpdateRow &row, std::ostream *os)
{
    *os << "type " << row.container_type << " " << row.class_name;
}

class CatalogueUpdate : public ToolTest, public ::testing::WithParamInterface<UpdateRow> {};

TEST_P(CatalogueUpdate, ReadsBackThePreReadLengthUnderTheTypedName)
{
    const UpdateRow &row = GetParam();
    fake().container_type = row.container_type;
    const RunResult r = run({"quillet", "-c", "C0", "-r", row.class_name, "-o", "timestamp"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string pre_read =
        "fru_read_record(" + row.class_name + "," + std::to_string(row.pre_read) + ")";
    EXPECT_EQ(fake().count("fru_read_record"), row.pre_read != 0 ? 1u : 0u);
    if (row.pre_read != 0) {
        EXPECT_EQ(fake().count(pre_read), 1u) << ::testing::PrintToString(fake().calls);
    }
    EXPECT_EQ(fake().count("libfru_access_data(C0,buffer,2048,2," + row.class_name + ")"), 1u)
        << ::testing::PrintToString(fake().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Zan, CatalogueUpdate,
    ::testing::Values(
        UpdateRow{0, "POWER", 0}, UpdateRow{0, "power_eventsr", 0}, UpdateRow{0, "Power_SummaryR", 16},
        UpdateRow{0, "FAULT", 0}, UpdateRow{0, "TEMPERATURE", 0}, UpdateRow{0, "CUSTOMER", 84},
        UpdateRow{0, "customer_datar", 84}, UpdateRow{0, "Configured_LevelR", 33},
        UpdateRow{4, "CONFIG", 33}, UpdateRow{0, "ManR", 183}, UpdateRow{0, "zan_manr", 136},
        UpdateRow{0, "Zan_Man1R", 191}, UpdateRow{0, "ZAN_PART_NUMBER_DATAR", 21},
        UpdateRow{0, "EthernetMACAddrRangeR", 8}, UpdateRow{0, "EthernetMACAddr2R", 12},
        UpdateRow{0, "Status_CurrentR", 5}, UpdateRow{0, "TLI", 0},
        UpdateRow{0, "Top_Level_IdentifierR", 0}, UpdateRow{0, "Ethernet_Addr", 80},
        UpdateRow{0, "hostid", 80}, UpdateRow{0, "Sequence_Number", 80}, UpdateRow{0, "WWN", 80},
        UpdateRow{0, "Enclosure_Nickname", 80}, UpdateRow{0, "New_Serial_No", 80},
        UpdateRow{0, "Device_Type", 2}, UpdateRow{0, "ECO_CurrentR", 16},
        UpdateRow{0, "PwrMgmtR", 19}, UpdateRow{0, "PwrMgmt_RFR", 91},
        UpdateRow{0, "Zan_FRU_LabelR", 41}, UpdateRow{0, "Segment_HistoryR", 0},
        UpdateRow{0, "TAVO_Usage_Kvms_R", 12}, UpdateRow{0, "TAVO_Usage_Powerbudget_R", 12},
        UpdateRow{0, "MultiLevelR", 0}, UpdateRow{0, "MLR", 0}, UpdateRow{0, "Partner_LabelR", 22},
        UpdateRow{0, "Partner_Part_NumberR", 22}));

INSTANTIATE_TEST_SUITE_P(
    DimmAndPirom, CatalogueUpdate,
    ::testing::Values(UpdateRow{2, "POWER", 8}, UpdateRow{2, "Power_On_DataR", 8},
                      UpdateRow{2, "fault", 45}, UpdateRow{2, "Fault_Install_DataR", 45},
                      UpdateRow{2, "SPD_DDR3_R", 176}, UpdateRow{2, "SPD_FBDIMM_R", 176},
                      UpdateRow{2, "SPD1_R", 128}, UpdateRow{3, "PIROM", 128},
                      UpdateRow{3, "pirom_datar", 128}));

struct RefusedRow {
    int container_type;
    std::string class_name;
    std::vector<std::string> mode;  // extra options
};

void PrintTo(const RefusedRow &row, std::ostream *os)
{
    *os << "type " << row.container_type << " " << row.class_name;
}

class CatalogueRefusal : public ToolTest, public ::testing::WithParamInterface<RefusedRow> {};

TEST_P(CatalogueRefusal, NotSupportedWithStatus18)
{
    const RefusedRow &row = GetParam();
    fake().container_type = row.container_type;
    std::vector<std::string> args = {"quillet", "-c", "C0", "-r", row.class_name};
    args.insert(args.end(), row.mode.begin(), row.mode.end());
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 18);
    EXPECT_EQ(r.err, "\n Error: The class_name  " + row.class_name + " is not supported.\n");
    EXPECT_EQ(fake().count("libfru_access_data"), 0u);
    EXPECT_EQ(fake().count("fru_read_record"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CatalogueRefusal,
    ::testing::Values(
        RefusedRow{0, "config", {}}, RefusedRow{0, "Configured_Levelr", {"-o", "timestamp"}},
        RefusedRow{4, "Config_LevelR", {"-d"}}, RefusedRow{0, "PIROM", {}},
        RefusedRow{0, "Chassis_Info_Area_S", {}}, RefusedRow{0, "Power_On_DataR", {}},
        RefusedRow{0, "SPD1_R", {}}, RefusedRow{2, "ManR", {}}, RefusedRow{2, "TLI", {"-d"}},
        RefusedRow{3, "POWER", {}}, RefusedRow{1, "ManR", {}}, RefusedRow{1, "POWER", {}}));

TEST_F(ToolTest, IpmiAreasAreHandedOnAsTheCatalogueSays)
{
    fake().container_type = 1;
    EXPECT_EQ(run({"quillet", "-c", "PS0", "-r", "board_info_area_s"}).status, 0);
    EXPECT_EQ(run({"quillet", "-c", "PS0", "-r", "chassis_info_area_s"}).status, 0);
    EXPECT_EQ(fake().count("libfru_access_data(PS0,buffer,2048,1,Board_Info_Area_S)"), 1u);
    EXPECT_EQ(fake().count("libfru_access_data(PS0,buffer,2048,1,chassis_info_area_s)"), 1u);
}

TEST_F(ToolTest, IpmiAndUnknownTypesPassUpdatesWithoutComparison)
{
    for (int type : {1, 7}) {
        fake::reset();
        fake().container_type = type;
        EXPECT_EQ(run({"quillet", "-c", "PS0", "-r", "Anything", "-o", "timestamp"}).status, 0);
        EXPECT_EQ(fake().count("libfru_access_data(PS0,null,2048,2,Anything)"), 1u);
        EXPECT_EQ(fake().count("fru_read_record"), 0u);
    }
    fake().container_type = 7;
    EXPECT_EQ(run({"quillet", "-c", "X", "-r", "Anything"}).status, 0);
}

TEST_F(ToolTest, IpmiIdentityReadTriesBoardThenChassisThenProduct)
{
    fake().container_type = 1;
    fake().fail("libfru_access_data", {14, 0});
    const RunResult r = run({"quillet", "-c", "PS0", "-r", "IDENTITY"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(fake().calls,
              (std::vector<std::string>{"fru_get_node(PS0)", "fru_get_cont_type()", "fru_close_node()",
                                        "libfru_access_data(PS0,buffer,2048,1,Board_Info_Area_S)",
                                        "libfru_access_data(PS0,buffer,2048,1,Chassis_Info_Area_S)",
                                        "fru_close_data_source()"}));
}

TEST_F(ToolTest, IpmiIdentityWithNoAreaEndsWith14)
{
    fake().container_type = 1;
    fake().fail("libfru_access_data", {14, 14, 14});
    const RunResult r = run({"quillet", "-c", "PS0", "-r", "identity"});
    EXPECT_EQ(r.status, 14);
    EXPECT_EQ(r.err, "\n Error: fake error 14\n");
    EXPECT_EQ(fake().count("libfru_access_data(PS0,buffer,2048,1,Product_Info_Area_S)"), 1u);
}

TEST_F(ToolTest, IpmiIdentityStopsAtTheFirstOtherStatus)
{
    fake().container_type = 1;
    fake().fail("libfru_access_data", {75});
    EXPECT_EQ(run({"quillet", "-c", "PS0", "-r", "IDENTITY"}).status, 75);
    EXPECT_EQ(fake().count("libfru_access_data"), 1u);
}

TEST_F(ToolTest, IdentityIsHandedOnForReadAndDelete)
{
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "IDENTITY"}).status, 0);
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "Identity", "-d"}).status, 0);
    EXPECT_EQ(fake().count("libfru_access_data(MB,buffer,2048,1,IDENTITY)"), 1u);
    EXPECT_EQ(fake().count("libfru_access_data(MB,null,2048,3,Identity)"), 1u);
}

struct ProbeRow {
    std::string typed;
    bool probed_version_held;
    std::string probe_call;
    std::string access_name;
    size_t record_size;  // of the buffer the update fills
};

void PrintTo(const ProbeRow &row, std::ostream *os)
{
    *os << row.typed << (row.probed_version_held ? " held" : " not held");
}

class InstallProbe : public ToolTest, public ::testing::WithParamInterface<ProbeRow> {};

TEST_P(InstallProbe, PicksTheVersionTheContainerHolds)
{
    const ProbeRow &row = GetParam();
    if (row.probed_version_held) {
        fake().records["InstallationR"] = std::vector<uint8_t>(219, 1);
        fake().records["Installation1R"] = std::vector<uint8_t>(226, 1);
    }
    fake().capture_size = row.record_size;
    const RunResult r =
        run({"quillet", "-c", "MB", "-r", row.typed, "-o", "fru_path=/SYS,system_tz=-300"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fake().calls.at(2), row.probe_call);
    EXPECT_EQ(fake().count("libfru_access_data(MB,buffer,2048,2," + row.access_name + ")"), 1u)
        << ::testing::PrintToString(fake().calls);
    // The chosen buffer is built from zero, never read back.
    EXPECT_EQ(fake().count("fru_read_record"), 1u);
    const size_t tz = row.record_size == 219 ? 167 : 224;
    EXPECT_EQ(to_hex(fake().written.data() + tz, 2), "fed4");
    EXPECT_EQ(to_hex(fake().written.data() + 4, 5), text_hex("/SYS") + "00");
}

INSTANTIATE_TEST_SUITE_P(
    Table, InstallProbe,
    ::testing::Values(
        ProbeRow{"INSTALL", true, "fru_read_record(InstallationR,1095)", "InstallationR", 219},
        ProbeRow{"install", false, "fru_read_record(InstallationR,1095)", "Installation1R", 226},
        ProbeRow{"InstallationR", true, "fru_read_record(Installation1R,1130)", "Installation1R", 226},
        ProbeRow{"installationr", false, "fru_read_record(Installation1R,1130)", "installationr", 219},
        ProbeRow{"Installation1R", true, "fru_read_record(InstallationR,1095)", "InstallationR", 219},
        ProbeRow{"INSTALLATION1R", false, "fru_read_record(InstallationR,1095)", "INSTALLATION1R",
                 226}));

TEST_F(ToolTest, InstallProbeNamesTheVersionForReadAndDelete)
{
    fake().records["InstallationR"] = std::vector<uint8_t>(219, 1);
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "INSTALL", "-d"}).status, 0);
    EXPECT_EQ(fake().count("libfru_access_data(MB,null,2048,3,InstallationR)"), 1u);
    fake::reset();
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "INSTALL"}).status, 0);
    EXPECT_EQ(fake().count("libfru_access_data(MB,buffer,2048,1,Installation1R)"), 1u);
}

struct IdentityRow {
    std::string typed;
    size_t size;
    size_t part_offset;
};

void PrintTo(const IdentityRow &row, std::ostream *os)
{
    *os << row.typed;
}

class IdentityUpdate : public ToolTest, public ::testing::WithParamInterface<IdentityRow> {};

TEST_P(IdentityUpdate, ExactRecordFillsItsOwnBuffer)
{
    const IdentityRow &row = GetParam();
    fake().capture_size = row.size;
    const RunResult r = run({"quillet", "-c", "MB", "-r", row.typed, "-o", "zan_part_no=5017540"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fake().count("fru_read_record(" + row.typed + "," + std::to_string(row.size) + ")"), 1u);
    EXPECT_EQ(to_hex(fake().written.data() + row.part_offset, 7), text_hex("5017540"));
}

INSTANTIATE_TEST_SUITE_P(Table, IdentityUpdate,
                         ::testing::Values(IdentityRow{"ManR", 183, 148},
                                           IdentityRow{"zan_manr", 136, 39},
                                           IdentityRow{"Zan_Man1R", 191, 101},
                                           IdentityRow{"Zan_Part_Number_DataR", 21, 4}));

}  // namespace
}  // namespace quillet_test
