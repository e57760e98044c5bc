# After a restart of QEMU every part holds what the first boot wrote.
$ quillet -c MB -r Power_SummaryR
| Power_SummaryR
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     total_time_on                 : 300
|     total_power_ons               : 5
|     total_power_offs              : 4
$ quillet -c MB -r CUSTOMER
| Customer_DataR
|     timestamp                     : not set
|     cust_data                     : Rack 1, slot 4
$ fructl segments MB
| PE 1 24 ok
| CU 1 92 ok
$ quillet -c D0 -r POWER
| Power_On_DataR
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     power_on_minutes              : 5
$ quillet -c D0 -r FAULT
| Fault_Install_DataR
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     macaddr                       : 00:03:ba:12:34:56
|     status                        : 3
|     initiator                     : unknown (0x00)
|     message_type                  : Informational (0x00)
|     message_32_0                  : 0x0000000000000000
|     message_32_1                  : 0x0000000000000000
|     message_32_2                  : 0x0000000000000000
|     message_32_3                  : 0x0000000000000000
$ quillet -d -c MB
! 
!  The following segments have incorrect CRC.
