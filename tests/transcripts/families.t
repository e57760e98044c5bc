# IPMI, DIMM and PIROM containers through quillet.
$ fructl demo
# IPMI areas are shown in any letter case and never changed.
$ quillet -c PS0 -r IDENTITY | head -1 && quillet -c PS0 -r board_info_area_s | head -1 && fructl image PS0 before
| Board_Info_Area_S
| Board_Info_Area_S
$ quillet -c PS0 -r Board_Info_Area_S -o timestamp
!
!  Error: IPMI FRU information areas cannot be changed or deleted
[81]
$ quillet -c PS0 -r Chassis_Info_Area_S -d
!
!  Error: IPMI FRU information areas cannot be changed or deleted
[81]
$ quillet -c PS0 -r ManR
!
!  Error: The class_name  ManR is not supported.
[18]
$ fructl image PS0 after && cmp before after
$ printf '\001\000\000\000\000\000\000\377' >none && fructl add EMPTY ipmi --from none && quillet -c EMPTY -r IDENTITY
!
!  Error: Record or area not present in the container
[14]
# A board area whose one field runs up to its checksum, with no end marker,
# ends there.
$ printf '\001\000\000\001\000\000\000\376\001\001\000\000\000\000\300\076' >short && fructl add SHORT ipmi --from short && quillet -c SHORT -r Board_Info_Area_S
| Board_Info_Area_S
|     format_version                : 1
|     language                      : 0 (English)
|     mfg_date_time                 : unspecified
|     manufacturer                  :
# DIMM records live in the customer bytes after the SPD, which stays
# read-only; with no record left the customer bytes are erased.
$ fructl image MB/P0/D0 spd && quillet -c MB/P0/D0 -r FAULT -o status=3,macaddr=0003BA123456 && quillet -c MB/P0/D0 -r Power_On_DataR -o timestamp && fructl get MB/P0/D0 POWER && fructl get MB/P0/D0 FAULT
| [0-9a-f]{8}00000258 (re)
| [0-9a-f]{8}0003ba1234560300000000000000000000000000000000000000000000000000000000000000000000 (re)
$ quillet -c MB/P0/D0 -r FAULT
| Fault_Install_DataR
|     timestamp                     : .* UTC (re)
|     macaddr                       : 00:03:ba:12:34:56
|     status                        : 3
|     initiator                     : unknown (0x00)
|     message_type                  : Informational (0x00)
|     message_32_0                  : 0x0000000000000000
|     message_32_1                  : 0x0000000000000000
|     message_32_2                  : 0x0000000000000000
|     message_32_3                  : 0x0000000000000000
$ quillet -c MB/P0/D0 -r SPD_DDR3_R -o timestamp && quillet -c MB/P0/D0 -r SPD_DDR3_R -d
!
!  Error: Records of this container cannot be changed
[70]
$ fructl image MB/P0/D0 now && cmp -n 176 spd now && quillet -c MB/P0/D0 -r FAULT -d && quillet -c MB/P0/D0 -r POWER -d && quillet -c MB/P0/D0 -r FAULT
!
!  Error: Record or area not present in the container
[14]
$ fructl image MB/P0/D0 now && wc -c <now
| 176
# A damaged customer checksum is reported, not read past.
$ (head -c 180 spd; printf '\001'; tail -c +182 spd) >bad && fructl add D1 dimm --from bad && quillet -c D1 -r POWER
!
!  Error: Checksum of the FRU header or area does not hold
[75]
# PIROM is read-only.
$ quillet -c MB/P0 -r PIROM_DataR -o timestamp
!
!  Error: PIROM container is read only
[82]
$ quillet -c MB/P0 -r pirom -d
!
!  Error: PIROM container is read only
[82]
$ quillet -c MB/P0 -r POWER
!
!  Error: The class_name  POWER is not supported.
[18]
# A file whose size the kernel does not tell (/proc) is read to its end.
$ fructl add P pirom --from /proc/sys/kernel/ostype && quillet -c P -r PIROM | head -2
| PIROM_DataR: 128 bytes, offset: bytes |ASCII|
|     0x00                          : 4c 69 6e 75 78 0a ff ff ff ff ff ff ff ff ff ff  |Linux...........|
