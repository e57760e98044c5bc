# The DDR4 module's SPD decodes; its end-user area (bytes 384-511, all zero
# as the module left the factory) takes POWER and FAULT.
$ quillet -c D1 -r SPD1_R
| SPD1_R
|     memory_type                   : DDR4 SDRAM
|     spd_revision                  : 1.1
|     module_type                   : RDIMM
|     capacity                      : 8192 MB
|     ranks                         : 1
|     device_width                  : 4 bits
|     data_width                    : 64 bits
|     ecc                           : yes (8-bit extension)
|     cycle_time                    : 0.938 ns
|     max_speed                     : 2133 MT/s (PC4-17000)
|     timings                       : 15-15-15-36
|     nominal_voltage               : 1.2 V
|     module_manufacturer           : Samsung (bank 1, 0xCE)
|     dram_manufacturer             : Samsung (bank 1, 0xCE)
|     manufacturing_location        : 0x02
|     manufacturing_date            : 2017-W10
|     serial_number                 : 0x3520C50E
|     part_number                   : M393A1G40EB1-CPB
|     crc                           : OK (0xF4FD over bytes 0-125)
|     crc_module_specific           : OK (0x72F5 over bytes 128-253)
$ quillet -c D1 -r POWER
! 
!  Error: Record or area not present in the container
[14]
$ quillet -c D1 -r POWER -o power_on_minutes=7
$ quillet -c D1 -r FAULT -o status=2,macaddr=0003BA654321
$ quillet -c D1 -r POWER
| Power_On_DataR
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     power_on_minutes              : 7
$ quillet -c D1 -r FAULT
| Fault_Install_DataR
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     macaddr                       : 00:03:ba:65:43:21
|     status                        : 2
|     initiator                     : unknown (0x00)
|     message_type                  : Informational (0x00)
|     message_32_0                  : 0x0000000000000000
|     message_32_1                  : 0x0000000000000000
|     message_32_2                  : 0x0000000000000000
|     message_32_3                  : 0x0000000000000000
