# Every way a record class reaches its record (stamped, ring, probed, file
# element, the layouts of the shared identifier buffer): stored as fructl
# shows the bytes, read back, deleted.
$ fructl add MB zan
$ printf HDR >hdr && chmod 444 hdr
$ quillet -c MB -r POWER -o event=power_on && fructl get MB Power_EventsR
| [0-9a-f]{8}01 (re)
$ quillet -c MB -r POWER && quillet -c MB -r POWER -d && quillet -c MB -r POWER; fructl get MB Power_EventsR
| Power_EventsR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : .* UTC (re)
|     event                         : power_on (0x01)
!
!  Error: Record or area not present in the container
! fructl: MB Power_EventsR: Record or area not present in the container
[1]
$ quillet -c MB -r Power_SummaryR -o total_time_on=10,total_power_ons=2,total_power_offs=1 && fructl get MB Power_SummaryR
| [0-9a-f]{8}0000000a0000000200000001 (re)
$ quillet -c MB -r Power_SummaryR && quillet -c MB -r Power_SummaryR -d && quillet -c MB -r Power_SummaryR; fructl get MB Power_SummaryR
| Power_SummaryR
|     timestamp                     : .* UTC (re)
|     total_time_on                 : 10
|     total_power_ons               : 2
|     total_power_offs              : 1
!
!  Error: Record or area not present in the container
! fructl: MB Power_SummaryR: Record or area not present in the container
[1]
$ quillet -c MB -r FAULT -o new_status=1,initiator=SP,component=2,event_code=Fan_Fault,message=hi && fructl get MB Status_EventsR
| [0-9a-f]{8}00010102000100026869000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000 (re)
$ quillet -c MB -r FAULT && quillet -c MB -r FAULT -d && quillet -c MB -r FAULT; fructl get MB Status_EventsR
| Status_EventsR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : .* UTC (re)
|     old_status                    : 0
|     new_status                    : 1
|     initiator                     : SP (0x01)
|     component                     : 2
|     event_code                    : Fan_Fault (0x00010002)
|     message                       : hi
!
!  Error: Record or area not present in the container
! fructl: MB Status_EventsR: Record or area not present in the container
[1]
$ quillet -c MB -r CUSTOMER -o cust_data=abc && fructl get MB Customer_DataR
| [0-9a-f]{8}6162630000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000 (re)
$ quillet -c MB -r CUSTOMER && quillet -c MB -r CUSTOMER -d && quillet -c MB -r CUSTOMER; fructl get MB Customer_DataR
| Customer_DataR
|     timestamp                     : .* UTC (re)
|     cust_data                     : abc
!
!  Error: Record or area not present in the container
! fructl: MB Customer_DataR: Record or area not present in the container
[1]
$ quillet -c MB -r INSTALL -o fru_path=/SYS/MB,system_tz=-300,hostid=80ffee01 && fructl get MB Installation1R
| [0-9a-f]{8}2f5359532f4d42000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000080ffee01fed4 (re)
$ quillet -c MB -r INSTALL && quillet -c MB -r INSTALL -d && quillet -c MB -r INSTALL; fructl get MB Installation1R
| Installation1R: 1 of 5 entries, oldest first
|   entry 1
|     timestamp                     : .* UTC (re)
|     fru_path                      : /SYS/MB
|     parent_part_no                :
|     parent_serial_no              :
|     parent_dash_no                :
|     system_id                     :
|     macaddr                       : 00:00:00:00:00:00
|     hostid                        : 0x80ffee01
|     system_tz                     : -300
!
!  Error: Record or area not present in the container
! fructl: MB Installation1R: Record or area not present in the container
[1]
$ quillet -c MB -r ManR -o zan_part_no=5017540,vendor_name=Fujitsu,initial_hw_dash_level=04 && fructl get MB ManR
| [0-9a-f]{8}0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000003530313735343000000000000000043034000000000000000000000000000000000000 (re)
$ quillet -c MB -r ManR && quillet -c MB -r ManR -d && quillet -c MB -r ManR; fructl get MB ManR
| ManR
|     timestamp                     : .* UTC (re)
|     fru_description               :
|     manufacture_loc               :
|     zan_part_no                   : 5017540
|     zan_serial_no                 :
|     vendor_name                   : Fujitsu (0x0004)
|     initial_hw_dash_level         : 04
|     initial_hw_rev_level          :
|     fru_shortname                 :
!
!  Error: Record or area not present in the container
! fructl: MB ManR: Record or area not present in the container
[1]
$ quillet -c MB -r EthernetMACAddrRangeR -o ethernet_addr=0003BA123456,ethernet_addr_range=20 && fructl get MB EthernetMACAddrRangeR
| 0003ba1234560020
$ quillet -c MB -r EthernetMACAddrRangeR && quillet -c MB -r EthernetMACAddrRangeR -d && quillet -c MB -r EthernetMACAddrRangeR; fructl get MB EthernetMACAddrRangeR
| EthernetMACAddrRangeR
|     ethernet_addr                 : 00:03:ba:12:34:56
|     ethernet_addr_range           : 32
!
!  Error: Record or area not present in the container
! fructl: MB EthernetMACAddrRangeR: Record or area not present in the container
[1]
$ quillet -c MB -r TLI -o hostid=80ffee01 && fructl get MB Top_Level_IdentifierR
| [0-9a-f]{8}00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000080ffee01 (re)
$ quillet -c MB -r TLI && quillet -c MB -r TLI -d && quillet -c MB -r TLI; fructl get MB Top_Level_IdentifierR
| Top_Level_IdentifierR
|     timestamp                     : .* UTC (re)
|     product_part_no               :
|     product_rev_level             : 0
|     product_serial_no             :
|     macaddr                       : 00:00:00:00:00:00
|     hostid                        : 0x80ffee01
!
!  Error: Record or area not present in the container
! fructl: MB Top_Level_IdentifierR: Record or area not present in the container
[1]
$ quillet -c MB -r Ethernet_Addr -o ethernet_addr=0003BA123456 && fructl get MB Ethernet_Addr
| 0003ba1234560000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r Ethernet_Addr && quillet -c MB -r Ethernet_Addr -d && quillet -c MB -r Ethernet_Addr; fructl get MB Ethernet_Addr
| Ethernet_Addr
|     ethernet_addr                 : 00:03:ba:12:34:56
!
!  Error: Record or area not present in the container
! fructl: MB Ethernet_Addr: Record or area not present in the container
[1]
$ quillet -c MB -r HOSTID -o hostid=80ffee01 && fructl get MB HOSTID
| 80ffee0100000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r HOSTID && quillet -c MB -r HOSTID -d && quillet -c MB -r HOSTID; fructl get MB HOSTID
| HOSTID
|     hostid                        : 0x80ffee01
!
!  Error: Record or area not present in the container
! fructl: MB HOSTID: Record or area not present in the container
[1]
$ quillet -c MB -r Sequence_Number -o sequence_number=5 && fructl get MB Sequence_Number
| 0000000500000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r Sequence_Number && quillet -c MB -r Sequence_Number -d && quillet -c MB -r Sequence_Number; fructl get MB Sequence_Number
| Sequence_Number
|     sequence_number               : 5
!
!  Error: Record or area not present in the container
! fructl: MB Sequence_Number: Record or area not present in the container
[1]
$ quillet -c MB -r WWN -o wwn=-1 && fructl get MB WWN
| ffffffffffffffff000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r WWN && quillet -c MB -r WWN -d && quillet -c MB -r WWN; fructl get MB WWN
| WWN
|     wwn                           : 0xffffffffffffffff
!
!  Error: Record or area not present in the container
! fructl: MB WWN: Record or area not present in the container
[1]
$ quillet -c MB -r Enclosure_Nickname -o enclosure_nickname=rack12 && fructl get MB Enclosure_Nickname
| 7261636b31320000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r Enclosure_Nickname && quillet -c MB -r Enclosure_Nickname -d && quillet -c MB -r Enclosure_Nickname; fructl get MB Enclosure_Nickname
| Enclosure_Nickname
|     enclosure_nickname            : rack12
!
!  Error: Record or area not present in the container
! fructl: MB Enclosure_Nickname: Record or area not present in the container
[1]
$ quillet -c MB -r New_Serial_No -o new_serial_no=NS1 && fructl get MB New_Serial_No
| 4e53310000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r New_Serial_No && quillet -c MB -r New_Serial_No -d && quillet -c MB -r New_Serial_No; fructl get MB New_Serial_No
| New_Serial_No
|     new_serial_no                 : NS1
!
!  Error: Record or area not present in the container
! fructl: MB New_Serial_No: Record or area not present in the container
[1]
$ quillet -c MB -r Device_Type -o device_type=0x0102 && fructl get MB Device_Type
| 0102
$ quillet -c MB -r Device_Type && quillet -c MB -r Device_Type -d && quillet -c MB -r Device_Type; fructl get MB Device_Type
| Device_Type
|     device_type                   : unknown (0x0102)
!
!  Error: Record or area not present in the container
! fructl: MB Device_Type: Record or area not present in the container
[1]
$ quillet -c MB -r PwrMgmt_RFR -o version=2,cycleskipheaders=hdr && fructl get MB PwrMgmt_RFR
| 02484452000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
$ quillet -c MB -r PwrMgmt_RFR && quillet -c MB -r PwrMgmt_RFR -d && quillet -c MB -r PwrMgmt_RFR; fructl get MB PwrMgmt_RFR
| PwrMgmt_RFR
|     version                       : 2
|     cycleskipheaders              : 0x48445200000000000000
|     pwrmgmt_rf_data               : 0x0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
!
!  Error: Record or area not present in the container
! fructl: MB PwrMgmt_RFR: Record or area not present in the container
[1]
# A record that is not its segment's first is deleted alone.
$ quillet -c MB -r Power_SummaryR -o total_power_ons=1 && quillet -c MB -r POWER -o event=power_on && quillet -c MB -r POWER -d && fructl segments MB && quillet -c MB -r Power_SummaryR | tail -2 && quillet -c MB -r POWER
| PE 1 24 ok
|     total_power_ons               : 1
|     total_power_offs              : 0
!
!  Error: Record or area not present in the container
[14]
