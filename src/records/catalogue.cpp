#include "records/catalogue.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "records/buffer_set.h"

namespace quillet {

namespace {

enum class RowRule {
    Plain,
    ExactCase,       // names must be typed in exactly this letter case
    InstallProbe,    // the container decides between the two installation records
    IdentityGroup,   // the exact record is chosen by name, and only for an update
    HandOnExact,     // the catalogue supplies the name handed on
};

struct InstallProbe {
    const char *probed_name;
    RecordId found_record;
    const char *found_name;  // resolved name when the probe succeeds
    RecordId other_record;
    const char *other_name;  // resolved name otherwise; null leaves it empty
};

struct CatalogueRow {
    const char *names[kMaxRowNames];
    RecordId record;
    bool pre_read;  // the stored record is read back before an update
    RowRule rule;
    const InstallProbe *probe;
    const char *hand_on;
};

constexpr InstallProbe kProbeInstall = {"InstallationR", RecordId::InstallationR, "InstallationR",
                                        RecordId::Installation1R, "Installation1R"};
constexpr InstallProbe kProbeInstallationR = {"Installation1R", RecordId::Installation1R,
                                              "Installation1R", RecordId::InstallationR, nullptr};
constexpr InstallProbe kProbeInstallation1R = {"InstallationR", RecordId::InstallationR,
                                               "InstallationR", RecordId::Installation1R, nullptr};

const CatalogueRow kZanRows[] = {
    {{"POWER", "Power_EventsR"}, RecordId::Power_EventsR, false, RowRule::Plain, nullptr, nullptr},
    {{"Power_SummaryR"}, RecordId::Power_SummaryR, true, RowRule::Plain, nullptr, nullptr},
    {{"FAULT", "Status_EventsR"}, RecordId::Status_EventsR, false, RowRule::Plain, nullptr, nullptr},
    {{"TEMPERATURE", "Temperature_HistoryR"}, RecordId::Temperature_HistoryR, false, RowRule::Plain,
     nullptr, nullptr},
    {{"CUSTOMER", "Customer_DataR"}, RecordId::Customer_DataR, true, RowRule::Plain, nullptr, nullptr},
    {{"INSTALL"}, RecordId::None, false, RowRule::InstallProbe, &kProbeInstall, nullptr},
    {{"InstallationR"}, RecordId::None, false, RowRule::InstallProbe, &kProbeInstallationR, nullptr},
    {{"Installation1R"}, RecordId::None, false, RowRule::InstallProbe, &kProbeInstallation1R, nullptr},
    {{"Configured_LevelR", "CONFIG"}, RecordId::Configured_LevelR, true, RowRule::ExactCase, nullptr,
     nullptr},
    {{"IDENTITY", "ManR", "Zan_ManR", "Zan_Man1R", "Zan_Part_Number_DataR"}, RecordId::None, false,
     RowRule::IdentityGroup, nullptr, nullptr},
    {{"EthernetMACAddrRangeR"}, RecordId::EthernetMACAddrRangeR, true, RowRule::Plain, nullptr, nullptr},
    {{"EthernetMACAddr2R"}, RecordId::EthernetMACAddr2R, true, RowRule::Plain, nullptr, nullptr},
    {{"Status_CurrentR"}, RecordId::Status_CurrentR, true, RowRule::Plain, nullptr, nullptr},
    {{"Top_Level_IdentifierR", "TLI"}, RecordId::Top_Level_IdentifierR, false, RowRule::Plain, nullptr,
     nullptr},
    {{"Ethernet_Addr", "HOSTID", "Sequence_Number", "WWN", "Enclosure_Nickname", "New_Serial_No"},
     RecordId::SharedIdentifier, true, RowRule::Plain, nullptr, nullptr},
    {{"Device_Type"}, RecordId::Device_Type, true, RowRule::Plain, nullptr, nullptr},
    {{"ECO_CurrentR"}, RecordId::ECO_CurrentR, true, RowRule::Plain, nullptr, nullptr},
    {{"PwrMgmtR"}, RecordId::PwrMgmtR, true, RowRule::Plain, nullptr, nullptr},
    {{"PwrMgmt_RFR"}, RecordId::PwrMgmt_RFR, true, RowRule::Plain, nullptr, nullptr},
    {{"Zan_FRU_LabelR"}, RecordId::Zan_FRU_LabelR, true, RowRule::Plain, nullptr, nullptr},
    {{"Segment_HistoryR"}, RecordId::Segment_HistoryR, false, RowRule::Plain, nullptr, nullptr},
    {{"TAVO_Usage_Kvms_R"}, RecordId::TAVO_Usage_Kvms_R, true, RowRule::Plain, nullptr, nullptr},
    {{"TAVO_Usage_Powerbudget_R"}, RecordId::TAVO_Usage_Powerbudget_R, true, RowRule::Plain, nullptr,
     nullptr},
    {{"MultiLevelR", "MLR"}, RecordId::MultiLevelR, false, RowRule::Plain, nullptr, nullptr},
    {{"Partner_LabelR", "Partner_Part_NumberR"}, RecordId::Partner_LabelR, true, RowRule::Plain,
     nullptr, nullptr},
};

const CatalogueRow kDimmRows[] = {
    {{"POWER", "Power_On_DataR"}, RecordId::Power_On_DataR, true, RowRule::Plain, nullptr, nullptr},
    {{"FAULT", "Fault_Install_DataR"}, RecordId::Fault_Install_DataR, true, RowRule::Plain, nullptr,
     nullptr},
    {{"SPD_DDR3_R"}, RecordId::SPD_DDR3_R, true, RowRule::Plain, nullptr, nullptr},
    {{"SPD_FBDIMM_R"}, RecordId::SPD_FBDIMM_R, true, RowRule::Plain, nullptr, nullptr},
    {{"SPD1_R"}, RecordId::SPD1_R, true, RowRule::Plain, nullptr, nullptr},
};

const CatalogueRow kPiromRows[] = {
    {{"PIROM", "PIROM_DataR"}, RecordId::PIROM_DataR, true, RowRule::Plain, nullptr, nullptr},
};

// Only catalogued for reads; "IDENTITY" is served by the identity read.
const CatalogueRow kIpmiRows[] = {
    {{"Chassis_Info_Area_S"}, RecordId::None, false, RowRule::Plain, nullptr, nullptr},
    {{"Product_Info_Area_S"}, RecordId::None, false, RowRule::Plain, nullptr, nullptr},
    {{"Board_Info_Area_S"}, RecordId::None, false, RowRule::HandOnExact, nullptr, "Board_Info_Area_S"},
};

struct IdentityChoice {
    const char *name;
    RecordId record;
};

// Each is read back whole before an update.
const IdentityChoice kIdentityUpdates[] = {
    {"ManR", RecordId::ManR},
    {"Zan_ManR", RecordId::Zan_ManR},
    {"Zan_Man1R", RecordId::Zan_Man1R},
    {"Zan_Part_Number_DataR", RecordId::Zan_Part_Number_DataR},
};

static_assert(sizeof kIdentityUpdates / sizeof kIdentityUpdates[0] <= kMaxRowRecords);

bool row_matches(const CatalogueRow &row, const char *name)
{
    for (const char *candidate : row.names) {
        if (candidate == nullptr)
            break;
        int differs = row.rule == RowRule::ExactCase ? std::strcmp(candidate, name)
                                                     : strcasecmp(candidate, name);
        if (differs == 0)
            return true;
    }
    return false;
}

template <size_t N>
const CatalogueRow *find_row(const CatalogueRow (&rows)[N], const char *name)
{
    for (const CatalogueRow &row : rows)
        if (row_matches(row, name))
            return &row;
    return nullptr;
}

void choose_record(ClassResolution &result, RecordId record, bool pre_read)
{
    result.record = record;
    result.buffer = record_buffer(record);
    // Without the buffer set no row selects a buffer, and nothing is pre-read.
    if (result.buffer != nullptr && pre_read)
        result.pre_read_length = static_cast<int32_t>(record_buffer_size(record));
}

void run_install_probe(const InstallProbe &probe, fru_nodehdl_t node, ClassResolution &result,
                       char *resolved_name)
{
    const int32_t record_size =
        static_cast<int32_t>(record_buffer_size(probe.found_record));
    const int32_t scratch_size = 5 * record_size;
    uint8_t scratch[5 * 226];
    std::memset(scratch, 0, sizeof scratch);
    int32_t length = scratch_size;
    std::memset(resolved_name, 0, kResolvedNameSize);
    const int32_t status = fru_read_record(node, scratch, &length, probe.probed_name);
    const bool found = status == 0;
    choose_record(result, found ? probe.found_record : probe.other_record, false);
    const char *name = found ? probe.found_name : probe.other_name;
    if (name != nullptr)
        std::strncpy(resolved_name, name, kResolvedNameSize - 1);
}

ClassResolution not_supported(const char *class_name)
{
    std::fprintf(stderr, "\n Error: The class_name  %s is not supported.\n", class_name);
    ClassResolution result;
    result.outcome = Resolution::NotSupported;
    return result;
}

ClassResolution resolve_identity(const char *class_name, Mode mode)
{
    ClassResolution result;
    result.outcome = Resolution::Resolved;
    result.class_name = class_name;
    if (mode != Mode::Update)
        return result;
    for (const IdentityChoice &choice : kIdentityUpdates) {
        if (strcasecmp(choice.name, class_name) == 0) {
            choose_record(result, choice.record, true);
            return result;
        }
    }
    std::fputs("Error: Please provide exact record name to be updated for IDENTITY class.\n",
               stderr);
    result.outcome = Resolution::IdentityUpdateRefused;
    return result;
}

ClassResolution resolve_row(const CatalogueRow &row, const ResolveRequest &request,
                            char *resolved_name)
{
    if (row.rule == RowRule::IdentityGroup)
        return resolve_identity(request.class_name, request.mode);
    ClassResolution result;
    result.outcome = Resolution::Resolved;
    result.class_name = row.hand_on != nullptr ? row.hand_on : request.class_name;
    if (row.rule == RowRule::InstallProbe)
        run_install_probe(*row.probe, request.node, result, resolved_name);
    else
        choose_record(result, row.record, row.pre_read);
    return result;
}

template <size_t N>
ClassResolution resolve_in(const CatalogueRow (&rows)[N], const ResolveRequest &request,
                           char *resolved_name)
{
    const CatalogueRow *row = find_row(rows, request.class_name);
    if (row == nullptr)
        return not_supported(request.class_name);
    return resolve_row(*row, request, resolved_name);
}

struct RowList {
    const CatalogueRow *rows;
    int count;
};

template <size_t N>
constexpr RowList row_list(const CatalogueRow (&rows)[N])
{
    return {rows, static_cast<int>(N)};
}

const CatalogueRow *row_of(ContainerType type, int row)
{
    RowList list = {nullptr, 0};
    switch (type) {
    case ContainerType::Zan:
    case ContainerType::ZanAlt: list = row_list(kZanRows); break;
    case ContainerType::Ipmi: list = row_list(kIpmiRows); break;
    case ContainerType::Dimm: list = row_list(kDimmRows); break;
    case ContainerType::Pirom: list = row_list(kPiromRows); break;
    }
    return row >= 0 && row < list.count ? &list.rows[row] : nullptr;
}

}  // namespace

int catalogue_row_names(ContainerType type, int row, const char *names[kMaxRowNames])
{
    const CatalogueRow *r = row_of(type, row);
    int count = 0;
    while (r != nullptr && count < kMaxRowNames && r->names[count] != nullptr) {
        names[count] = r->names[count];
        ++count;
    }
    return count;
}

int catalogue_row_records(ContainerType type, int row, RecordId records[kMaxRowRecords])
{
    const CatalogueRow *r = row_of(type, row);
    if (r == nullptr)
        return 0;
    int count = 0;
    if (r->rule == RowRule::IdentityGroup) {
        for (const IdentityChoice &choice : kIdentityUpdates)
            records[count++] = choice.record;
    } else if (r->rule == RowRule::InstallProbe) {
        records[count++] = r->probe->found_record;
        records[count++] = r->probe->other_record;
    } else if (r->record != RecordId::None) {
        records[count++] = r->record;
    }
    return count;
}

ClassResolution resolve_record_class(const ResolveRequest &request, char *resolved_name)
{
    std::memset(resolved_name, 0, kResolvedNameSize);
    switch (static_cast<ContainerType>(request.container_type)) {
    case ContainerType::Zan:
    case ContainerType::ZanAlt:
        return resolve_in(kZanRows, request, resolved_name);
    case ContainerType::Dimm:
        return resolve_in(kDimmRows, request, resolved_name);
    case ContainerType::Pirom:
        return resolve_in(kPiromRows, request, resolved_name);
    case ContainerType::Ipmi:
        if (request.mode != Mode::Read)
            break;
        if (strcasecmp(request.class_name, "IDENTITY") == 0 &&
            find_row(kIpmiRows, request.class_name) == nullptr) {
            ClassResolution result;
            result.outcome = Resolution::IpmiIdentityRead;
            return result;
        }
        return resolve_in(kIpmiRows, request, resolved_name);
    }
    // No list for this type: the name is handed on as typed, with no buffer.
    ClassResolution result;
    result.outcome = Resolution::Resolved;
    result.class_name = request.class_name;
    return result;
}

}  // namespace quillet
