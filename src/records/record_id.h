#ifndef QUILLET_RECORDS_RECORD_ID_H
#define QUILLET_RECORDS_RECORD_ID_H

namespace quillet {

// One handle per buffer of the record buffer set. The six identifier records
// (Ethernet_Addr, HOSTID, Sequence_Number, WWN, Enclosure_Nickname,
// New_Serial_No) share the one SharedIdentifier buffer.
enum class RecordId : int {
    Power_EventsR,
    Power_SummaryR,
    Temperature_HistoryR,
    Status_EventsR,
    Status_CurrentR,
    Segment_HistoryR,
    TAVO_Usage_Kvms_R,
    TAVO_Usage_Powerbudget_R,
    Power_On_DataR,
    Fault_Install_DataR,
    Customer_DataR,
    ManR,
    Zan_ManR,
    Zan_Man1R,
    Zan_Part_Number_DataR,
    Configured_LevelR,
    InstallationR,
    Installation1R,
    Top_Level_IdentifierR,
    MultiLevelR,
    ECO_CurrentR,
    Zan_FRU_LabelR,
    Partner_LabelR,
    EthernetMACAddrRangeR,
    EthernetMACAddr2R,
    SharedIdentifier,
    Device_Type,
    PwrMgmtR,
    PwrMgmt_RFR,
    SPD_FBDIMM_R,
    SPD_DDR3_R,
    SPD1_R,
    PIROM_DataR,
    Count,
    None = Count,
};

inline constexpr int kRecordCount = static_cast<int>(RecordId::Count);

}  // namespace quillet

#endif
