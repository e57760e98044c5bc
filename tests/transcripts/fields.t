# How quillet shows every field of every record: each record is stored
# with the bytes A, B, C, ... Z, A, ... so that a field read from the wrong
# place or with the wrong width shows other letters.
# The DIMM is a DDR3 module, whose customer bytes 176 to 255 take the records.
$ fructl add MB zan && (head -c 176 "$DATA/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin"; head -c 80 /dev/zero) >spd && fructl add D0 dimm --from spd
$ i=0; while [ $i -lt 226 ]; do printf '%02x' $((65 + i % 26)); i=$((i + 1)); done >letters
$ fructl put MB Power_EventsR $(head -c 10 letters) && quillet -c MB -r Power_EventsR
| Power_EventsR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     event                         : unknown (0x45)
$ fructl put MB Power_SummaryR $(head -c 32 letters) && quillet -c MB -r Power_SummaryR
| Power_SummaryR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     total_time_on                 : 1162233672
|     total_power_ons               : 1229605708
|     total_power_offs              : 1296977744
$ fructl put MB Temperature_HistoryR $(head -c 64 letters) && quillet -c MB -r Temperature_HistoryR
| Temperature_HistoryR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     sensor                        : 69
|     lowest                        : 70
|     highest                       : 71
|     latest                        : 72
|     format                        : 0x494a4b4c
|     histogram0                    : 19790
|     histogram1                    : 20304
|     histogram2                    : 20818
|     histogram3                    : 21332
|     histogram4                    : 21846
|     histogram5                    : 22360
|     histogram6                    : 22874
|     histogram7                    : 16706
|     histogram8                    : 17220
|     histogram9                    : 17734
$ fructl put MB Status_EventsR $(head -c 280 letters) && quillet -c MB -r Status_EventsR
| Status_EventsR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     old_status                    : 69
|     new_status                    : 70
|     initiator                     : unknown (0x47)
|     component                     : 72
|     event_code                    : unknown (0x494a4b4c)
|     message                       : MNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ
$ fructl put MB Status_CurrentR $(head -c 10 letters) && quillet -c MB -r Status_CurrentR
| Status_CurrentR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     status                        : 69
$ fructl put MB Segment_HistoryR $(head -c 14 letters) && quillet -c MB -r Segment_HistoryR
| Segment_HistoryR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     entry_type                    : unknown (0x45)
|     segname                       : FG
$ fructl put MB TAVO_Usage_Kvms_R $(head -c 24 letters) && quillet -c MB -r TAVO_Usage_Kvms_R
| TAVO_Usage_Kvms_R
|     enabled_duration              : 1094861636
|     session_count                 : 1162233672
|     session_duration              : 1229605708
$ fructl put MB TAVO_Usage_Powerbudget_R $(head -c 24 letters) && quillet -c MB -r TAVO_Usage_Powerbudget_R
| TAVO_Usage_Powerbudget_R
|     enabled_duration              : 1094861636
|     softcap_count                 : 1162233672
|     hardcap_duration              : 1229605708
$ fructl put MB Customer_DataR $(head -c 168 letters) && quillet -c MB -r Customer_DataR
| Customer_DataR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     cust_data                     : EFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF
$ fructl put MB ManR $(head -c 366 letters) && quillet -c MB -r ManR
| ManR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     fru_description               : EFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF
|     manufacture_loc               : GHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQR
|     zan_part_no                   : STUVWXY
|     zan_serial_no                 : ZABCDE
|     vendor_name                   : unknown (0x4647)
|     initial_hw_dash_level         : HI
|     initial_hw_rev_level          : JK
|     fru_shortname                 : LMNOPQRSTUVWXYZA
$ fructl put MB Zan_ManR $(head -c 272 letters) && quillet -c MB -r Zan_ManR
| Zan_ManR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     fru_description               : EFGHIJKLMNOPQRSTUVWXYZABCDEFGH
|     reserved                      : 0x494a4b4c4d
|     zan_part_no                   : NOPQRST
|     zan_serial_no                 : UVWXYZABCDEFGHIJKLMNOPQRSTUVWX
|     serial_number_format          : YZABCDEFGHIJKLMNOPQR
|     vendor_id_code                : 1398035798
|     vendor_id_code_source         : 87
|     initial_hw_dash_level         : XY
|     initial_hw_rev_level          : ZA
|     fru_shortname                 : BCDEFGHIJKLMNOPQ
|     hazard_class_code             : RS
|     fru_type                      : unknown (0x5455)
|     zan_specpartno                : VWXYZABCDEF
$ fructl put MB Zan_Man1R $(head -c 382 letters) && quillet -c MB -r Zan_Man1R
| Zan_Man1R
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     fru_description               : EFGHIJKLMNOPQRSTUVWXYZABCDEFGH
|     vendor_id_code                : 18762
|     vendor_id_code_source         : 75
|     vendor_name_and_site_location : LMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVW
|     zan_part_no                   : XYZABCD
|     zan_serial_no                 : EFGHIJKLMNOPQRSTUVWXYZABCDEFGH
|     serial_number_format          : IJKLMNOPQRSTUVWXYZAB
|     initial_hw_dash_level         : CD
|     initial_hw_rev_level          : EF
|     fru_shortname                 : GHIJKLMNOPQRSTUV
|     hazard_class_code             : WX
|     zan_specpartno                : YZABCDEFGHI
$ fructl put MB Zan_Part_Number_DataR $(head -c 42 letters) && quillet -c MB -r Zan_Part_Number_DataR
| Zan_Part_Number_DataR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     zan_part_no                   : EFGHIJK
|     zan_serial_no                 : LMNOPQ
|     vendor_name                   : unknown (0x5253)
|     initial_hw_dash_level         : TU
$ fructl put MB Configured_LevelR $(head -c 66 letters) && quillet -c MB -r Configured_LevelR
| Configured_LevelR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     zan_part_no                   : EFGHIJK
|     configured_serial_no          : LMNOPQRSTUVWXYZABCDE
|     initial_hw_dash_level         : FG
$ fructl put MB InstallationR $(head -c 438 letters) && quillet -c MB -r InstallationR
| InstallationR: 1 of 5 entries, oldest first
|   entry 1
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     fru_path                      : EFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZAB
|     parent_part_no                : CDEFGHI
|     parent_serial_no              : JKLMNO
|     parent_dash_no                : PQ
|     system_id                     : RSTUVWXYZABCDEFGHIJK
|     system_tz                     : 19533
|     geo_north                     : 1313820753
|     geo_east                      : 1381192789
|     geo_alt                       : 22103
|     geo_location                  : XYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJK
$ fructl put MB Installation1R $(head -c 452 letters) && quillet -c MB -r Installation1R
| InstallationR: 1 of 5 entries, oldest first
|   entry 1
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     fru_path                      : EFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZAB
|     parent_part_no                : CDEFGHI
|     parent_serial_no              : JKLMNO
|     parent_dash_no                : PQ
|     system_id                     : RSTUVWXYZABCDEFGHIJK
|     system_tz                     : 19533
|     geo_north                     : 1313820753
|     geo_east                      : 1381192789
|     geo_alt                       : 22103
|     geo_location                  : XYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJK
$ fructl put MB Top_Level_IdentifierR $(head -c 130 letters) && quillet -c MB -r Top_Level_IdentifierR
| Top_Level_IdentifierR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     product_part_no               : EFGHIJKLMNOPQRSTUVWX
|     product_rev_level             : 89
|     product_serial_no             : ZABCDEFGHIJKLMNOPQRSTUVWXYZABC
|     macaddr                       : 44:45:46:47:48:49
|     hostid                        : 0x4a4b4c4d
$ fructl put MB MultiLevelR $(head -c 168 letters) && quillet -c MB -r MultiLevelR
| MultiLevelR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     mlr_part_dash_no              : EFGHIJKLMNOPQRSTUVWX
|     mlr_serial_no                 : YZABCDEFGHIJKLMNOPQRSTUVWXYZAB
|     mlr_description               : CDEFGHIJKLMNOPQRSTUVWXYZABCDEF
$ fructl put MB ECO_CurrentR $(head -c 32 letters) && quillet -c MB -r ECO_CurrentR
| ECO_CurrentR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     firmware_rev                  : EFGHIJKL
|     hardware_rev                  : MN
|     hw_dash_level                 : OP
$ fructl put MB Zan_FRU_LabelR $(head -c 82 letters) && quillet -c MB -r Zan_FRU_LabelR
| Zan_FRU_LabelR
|     zan_serial_no                 : ABCDEFGHIJKLMNOPQRSTUVWXYZABCD
|     fru_part_dash_no              : EFGHIJKLMNO
$ fructl put MB Partner_LabelR $(head -c 44 letters) && quillet -c MB -r Partner_LabelR
| Partner_LabelR
|     vendor_name                   : unknown (0x4142)
|     partner_part_number           : CDEFGHIJKLMNOPQRSTUV
$ fructl put MB EthernetMACAddrRangeR $(head -c 16 letters) && quillet -c MB -r EthernetMACAddrRangeR
| EthernetMACAddrRangeR
|     ethernet_addr                 : 41:42:43:44:45:46
|     ethernet_addr_range           : 18248
$ fructl put MB EthernetMACAddr2R $(head -c 24 letters) && quillet -c MB -r EthernetMACAddr2R
| EthernetMACAddr2R
|     ethernet_addr                 : 41:42:43:44:45:46
|     ethernet_addr_2               : 47:48:49:4a:4b:4c
$ fructl put MB Ethernet_Addr $(head -c 160 letters) && quillet -c MB -r Ethernet_Addr
| Ethernet_Addr
|     ethernet_addr                 : 41:42:43:44:45:46
$ fructl put MB HOSTID $(head -c 160 letters) && quillet -c MB -r HOSTID
| HOSTID
|     hostid                        : 0x41424344
$ fructl put MB Sequence_Number $(head -c 160 letters) && quillet -c MB -r Sequence_Number
| Sequence_Number
|     sequence_number               : 1094861636
$ fructl put MB WWN $(head -c 160 letters) && quillet -c MB -r WWN
| WWN
|     wwn                           : 0x4142434445464748
$ fructl put MB Enclosure_Nickname $(head -c 160 letters) && quillet -c MB -r Enclosure_Nickname
| Enclosure_Nickname
|     enclosure_nickname            : ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZAB
$ fructl put MB New_Serial_No $(head -c 160 letters) && quillet -c MB -r New_Serial_No
| New_Serial_No
|     new_serial_no                 : ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZAB
$ fructl put MB Device_Type $(head -c 4 letters) && quillet -c MB -r Device_Type
| Device_Type
|     device_type                   : unknown (0x4142)
$ fructl put MB PwrMgmtR $(head -c 38 letters) && quillet -c MB -r PwrMgmtR
| PwrMgmtR
|     arrayname                     : ABCDEFGHIJKLMNO
|     ncycleskips                   : 80
|     ncores                        : 81
|     maxpower                      : 21075
$ fructl put MB PwrMgmt_RFR $(head -c 182 letters) && quillet -c MB -r PwrMgmt_RFR
| PwrMgmt_RFR
|     version                       : 65
|     cycleskipheaders              : 0x42434445464748494a4b
|     pwrmgmt_rf_data               : 0x4c4d4e4f505152535455565758595a4142434445464748494a4b4c4d4e4f505152535455565758595a4142434445464748494a4b4c4d4e4f505152535455565758595a4142434445464748494a4b4c4d
$ fructl put D0 Power_On_DataR $(head -c 16 letters) && quillet -c D0 -r Power_On_DataR
| Power_On_DataR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     power_on_minutes              : 1162233672
$ fructl put D0 Fault_Install_DataR $(head -c 90 letters) && quillet -c D0 -r Fault_Install_DataR
| Fault_Install_DataR
|     timestamp                     : 2004-09-11 00:13:56 UTC
|     macaddr                       : 45:46:47:48:49:4a
|     status                        : 75
|     initiator                     : unknown (0x4c)
|     message_type                  : unknown (0x4d)
|     message_32_0                  : 0x4e4f505152535455
|     message_32_1                  : 0x565758595a414243
|     message_32_2                  : 0x4445464748494a4b
|     message_32_3                  : 0x4c4d4e4f50515253
