// Which names each container type accepts, which buffer an update fills and
// how much of the stored record is read back first.
#include <set>

#include "records/buffer_set.h"
#include "records/catalogue.h"
#include "support/tool_fixture.h"

namespace quillet_test {
namespace {

using quillet::RecordId;
using T = quillet::ContainerType;

// An update through any catalogued name, as listed and in lower case, reads
// back the whole stored record first unless the record is one of these.
TEST_F(ToolTest, EveryCatalogueNameUpdatesItsRecord)
{
    const std::set<RecordId> not_read_back = {RecordId::Power_EventsR, RecordId::Status_EventsR,
                                              RecordId::Temperature_HistoryR, RecordId::Top_Level_IdentifierR,
                                              RecordId::Segment_HistoryR, RecordId::MultiLevelR};
    int checked = 0;
    for (const T type : {T::Zan, T::Dimm, T::Pirom})
        for (int row = 0;; ++row) {
            const char *names[quillet::kMaxRowNames] = {};
            RecordId records[quillet::kMaxRowRecords] = {};
            const int name_count = quillet::catalogue_row_names(type, row, names);
            if (name_count == 0)
                break;
            if (quillet::catalogue_row_records(type, row, records) != 1)
                continue;
            // Configured_LevelR and CONFIG are taken in exactly this case only.
            for (int n = 0; n < (records[0] == RecordId::Configured_LevelR ? 1 : 2) * name_count; ++n) {
                std::string name = names[n % name_count];
                for (char &c : name)
                    c = n < name_count ? c : static_cast<char>(std::tolower(c));
                fake::reset();
                fake().container_type = type == T::Zan ? 4 * (n % 2) : static_cast<int>(type);
                EXPECT_EQ(run({"quillet", "-c", "C0", "-r", name, "-o", "timestamp"}).status, 0) << name;
                const int pre_read = not_read_back.count(records[0]) == 0;
                const auto size = quillet::kRecordBuffers[static_cast<int>(records[0])].size;
                EXPECT_EQ(fake().count("fru_read_record"), pre_read) << name;
                EXPECT_EQ(fake().count("fru_read_record(" + name + "," + std::to_string(size) + ")"), pre_read);
                EXPECT_EQ(fake().count("libfru_access_data(C0,buffer,2048,2," + name + ")"), 1u) << name;
                ++checked;
            }
        }
    EXPECT_GT(checked, 60);
}

TEST_F(ToolTest, NamesOutsideTheContainersListAreRefusedWith18)
{
    const std::pair<int, std::vector<std::string>> rows[] = {
        {0, {"config"}}, {0, {"Configured_Levelr", "-o", "timestamp"}}, {4, {"Config_LevelR", "-d"}},
        {0, {"PIROM"}},  {0, {"Chassis_Info_Area_S"}}, {0, {"Power_On_DataR"}}, {2, {"ManR"}},
        {2, {"TLI", "-d"}}, {3, {"POWER"}}, {1, {"ManR"}}, {1, {"POWER"}}};
    for (const auto &[type, args] : rows) {
        fake::reset();
        fake().container_type = type;
        const RunResult r = run({"quillet", "-c", "C0", "-r"}, args);
        EXPECT_EQ(r.status, 18) << args[0];
        EXPECT_EQ(r.err, "\n Error: The class_name  " + args[0] + " is not supported.\n");
        EXPECT_EQ(fake().calls, (Calls{"fru_get_node(C0)", "fru_get_cont_type()", "fru_close_node()",
                                       "fru_close_data_source()"}));
    }
}

// IPMI areas are handed on as typed, Board_Info_Area_S as the catalogue
// spells it; IDENTITY reads the first area present. Unknown types pass all.
TEST_F(ToolTest, IpmiAndUnknownTypesHandNamesOnAsTheCatalogueSays)
{
    const std::string area = "libfru_access_data(PS0,buffer,2048,1,";
    const Calls tries = {area + "Board_Info_Area_S)", area + "Chassis_Info_Area_S)", area + "Product_Info_Area_S)"};
    const std::tuple<std::vector<int32_t>, int, std::string> rows[] = {
        {{14, 0}, 0, ""}, {{14, 14, 14}, 14, "\n Error: fake error 14\n"}, {{75}, 75, "\n Error: fake error 75\n"}};
    for (const auto &[statuses, status, err] : rows) {
        fake::reset();
        fake().container_type = 1;
        fake().fail("libfru_access_data", statuses);
        const RunResult r = run({"quillet", "-c", "PS0", "-r", "IDENTITY"});
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.err, err);
        Calls expected = {"fru_get_node(PS0)", "fru_get_cont_type()", "fru_close_node()"};
        expected.insert(expected.end(), tries.begin(), tries.begin() + static_cast<long>(statuses.size()));
        expected.push_back("fru_close_data_source()");
        EXPECT_EQ(fake().calls, expected);
    }
    // Nothing is read back first; on a ZAN container IDENTITY is handed on as typed, to read or delete.
    const std::tuple<int, std::vector<std::string>, std::string> handed[] = {
        {1, {"board_info_area_s"}, area + "Board_Info_Area_S)"},
        {1, {"chassis_info_area_s"}, area + "chassis_info_area_s)"},
        {7, {"Anything", "-o", "timestamp"}, "libfru_access_data(PS0,null,2048,2,Anything)"},
        {0, {"IDENTITY"}, area + "IDENTITY)"}, {0, {"Identity", "-d"}, "libfru_access_data(PS0,null,2048,3,Identity)"}};
    for (const auto &[type, args, access] : handed) {
        fake::reset();
        fake().container_type = type;
        EXPECT_EQ(run({"quillet", "-c", "PS0", "-r"}, args).status, 0) << args[0];
        EXPECT_EQ(fake().count("fru_read_record"), 0u) << args[0];
        EXPECT_EQ(fake().count(access), 1u) << args[0];
    }
}

// The container decides between the two installation records; the chosen
// buffer is built from zero, never read back.
TEST_F(ToolTest, InstallProbePicksTheVersionTheContainerHolds)
{
    const std::tuple<std::string, bool, std::string, std::string, size_t> rows[] = {
        {"INSTALL", true, "InstallationR,1095", "InstallationR", 219},
        {"install", false, "InstallationR,1095", "Installation1R", 226},
        {"InstallationR", true, "Installation1R,1130", "Installation1R", 226},
        {"installationr", false, "Installation1R,1130", "installationr", 219},
        {"Installation1R", true, "InstallationR,1095", "InstallationR", 219},
        {"INSTALLATION1R", false, "InstallationR,1095", "INSTALLATION1R", 226}};
    for (const auto &[typed, held, probed, access_name, size] : rows) {
        fake::reset();
        if (held)
            fake().records = {{"InstallationR", fake::Bytes(219, 1)}, {"Installation1R", fake::Bytes(226, 1)}};
        fake().capture_size = size;
        EXPECT_EQ(run({"quillet", "-c", "MB", "-r", typed, "-o", "fru_path=/SYS,system_tz=-300"}).status, 0);
        EXPECT_EQ(fake().calls.at(2), "fru_read_record(" + probed + ")");
        EXPECT_EQ(fake().calls.at(3), "libfru_access_data(MB,buffer,2048,2," + access_name + ")") << typed;
        EXPECT_EQ(to_hex(fake().written.data() + (size == 226 ? 224 : 167), 2), "fed4") << typed;
        EXPECT_EQ(to_hex(fake().written.data() + 4, 5), text_hex("/SYS") + "00");
    }
    fake().records = {{"InstallationR", fake::Bytes(219, 1)}};
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "INSTALL", "-d"}).status, 0);
    fake().records.clear();
    EXPECT_EQ(run({"quillet", "-c", "MB", "-r", "INSTALL"}).status, 0);
    EXPECT_EQ(fake().count("libfru_access_data(MB,null,2048,3,InstallationR)") +
                  fake().count("libfru_access_data(MB,buffer,2048,1,Installation1R)"), 2u);
}

}  // namespace
}  // namespace quillet_test
