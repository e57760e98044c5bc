# The demo platform as quillet presents it and as fructl stores it: every
# record the demo holds, byte for byte, and which classes it lacks.
$ fructl demo
$ fructl list
| MB 0 zan 16384 images/c1.img
| PS0 1 ipmi 2048 images/c2.img
| MB/P0/D0 2 dimm 256 images/c3.img
| MB/P0 3 pirom 128 images/c4.img
$ fructl segments MB
| MN 2 390 ok
| CF 2 114 ok
| CU 1 92 ok
| PE 1 24 ok
| IN 1 1107 ok
| ST 1 1412 ok
| O1 1 20 ok
$ quillet -c MB -r Power_SummaryR
| Power_SummaryR
|     timestamp                     : 2024-09-27 09:30:00 UTC
|     total_time_on                 : 4210
|     total_power_ons               : 37
|     total_power_offs              : 36
$ quillet -c MB -r Status_EventsR
| Status_EventsR: 3 of 10 entries, oldest first
|   entry 1
|     timestamp                     : 2024-04-20 09:30:00 UTC
|     old_status                    : 0
|     new_status                    : 1
|     initiator                     : SP (0x01)
|     component                     : 2
|     event_code                    : Fan_Fault (0x00010002)
|     message                       : FT1 fan speed below threshold
|   entry 2
|     timestamp                     : 2024-04-21 09:30:00 UTC
|     old_status                    : 1
|     new_status                    : 2
|     initiator                     : Field_Service (0x06)
|     component                     : 2
|     event_code                    : FRU_Removed (0x00050002)
|     message                       : FT1 replaced
|   entry 3
|     timestamp                     : 2024-04-21 09:40:00 UTC
|     old_status                    : 2
|     new_status                    : 0
|     initiator                     : SP (0x01)
|     component                     : 2
|     event_code                    : FRU_Inserted (0x00050001)
|     message                       : FT1 back in service
$ quillet -c MB -r CUSTOMER
| Customer_DataR
|     timestamp                     : 2024-04-10 09:30:00 UTC
|     cust_data                     : Rack 12, slot 3, lab B
$ quillet -c MB -r IDENTITY
| ManR
|     timestamp                     : 2024-03-11 09:30:00 UTC
|     fru_description               : System board, 2 sockets, 16 DIMM slots
|     manufacture_loc               : Penang, Malaysia
|     zan_part_no                   : 5017540
|     zan_serial_no                 : A1B2C3
|     vendor_name                   : Fujitsu (0x0004)
|     initial_hw_dash_level         : 04
|     initial_hw_rev_level          : 51
|     fru_shortname                 : SYS_BOARD
| Zan_Man1R
|     timestamp                     : 2024-03-11 09:30:00 UTC
|     fru_description               : System board, 2 sockets
|     vendor_id_code                : 4
|     vendor_id_code_source         : 1
|     vendor_name_and_site_location : Fujitsu Ltd., Kawasaki plant
|     zan_part_no                   : 5017540
|     zan_serial_no                 : 1005LCB-0912A1B2C3
|     serial_number_format          : YYWW-LLL-SSSSSS
|     initial_hw_dash_level         : 04
|     initial_hw_rev_level          : 51
|     fru_shortname                 : SYS_BOARD
|     hazard_class_code             : N
|     zan_specpartno                : 5017540-04
$ quillet -c MB -r Configured_LevelR
| Configured_LevelR
|     timestamp                     : 2024-03-12 09:30:00 UTC
|     zan_part_no                   : 5017540
|     configured_serial_no          : 1005LCB-0912A1B2C3
|     initial_hw_dash_level         : 04
$ quillet -c MB -r InstallationR
| InstallationR: 1 of 5 entries, oldest first
|   entry 1
|     timestamp                     : 2024-04-10 09:30:00 UTC
|     fru_path                      : /SYS/MB
|     parent_part_no                : 5017001
|     parent_serial_no              : F00123
|     parent_dash_no                : 02
|     system_id                     : lab-b-rack12
|     system_tz                     : -300
|     geo_north                     : 403456
|     geo_east                      : -740012
|     geo_alt                       : 57
|     geo_location                  : Building 4, Lab B
$ quillet -c MB -r TLI
| Top_Level_IdentifierR
|     timestamp                     : 2024-03-13 09:30:00 UTC
|     product_part_no               : 602-3917-01
|     product_rev_level             : 3
|     product_serial_no             : 0912FMX04A
|     macaddr                       : 00:03:ba:12:34:56
|     hostid                        : 0x80abcdef
$ quillet -c MB -s segname=O1,section=STATIC
| 	 buff[0] = 53	 buff[1] = 50	 buff[2] = 20	 buff[3] = 63	 buff[4] = 6f	 buff[5] = 6e	 buff[6] = 66	 buff[7] = 69	 buff[8] = 67	 buff[9] = 20	 buff[10] = 76	 buff[11] = 32
$ for r in Power_SummaryR Status_EventsR Customer_DataR ManR Zan_Man1R Configured_LevelR InstallationR Top_Level_IdentifierR; do fructl get MB $r; done
| 66f67b18000010720000002500000024
| 66238b1800010102000100024654312066616e2073706565642062656c6f77207468726573686f6c64000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
| 6624dc980102060200050002465431207265706c616365640000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
| 6624def00200010200050001465431206261636b20696e207365727669636500000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
| 66165c185261636b2031322c20736c6f7420332c206c6162204200000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000
| 65eecf1853797374656d20626f6172642c203220736f636b6574732c2031362044494d4d20736c6f747300000000000000000000000000000000000000000000000000000000000000000000000000000000000050656e616e672c204d616c6179736961000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000353031373534304131423243330004303435315359535f424f41524400000000000000
| 65eecf1853797374656d20626f6172642c203220736f636b6574730000000000000000040146756a69747375204c74642e2c204b61776173616b6920706c616e7400000000000000000000000000000000000000000000000000000000000000000000000035303137353430313030354c43422d30393132413142324333000000000000000000000000595957572d4c4c4c2d5353535353530000000000303435315359535f424f415244000000000000004e00353031373534302d303400
| 65f0209835303137353430313030354c43422d3039313241314232433300003034
| 66165c182f5359532f4d42000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000003530313730303146303031323330326c61622d622d7261636b31320000000000000000fed400062800fff4b55400394275696c64696e6720342c204c616220420000000000000000000000000000000000000000000000
| 65f172183630322d333931372d30310000000000000000000330393132464d5830344100000000000000000000000000000000000000000003ba12345680abcdef
$ for r in POWER TEMPERATURE Status_CurrentR Segment_HistoryR TAVO_Usage_Kvms_R Zan_ManR Zan_Part_Number_DataR MultiLevelR ECO_CurrentR Zan_FRU_LabelR Partner_LabelR EthernetMACAddrRangeR EthernetMACAddr2R HOSTID Device_Type PwrMgmtR PwrMgmt_RFR; do quillet -c MB -r $r 2>/dev/null; echo "$r $?"; done
| POWER 14
| TEMPERATURE 14
| Status_CurrentR 14
| Segment_HistoryR 14
| TAVO_Usage_Kvms_R 14
| Zan_ManR 14
| Zan_Part_Number_DataR 14
| MultiLevelR 14
| ECO_CurrentR 14
| Zan_FRU_LabelR 14
| Partner_LabelR 14
| EthernetMACAddrRangeR 14
| EthernetMACAddr2R 14
| HOSTID 14
| Device_Type 14
| PwrMgmtR 14
| PwrMgmt_RFR 14
$ quillet -c PS0 -r IDENTITY
| Board_Info_Area_S
|     format_version                : 1
|     language                      : 0 (English)
|     mfg_date_time                 : 2024-02-01 08:00:00 UTC
|     manufacturer                  : Delta Electronics
|     product_name                  : PSU 1200W AC
|     serial_number                 : DL1200A09120345
|     part_number                   : 300-2264-01
|     fru_file_id                   :
$ quillet -c PS0 -r Chassis_Info_Area_S
| Chassis_Info_Area_S
|     format_version                : 1
|     chassis_type                  : Rack Mount Chassis (0x17)
|     part_number                   : CH-602-3917
|     serial_number                 : CH0912FMX
$ quillet -c PS0 -r Product_Info_Area_S
| Product_Info_Area_S
|     format_version                : 1
|     language                      : 0 (English)
|     manufacturer                  : Delta Electronics
|     product_name                  : A236 1200W PSU
|     part_model_number             : 300-2264-01
|     version                       : 04
|     serial_number                 : DL1200A09120345
|     asset_tag                     :
|     fru_file_id                   :
$ quillet -c MB/P0/D0 -r POWER
| Power_On_DataR
|     timestamp                     : 2024-04-10 09:30:00 UTC
|     power_on_minutes              : 600
$ quillet -c MB/P0/D0 -r SPD_DDR3_R
| SPD_DDR3_R
|     memory_type                   : DDR3 SDRAM
|     spd_revision                  : 1.0
|     module_type                   : RDIMM
|     capacity                      : 4096 MB
|     ranks                         : 2
|     device_width                  : 8 bits
|     data_width                    : 64 bits
|     ecc                           : yes (8-bit extension)
|     cycle_time                    : 1.500 ns
|     max_speed                     : 1333 MT/s (PC3-10600)
|     timings                       : 9-9-9-24
|     nominal_voltage               : 1.5 V
|     module_manufacturer           : Samsung (bank 1, 0xCE)
|     dram_manufacturer             : Samsung (bank 1, 0xCE)
|     manufacturing_location        : 0x01
|     manufacturing_date            : 2012-W34
|     serial_number                 : 0x12345678
|     part_number                   : M393B5170FH0-CH9
|     crc                           : OK (0x5D22 over bytes 0-116)
$ quillet -c MB/P0/D0 -r FAULT
!
!  Error: Record or area not present in the container
[14]
$ fructl get MB/P0/D0 SPD_DDR3_R
| 92100b01330000090b1101080c000000690069006901200000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000080ce01123412345678225d4d33393342353137304648302d4348392020000080ce0000000000000000000000000000000000000000000000000000
$ fructl get MB/P0/D0 Power_On_DataR
| 66165c1800000258
$ quillet -c MB/P0 -r PIROM
| PIROM_DataR: 128 bytes, offset: bytes |ASCII|
|     0x00                          : 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  |................|
|     0x10                          : 49 6e 74 65 6c 28 52 29 20 58 65 6f 6e 28 52 29  |Intel(R) Xeon(R)|
|     0x20                          : 20 43 50 55 20 45 35 35 34 30 20 40 20 32 2e 35  | CPU E5540 @ 2.5|
|     0x30                          : 33 47 48 7a 00 00 00 00 00 00 00 00 00 00 00 00  |3GHz............|
|     0x40                          : 41 54 38 30 36 30 32 30 30 30 37 39 32 41 41 00  |AT80602000792AA.|
|     0x50                          : 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  |................|
|     0x60                          : 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  |................|
|     0x70                          : 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 2b  |...............+|
# The images themselves, header and tables included.
$ for c in MB PS0 MB/P0/D0 MB/P0; do fructl image $c img && cksum <img; done
| 479252861 4239
| 2203887111 249
| 937309391 256
| 2904425893 128
