# Deletion.
$ quillet -c MB -r CUSTOMER -d
$ quillet -c MB -r CUSTOMER
! 
!  Error: Record or area not present in the container
[14]
# The power event ring wraps after ten entries.
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=still_on
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=still_on
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=still_on
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ fructl control MB POWER
| 0a000a00
$ quillet -c MB -r POWER
| Power_EventsR: 10 of 10 entries, oldest first
|   entry 1
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_off (0x02)
|   entry 2
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : still_on (0x03)
|   entry 3
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_on (0x01)
|   entry 4
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_off (0x02)
|   entry 5
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : still_on (0x03)
|   entry 6
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_on (0x01)
|   entry 7
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_off (0x02)
|   entry 8
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : still_on (0x03)
|   entry 9
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_on (0x01)
|   entry 10
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     event                         : power_off (0x02)
# Opaque segments: written from data and from a file, read, deleted.
$ quillet -c MB -s segname=O1,section=DYNAMIC,data=hello
$ quillet -c MB -s segname=O2,section=STATIC,filename=/board/data/blob
$ quillet -c MB -s segname=O1,section=DYNAMIC
| 	 buff[0] = 68	 buff[1] = 65	 buff[2] = 6c	 buff[3] = 6c	 buff[4] = 6f
$ quillet -c MB -s segname=O2,section=STATIC
| 	 buff[0] = 6f	 buff[1] = 70	 buff[2] = 61	 buff[3] = 71	 buff[4] = 75	 buff[5] = 65	 buff[6] = 20	 buff[7] = 62	 buff[8] = 79	 buff[9] = 74	 buff[10] = 65	 buff[11] = 73	 buff[12] = 20	 buff[13] = 66	 buff[14] = 72	 buff[15] = 6f	 buff[16] = 6d	 buff[17] = 20	 buff[18] = 74	 buff[19] = 68	 buff[20] = 65	 buff[21] = 20	 buff[22] = 62	 buff[23] = 6f	 buff[24] = 61	 buff[25] = 72	 buff[26] = 64	 buff[27] = 20	 buff[28] = 74	 buff[29] = 65	 buff[30] = 73	 buff[31] = 74	 buff[32] = a
$ quillet -c MB -d -s segname=O1,section=DYNAMIC
$ quillet -c MB -s segname=O1,section=DYNAMIC
! 
!  Error : Seg O1 Record or area not present in the container
[14]
$ fructl segments MB
| PE 2 86 ok
| O2 1 41 ok
# A damaged segment: the scan lists it and removes it when told to.
$ quillet -c MB -r CUSTOMER -t 'Rack 2'
$ fructl corrupt MB CU
$ quillet -c MB -r CUSTOMER
! 
!  Error: Segment holding the record fails its CRC
[68]
$ quillet -d -c MB </board/data/yes
! 
!  The following segments have incorrect CRC.
! 
!  SEGMENT : CU
! 
!  Do you want to delete this segment CU (y/n)?
$ quillet -d -f -c MB
$ quillet -c MB -r CUSTOMER
! 
!  Error: Record or area not present in the container
[14]
$ quillet -c MB -r CUSTOMER -t 'Rack 3'
$ quillet -c MB -r CUSTOMER
| Customer_DataR
|     timestamp                     : not set
|     cust_data                     : Rack 3
# A flash writes the image's segments into the part's own layout.
$ quillet -c MB -i /board/data/mb-flash.img
| 
| Finished writing the file at MB
$ quillet -c MB -r Power_SummaryR
! 
!  Error: Record or area not present in the container
[14]
$ quillet -c MB -s segname=O3,section=STATIC
| 	 buff[0] = 66	 buff[1] = 6c	 buff[2] = 61	 buff[3] = 73	 buff[4] = 68	 buff[5] = 65	 buff[6] = 64
$ quillet -c MB -r CUSTOMER
| Customer_DataR
|     timestamp                     : not set
|     cust_data                     : Flashed, from the lab
$ fructl segments MB
| CU 1 92 ok
| O3 1 15 ok
