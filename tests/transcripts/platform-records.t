# How the platform presents stored records, and what it refuses.
$ fructl add MB zan
# Absent records are status 14 to every call: read, delete, control bytes
# (and the pre-read of each update of a new record below).
$ quillet -c MB -r ManR
!
!  Error: Record or area not present in the container
[14]
$ quillet -c MB -r ManR -d
!
!  Error: Record or area not present in the container
[14]
$ fructl control MB Status_EventsR
! fructl: MB Status_EventsR: Record or area not present in the container
[1]
# Fields as an engineer reads them: a time, a part number, a number, an
# empty string, a MAC address, a host id; an unset time and an enumeration.
$ fructl put MB Top_Level_IdentifierR 6624dc98$(printf 602-3917-01 | od -An -tx1 | tr -d ' \n')$(printf %018d 0)03$(printf %060d 0)0003ba12345600000000
$ quillet -c MB -r tli
| Top_Level_IdentifierR
|     timestamp                     : 2024-04-21 09:30:00 UTC
|     product_part_no               : 602-3917-01
|     product_rev_level             : 3
|     product_serial_no             :
|     macaddr                       : 00:03:ba:12:34:56
|     hostid                        : 0x00000000
$ fructl put MB Power_EventsR 0000000002
$ quillet -c MB -r POWER
| Power_EventsR: 1 of 10 entries, oldest first
|   entry 1
|     timestamp                     : not set
|     event                         : power_off (0x02)
# IDENTITY presents every identity record there is, nothing else, and
# changes none of them.
$ quillet -c MB -r ManR -o zan_part_no=5017540
$ quillet -c MB -r Zan_Part_Number_DataR -o zan_part_no=1
$ quillet -c MB -r CUSTOMER -t abc
$ quillet -c MB -r IDENTITY
| ManR
|     timestamp                     : \d{4}-\d\d-\d\d \d\d:\d\d:\d\d UTC (re)
|     fru_description               :
|     manufacture_loc               :
|     zan_part_no                   : 5017540
|     zan_serial_no                 :
|     vendor_name                   : unknown (0x0000)
|     initial_hw_dash_level         :
|     initial_hw_rev_level          :
|     fru_shortname                 :
| Zan_Part_Number_DataR
|     timestamp                     : \d{4}-\d\d-\d\d \d\d:\d\d:\d\d UTC (re)
|     zan_part_no                   : 1
|     zan_serial_no                 :
|     vendor_name                   : unknown (0x0000)
|     initial_hw_dash_level         :
$ fructl segments MB
| CF 1 73 ok
| PE 1 62 ok
| MN 2 220 ok
| CU 1 92 ok
# Deleting the last record of a segment removes the segment.
$ quillet -c MB -r CUSTOMER -d
$ fructl segments MB
| CF 1 73 ok
| PE 1 62 ok
| MN 2 220 ok
# A small container refuses what does not fit, and stores none of it.
$ fructl add TINY zan --capacity 512
$ quillet -c TINY -r ManR -o zan_part_no=1
$ quillet -c TINY -r Zan_Man1R -o fru_description=x
!
!  Error: Container has no room for the data
[69]
$ fructl get TINY Zan_Man1R
! fructl: TINY Zan_Man1R: Record or area not present in the container
[1]
# A damaged segment reads as a status, not as garbage, and is not written;
# the other segments still read. A damaged header damages every record.
$ quillet -c MB -r Power_SummaryR -o total_power_ons=1
$ fructl corrupt MB MN
$ quillet -c MB -r ManR
!
!  Error: Segment holding the record fails its CRC
[68]
$ quillet -c MB -r ManR -o zan_part_no=2
!
!   Unable to read ManR record 68
[68]
$ fructl image MB before && ! fructl put MB ManR $(printf %0366d 0) && fructl image MB after && cmp before after
! fructl: MB ManR: Segment holding the record fails its CRC
$ quillet -c MB -r Power_SummaryR | grep total_power_ons
|     total_power_ons               : 1
$ printf X | dd of=$STORE/images/c1.img conv=notrunc status=none
$ quillet -c MB -r Power_SummaryR
!
!  Error: Container image is damaged (bad header)
[67]
$ fructl add OP zan
# Opaque sections are independent: each is written, read and deleted on
# its own; a full STATIC section holds 8192 bytes.
$ head -c 8192 /dev/zero | tr '\0' Z >big && quillet -c OP -s segname=O1,section=STATIC,filename=big
$ quillet -c OP -s segname=O1,section=DYNAMIC,data=abc
$ quillet -c OP -s segname=O1,section=STATIC | tr '\t' '\n' | grep -c '= 5a$'
| 8192
$ quillet -c OP -s segname=O1,section=DYNAMIC
| 	 buff[0] = 61	 buff[1] = 62	 buff[2] = 63
$ quillet -c OP -d -s segname=O1,section=STATIC
$ quillet -c OP -s segname=O1,section=STATIC
$ quillet -c OP -s segname=O1,section=DYNAMIC
| 	 buff[0] = 61	 buff[1] = 62	 buff[2] = 63
$ quillet -c OP -d -s segname=O1,section=DYNAMIC
$ quillet -c OP -s segname=O1,section=DYNAMIC
!
!  Error : Seg O1 Record or area not present in the container
[14]
$ quillet -c OP -d -s segname=O1,section=DYNAMIC
!
! Error in Deleting opaque segment Record or area not present in the container
[14]
