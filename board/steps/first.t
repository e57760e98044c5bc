# First power-on: the 24c64 is factory-blank, an empty container.
$ quillet -c MB -r Power_SummaryR
! 
!  Error: Record or area not present in the container
[14]
$ quillet -c MB -r Power_SummaryR -o total_power_ons=5,total_power_offs=4,total_time_on=300
$ quillet -c MB -r Power_SummaryR
| Power_SummaryR
|     timestamp                     : 2026-01-01 00:00:00 UTC
|     total_time_on                 : 300
|     total_power_ons               : 5
|     total_power_offs              : 4
$ quillet -c MB -r CUSTOMER -t 'Rack 1, slot 4'
$ quillet -c MB -r CUSTOMER
| Customer_DataR
|     timestamp                     : not set
|     cust_data                     : Rack 1, slot 4
$ fructl segments MB
| PE 1 24 ok
| CU 1 92 ok
# The DDR3 module's SPD reads. Its maker left bytes in the customer area:
# POWER refuses them until the operator claims the area, keeping a copy.
$ quillet -c D0 -r SPD_DDR3_R
| SPD_DDR3_R
|     memory_type                   : DDR3 SDRAM
|     spd_revision                  : 1.0
|     module_type                   : SO-DIMM
|     capacity                      : 1024 MB
|     ranks                         : 1
|     device_width                  : 8 bits
|     data_width                    : 64 bits
|     ecc                           : no
|     cycle_time                    : 1.875 ns
|     max_speed                     : 1066 MT/s (PC3-8500)
|     timings                       : 7-7-7-20
|     nominal_voltage               : 1.5 V
|     module_manufacturer           : Samsung (bank 1, 0xCE)
|     dram_manufacturer             : Samsung (bank 1, 0xCE)
|     manufacturing_location        : 0x02
|     manufacturing_date            : 2010-W31
|     serial_number                 : 0x811D77CE
|     part_number                   : M471B2873FHS-CF8
|     crc                           : OK (0xA491 over bytes 0-116)
$ quillet -c D0 -r POWER
! 
!  Error: Customer area holds data this platform did not write (see fructl claim)
[112]
$ fructl claim D0 --backup /tmp/d0.area
$ quillet -c D0 -r POWER
! 
!  Error: Record or area not present in the container
[14]
$ quillet -c D0 -r POWER -o power_on_minutes=5
$ quillet -c D0 -r FAULT -o status=3,macaddr=0003BA123456
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
# The FMC module's IPMI FRU image.
$ quillet -c PS0 -r IDENTITY
| Board_Info_Area_S
|     format_version                : 1
|     language                      : 25 (English)
|     mfg_date_time                 : unspecified
|     manufacturer                  : DESY/DMCS
|     product_name                  : DRTM-LOG1300
|     serial_number                 :
|     part_number                   : 1.0
|     fru_file_id                   : 2019-01-10
$ quillet -c PS0 -r Product_Info_Area_S
| Product_Info_Area_S
|     format_version                : 1
|     language                      : 25 (English)
|     manufacturer                  : DESY/DMCS
|     product_name                  : DRTM-LOG1300
|     part_model_number             : 1.0
|     version                       : rev. D
|     serial_number                 :
|     asset_tag                     : --
|     fru_file_id                   : 2019-01-10
