#include "records/buffer_set.h"

#include <cstdlib>
#include <cstring>

namespace quillet {

const RecordBufferInfo kRecordBuffers[kRecordCount] = {
    {RecordId::Power_EventsR, "Power_EventsR", 5, true},
    {RecordId::Power_SummaryR, "Power_SummaryR", 16, true},
    {RecordId::Temperature_HistoryR, "Temperature_HistoryR", 32, true},
    {RecordId::Status_EventsR, "Status_EventsR", 140, true},
    {RecordId::Status_CurrentR, "Status_CurrentR", 5, true},
    {RecordId::Segment_HistoryR, "Segment_HistoryR", 7, true},
    {RecordId::TAVO_Usage_Kvms_R, "TAVO_Usage_Kvms_R", 12, false},
    {RecordId::TAVO_Usage_Powerbudget_R, "TAVO_Usage_Powerbudget_R", 12, false},
    {RecordId::Power_On_DataR, "Power_On_DataR", 8, true},
    {RecordId::Fault_Install_DataR, "Fault_Install_DataR", 45, true},
    {RecordId::Customer_DataR, "Customer_DataR", 84, true},
    {RecordId::ManR, "ManR", 183, true},
    {RecordId::Zan_ManR, "Zan_ManR", 136, true},
    {RecordId::Zan_Man1R, "Zan_Man1R", 191, true},
    {RecordId::Zan_Part_Number_DataR, "Zan_Part_Number_DataR", 21, true},
    {RecordId::Configured_LevelR, "Configured_LevelR", 33, true},
    {RecordId::InstallationR, "InstallationR", 219, true},
    {RecordId::Installation1R, "Installation1R", 226, true},
    {RecordId::Top_Level_IdentifierR, "Top_Level_IdentifierR", 65, true},
    {RecordId::MultiLevelR, "MultiLevelR", 84, true},
    {RecordId::ECO_CurrentR, "ECO_CurrentR", 16, true},
    {RecordId::Zan_FRU_LabelR, "Zan_FRU_LabelR", 41, false},
    {RecordId::Partner_LabelR, "Partner_LabelR", 22, false},
    {RecordId::EthernetMACAddrRangeR, "EthernetMACAddrRangeR", 8, false},
    {RecordId::EthernetMACAddr2R, "EthernetMACAddr2R", 12, false},
    {RecordId::SharedIdentifier, "shared identifier", 80, false},
    {RecordId::Device_Type, "Device_Type", 2, false},
    {RecordId::PwrMgmtR, "PwrMgmtR", 19, false},
    {RecordId::PwrMgmt_RFR, "PwrMgmt_RFR", 91, false},
    {RecordId::SPD_FBDIMM_R, "SPD_FBDIMM_R", 176, false},
    {RecordId::SPD_DDR3_R, "SPD_DDR3_R", 176, false},
    {RecordId::SPD1_R, "SPD1_R", 128, false},
    {RecordId::PIROM_DataR, "PIROM_DataR", 128, false},
};

namespace {

uint8_t *g_buffers[kRecordCount];
RecordAllocator g_allocator = std::calloc;

bool valid(RecordId id)
{
    return static_cast<int>(id) >= 0 && static_cast<int>(id) < kRecordCount;
}

}  // namespace

void set_record_allocator(RecordAllocator allocator)
{
    g_allocator = allocator != nullptr ? allocator : std::calloc;
}

void allocate_record_buffer_set()
{
    for (const RecordBufferInfo &info : kRecordBuffers) {
        uint8_t *&slot = g_buffers[static_cast<int>(info.id)];
        if (slot != nullptr)
            continue;
        slot = static_cast<uint8_t *>(g_allocator(1, info.size));
        if (slot == nullptr) {
            release_record_buffer_set();
            std::exit(-1);
        }
        std::memset(slot, 0, info.size);
    }
}

void release_record_buffer_set()
{
    for (uint8_t *&slot : g_buffers) {
        std::free(slot);
        slot = nullptr;
    }
}

bool record_buffer_set_allocated()
{
    return g_buffers[0] != nullptr;
}

uint8_t *record_buffer(RecordId id)
{
    return valid(id) ? g_buffers[static_cast<int>(id)] : nullptr;
}

size_t record_buffer_size(RecordId id)
{
    return valid(id) ? kRecordBuffers[static_cast<int>(id)].size : 0;
}

}  // namespace quillet
